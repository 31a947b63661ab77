#pragma once
// An instance that serves test echo objects from a main thread of its own, the way
// the engine serves its objects: the thread registers first and then sleeps until
// messages arrive for it.

#include <atomic>
#include <chrono>
#include <thread>

#include "EchoObject.h"
#include "RpcInstance.h"

class ServingPeer {
public:
    explicit ServingPeer(const GUID& clsid = CLSID_TestEcho, const GUID& iid = IID_ITestEcho,
                         bool registerMainThread = true)
        : m_instance(CRpcInstance::Create()) {
        auto factory = RpcMake<CTestEchoFactory>(clsid, iid);
        m_instance->RegisterFactory(factory.Get());
        m_lStartResult = m_instance->Start(0, RPC_PRIORITY_NORMAL);
        if (!registerMainThread) return;
        m_main = std::thread([this] {
            m_instance->RegisterThread();
            m_bRegistered = true;
            while (!m_bStop)
                if (RpcFailed(m_instance->WaitForMessages(5)))  // stopped under us: nothing to serve
                    std::this_thread::sleep_for(std::chrono::milliseconds(5));
            m_instance->UnregisterThread();
        });
        while (!m_bRegistered) std::this_thread::yield();
    }
    ~ServingPeer() {
        m_bStop = true;
        if (m_main.joinable()) m_main.join();
        m_instance->Stop();
    }
    ServingPeer(const ServingPeer&) = delete;
    ServingPeer& operator=(const ServingPeer&) = delete;

    CRpcInstance* Instance() const { return m_instance.Get(); }
    std::int32_t Port() const { return m_instance->ListeningPort(); }
    RpcResult StartResult() const { return m_lStartResult; }

private:
    RpcPtr<CRpcInstance> m_instance;
    RpcResult m_lStartResult;
    std::thread m_main;
    std::atomic<bool> m_bStop{false};
    std::atomic<bool> m_bRegistered{false};
};

// An instance whose calling thread is the test's own thread.
class CallingPeer {
public:
    explicit CallingPeer(const GUID& clsid = CLSID_TestEcho, const GUID& iid = IID_ITestEcho)
        : m_instance(CRpcInstance::Create()) {
        auto factory = RpcMake<CTestEchoFactory>(clsid, iid);
        m_instance->RegisterFactory(factory.Get());
        m_lStartResult = m_instance->Start(0, RPC_PRIORITY_NORMAL);
        m_instance->RegisterThread();
    }
    ~CallingPeer() {
        m_instance->UnregisterThread();
        m_instance->Stop();
    }
    CallingPeer(const CallingPeer&) = delete;
    CallingPeer& operator=(const CallingPeer&) = delete;

    CRpcInstance* Instance() const { return m_instance.Get(); }
    RpcResult StartResult() const { return m_lStartResult; }

private:
    RpcPtr<CRpcInstance> m_instance;
    RpcResult m_lStartResult;
};
