#include "RpcClientEndpoint.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>

#include <cerrno>
#include <cstdio>
#include <new>

namespace {
constexpr const char* kNotStartedText = "ERROR: CALL InitializeInstance";
}

CRpcClientEndpoint::CRpcClientEndpoint() {
    std::snprintf(m_szLocalAddress, sizeof m_szLocalAddress, "%s", kNotStartedText);
    std::snprintf(m_szLocalHostName, sizeof m_szLocalHostName, "%s", kNotStartedText);
}

CRpcClientEndpoint::~CRpcClientEndpoint() {
    Disconnect();
    CleanUp();
}

RpcResult CRpcClientEndpoint::Start() {
    std::lock_guard lock(m_lock);
    if (m_bStarted) return RPC_S_ALREADY_STARTED;
    if (!RpcSocketLayerStart()) return RPC_E_CLIENT_SOCKET;
    m_bStarted = true;
    RpcReadLocalHost(m_szLocalHostName, m_szLocalAddress);
    return RPC_S_CLIENT_OK;
}

void CRpcClientEndpoint::CleanUp() {
    std::lock_guard lock(m_lock);
    if (!m_bStarted) return;
    RpcSocketLayerStop();
    m_bStarted = false;
}

RpcResult CRpcClientEndpoint::Connect(const char* address, std::int32_t port, const CRpcChannelHandlers* handlers) {
    std::lock_guard lock(m_lock);
    if (!address || !handlers) return RPC_E_INVALIDARG;
    if (!m_bStarted) {
        const RpcResult r = Start();
        if (RpcFailed(r)) return r;
    }
    if (m_channel) return RPC_E_CLIENT_CONNECTED;

    sockaddr_in peer{};
    peer.sin_family = AF_INET;
    peer.sin_port = htons(static_cast<std::uint16_t>(port));
    if (port < 0 || port > 65535 || ::inet_pton(AF_INET, address, &peer.sin_addr) != 1) return RPC_E_CLIENT_SOCKET;

    m_lPort = port;
    m_socket = CRpcSocket(::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0));
    if (!m_socket.IsValid()) return RPC_E_CLIENT_SOCKET;
    RpcSetNoDelay(m_socket.Fd(), m_nDelayFlag == 0);
    int rc;
    do {
        rc = ::connect(m_socket.Fd(), reinterpret_cast<sockaddr*>(&peer), sizeof peer);
    } while (rc != 0 && errno == EINTR);
    if (rc != 0) {
        m_socket.Close();
        m_lPort = -1;
        return RPC_E_CLIENT_SOCKET;
    }

    m_channel.reset(new (std::nothrow) CRpcChannel(std::move(m_socket)));
    if (!m_channel) {
        Disconnect();
        return RPC_E_OUTOFMEMORY;
    }
    m_channel->SetHandlers(handlers);
    std::snprintf(m_szPeerAddress, sizeof m_szPeerAddress, "%s", address);
    return RPC_S_CLIENT_OK;
}

void CRpcClientEndpoint::Disconnect() {
    std::lock_guard lock(m_lock);
    std::unique_ptr<CRpcChannel> channel = std::move(m_channel);
    if (channel) channel->Close(false);
    channel.reset();
    m_socket.Close();
    m_lPort = -1;
    m_szPeerAddress[0] = '\0';
}

bool CRpcClientEndpoint::IsConnected() {
    std::lock_guard lock(m_lock);
    return m_channel && !m_channel->IsClosed();
}

const char* CRpcClientEndpoint::PeerAddress() {
    std::lock_guard lock(m_lock);
    if (!IsConnected()) m_szPeerAddress[0] = '\0';
    return m_szPeerAddress;
}

std::int32_t CRpcClientEndpoint::Port() {
    std::lock_guard lock(m_lock);
    return IsConnected() ? m_lPort : -1;
}

RpcResult CRpcClientEndpoint::Send(CRpcBuffer* buffer) {
    std::lock_guard lock(m_lock);
    if (!IsConnected()) return RPC_E_CLIENT_NOT_CONNECTED;
    return m_channel->SendData(buffer);
}

RpcResult CRpcClientEndpoint::Ping() {
    std::lock_guard lock(m_lock);
    if (!IsConnected()) return RPC_E_CLIENT_NOT_CONNECTED;
    return m_channel->Ping();
}

const char* CRpcClientEndpoint::LocalAddress() {
    std::lock_guard lock(m_lock);
    if (m_bStarted) RpcReadLocalHost(m_szLocalHostName, m_szLocalAddress);
    return m_szLocalAddress;
}

const char* CRpcClientEndpoint::LocalHostName() {
    std::lock_guard lock(m_lock);
    if (m_bStarted) RpcReadLocalHost(m_szLocalHostName, m_szLocalAddress);
    return m_szLocalHostName;
}

void CRpcClientEndpoint::Poll() {
    std::lock_guard lock(m_lock);
    if (!m_channel) return;
    m_channel->Pump();
    if (m_channel && m_channel->IsClosed()) Disconnect();
}

void CRpcClientEndpoint::SetDelayFlag(int value) {
    std::lock_guard lock(m_lock);
    m_nDelayFlag = value;
    if (IsConnected()) RpcSetNoDelay(m_channel->Fd(), value == 0);
}

int CRpcClientEndpoint::GetDelayFlag() {
    std::lock_guard lock(m_lock);
    return m_nDelayFlag;
}

bool CRpcClientEndpoint::HasPendingSend() {
    std::lock_guard lock(m_lock);
    return IsConnected() && m_channel->HasPendingSend();
}

std::size_t CRpcClientEndpoint::PendingBytes() {
    std::lock_guard lock(m_lock);
    return IsConnected() ? m_channel->PendingBytes() : 0;
}

void CRpcClientEndpoint::SetReceivePaused(bool paused) {
    std::lock_guard lock(m_lock);
    if (m_channel) m_channel->SetReceivePaused(paused);
}

bool CRpcClientEndpoint::IsReceivePaused() {
    std::lock_guard lock(m_lock);
    return m_channel && m_channel->IsReceivePaused();
}

int CRpcClientEndpoint::Fd() {
    std::lock_guard lock(m_lock);
    return IsConnected() ? m_channel->Fd() : -1;
}

void CRpcClientEndpoint::AddPollDescriptors(std::vector<pollfd>& fds) {
    std::lock_guard lock(m_lock);
    if (!IsConnected()) return;
    const short events = static_cast<short>((m_channel->IsReceivePaused() ? 0 : POLLIN) |
                                            (m_channel->HasPendingSend() ? POLLOUT : 0));
    fds.push_back(pollfd{m_channel->Fd(), events, 0});
}
