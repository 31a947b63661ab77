#include "RpcThreadContext.h"

#include <chrono>

#include "RpcClock.h"
#include "RpcInstance.h"

CRpcThreadContext::CRpcThreadContext(CRpcInstance* instance) : m_pInstance(instance) { m_pending.reserve(128); }

std::size_t CRpcThreadContext::Post(RpcPtr<CRpcQueuedMessage> message) {
    std::size_t queued;
    {
        std::lock_guard lock(m_lock);
        if (m_bCleared) return 0;
        m_queue.push_back(std::move(message));
        m_bEvent = true;
        queued = m_queue.size();
    }
    m_cv.notify_one();
    return queued;
}

void CRpcThreadContext::ProcessQueue() {
    for (;;) {
        RpcPtr<CRpcQueuedMessage> message;
        std::uint32_t key = 0;
        {
            std::lock_guard lock(m_lock);
            if (m_queue.empty()) return;
            message = std::move(m_queue.front());
            m_queue.pop_front();
            if (message->Kind() != MSG_REQUEST) {
                do {
                    key = m_ulNextKey++;
                } while (key == 0 || m_pending.count(key));
                m_pending.emplace(key, message);
            }
        }
        if (message->Kind() == MSG_REQUEST) {
            m_pInstance->DeliverRequest(message->BindingId(), message->Data(), message->Length());
            continue;
        }
        // Nobody could ever claim a message whose binding has no proxy; keeping it
        // would let a peer grow this table without bound.
        if (!m_pInstance->DeliverHeldMessage(message->BindingId(), key, message->Data(), message->Length()))
            DropHeldMessage(key);
        if (message->Kind() == MSG_ANSWER) return;
    }
}

bool CRpcThreadContext::WaitEvent(std::uint32_t timeoutMs) {
    std::unique_lock lock(m_lock);
    const auto ready = [this] { return m_bEvent || m_bCleared; };
    if (timeoutMs == RPC_INFINITE) {
        m_cv.wait(lock, ready);
        return true;
    }
    return m_cv.wait_for(lock, std::chrono::milliseconds(timeoutMs), ready);
}

RpcResult CRpcThreadContext::WaitForAnswer(std::uint32_t bindingId, std::uint32_t timeoutMs) {
    std::size_t queued;
    {
        std::lock_guard lock(m_lock);
        if (m_bCleared) return RPC_E_DISCONNECTED;
        m_bEvent = false;
        queued = m_queue.size();
    }
    if (queued == 0) {
        // A binding that is gone counts as a closed connection: nothing will ever answer.
        if (m_pInstance->IsClosed(bindingId) != 0) return RPC_E_DISCONNECTED;
        if (!WaitEvent(timeoutMs)) return RPC_E_CALL_TIMEOUT;
        std::lock_guard lock(m_lock);
        if (m_bCleared) return RPC_E_DISCONNECTED;
    }
    ProcessQueue();
    return 0;
}

RpcResult CRpcThreadContext::WaitForMessages(std::uint32_t timeoutMs) {
    {
        std::unique_lock lock(m_lock);
        if (m_bCleared) return RPC_E_DISCONNECTED;
        if (m_queue.empty()) {
            const auto ready = [this] { return m_bEvent || m_bCleared; };
            if (timeoutMs == RPC_INFINITE)
                m_cv.wait(lock, ready);
            else
                m_cv.wait_for(lock, std::chrono::milliseconds(timeoutMs), ready);
        }
        m_bEvent = false;
        if (m_bCleared) return RPC_E_DISCONNECTED;
    }
    ProcessQueue();
    return RPC_S_OK;
}

RpcResult CRpcThreadContext::GetHeldMessage(std::uint32_t key, RpcPtr<CRpcQueuedMessage>* message) {
    std::lock_guard lock(m_lock);
    auto it = m_pending.find(key);
    if (it == m_pending.end()) return E_HANDLE;
    if (message) *message = it->second;
    return 0;
}

void CRpcThreadContext::DropHeldMessage(std::uint32_t key) {
    RpcPtr<CRpcQueuedMessage> dropped;
    std::lock_guard lock(m_lock);
    auto it = m_pending.find(key);
    if (it == m_pending.end()) return;
    dropped = std::move(it->second);
    m_pending.erase(it);
}

void CRpcThreadContext::Clear() {
    std::deque<RpcPtr<CRpcQueuedMessage>> queued;
    std::unordered_map<std::uint32_t, RpcPtr<CRpcQueuedMessage>> held;
    {
        std::lock_guard lock(m_lock);
        m_bCleared = true;
        m_bEvent = true;
        queued.swap(m_queue);
        held.swap(m_pending);
    }
    m_cv.notify_all();
}

void CRpcThreadContext::Wake() {
    {
        std::lock_guard lock(m_lock);
        m_bEvent = true;
    }
    m_cv.notify_all();
}

std::size_t CRpcThreadContext::QueueLength() {
    std::lock_guard lock(m_lock);
    return m_queue.size();
}

std::size_t CRpcThreadContext::HeldCount() {
    std::lock_guard lock(m_lock);
    return m_pending.size();
}
