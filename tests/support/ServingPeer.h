#pragma once
// Ready-made instances for tests and benchmarks, on free ports of this machine.
// ServingPeer serves objects from a main thread of its own, the way the engine
// serves its objects: the thread registers first and sleeps until messages
// arrive. CallingPeer makes the test's own thread the caller.

#include <atomic>
#include <cstdio>
#include <chrono>
#include <thread>
#include <vector>

#include "EchoObject.h"
#include "RpcInstance.h"

using FactoryList = std::vector<RpcPtr<IRpcFactory>>;

inline FactoryList EchoFactories(const GUID& clsid = CLSID_TestEcho, const GUID& iid = IID_ITestEcho) {
    return {RpcMake<CTestEchoFactory>(clsid, iid)};
}

inline RpcPtr<CRpcInstance> StartedInstance(const FactoryList& factories, RpcResult* result) {
    auto instance = CRpcInstance::Create();
    for (const auto& factory : factories) instance->RegisterFactory(factory.Get());
    *result = instance->Start(0, RPC_PRIORITY_NORMAL);
    return instance;
}

// Opens the remote object of interface I on 127.0.0.1:port from the calling thread.
template <class I>
RpcResult OpenOn(CRpcInstance* instance, std::int32_t port, RpcPtr<I>* out, const GUID& clsid = I::CLSID) {
    CRpcAddress address{};
    std::snprintf(address.szAddress, sizeof address.szAddress, "127.0.0.1");
    address.lPort = port;
    return instance->OpenRemote(&address, &clsid, &I::IID, out->PutVoid());
}

class ServingPeer {
public:
    explicit ServingPeer(const FactoryList& factories, bool registerMainThread = true)
        : m_instance(StartedInstance(factories, &m_lStartResult)) {
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
    explicit ServingPeer(const GUID& clsid = CLSID_TestEcho, const GUID& iid = IID_ITestEcho,
                         bool registerMainThread = true)
        : ServingPeer(EchoFactories(clsid, iid), registerMainThread) {}
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
    RpcResult m_lStartResult = 0;
    RpcPtr<CRpcInstance> m_instance;
    std::thread m_main;
    std::atomic<bool> m_bStop{false};
    std::atomic<bool> m_bRegistered{false};
};

class CallingPeer {
public:
    explicit CallingPeer(const FactoryList& factories) : m_instance(StartedInstance(factories, &m_lStartResult)) {
        m_instance->RegisterThread();
    }
    explicit CallingPeer(const GUID& clsid = CLSID_TestEcho, const GUID& iid = IID_ITestEcho)
        : CallingPeer(EchoFactories(clsid, iid)) {}
    ~CallingPeer() {
        m_instance->UnregisterThread();
        m_instance->Stop();
    }
    CallingPeer(const CallingPeer&) = delete;
    CallingPeer& operator=(const CallingPeer&) = delete;

    CRpcInstance* Instance() const { return m_instance.Get(); }
    RpcResult StartResult() const { return m_lStartResult; }

    // Opens the remote object of interface I on 127.0.0.1:port.
    template <class I>
    RpcResult Open(std::int32_t port, RpcPtr<I>* out, const GUID& clsid = I::CLSID) {
        return OpenOn(m_instance.Get(), port, out, clsid);
    }

private:
    RpcResult m_lStartResult = 0;
    RpcPtr<CRpcInstance> m_instance;
};
