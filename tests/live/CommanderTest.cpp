// The commanders against served fakes of the engine's objects over loopback, and
// against norvsim through the project document.

#include <gtest/gtest.h>

#include <filesystem>
#include <future>

#include "AtomicLoadingCommander.h"
#include "ConnectProcedure.h"
#include "FakeEngine.h"
#include "ObjectCommander.h"
#include "QuorvelFactories.h"
#include "QuorvelDoc.h"
#include "ResMixerCommander.h"
#include "RunningSimulator.h"
#include "ServingPeer.h"
#include "VoiceListCommander.h"

namespace {

// The project as a commander sees it, opening objects on a fake engine.
struct PeerHost final : ICommanderHost {
    void SetModifiedFlag(bool) override {}
    bool ReadsFromEditor() const override { return bReadsFromEditor; }
    INameResolver* NameResolver() override { return pResolver; }
    EConnectionState ConnectionState() const override { return eState; }
    RpcResult CreateRemoteObject(const GUID& classId, const GUID& interfaceId, void** out) override {
        ++nOpens;
        CRpcAddress address{};
        std::snprintf(address.szAddress, sizeof address.szAddress, "127.0.0.1");
        address.lPort = lPort;
        return pInstance->OpenRemote(&address, &classId, &interfaceId, out);
    }
    CRpcInstance* pInstance = nullptr;
    std::int32_t lPort = 0;
    EConnectionState eState = CONNECTION_ESTABLISHED;
    int nOpens = 0;
    bool bReadsFromEditor = false;
    INameResolver* pResolver = nullptr;
};

struct Commanders : ::testing::Test {
    void SetUp() override {
        FakeEngineLog::Get().Clear();
        FakeEngineLog::Get().failCalls = false;
        FakeEngineLog::Get().failMicros = false;
        FakeEngineLog::Get().SetLoaded({});
        host.pInstance = caller.Instance();
        host.lPort = engine.Port();
    }
    // The lines the fake engine logged once it has logged at least n.
    std::vector<std::string> Logged(std::size_t n) {
        std::vector<std::string> lines;
        for (int i = 0; i < 300 && lines.size() < n; ++i) {
            for (std::string& line : FakeEngineLog::Get().Take()) lines.push_back(std::move(line));
            if (lines.size() < n) std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        return lines;
    }

    ServingPeer engine{FactoryList{CreateFakeEngineFactory()}};
    CallingPeer caller{FactoryList{CreateQuorvelFactory()}};
    PeerHost host;
};

TEST_F(Commanders, SwitchingOnOpensOneEngineObjectAndOnlyWhenConnected) {
    CResMixerCommander mixer(&host);
    CAtomicLoadingCommander loading(&host);
    CObjectCommander objects(&host);
    CVoiceListCommander voices(&host);
    struct Case {
        CEngineCommander* commander;
        const char* name;
        RpcResult notConnected;
    };
    for (const Case& c : {Case{&mixer, "CResMixerCommander", E_FAIL},
                          Case{&loading, "CAtomicLoadingCommander", E_FAIL},
                          Case{&objects, "CObjectCommander", CONN_E_NOT_CONNECTED},
                          Case{&voices, "CVoiceListCommander", CONN_E_NOT_CONNECTED}}) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.commander->GetName(), c.name);
        EXPECT_TRUE(c.commander->IsSwitchable());
        host.eState = CONNECTION_NONE;
        host.nOpens = 0;
        EXPECT_EQ(c.commander->Enable(true), c.notConnected);
        EXPECT_FALSE(c.commander->IsEnabled());
        EXPECT_EQ(c.commander->Enable(false), 0) << "off already: nothing to do";
        host.eState = CONNECTION_ESTABLISHED;
        EXPECT_EQ(c.commander->Enable(true), 0);
        EXPECT_EQ(c.commander->Enable(true), 0);
        EXPECT_EQ(host.nOpens, 1) << "one engine object";
        EXPECT_TRUE(c.commander->IsEnabled());
        EXPECT_EQ(c.commander->Enable(false), 0);
        EXPECT_FALSE(c.commander->IsEnabled());
    }
    EXPECT_EQ(Logged(4), std::vector<std::string>({"StartObjects", "StopObjects", "StartVoices", "StopVoices"}));
}

TEST_F(Commanders, AFailedOpenLeavesTheCommanderOffAndEmpty) {
    host.lPort = 1;  // nobody listens there
    CObjectCommander objects(&host);
    EXPECT_TRUE(RpcFailed(objects.Enable(true)));
    EXPECT_FALSE(objects.IsEnabled());
    EXPECT_FALSE(objects.HoldsEngineObject());
    EXPECT_TRUE(objects.CopyObjectList().empty());
}

TEST_F(Commanders, ObjectPollsKeepTheLastObjectsWhenOnlyTheMicrosFail) {
    CObjectCommander objects(&host);
    ASSERT_EQ(objects.Enable(true), 0);
    objects.Poll();
    ASSERT_EQ(objects.CopyMicroList().size(), 1u);
    EXPECT_EQ(objects.CopyMicroList()[0], SampleMicro(7));
    EXPECT_EQ(objects.CopyObjectList(), std::vector<CNorvObjectRecord>({SampleObject(100), SampleObject(101)}));

    FakeEngineLog::Get().failMicros = true;
    objects.Poll();
    EXPECT_TRUE(objects.CopyMicroList().empty());
    EXPECT_EQ(objects.CopyObjectList().size(), 2u);

    FakeEngineLog::Get().failCalls = true;
    objects.Poll();
    EXPECT_EQ(objects.CopyObjectList().size(), 2u) << "a failed object request keeps the previous poll's";
    FakeEngineLog::Get().failCalls = false;
    objects.Enable(false);
    EXPECT_TRUE(objects.CopyObjectList().empty() && objects.CopyMicroList().empty());
}

TEST_F(Commanders, VoicePollsReplaceTheList) {
    CVoiceListCommander voices(&host);
    EXPECT_EQ(voices.Poll(), CONN_E_NOT_STARTED);
    ASSERT_EQ(voices.Enable(true), 0);
    EXPECT_EQ(voices.Poll(), 0);
    const std::vector<CNorvVoiceRecord> list = voices.CopyVoiceList();
    ASSERT_FALSE(list.empty());
    FakeEngineLog::Get().failCalls = true;
    EXPECT_EQ(voices.Poll(), E_FAIL);
    EXPECT_TRUE(voices.CopyVoiceList().empty());
}

TEST_F(Commanders, TheLoadedSetIsKeptByIdWithTheLaterRecordWinning) {
    struct Names final : INameResolver {
        bool EventName(std::uint32_t, std::string*) override { return true; }
        bool ResourceName(std::uint32_t, std::string*) override { return true; }
        bool GroupName(std::uint32_t, std::string*) override { return true; }
        bool AtomicObjectName(std::uint32_t id, std::string* name) override {
            *name = "object " + std::to_string(id & 0xFF);
            return true;
        }
    } names;
    host.bReadsFromEditor = true;
    host.pResolver = &names;
    // Wire order: id, data type, load count, reference count, unloaded flag, size.
    FakeEngineLog::Get().SetLoaded({{0x10000005, 1, 2, 3, 0, 100}, {0x50000004, 4, 1, 1, 0, 50}, {0x10000005, 1, 7, 8, 1, 200}});
    CAtomicLoadingCommander loading(&host);
    ASSERT_EQ(loading.Enable(true), 0);
    ASSERT_EQ(loading.Poll(), 0);
    ASSERT_EQ(loading.Loaded().size(), 2u);
    EXPECT_EQ(loading.Loaded().begin()->first, 0x10000005u) << "ascending ids";
    const CAtomicLoadingInfoContainer& later = *loading.Loaded().at(0x10000005);
    EXPECT_EQ(later.LoadCount(), 7u);
    EXPECT_EQ(later.ReferenceCount(), 8u);
    EXPECT_EQ(later.LoadState(), 0u) << "unloaded flag 1";
    EXPECT_EQ(later.ObjectSize(), 200u);
    EXPECT_EQ(later.ObjectName(), "object 5");
    const CAtomicLoadingInfoContainer& other = *loading.Loaded().at(0x50000004);
    EXPECT_EQ(other.LoadState(), 1u) << "unloaded flag 0";
    EXPECT_EQ(other.ObjectName(), "") << "only ids of the four editor families have names there";
    loading.Enable(false);
    EXPECT_TRUE(loading.Loaded().empty());
}

TEST_F(Commanders, TheMixerForwardsEveryOperationOnlyWithAnEngineObject) {
    CResMixerCommander mixer(&host);
    std::int32_t value = 0;
    for (RpcResult r : {mixer.AddResource(3), mixer.RemoveResource(3), mixer.CallMethod3(3), mixer.CallMethod4(3),
                        mixer.IsResourcePlaying(3), mixer.SetResourceVolume(3, 1), mixer.CallMethod7(3, &value),
                        mixer.SetResourceMute(3, 1), mixer.CallMethod9(1), mixer.SetResourceSolo(3, 1),
                        mixer.CallMethod11(3)})
        EXPECT_EQ(r, CONN_E_NOT_STARTED);
    ASSERT_EQ(mixer.Enable(true), 0);
    EXPECT_EQ(mixer.AddResource(3), 0);
    EXPECT_EQ(mixer.IsResourcePlaying(1), 0x10000);
    EXPECT_EQ(mixer.SetResourceVolume(3, -65536), 0);
    EXPECT_EQ(mixer.SetResourceMute(3, 1), 0);
    EXPECT_EQ(mixer.SetResourceSolo(3, 0), 0);
    EXPECT_EQ(Logged(5), std::vector<std::string>({"AddResource 3", "IsPlaying 1", "SetVolume 3 -65536", "SetMute 3 1",
                                                   "SetSolo 3 0"}));
}

TEST(CommandersWithNorvsim, PollTheEngineAndGoOffWithTheConnection) {
    RunningSimulator simulator;
    const std::string storePath = (std::filesystem::path(::testing::TempDir()) / "commander-store.xml").string();
    CKeyStore store(storePath);
    CQuorvelDoc document(store);
    ASSERT_TRUE(document.OnNewDocument());
    document.m_lLocalQuorvelTCPPort = 0;
    std::atomic<bool> cancel{false};
    const ConnectOutcome outcome = std::async(std::launch::async, [&] {
        return RunConnectProcedure(document, {"sim", "127.0.0.1", "", simulator.PortText()}, cancel);
    }).get();
    ASSERT_EQ(outcome.lResult, 0);
    ASSERT_TRUE(RpcSucceeded(document.AttachCallingThread()));
    for (int key = 1; key <= 4; ++key) ASSERT_EQ(document.GetCommander(key)->Enable(true), 0) << key;

    auto* objects = document.GetCommanderOf<CObjectCommander>(3);
    objects->Poll();
    EXPECT_EQ(objects->CopyMicroList().size(), 1u);
    EXPECT_EQ(objects->CopyObjectList().size(), 5u);
    auto* loading = document.GetCommanderOf<CAtomicLoadingCommander>(2);
    EXPECT_EQ(loading->Poll(), 0);
    EXPECT_FALSE(loading->Loaded().empty());
    EXPECT_EQ(document.GetCommanderOf<CVoiceListCommander>(4)->Poll(), 0);
    EXPECT_EQ(document.GetCommanderOf<CResMixerCommander>(1)->AddResource(0x10001), 0);

    simulator.Kill();
    document.Disconnect();  // what the main frame does when the link is lost
    for (int key = 1; key <= 4; ++key) EXPECT_FALSE(document.GetCommander(key)->IsEnabled()) << key;
    EXPECT_FALSE(objects->HoldsEngineObject());
    EXPECT_TRUE(objects->CopyObjectList().empty());
    EXPECT_TRUE(loading->Loaded().empty());
    document.StopLink();
    std::filesystem::remove(storePath);
}

}  // namespace
