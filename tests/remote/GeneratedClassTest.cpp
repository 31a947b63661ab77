// The rules every generated class follows on its own: QueryInterface, the checks a
// proxy makes on what it receives, and the two factories.

#include <gtest/gtest.h>

#include "NorvInterfaces.h"
#include "QuorvelFactories.h"
#include "RawPeer.h"

namespace {

TEST(GeneratedClasses, QueryInterfaceAnswersForTheirOwnInterfacesOnly) {
    auto proxy = RpcMake<CNorvResMixerProxy>();
    auto stub = RpcMake<CNorvResMixerStub>();
    auto skeleton = RpcMake<CNorvResMixerSkeleton>();
    const GUID other = INorvKeepAlive::IID;
    struct Case {
        IRpcUnknown* object;
        const GUID* iid;
        RpcResult expected;
    };
    IRpcUnknown* p = static_cast<INorvResMixer*>(proxy.Get());
    IRpcUnknown* st = stub.Get();
    IRpcUnknown* sk = skeleton.Get();
    const std::vector<Case> cases = {
        {p, &INorvResMixer::IID, 0},    {p, &IID_IRpcUnknown, 0},      {p, &IID_IRpcProxy, 0},
        {p, &IID_IRpcStub, RPC_E_NO_INTERFACE}, {p, &other, RPC_E_NO_INTERFACE}, {p, nullptr, E_INVALIDARG},
        {st, &IID_IRpcStub, 0},         {st, &IID_IRpcUnknown, 0},     {st, &INorvResMixer::IID, RPC_E_NO_INTERFACE},
        {sk, &INorvResMixer::IID, 0},   {sk, &IID_IRpcUnknown, 0},     {sk, &IID_IRpcProxy, RPC_E_NO_INTERFACE},
    };
    for (const auto& c : cases) {
        void* out = nullptr;
        EXPECT_EQ(c.object->QueryInterface(c.iid, &out), c.expected);
        if (RpcSucceeded(c.expected)) {
            ASSERT_NE(out, nullptr);
            static_cast<IRpcUnknown*>(c.object)->Release();
        }
    }
    void* out = nullptr;
    EXPECT_EQ(proxy->QueryInterface(&INorvResMixer::IID, nullptr), E_INVALIDARG);
    EXPECT_EQ(skeleton->SetVolume(1, 2), E_NOTIMPL);
    (void)out;
}

TEST(GeneratedClasses, ProxyRefusesAnswersForOtherInterfacesOneWayAndUnknownMethods) {
    auto proxy = RpcMake<CNorvResMixerProxy>();
    struct Case {
        std::uint32_t method;
        GUID iid;
        RpcResult expected;
    };
    const std::vector<Case> cases = {
        {1, INorvKeepAlive::IID, E_NOINTERFACE},
        {4, INorvResMixer::IID, E_FAIL},   // one-way
        {12, INorvResMixer::IID, E_NOTIMPL},
        {0, INorvResMixer::IID, E_NOTIMPL},
        {5, INorvResMixer::IID, 0},        // two-way, but no call is waiting for it: dropped quietly
    };
    for (const auto& c : cases) {
        const Bytes body = CallBody(c.method, c.iid, 0xF0000000, {0, 0, 0, 0});
        EXPECT_EQ(proxy->AnswerReceived(1, body.data(), static_cast<std::uint32_t>(body.size())), c.expected)
            << "method " << c.method;
    }
    const Bytes shortBody(10, 0);
    EXPECT_EQ(proxy->AnswerReceived(1, shortBody.data(), 10), E_FAIL);
}

TEST(GeneratedClasses, MethodKindsFollowTheTables) {
    EXPECT_EQ(INorvResMixer::MethodKind(5), RPC_TWOWAY);
    EXPECT_EQ(INorvResMixer::MethodKind(6), RPC_ONEWAY);
    EXPECT_EQ(INorvResMixer::MethodKind(11), RPC_ONEWAY);
    EXPECT_EQ(INorvResMixer::MethodKind(12), RPC_NO_METHOD);
    EXPECT_EQ(IQuorvelSceneSink::MethodKind(9), RPC_ONEWAY);
    EXPECT_EQ(INorvMonitorManager::MethodKind(3), RPC_TWOWAY);
}

TEST(Factories, TheFirstKnowsTenClassesAndTheSecondOnlyTheScene) {
    auto first = CreateQuorvelFactory();
    auto second = CreateQuorvelSceneFactory();
    const std::vector<GUID> firstClasses = {
        INorvKeepAlive::CLSID,       INorvMonitorManager::CLSID,   IQuorvelResourceSink::CLSID,
        IQuorvelEventSink::CLSID,    IQuorvelAtomicLoadingSink::CLSID, INorvObjectMonitor::CLSID,
        INorvVoiceMonitor::CLSID,    INorvAtomicLoadingMonitor::CLSID, IQuorvelWindowNotifySink::CLSID,
        INorvResMixer::CLSID,
    };
    for (const GUID& clsid : firstClasses) {
        RpcPtr<IRpcUnknown> object;
        RpcPtr<IRpcProxy> proxy;
        RpcPtr<IRpcStub> stub;
        EXPECT_EQ(first->CreateObject(&clsid, &IID_IRpcUnknown, object.PutVoid()), 0) << GuidToString(clsid);
        EXPECT_EQ(first->CreateProxy(&clsid, &IID_IRpcProxy, proxy.PutVoid()), 0) << GuidToString(clsid);
        EXPECT_EQ(first->CreateStub(&clsid, &IID_IRpcStub, stub.PutVoid()), 0) << GuidToString(clsid);
        void* out = &out;
        EXPECT_EQ(second->CreateStub(&clsid, &IID_IRpcStub, &out), RPC_E_UNKNOWN_CLASS);
        EXPECT_EQ(out, nullptr);
    }
    RpcPtr<IRpcStub> sceneStub;
    EXPECT_EQ(second->CreateStub(&IQuorvelSceneSink::CLSID, &IID_IRpcStub, sceneStub.PutVoid()), 0);
    void* out = nullptr;
    EXPECT_EQ(first->CreateStub(&IQuorvelSceneSink::CLSID, &IID_IRpcStub, &out), RPC_E_UNKNOWN_CLASS);
    EXPECT_EQ(first->CreateStub(nullptr, &IID_IRpcStub, &out), E_INVALIDARG);
    EXPECT_EQ(first->CreateStub(&INorvResMixer::CLSID, nullptr, &out), E_INVALIDARG);
    EXPECT_EQ(first->CreateStub(&INorvResMixer::CLSID, &IID_IRpcStub, nullptr), E_INVALIDARG);
    // A creation whose query fails lets the new object go and reports the query's result.
    EXPECT_EQ(first->CreateStub(&INorvResMixer::CLSID, &IID_IRpcProxy, &out), RPC_E_NO_INTERFACE);
}

}  // namespace
