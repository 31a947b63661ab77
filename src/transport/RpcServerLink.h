#pragma once
// The link of an accepted channel: creates the served object on LINK_OPEN, queues
// requests for the binding's owner thread and sends answers back.

#include "RpcBinding.h"
#include "RpcLink.h"

class CRpcServerLink : public CRpcLink {
public:
    CRpcServerLink(CRpcInstance* instance, CRpcChannel* channel) : m_pInstance(instance), m_pChannel(channel) {}

    RpcResult Start() override { return RPC_S_OK; }
    void Stop() override { m_binding.Reset(); }
    RpcResult SendAsServer(const void* data, std::uint32_t length, std::uint32_t mode) override;
    void DataReceived(CRpcChannel* channel, CRpcBuffer* frame) override;
    void ChannelClosed(CRpcChannel* channel) override;
    void Poll() override;
    int IsClosed() override { return !m_pChannel || m_pChannel->IsClosed() ? 1 : 0; }
    bool HasPendingSend() override { return m_pChannel && m_pChannel->HasPendingSend(); }
    std::size_t PendingBytes() override { return m_pChannel ? m_pChannel->PendingBytes() : 0; }

    bool HasBinding() const { return static_cast<bool>(m_binding); }
    void SetBinding(CRpcBinding* binding) { m_binding = RpcPtr<CRpcBinding>::Retain(binding); }
    void ForgetChannel() override { m_pChannel = nullptr; }

private:
    void SendStatus(RpcResult status);

    CRpcInstance* const m_pInstance;
    CRpcChannel* m_pChannel;
    RpcPtr<CRpcBinding> m_binding;
};
