#include "RpcServerLink.h"

#include "RpcFrame.h"
#include "RpcInstance.h"

RpcResult CRpcServerLink::SendAsServer(const void* data, std::uint32_t length, std::uint32_t mode) {
    auto message = BuildCallMessage(data, length, mode);
    if (!message) return RPC_E_OUTOFMEMORY;
    if (m_pChannel) m_pInstance->SendOnChannel(m_pChannel, message.Get());
    return RPC_S_OK;
}

void CRpcServerLink::SendStatus(RpcResult status) {
    auto message = CRpcBuffer::Create(RPC_LINK_HEADER_SIZE + RPC_STATUS_BODY_SIZE, true);
    if (!message || !m_pChannel) return;
    RpcStore32(message->Payload(), LINK_STATUS);
    RpcStore32(message->Payload() + 4, RPC_STATUS_BODY_SIZE);
    RpcStore32(message->Payload() + 8, static_cast<std::uint32_t>(status));
    m_pInstance->SendOnChannel(m_pChannel, message.Get());
}

void CRpcServerLink::DataReceived(CRpcChannel*, CRpcBuffer* frame) {
    LinkMessage message;
    if (!ParseLinkMessage(frame, &message)) return;
    switch (message.ulKind) {
    case LINK_OPEN: {
        if (message.ulLength < RPC_CLSID_SIZE) return;  // the opener times out
        const GUID clsid = GuidFromBytes(frame->Payload() + message.ulOffset);
        SendStatus(m_pInstance->AcceptOpen(this, clsid));
        break;
    }
    case LINK_CLOSE:
        if (m_binding) m_pInstance->CloseBinding(this, m_binding->m_ulId);
        break;
    case LINK_CALL:
    case LINK_CALL_ONEWAY: {
        if (!m_binding) break;
        std::size_t queued = 0;
        m_pInstance->PostToOwner(m_binding->m_ulId, MSG_REQUEST, frame, message.ulOffset, message.ulLength, &queued);
        if (queued >= RPC_QUEUE_HIGH_WATER && m_pChannel) m_pChannel->SetReceivePaused(true);
        break;
    }
    default:
        break;
    }
}

void CRpcServerLink::Poll() {
    if (m_pChannel && m_pChannel->IsReceivePaused() &&
        (!m_binding || m_pInstance->OwnerQueueLength(m_binding->m_ulId) <= RPC_QUEUE_LOW_WATER))
        m_pChannel->SetReceivePaused(false);
}

void CRpcServerLink::ChannelClosed(CRpcChannel*) {
    if (m_binding) m_pInstance->CloseBinding(this, m_binding->m_ulId);
    m_pChannel = nullptr;
    m_pInstance->RemoveLink(this);
}
