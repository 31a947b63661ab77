#pragma once
// One registered thread: the messages queued for it, the answers and notifications
// it holds until a proxy claims them, and the event it sleeps on.

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <mutex>
#include <unordered_map>

#include "RpcBuffer.h"
#include "RpcUnknown.h"

class CRpcInstance;

enum ERpcMessageKind : std::uint32_t { MSG_REQUEST = 0, MSG_ANSWER = 1, MSG_NOTIFY = 2 };

// A call body queued for a thread. It shares the received frame instead of
// copying it; the body starts after the frame's link header.
class CRpcQueuedMessage : public CRpcAllocated {
public:
    CRpcQueuedMessage(ERpcMessageKind kind, std::uint32_t bindingId, CRpcBuffer* frame, std::uint32_t offset,
                      std::uint32_t length)
        : m_eKind(kind), m_ulBindingId(bindingId), m_frame(RpcPtr<CRpcBuffer>::Retain(frame)),
          m_ulOffset(offset), m_ulLength(length) {}

    void AddRef() { m_lRefs.fetch_add(1, std::memory_order_relaxed); }
    void Release() {
        if (m_lRefs.fetch_sub(1, std::memory_order_acq_rel) == 1) delete this;
    }

    ERpcMessageKind Kind() const { return m_eKind; }
    std::uint32_t BindingId() const { return m_ulBindingId; }
    const std::uint8_t* Data() const { return m_frame->Payload() + m_ulOffset; }
    std::uint32_t Length() const { return m_ulLength; }

private:
    ~CRpcQueuedMessage() = default;

    ERpcMessageKind m_eKind;
    std::uint32_t m_ulBindingId;
    RpcPtr<CRpcBuffer> m_frame;
    std::uint32_t m_ulOffset;
    std::uint32_t m_ulLength;
    std::atomic<std::int32_t> m_lRefs{1};
};

class CRpcThreadContext : public CRpcInternalObject {
public:
    explicit CRpcThreadContext(CRpcInstance* instance);

    // Returns how many messages are queued now.
    std::size_t Post(RpcPtr<CRpcQueuedMessage> message);
    // Runs queued requests, and holds and delivers answers and notifications; stops
    // after the first answer so that its waiter can look at it.
    void ProcessQueue();
    // Sleeps until something is queued or the thread is woken, then processes the
    // queue. RPC_E_DISCONNECTED when the binding's connection is gone or the thread
    // was cleared; RPC_E_CALL_TIMEOUT when the time-out passed with nothing queued.
    RpcResult WaitForAnswer(std::uint32_t bindingId, std::uint32_t timeoutMs);
    // Like WaitForAnswer, for a thread's main loop: no binding to watch.
    RpcResult WaitForMessages(std::uint32_t timeoutMs);
    RpcResult GetHeldMessage(std::uint32_t key, RpcPtr<CRpcQueuedMessage>* message);
    void DropHeldMessage(std::uint32_t key);
    // Deletes every queued and held message and wakes the thread for good.
    void Clear();
    void Wake();

    std::size_t QueueLength();
    std::size_t HeldCount();

private:
    // Waits on the event; false on time-out.
    bool WaitEvent(std::uint32_t timeoutMs);

    CRpcInstance* const m_pInstance;
    std::mutex m_lock;
    std::condition_variable m_cv;
    bool m_bEvent = false;
    bool m_bCleared = false;
    std::deque<RpcPtr<CRpcQueuedMessage>> m_queue;
    std::unordered_map<std::uint32_t, RpcPtr<CRpcQueuedMessage>> m_pending;
    std::uint32_t m_ulNextKey = 1;
};
