#include "RpcChannel.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>

#include "RpcClock.h"
#include "RpcFrame.h"

namespace {
constexpr std::uint32_t kStageSize = 64 * 1024;

bool WouldBlock(int error) { return error == EAGAIN || error == EWOULDBLOCK; }
}  // namespace

CRpcChannel::CRpcChannel(CRpcSocket socket) : m_socket(std::move(socket)) {
    m_bClosed = !m_socket.IsValid() || !RpcSetNonBlocking(m_socket.Fd());
    if (m_bClosed) m_socket.Close();
}

CRpcChannel::~CRpcChannel() { Close(false); }

RpcResult CRpcChannel::SetHandlers(const CRpcChannelHandlers* handlers) {
    if (!handlers) return RPC_E_CHANNEL_HANDLERS;
    m_handlers = *handlers;
    return RPC_S_CHANNEL_OK;
}

RpcResult CRpcChannel::SendData(CRpcBuffer* buffer) {
    if (m_bClosed) return RPC_E_CHANNEL_CLOSED;
    if (!buffer || !buffer->HasHeaderRoom() || !buffer->Storage()) return RPC_E_INVALIDARG;
    RpcStore32(buffer->Storage(), FRAME_DATA);
    RpcStore32(buffer->Storage() + 4, buffer->PayloadLength());
    return Queue(buffer);
}

RpcResult CRpcChannel::Ping() {
    if (m_bClosed) return RPC_E_CHANNEL_CLOSED;
    auto ping = CRpcBuffer::Create(RPC_PING_PAYLOAD_SIZE, true);
    if (!ping) return RPC_E_OUTOFMEMORY;
    std::memset(ping->Storage(), 0, ping->StorageSize());
    RpcStore32(ping->Storage(), FRAME_PING);
    RpcStore32(ping->Storage() + 4, RPC_PING_PAYLOAD_SIZE);
    RpcStore32(ping->Payload(), RpcClockMs());
    return Queue(ping.Get());
}

RpcResult CRpcChannel::Queue(CRpcBuffer* frame) {
    m_sendQueue.push_back(SendEntry{RpcPtr<CRpcBuffer>::Retain(frame), 0, frame->StorageSize()});
    m_ulPendingBytes += frame->StorageSize();
    SendRoutine();
    return m_bClosed ? RPC_E_CHANNEL_CLOSED : RPC_S_CHANNEL_OK;
}

void CRpcChannel::Pump() {
    SendRoutine();
    ReceiveRoutine();
}

void CRpcChannel::SendRoutine() {
    while (!m_bClosed && !m_sendQueue.empty()) {
        SendEntry& head = m_sendQueue.front();
        const std::uint32_t offer = std::min(RPC_MAX_SEND_CHUNK, head.ulRemaining);
        const ssize_t sent = RpcSocketSend(m_socket.Fd(), head.buffer->Storage() + head.ulCursor, offer);
        if (sent < 0) {
            if (errno == EINTR) continue;
            if (WouldBlock(errno) || errno == ENOBUFS) return;
            Close(true);
            return;
        }
        if (sent == 0) return;  // nothing taken: try again at the next pump
        head.ulCursor += static_cast<std::uint32_t>(sent);
        head.ulRemaining -= static_cast<std::uint32_t>(sent);
        m_ulPendingBytes -= static_cast<std::size_t>(sent);
        if (head.ulRemaining == 0) m_sendQueue.pop_front();
    }
}

void CRpcChannel::ReceiveRoutine() {
    while (!m_bClosed && !m_bReceivePaused) {
        if (m_ulStagePos == m_ulStageEnd) {
            if (!m_stage) {
                m_stage.reset(static_cast<std::uint8_t*>(RpcAlloc(kStageSize)));
                if (!m_stage) return;  // try again at the next pump
            }
            const ssize_t got = ::recv(m_socket.Fd(), m_stage.get(), kStageSize, 0);
            if (got < 0 && errno == EINTR) continue;
            if (got < 0 && WouldBlock(errno)) return;
            if (got <= 0) {
                Close(true);
                return;
            }
            m_ulStagePos = 0;
            m_ulStageEnd = static_cast<std::uint32_t>(got);
        }
        if (!ConsumeStaged()) return;
    }
}

bool CRpcChannel::ConsumeStaged() {
    while (m_ulStagePos < m_ulStageEnd) {
        if (!m_rxFrame) {
            m_rxFrame = CRpcBuffer::Create(0, true);
            if (!m_rxFrame) {
                Close(true);
                return false;
            }
            m_ulRxCursor = 0;
            m_ulRxMissing = RPC_FRAME_HEADER_SIZE;
            m_bRxHeaderComplete = false;
        }
        const std::uint32_t take = std::min(m_ulRxMissing, m_ulStageEnd - m_ulStagePos);
        std::memcpy(m_rxFrame->Storage() + m_ulRxCursor, m_stage.get() + m_ulStagePos, take);
        m_ulStagePos += take;
        m_ulRxCursor += take;
        m_ulRxMissing -= take;
        if (m_ulRxMissing > 0) return true;
        if (!m_bRxHeaderComplete && !CompleteHeader()) return false;
        if (m_ulRxMissing > 0) continue;

        RpcPtr<CRpcBuffer> frame = std::move(m_rxFrame);
        DispatchFrame(frame.Get());
        if (m_bClosed) return false;
        if (m_bReceivePaused) return true;
    }
    return true;
}

bool CRpcChannel::CompleteHeader() {
    const std::uint32_t tag = RpcLoad32(m_rxFrame->Storage());
    const std::uint32_t length = RpcLoad32(m_rxFrame->Storage() + 4);
    // An oversized frame would make us allocate on the peer's word, and an empty
    // data frame is something no sender produces: both end the connection.
    if (length > RPC_MAX_FRAME_LENGTH || (tag == FRAME_DATA && length == 0) || !m_rxFrame->Resize(length)) {
        m_rxFrame.Reset();
        Close(true);
        return false;
    }
    RpcStore32(m_rxFrame->Storage(), tag);
    RpcStore32(m_rxFrame->Storage() + 4, length);
    m_ulRxMissing = length;
    m_bRxHeaderComplete = true;
    return true;
}

void CRpcChannel::DispatchFrame(CRpcBuffer* frame) {
    switch (RpcLoad32(frame->Storage())) {
    case FRAME_DATA:
        if (m_handlers.pfnDataReceived) m_handlers.pfnDataReceived(this, frame, m_handlers.pvDataUser);
        break;
    case FRAME_PING:
        // Echoed with the length it came with, so that the stream stays in step
        // whatever the peer chose to send.
        RpcStore32(frame->Storage(), FRAME_PONG);
        Queue(frame);
        break;
    case FRAME_PONG:
        if (m_handlers.pfnPongReceived && frame->PayloadLength() >= 4) {
            const std::uint32_t latency = (RpcClockMs() - RpcLoad32(frame->Payload())) >> 1;
            m_handlers.pfnPongReceived(this, latency, m_handlers.pvPongUser);
        }
        break;
    default:
        break;
    }
}

RpcResult CRpcChannel::PeerInfo(CRpcPeerInfo* info) const {
    if (!info) return RPC_E_INVALIDARG;
    info->pChannel = const_cast<CRpcChannel*>(this);
    std::memset(info->szAddress, 0, sizeof info->szAddress);
    sockaddr_in peer{};
    socklen_t size = sizeof peer;
    if (m_socket.IsValid() && ::getpeername(m_socket.Fd(), reinterpret_cast<sockaddr*>(&peer), &size) == 0) {
        const auto* b = reinterpret_cast<const std::uint8_t*>(&peer.sin_addr.s_addr);
        std::snprintf(info->szAddress, sizeof info->szAddress, "%d.%d.%d.%d", b[0], b[1], b[2], b[3]);
    }
    return RPC_S_CHANNEL_OK;
}

void CRpcChannel::Close(bool notify) {
    if (m_bClosed && !m_socket.IsValid()) return;
    const bool wasOpen = !m_bClosed;
    m_bClosed = true;
    if (notify && wasOpen && m_handlers.pfnClosed) m_handlers.pfnClosed(this, m_handlers.pvClosedUser);
    m_socket.Close();
    m_rxFrame.Reset();
    m_sendQueue.clear();
    m_ulPendingBytes = 0;
    m_ulStagePos = m_ulStageEnd = 0;
}
