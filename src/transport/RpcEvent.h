#pragma once
// Manual- and auto-reset events on a mutex and a condition variable.

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>

#include "RpcClock.h"

class CRpcEvent {
public:
    explicit CRpcEvent(bool manualReset) : m_bManualReset(manualReset) {}

    void Set() {
        {
            std::lock_guard lock(m_mutex);
            m_bSignalled = true;
        }
        m_cv.notify_all();
    }
    void Reset() {
        std::lock_guard lock(m_mutex);
        m_bSignalled = false;
    }
    bool IsSet() const {
        std::lock_guard lock(m_mutex);
        return m_bSignalled;
    }
    // True when the event came within the time-out (RPC_INFINITE waits for ever).
    bool Wait(std::uint32_t timeoutMs) {
        std::unique_lock lock(m_mutex);
        const auto ready = [this] { return m_bSignalled; };
        if (timeoutMs == RPC_INFINITE)
            m_cv.wait(lock, ready);
        else if (!m_cv.wait_for(lock, std::chrono::milliseconds(timeoutMs), ready))
            return false;
        if (!m_bManualReset) m_bSignalled = false;
        return true;
    }

private:
    const bool m_bManualReset;
    mutable std::mutex m_mutex;
    std::condition_variable m_cv;
    bool m_bSignalled = false;
};
