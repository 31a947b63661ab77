#include "RpcSocket.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <cstdio>
#include <cstring>

void CRpcSocket::Close() {
    if (m_fd >= 0) {
        ::close(m_fd);
        m_fd = -1;
    }
}

namespace {
std::atomic<int> g_starts{0};

ssize_t DefaultSend(int fd, const void* data, std::size_t length) {
    return ::send(fd, data, length, MSG_NOSIGNAL | MSG_DONTWAIT);
}
std::atomic<RpcSendFunction> g_send{&DefaultSend};
}  // namespace

bool RpcSocketLayerStart() {
    g_starts.fetch_add(1);
    return true;
}

void RpcSocketLayerStop() { g_starts.fetch_sub(1); }

int RpcSocketLayerStarts() { return g_starts.load(); }

bool RpcSetNonBlocking(int fd) {
    const int flags = ::fcntl(fd, F_GETFL, 0);
    return flags >= 0 && ::fcntl(fd, F_SETFL, flags | O_NONBLOCK) == 0;
}

void RpcSetNoDelay(int fd, bool noDelay) {
    const int value = noDelay ? 1 : 0;
    ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &value, sizeof value);
}

void RpcReadLocalHost(char (&hostName)[RPC_TEXT_SIZE], char (&address)[RPC_TEXT_SIZE]) {
    char name[RPC_TEXT_SIZE] = {};
    if (::gethostname(name, sizeof name - 1) != 0) return;
    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* found = nullptr;
    if (::getaddrinfo(name, nullptr, &hints, &found) != 0 || !found) return;
    char dotted[INET_ADDRSTRLEN] = {};
    const auto* in = reinterpret_cast<const sockaddr_in*>(found->ai_addr);
    const bool ok = ::inet_ntop(AF_INET, &in->sin_addr, dotted, sizeof dotted) != nullptr;
    ::freeaddrinfo(found);
    if (!ok) return;
    std::snprintf(hostName, RPC_TEXT_SIZE, "%s", name);
    std::snprintf(address, RPC_TEXT_SIZE, "%s", dotted);
}

ssize_t RpcSocketSend(int fd, const void* data, std::size_t length) { return g_send.load()(fd, data, length); }

void RpcSetSendFunction(RpcSendFunction function) { g_send.store(function ? function : &DefaultSend); }
