#include "RpcThread.h"

#include <system_error>

CRpcThread::~CRpcThread() {
    if (!m_thread.joinable()) return;
    if (m_state->bFinished.load())
        m_thread.join();
    else
        m_thread.detach();
}

RpcResult CRpcThread::Create(Routine routine, void* argument, int priority) {
    return Create([routine, argument] { return routine(argument); }, priority);
}

RpcResult CRpcThread::Create(std::function<std::uint32_t()> routine, int /*priority*/) {
    if (m_thread.joinable()) return RPC_E_INVALIDARG;
    m_state = std::make_shared<State>();
    m_lStatus = RPC_S_THREAD_CREATED;
    try {
        m_thread = std::thread([state = m_state, routine = std::move(routine)] {
            state->ulExitValue = routine();
            state->bFinished = true;
            state->done.Set();
        });
    } catch (const std::system_error&) {
        m_lStatus = RPC_E_OUTOFMEMORY;
    }
    return m_lStatus;
}

int CRpcThread::Join(std::uint32_t timeoutMs) {
    if (!m_thread.joinable()) return m_lStatus == RPC_S_THREAD_CREATED ? 0 : 1;
    if (m_thread.get_id() == std::this_thread::get_id()) return 1;
    if (!m_state->done.Wait(timeoutMs)) return -1;
    m_state->done.Reset();
    m_thread.join();
    return 0;
}

std::uint32_t RpcCurrentThreadId() {
    static std::atomic<std::uint32_t> next{1};
    thread_local const std::uint32_t id = next.fetch_add(1);
    return id;
}
