#pragma once
// The link of a remote object that this side opened: its own client endpoint, and
// the open exchange that the opening thread runs before anyone else sees the link.

#include <atomic>

#include "RpcClientEndpoint.h"
#include "RpcLink.h"

class CRpcClientLink : public CRpcLink {
public:
    explicit CRpcClientLink(CRpcInstance* instance) : m_pInstance(instance) {}
    ~CRpcClientLink() override;

    RpcResult Start() override;
    void Stop() override;
    RpcResult Connect(const char* address, std::int32_t port);
    // Sends LINK_OPEN and waits for the first link message, polling the endpoint
    // itself. The result is the status that came back, RPC_E_BAD_OPEN_ANSWER, or
    // RPC_E_OPEN_TIMEOUT.
    RpcResult Open(const GUID& clsid, std::uint32_t timeoutMs);
    void SetBindingId(std::uint32_t id) { m_ulBindingId = id; }
    // What the first link message after LINK_OPEN says about the open.
    static RpcResult OpenResultOf(CRpcBuffer* frame);

    RpcResult SendAsClient(const void* data, std::uint32_t length, std::uint32_t mode) override;
    void DataReceived(CRpcChannel* channel, CRpcBuffer* frame) override;
    void ChannelClosed(CRpcChannel* channel) override;
    void Poll() override;
    int IsClosed() override { return m_endpoint.IsConnected() ? 0 : 1; }
    void AddPollDescriptors(std::vector<pollfd>& fds) override { m_endpoint.AddPollDescriptors(fds); }
    bool HasPendingSend() override { return m_endpoint.HasPendingSend(); }
    std::size_t PendingBytes() override { return m_endpoint.PendingBytes(); }

private:
    CRpcInstance* const m_pInstance;
    CRpcClientEndpoint m_endpoint;
    std::uint32_t m_ulBindingId = 0;
    bool m_bOpenWait = false;
    bool m_bOpenSettled = false;
    RpcResult m_lOpenResult = RPC_E_BAD_OPEN_ANSWER;
};
