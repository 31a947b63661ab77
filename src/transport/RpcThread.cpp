#include "RpcThread.h"

#include <system_error>

CRpcThread::~CRpcThread() {
    if (!m_thread.joinable()) return;
    if (m_bFinished.load())
        m_thread.join();
    else
        m_thread.detach();
}

RpcResult CRpcThread::Create(Routine routine, void* argument, int /*priority*/) {
    if (m_thread.joinable()) return RPC_E_INVALIDARG;
    m_done.Reset();
    m_bFinished = false;
    m_lStatus = RPC_S_THREAD_CREATED;
    try {
        m_thread = std::thread([this, routine, argument] {
            m_ulExitValue = routine(argument);
            m_bFinished = true;
            m_done.Set();
        });
    } catch (const std::system_error&) {
        m_lStatus = RPC_E_OUTOFMEMORY;
    }
    return m_lStatus;
}

int CRpcThread::Join(std::uint32_t timeoutMs) {
    if (!m_thread.joinable()) return m_lStatus == RPC_S_THREAD_CREATED ? 0 : 1;
    if (!m_done.Wait(timeoutMs)) return -1;
    m_done.Reset();
    if (m_thread.get_id() == std::this_thread::get_id()) return 1;
    m_thread.join();
    return 0;
}

std::uint32_t RpcCurrentThreadId() {
    static std::atomic<std::uint32_t> next{1};
    thread_local const std::uint32_t id = next.fetch_add(1);
    return id;
}
