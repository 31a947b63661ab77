#pragma once
// The connecting side: one channel to a remote address. Every operation holds the
// endpoint's recursive lock for its whole run.

#include <poll.h>

#include <cstdint>
#include <memory>
#include <mutex>
#include <vector>

#include "RpcChannel.h"
#include "RpcResult.h"
#include "RpcSocket.h"

class CRpcClientEndpoint : public CRpcAllocated {
public:
    CRpcClientEndpoint();
    ~CRpcClientEndpoint();  // disconnects and cleans up
    CRpcClientEndpoint(const CRpcClientEndpoint&) = delete;
    CRpcClientEndpoint& operator=(const CRpcClientEndpoint&) = delete;

    RpcResult Start();
    void CleanUp();
    // Connects, blocking, to a dotted IPv4 address; names are resolved by the caller.
    RpcResult Connect(const char* address, std::int32_t port, const CRpcChannelHandlers* handlers);
    void Disconnect();
    bool IsConnected();
    const char* PeerAddress();
    std::int32_t Port();
    RpcResult Send(CRpcBuffer* buffer);
    RpcResult Ping();
    const char* LocalAddress();
    const char* LocalHostName();
    void Poll();
    void SetDelayFlag(int value);
    int GetDelayFlag();

    bool HasPendingSend();
    std::size_t PendingBytes();
    void SetReceivePaused(bool paused);
    bool IsReceivePaused();
    // The connected channel's descriptor, or -1.
    int Fd();
    void AddPollDescriptors(std::vector<pollfd>& fds);

private:
    std::recursive_mutex m_lock;
    bool m_bStarted = false;
    int m_nDelayFlag = 1;
    CRpcSocket m_socket;  // only while connecting; the channel owns it afterwards
    std::int32_t m_lPort = -1;
    char m_szPeerAddress[RPC_TEXT_SIZE] = {};
    std::unique_ptr<CRpcChannel> m_channel;
    char m_szLocalAddress[RPC_TEXT_SIZE];
    char m_szLocalHostName[RPC_TEXT_SIZE];
};
