#include "RpcClientLink.h"

#include <poll.h>

#include <chrono>
#include <thread>

#include "RpcClock.h"
#include "RpcFrame.h"
#include "RpcInstance.h"

namespace {
constexpr std::uint32_t kOpenCheckMs = 10;
}

CRpcClientLink::~CRpcClientLink() { Stop(); }

RpcResult CRpcClientLink::Start() {
    const RpcResult r = m_endpoint.Start();
    if (RpcFailed(r)) return r;
    m_endpoint.SetDelayFlag(0);
    return RPC_S_OK;
}

void CRpcClientLink::Stop() {
    if (m_endpoint.IsConnected()) {
        auto close = CRpcBuffer::Create(RPC_LINK_HEADER_SIZE, true);
        if (close) {
            RpcStore32(close->Payload(), LINK_CLOSE);
            RpcStore32(close->Payload() + 4, 0);
            m_endpoint.Send(close.Get());
        }
    }
    m_endpoint.Disconnect();
    m_endpoint.CleanUp();
}

RpcResult CRpcClientLink::Connect(const char* address, std::int32_t port) {
    const CRpcChannelHandlers handlers = Handlers();
    return m_endpoint.Connect(address, port, &handlers);
}

RpcResult CRpcClientLink::Open(const GUID& clsid, std::uint32_t timeoutMs) {
    auto open = CRpcBuffer::Create(RPC_LINK_HEADER_SIZE + RPC_CLSID_SIZE, true);
    if (!open) return RPC_E_OUTOFMEMORY;
    RpcStore32(open->Payload(), LINK_OPEN);
    RpcStore32(open->Payload() + 4, RPC_CLSID_SIZE);
    GuidToBytes(clsid, open->Payload() + RPC_LINK_HEADER_SIZE);

    m_bOpenWait = true;
    m_bOpenSettled = false;
    const RpcResult sent = m_endpoint.Send(open.Get());
    if (RpcFailed(sent)) {
        m_bOpenWait = false;
        return sent;
    }

    // Checks at least every 10 ms, but an answer that arrives in between is seen at
    // once. A connection the server closes does not end the wait before its time-out.
    const std::uint32_t start = RpcClockMs();
    for (;;) {
        m_endpoint.Poll();
        if (m_bOpenSettled) return m_lOpenResult;
        const std::uint32_t elapsed = RpcClockMs() - start;
        if (elapsed > timeoutMs) break;
        const std::uint32_t pause = std::min<std::uint32_t>(kOpenCheckMs, timeoutMs - elapsed + 1);
        const int fd = m_endpoint.Fd();
        if (fd >= 0) {
            pollfd p{fd, POLLIN, 0};
            ::poll(&p, 1, static_cast<int>(pause));
        } else {
            std::this_thread::sleep_for(std::chrono::milliseconds(pause));
        }
    }
    m_bOpenWait = false;
    return RPC_E_OPEN_TIMEOUT;
}

RpcResult CRpcClientLink::SendAsClient(const void* data, std::uint32_t length, std::uint32_t mode) {
    auto message = BuildCallMessage(data, length, mode);
    if (!message) return RPC_E_OUTOFMEMORY;
    return m_endpoint.Send(message.Get());
}

void CRpcClientLink::DataReceived(CRpcChannel*, CRpcBuffer* frame) {
    if (m_bOpenWait) {
        // The first link message of any kind settles the open.
        m_bOpenWait = false;
        m_bOpenSettled = true;
        m_lOpenResult = OpenResultOf(frame);
        return;
    }
    LinkMessage message;
    if (!ParseLinkMessage(frame, &message)) return;
    std::size_t queued = 0;
    switch (message.ulKind) {
    case LINK_CALL:
        m_pInstance->PostToOwner(m_ulBindingId, MSG_ANSWER, frame, message.ulOffset, message.ulLength, &queued);
        break;
    case LINK_CALL_MODE1:
    case LINK_CALL_ONEWAY:
        m_pInstance->PostToOwner(m_ulBindingId, MSG_NOTIFY, frame, message.ulOffset, message.ulLength, &queued);
        break;
    default:
        break;
    }
    if (queued >= RPC_QUEUE_HIGH_WATER) m_endpoint.SetReceivePaused(true);
}

void CRpcClientLink::Poll() {
    m_endpoint.Poll();
    if (m_endpoint.IsReceivePaused() && m_pInstance->OwnerQueueLength(m_ulBindingId) <= RPC_QUEUE_LOW_WATER)
        m_endpoint.SetReceivePaused(false);
}

RpcResult CRpcClientLink::OpenResultOf(CRpcBuffer* frame) {
    const std::uint32_t length = frame->PayloadLength();
    if (length < RPC_LINK_HEADER_SIZE + RPC_STATUS_BODY_SIZE || RpcLoad32(frame->Payload()) != LINK_STATUS)
        return RPC_E_BAD_OPEN_ANSWER;
    return static_cast<RpcResult>(RpcLoad32(frame->Payload() + RPC_LINK_HEADER_SIZE));
}

void CRpcClientLink::ChannelClosed(CRpcChannel*) { m_pInstance->WakeOwner(m_ulBindingId); }
