#pragma once
// The connection behind a binding. A client link owns the connection it opened to
// a peer; a server link speaks for a channel that the instance accepted.

#include <poll.h>

#include <cstdint>
#include <vector>

#include "RpcBuffer.h"
#include "RpcChannel.h"
#include "RpcUnknown.h"

class CRpcInstance;

class CRpcLink : public CRpcInternalObject {
public:
    virtual RpcResult Start() = 0;
    virtual void Stop() = 0;
    virtual RpcResult SendAsClient(const void* data, std::uint32_t length, std::uint32_t mode);
    virtual RpcResult SendAsServer(const void* data, std::uint32_t length, std::uint32_t mode);
    virtual void DataReceived(CRpcChannel* channel, CRpcBuffer* frame) = 0;
    virtual void PongReceived(CRpcChannel* /*channel*/, std::uint32_t /*latencyMs*/) {}
    virtual void ChannelClosed(CRpcChannel* channel) = 0;
    virtual void Poll() {}
    // 1 when the connection is gone, 0 while it is up.
    virtual int IsClosed() = 0;
    virtual void AddPollDescriptors(std::vector<pollfd>& /*fds*/) {}
    virtual bool HasPendingSend() { return false; }
    virtual std::size_t PendingBytes() { return 0; }
    // Called when the channel was destroyed behind the link's back (the instance stopped).
    virtual void ForgetChannel() {}

    // A handler record that routes a channel's frames to this link.
    CRpcChannelHandlers Handlers();

    // A data frame holding one call link message: kind LINK_CALL + mode, length, body.
    static RpcPtr<CRpcBuffer> BuildCallMessage(const void* data, std::uint32_t length, std::uint32_t mode);

protected:
    // The body of a link message, or false when the frame holds no well-formed one.
    struct LinkMessage {
        std::uint32_t ulKind;
        std::uint32_t ulOffset;  // of the body, within the frame's payload
        std::uint32_t ulLength;
    };
    static bool ParseLinkMessage(CRpcBuffer* frame, LinkMessage* message);
};
