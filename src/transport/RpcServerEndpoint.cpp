#include "RpcServerEndpoint.h"

#include <netinet/in.h>
#include <sys/socket.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <new>

namespace {
constexpr const char* kNotStartedText = "INIT INSTANCE FIRST";
}

CRpcServerEndpoint::CRpcServerEndpoint() {
    std::snprintf(m_szLocalAddress, sizeof m_szLocalAddress, "%s", kNotStartedText);
    std::snprintf(m_szLocalHostName, sizeof m_szLocalHostName, "%s", kNotStartedText);
}

CRpcServerEndpoint::~CRpcServerEndpoint() { CleanUp(); }

RpcResult CRpcServerEndpoint::Start() {
    std::lock_guard lock(m_lock);
    if (m_bStarted) return RPC_S_ALREADY_STARTED;
    if (!RpcSocketLayerStart()) return RPC_E_SERVER_SOCKET;
    m_bStarted = true;
    RpcReadLocalHost(m_szLocalHostName, m_szLocalAddress);
    return RPC_S_SERVER_OK;
}

void CRpcServerEndpoint::CleanUp() {
    std::lock_guard lock(m_lock);
    if (!m_bStarted) return;
    Stop();
    RpcSocketLayerStop();
    m_bStarted = false;
}

RpcResult CRpcServerEndpoint::Listen(std::int32_t port, const CRpcEndpointHandlers* handlers) {
    std::lock_guard lock(m_lock);
    if (!m_bStarted) return RPC_E_SERVER_NOT_STARTED;
    if (m_bListening) return RPC_E_SERVER_LISTENING;
    if (!handlers || !handlers->pfnChannelAdded) return RPC_E_SERVER_HANDLERS;
    m_handlers = *handlers;

    m_lPort = port;
    CRpcSocket listener(::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0));
    if (!listener.IsValid()) return RPC_E_SERVER_SOCKET;
    RpcSetNoDelay(listener.Fd(), m_nDelayFlag == 0);
    // Without this a restarted listener could not take its port back while
    // connections of the previous run linger in TIME_WAIT.
    const int reuse = 1;
    ::setsockopt(listener.Fd(), SOL_SOCKET, SO_REUSEADDR, &reuse, sizeof reuse);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_ANY);
    address.sin_port = htons(static_cast<std::uint16_t>(port));
    if (::bind(listener.Fd(), reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        ::listen(listener.Fd(), 5) != 0 || !RpcSetNonBlocking(listener.Fd())) {
        m_lPort = -1;
        return RPC_E_SERVER_SOCKET;
    }
    socklen_t size = sizeof address;
    if (::getsockname(listener.Fd(), reinterpret_cast<sockaddr*>(&address), &size) == 0)
        m_lPort = ntohs(address.sin_port);
    m_socket = std::move(listener);
    m_bListening = true;
    return RPC_S_SERVER_OK;
}

void CRpcServerEndpoint::Stop() {
    std::lock_guard lock(m_lock);
    if (!m_bListening) return;
    m_socket.Close();
    // Taken out of the list first: a channel's destruction must not find itself listed.
    auto channels = std::move(m_channels);
    m_channels.clear();
    for (auto& channel : channels) channel->Close(false);
    channels.clear();
    m_bListening = false;
    m_lPort = -1;
}

RpcResult CRpcServerEndpoint::GetPort(std::int32_t* port) {
    std::lock_guard lock(m_lock);
    if (!port) return RPC_E_INVALIDARG;
    if (!m_bListening) return RPC_E_SERVER_NOT_STARTED;
    *port = m_lPort;
    return RPC_S_SERVER_OK;
}

const char* CRpcServerEndpoint::LocalAddress() {
    std::lock_guard lock(m_lock);
    if (m_bStarted) RpcReadLocalHost(m_szLocalHostName, m_szLocalAddress);
    return m_szLocalAddress;
}

const char* CRpcServerEndpoint::LocalHostName() {
    std::lock_guard lock(m_lock);
    if (m_bStarted) RpcReadLocalHost(m_szLocalHostName, m_szLocalAddress);
    return m_szLocalHostName;
}

RpcResult CRpcServerEndpoint::ChannelCount(std::uint32_t* count) {
    std::lock_guard lock(m_lock);
    if (!count) return RPC_E_INVALIDARG;
    *count = static_cast<std::uint32_t>(m_channels.size());
    return RPC_S_SERVER_OK;
}

RpcResult CRpcServerEndpoint::ListPeers(std::vector<CRpcPeerInfo>* peers) {
    std::lock_guard lock(m_lock);
    if (!peers) return RPC_E_INVALIDARG;
    peers->clear();
    for (auto& channel : m_channels) {
        CRpcPeerInfo info;
        channel->PeerInfo(&info);
        peers->push_back(info);
    }
    return RPC_S_SERVER_OK;
}

RpcResult CRpcServerEndpoint::CheckChannel(CRpcChannel* channel) {
    if (!m_bListening) return RPC_E_SERVER_NOT_LISTENING;
    if (m_channels.empty() || !channel) return RPC_E_INVALIDARG;
    // A handle that is not (or no longer) ours is refused rather than followed.
    const bool known = std::any_of(m_channels.begin(), m_channels.end(),
                                   [channel](const auto& c) { return c.get() == channel; });
    return known ? RPC_S_SERVER_OK : RPC_E_INVALIDARG;
}

RpcResult CRpcServerEndpoint::PeerOfChannel(CRpcChannel* channel, CRpcPeerInfo* info) {
    std::lock_guard lock(m_lock);
    const RpcResult r = CheckChannel(channel);
    return RpcFailed(r) ? r : channel->PeerInfo(info);
}

RpcResult CRpcServerEndpoint::CloseChannel(CRpcChannel* channel) {
    std::lock_guard lock(m_lock);
    auto it = std::find_if(m_channels.begin(), m_channels.end(),
                           [channel](const auto& c) { return c.get() == channel; });
    if (!channel || it == m_channels.end()) return RPC_E_INVALIDARG;
    std::unique_ptr<CRpcChannel> closing = std::move(*it);
    m_channels.erase(it);
    closing->Close(false);
    return RPC_S_SERVER_OK;
}

RpcResult CRpcServerEndpoint::CloseAllChannels() {
    std::lock_guard lock(m_lock);
    while (!m_channels.empty()) CloseChannel(m_channels.front().get());
    return RPC_S_SERVER_OK;
}

RpcResult CRpcServerEndpoint::PingChannel(CRpcChannel* channel) {
    std::lock_guard lock(m_lock);
    const RpcResult r = CheckChannel(channel);
    return RpcFailed(r) ? r : channel->Ping();
}

RpcResult CRpcServerEndpoint::SendOnChannel(CRpcChannel* channel, CRpcBuffer* buffer) {
    std::lock_guard lock(m_lock);
    const RpcResult r = CheckChannel(channel);
    return RpcFailed(r) ? r : channel->SendData(buffer);
}

RpcResult CRpcServerEndpoint::Broadcast(CRpcBuffer* buffer) {
    std::lock_guard lock(m_lock);
    for (std::size_t i = 0; i < m_channels.size(); ++i) m_channels[i]->SendData(buffer);
    return RPC_S_SERVER_OK;
}

void CRpcServerEndpoint::Poll() {
    std::lock_guard lock(m_lock);
    if (!m_bListening) return;
    AcceptPending();
    PumpChannels();
}

void CRpcServerEndpoint::AcceptPending() {
    while (m_bListening) {
        CRpcSocket accepted(::accept4(m_socket.Fd(), nullptr, nullptr, SOCK_CLOEXEC));
        if (!accepted.IsValid()) {
            if (errno == EINTR) continue;
            return;
        }
        RpcSetNoDelay(accepted.Fd(), m_nDelayFlag == 0);
        std::unique_ptr<CRpcChannel> channel(new (std::nothrow) CRpcChannel(std::move(accepted)));
        if (!channel) return;
        CRpcChannelHandlers handlers;
        if (m_handlers.pfnAccept) m_handlers.pfnAccept(channel.get(), m_handlers.pvAcceptUser, &handlers);
        if (!handlers.pfnClosed) {
            handlers.pfnClosed = m_handlers.pfnDefaultClosed;
            handlers.pvClosedUser = m_handlers.pvClosedUser;
        }
        channel->SetHandlers(&handlers);
        CRpcChannel* added = channel.get();
        m_channels.push_back(std::move(channel));
        if (m_handlers.pfnChannelAdded) m_handlers.pfnChannelAdded(added, m_handlers.pvAddedUser);
    }
}

void CRpcServerEndpoint::PumpChannels() {
    // Handlers may add or close channels while we walk, so the list is re-checked
    // by index and by identity after every pump.
    for (std::size_t i = 0; i < m_channels.size();) {
        CRpcChannel* channel = m_channels[i].get();
        channel->Pump();
        if (i < m_channels.size() && m_channels[i].get() == channel && channel->IsClosed()) {
            std::unique_ptr<CRpcChannel> gone = std::move(m_channels[i]);
            m_channels.erase(m_channels.begin() + static_cast<std::ptrdiff_t>(i));
            continue;
        }
        ++i;
    }
}

void CRpcServerEndpoint::SetDelayFlag(int value) {
    std::lock_guard lock(m_lock);
    m_nDelayFlag = value;
    if (m_socket.IsValid()) RpcSetNoDelay(m_socket.Fd(), value == 0);
}

int CRpcServerEndpoint::GetDelayFlag() {
    std::lock_guard lock(m_lock);
    return m_nDelayFlag;
}

bool CRpcServerEndpoint::IsListening() {
    std::lock_guard lock(m_lock);
    return m_bListening;
}

void CRpcServerEndpoint::AddPollDescriptors(std::vector<pollfd>& fds) {
    std::lock_guard lock(m_lock);
    if (!m_bListening) return;
    fds.push_back(pollfd{m_socket.Fd(), POLLIN, 0});
    for (auto& channel : m_channels) {
        if (channel->IsClosed()) continue;
        const short events = static_cast<short>((channel->IsReceivePaused() ? 0 : POLLIN) |
                                                (channel->HasPendingSend() ? POLLOUT : 0));
        fds.push_back(pollfd{channel->Fd(), events, 0});
    }
}
