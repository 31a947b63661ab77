#include "RpcLink.h"

#include <cstring>

#include "RpcFrame.h"

RpcResult CRpcLink::SendAsClient(const void*, std::uint32_t, std::uint32_t) { return RPC_E_NOT_SUPPORTED; }

RpcResult CRpcLink::SendAsServer(const void*, std::uint32_t, std::uint32_t) { return RPC_E_NOT_SUPPORTED; }

CRpcChannelHandlers CRpcLink::Handlers() {
    // Each handler keeps the link alive for its own run: a closed channel or a
    // LINK_CLOSE may drop the last other reference to it.
    CRpcChannelHandlers h;
    h.pfnDataReceived = [](CRpcChannel* channel, CRpcBuffer* frame, void* user) {
        auto link = RpcPtr<CRpcLink>::Retain(static_cast<CRpcLink*>(user));
        link->DataReceived(channel, frame);
    };
    h.pvDataUser = this;
    h.pfnPongReceived = [](CRpcChannel* channel, std::uint32_t latency, void* user) {
        auto link = RpcPtr<CRpcLink>::Retain(static_cast<CRpcLink*>(user));
        link->PongReceived(channel, latency);
    };
    h.pvPongUser = this;
    h.pfnClosed = [](CRpcChannel* channel, void* user) {
        auto link = RpcPtr<CRpcLink>::Retain(static_cast<CRpcLink*>(user));
        link->ChannelClosed(channel);
    };
    h.pvClosedUser = this;
    return h;
}

RpcPtr<CRpcBuffer> CRpcLink::BuildCallMessage(const void* data, std::uint32_t length, std::uint32_t mode) {
    if (length > RPC_MAX_FRAME_LENGTH - RPC_LINK_HEADER_SIZE) return nullptr;
    auto message = CRpcBuffer::Create(RPC_LINK_HEADER_SIZE + length, true);
    if (!message) return nullptr;
    const std::uint32_t kind = mode <= RPC_CALL_MODE_ONEWAY ? LINK_CALL + mode : LINK_CALL_ONEWAY;
    RpcStore32(message->Payload(), kind);
    RpcStore32(message->Payload() + 4, length);
    if (length) std::memcpy(message->Payload() + RPC_LINK_HEADER_SIZE, data, length);
    return message;
}

bool CRpcLink::ParseLinkMessage(CRpcBuffer* frame, LinkMessage* message) {
    const std::uint32_t available = frame->PayloadLength();
    if (available < RPC_LINK_HEADER_SIZE) return false;
    message->ulKind = RpcLoad32(frame->Payload());
    message->ulLength = RpcLoad32(frame->Payload() + 4);
    message->ulOffset = RPC_LINK_HEADER_SIZE;
    // A body that claims more than the frame holds is malformed; the frame decides.
    return message->ulLength <= available - RPC_LINK_HEADER_SIZE;
}
