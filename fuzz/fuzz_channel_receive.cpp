// The channel's receive path fed arbitrary bytes over a connected socket pair.

#include <sys/socket.h>
#include <unistd.h>

#include <cstdint>

#include "RpcChannel.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    int pair[2];
    if (::socketpair(AF_UNIX, SOCK_STREAM, 0, pair) != 0) return 0;
    CRpcSocket peer(pair[1]);
    CRpcChannel channel{CRpcSocket(pair[0])};
    std::size_t frames = 0;
    CRpcChannelHandlers handlers;
    handlers.pfnDataReceived = [](CRpcChannel*, CRpcBuffer* frame, void* user) {
        *static_cast<std::size_t*>(user) += frame->PayloadLength() > 0 ? 1 : 0;
    };
    handlers.pvDataUser = &frames;
    channel.SetHandlers(&handlers);

    std::uint8_t sink[4096];
    std::size_t sent = 0;
    while (sent < size && !channel.IsClosed()) {
        const ssize_t n = ::send(peer.Fd(), data + sent, size - sent, MSG_DONTWAIT | MSG_NOSIGNAL);
        if (n > 0) sent += static_cast<std::size_t>(n);
        channel.Pump();
        while (::recv(peer.Fd(), sink, sizeof sink, MSG_DONTWAIT) > 0) {
        }  // pongs
    }
    channel.Pump();
    return 0;
}
