#pragma once
// The listening side: accepts any number of channels on a local port and pumps
// them. Every operation holds the endpoint's recursive lock for its whole run;
// handlers called from a poll may call back into the endpoint.

#include <poll.h>

#include <cstdint>
#include <memory>
#include <mutex>
#include <vector>

#include "RpcChannel.h"
#include "RpcResult.h"
#include "RpcSocket.h"

struct CRpcEndpointHandlers {
    // Fills the handler record of a newly accepted channel.
    void (*pfnAccept)(CRpcChannel* channel, void* user, CRpcChannelHandlers* toFill) = nullptr;
    void* pvAcceptUser = nullptr;
    void (*pfnChannelAdded)(CRpcChannel* channel, void* user) = nullptr;
    void* pvAddedUser = nullptr;
    // Used for channels whose accept handler left the closed pair empty.
    void (*pfnDefaultClosed)(CRpcChannel* channel, void* user) = nullptr;
    void* pvClosedUser = nullptr;
};

class CRpcServerEndpoint {
public:
    CRpcServerEndpoint();
    ~CRpcServerEndpoint();  // cleans up
    CRpcServerEndpoint(const CRpcServerEndpoint&) = delete;
    CRpcServerEndpoint& operator=(const CRpcServerEndpoint&) = delete;

    RpcResult Start();
    void CleanUp();
    // Port 0 asks the system for a free port; GetPort then tells which.
    RpcResult Listen(std::int32_t port, const CRpcEndpointHandlers* handlers);
    void Stop();
    RpcResult GetPort(std::int32_t* port);
    const char* LocalAddress();
    const char* LocalHostName();
    RpcResult ChannelCount(std::uint32_t* count);
    RpcResult ListPeers(std::vector<CRpcPeerInfo>* peers);
    RpcResult PeerOfChannel(CRpcChannel* channel, CRpcPeerInfo* info);
    RpcResult CloseChannel(CRpcChannel* channel);
    RpcResult CloseAllChannels();
    RpcResult PingChannel(CRpcChannel* channel);
    RpcResult SendOnChannel(CRpcChannel* channel, CRpcBuffer* buffer);
    RpcResult Broadcast(CRpcBuffer* buffer);
    void Poll();
    void SetDelayFlag(int value);
    int GetDelayFlag();

    bool IsListening();
    // Adds the descriptors a poll() should watch: the listening socket and every channel.
    void AddPollDescriptors(std::vector<pollfd>& fds);

private:
    RpcResult CheckChannel(CRpcChannel* channel);
    void AcceptPending();
    void PumpChannels();

    std::recursive_mutex m_lock;
    bool m_bStarted = false;
    bool m_bListening = false;
    CRpcSocket m_socket;
    std::int32_t m_lPort = -1;
    int m_nDelayFlag = 1;
    CRpcEndpointHandlers m_handlers;
    std::vector<std::unique_ptr<CRpcChannel>> m_channels;
    char m_szLocalAddress[RPC_TEXT_SIZE];
    char m_szLocalHostName[RPC_TEXT_SIZE];
};
