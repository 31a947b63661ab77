#pragma once
// A thread running one routine, with a done event that joins can wait on with a
// time-out. A thread that has not ended when its wrapper is destroyed is detached;
// the state it writes at its end is shared, so the wrapper may go first.

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <thread>

#include "RpcEvent.h"
#include "RpcResult.h"

inline constexpr int RPC_PRIORITY_BELOW_NORMAL = 255;
inline constexpr int RPC_PRIORITY_NORMAL = 256;
inline constexpr int RPC_PRIORITY_ABOVE_NORMAL = 257;

class CRpcThread {
public:
    using Routine = std::uint32_t (*)(void* argument);

    CRpcThread() = default;
    ~CRpcThread();
    CRpcThread(const CRpcThread&) = delete;
    CRpcThread& operator=(const CRpcThread&) = delete;

    // Priorities are accepted for the record and otherwise left to the system.
    RpcResult Create(Routine routine, void* argument, int priority);
    // The same for a routine that owns what it uses (it may outlive the wrapper).
    RpcResult Create(std::function<std::uint32_t()> routine, int priority);
    // 0 when the thread ended within the time-out (RPC_INFINITE waits for ever), -1 on time-out, 1 on failure.
    int Join(std::uint32_t timeoutMs);

    RpcResult Status() const { return m_lStatus; }
    bool IsFinished() const { return m_state->bFinished.load(); }
    std::uint32_t ExitValue() const { return m_state->ulExitValue.load(); }

private:
    struct State {
        std::atomic<bool> bFinished{false};
        std::atomic<std::uint32_t> ulExitValue{0};
        CRpcEvent done{true};
    };

    std::thread m_thread;
    RpcResult m_lStatus = RPC_E_OUTOFMEMORY;
    std::shared_ptr<State> m_state = std::make_shared<State>();
};

// A small id for the calling thread, unique for the life of the process; never 0.
std::uint32_t RpcCurrentThreadId();
