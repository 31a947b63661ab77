// norvsim end to end over loopback: this program's own proxies and notification
// objects against a simulator running on a free port.

#include <gtest/gtest.h>

#include <fstream>
#include <future>
#include <mutex>
#include <sstream>
#include <thread>

#include "NotificationSinks.h"
#include "QuorvelFactories.h"
#include "RawPeer.h"
#include "RpcFrame.h"
#include "ServingPeer.h"
#include "SimProject.h"
#include "RunningSimulator.h"

namespace {

using namespace std::chrono_literals;

// One recording source of every kind.
class Recorder : public IEventSource,
                 public IResourceSource,
                 public IAtomicLoadingSource,
                 public IMixerNoticeSource,
                 public ISceneSource {
public:
    struct Counts {
        std::vector<std::uint32_t> events, resources, loading, notices, zones, portals;
        std::vector<std::int32_t> volumes;
        std::size_t scenes = 0, occluders = 0;
    };
    RpcResult OnEvent(std::uint32_t id, std::uint32_t, std::int32_t, std::int32_t, std::int32_t) override {
        return With([&](Counts& c) { c.events.push_back(id); });
    }
    RpcResult OnResource(std::uint32_t id, std::uint32_t, std::int32_t volume) override {
        return With([&](Counts& c) {
            c.resources.push_back(id);
            c.volumes.push_back(volume);
        });
    }
    RpcResult OnAtomicLoading(std::uint32_t id, std::uint32_t, std::uint32_t dataType) override {
        return With([&](Counts& c) { c.loading.push_back(dataType == 0 ? id : (id & 0xF0000000) ^ dataType); });
    }
    RpcResult PostToTargets(std::uint32_t code, std::uint32_t) override {
        return With([&](Counts& c) { c.notices.push_back(code); });
    }
    RpcResult UpdateScene(const TRpcArray<CPropSceneObjectRecord>&, const CVec3&, std::int32_t, const CVec2&,
                          const CVec2&) override {
        return With([&](Counts& c) { ++c.scenes; });
    }
    RpcResult AddZone(const CPropZoneRecord&, std::int32_t id) override {
        return With([&](Counts& c) { c.zones.push_back(std::uint32_t(id)); });
    }
    RpcResult RemoveZone(std::int32_t) override { return 0; }
    RpcResult AddPortal(const CPropPortalRecord&, std::int32_t id) override {
        return With([&](Counts& c) { c.portals.push_back(std::uint32_t(id)); });
    }
    RpcResult RemovePortal(std::int32_t) override { return 0; }
    RpcResult SetOccluderValue(std::int32_t, std::int32_t, float) override {
        return With([&](Counts& c) { ++c.occluders; });
    }
    RpcResult RenameOccluder(std::int32_t, std::int32_t) override { return 0; }

    template <class Pred>
    bool WaitUntil(Pred pred, std::chrono::milliseconds timeout = 10s) {
        const auto deadline = std::chrono::steady_clock::now() + timeout;
        while (std::chrono::steady_clock::now() < deadline) {
            {
                std::lock_guard lock(m_lock);
                if (pred(m_counts)) return true;
            }
            std::this_thread::sleep_for(5ms);
        }
        return false;
    }
    Counts Snapshot() {
        std::lock_guard lock(m_lock);
        return m_counts;
    }

private:
    template <class F>
    RpcResult With(F&& f) {
        std::lock_guard lock(m_lock);
        f(m_counts);
        return 0;
    }
    std::mutex m_lock;
    Counts m_counts;
};

// This program's side: an instance whose main thread serves the notification
// objects, and the test's thread calling the engine.
class QuorvelSide {
public:
    QuorvelSide() : m_serving(FactoryList{CreateQuorvelFactory(), CreateQuorvelSceneFactory()}) {
        m_serving.Instance()->RegisterThread();
    }
    ~QuorvelSide() {
        m_manager.Reset();
        for (RpcCookie c : m_cookies) CSourceCookies::Instance().Unregister(c);
        m_serving.Instance()->UnregisterThread();
    }
    CRpcInstance* Instance() { return m_serving.Instance(); }

    // Opens the monitor manager and tells the engine where to call back.
    RpcResult Connect(std::int32_t enginePort) {
        RpcResult r = OpenOn(Instance(), enginePort, &m_manager);
        if (RpcFailed(r)) return r;
        return m_manager->SetQuorvelAddress("127.0.0.1", static_cast<std::uint32_t>(m_serving.Port()));
    }
    template <class Source>
    RpcResult Listen(Source* source) {
        const RpcCookie cookie = CSourceCookies::Instance().Register(source);
        m_cookies.push_back(cookie);
        return m_manager->AddListener(Source::kListenerKind, cookie);
    }
    INorvMonitorManager* Manager() { return m_manager.Get(); }

private:
    ServingPeer m_serving;
    RpcPtr<INorvMonitorManager> m_manager;
    std::vector<RpcCookie> m_cookies;
};

TEST(Simulator, EveryEngineObjectAnswersThroughOurProxies) {
    RunningSimulator engine;
    ASSERT_EQ(engine.StartResult(), RPC_S_OK);
    QuorvelSide quorvel;
    ASSERT_EQ(quorvel.Connect(engine.Port()), 0);

    CRpcFixedText version;
    EXPECT_EQ(quorvel.Manager()->GetVersion(&version), 0);
    EXPECT_STREQ(version.Get(), "22.2.1");
    EXPECT_EQ(quorvel.Manager()->Reserved2(), 0);

    RpcPtr<INorvKeepAlive> keepAlive;
    ASSERT_EQ(OpenOn(quorvel.Instance(), engine.Port(), &keepAlive), RPC_S_OK);
    EXPECT_EQ(keepAlive->IsAlive(), 0);

    RpcPtr<INorvObjectMonitor> objects;
    ASSERT_EQ(OpenOn(quorvel.Instance(), engine.Port(), &objects), RPC_S_OK);
    EXPECT_EQ(objects->StartMonitoring(), 0);
    TRpcArray<CNorvObjectRecord> list;
    ASSERT_EQ(objects->GetObjects(&list), 0);
    ASSERT_EQ(list.Count(), 5u);
    for (std::uint32_t i = 0; i < 5; ++i) {
        EXPECT_EQ(list[i].m_ulObjectId, i + 1);
        EXPECT_GE(list[i].m_position.x, 0.f);
        EXPECT_LE(list[i].m_position.x, 40.f);
    }
    CNorvMicroList micros;
    ASSERT_EQ(objects->GetMicros(&micros), 0);
    ASSERT_EQ(micros.Count(), 1u);
    EXPECT_FLOAT_EQ(micros[0].m_record.m_position.z, 1.7f);
    EXPECT_EQ(objects->StopMonitoring(), 0);

    RpcPtr<INorvAtomicLoadingMonitor> loading;
    ASSERT_EQ(OpenOn(quorvel.Instance(), engine.Port(), &loading), RPC_S_OK);
    TRpcArray<CNorvLoadedObjectRecord> loaded;
    ASSERT_EQ(loading->GetLoadedObjects(&loaded), 0);
    ASSERT_GE(loaded.Count(), 5u);
    for (const auto& l : loaded) EXPECT_EQ(l.m_ulDataType, l.m_ulObjectId & 0xF0000000);

    RpcPtr<INorvVoiceMonitor> voices;
    ASSERT_EQ(OpenOn(quorvel.Instance(), engine.Port(), &voices), RPC_S_OK);
    EXPECT_EQ(voices->StartMonitoring(), 0);
    TRpcArray<CNorvVoiceRecord> voiceList;
    for (int i = 0; i < 200 && voiceList.Count() == 0; ++i) {
        ASSERT_EQ(voices->GetVoices(&voiceList), 0);
        std::this_thread::sleep_for(10ms);
    }
    ASSERT_GT(voiceList.Count(), 0u) << "something plays at 100 events a second";
    const SimResource* resource = SimFindResource(static_cast<std::uint32_t>(voiceList[0].m_lResourceId));
    ASSERT_NE(resource, nullptr);
    EXPECT_EQ(std::string(voiceList[0].m_szName), resource->csName);

    RpcPtr<INorvResMixer> mixer;
    ASSERT_EQ(OpenOn(quorvel.Instance(), engine.Port(), &mixer), RPC_S_OK);
    EXPECT_EQ(mixer->AddResource(0x00010001), 0);
    EXPECT_EQ(mixer->AddResource(0x00990001), E_INVALIDARG);
    const RpcResult playing = mixer->IsPlaying(0x00010001);
    EXPECT_TRUE(playing == 0 || playing == 1);
    EXPECT_EQ(mixer->SetVolume(0x00010001, -12 * 65536), 0);
    std::int32_t volume = 0;
    EXPECT_EQ(mixer->Reserved7(0x00010001, &volume), 0);
    EXPECT_EQ(volume, -12 * 65536) << "the one-way volume arrived before the two-way question";
}

TEST(Simulator, EveryListenerKindReceivesPlausibleNotifications) {
    RunningSimulator engine;
    QuorvelSide quorvel;
    ASSERT_EQ(quorvel.Connect(engine.Port()), 0);
    Recorder recorder;
    ASSERT_EQ(quorvel.Listen<IEventSource>(&recorder), 0);
    ASSERT_EQ(quorvel.Listen<IResourceSource>(&recorder), 0);
    ASSERT_EQ(quorvel.Listen<IAtomicLoadingSource>(&recorder), 0);
    ASSERT_EQ(quorvel.Listen<IMixerNoticeSource>(&recorder), 0);
    ASSERT_EQ(quorvel.Listen<ISceneSource>(&recorder), 0);
    RpcPtr<INorvResMixer> mixer;
    ASSERT_EQ(OpenOn(quorvel.Instance(), engine.Port(), &mixer), RPC_S_OK);
    EXPECT_EQ(mixer->AddResource(0x00020001), 0);  // notice 10

    ASSERT_TRUE(recorder.WaitUntil([](const Recorder::Counts& c) {
        return c.events.size() >= 20 && !c.resources.empty() && !c.loading.empty() && !c.notices.empty() &&
               c.zones.size() >= 4 && c.portals.size() == 4 && c.scenes >= 3 && c.occluders >= 1;
    }));
    const auto c = recorder.Snapshot();
    for (std::uint32_t id : c.events) {
        const auto& groups = SimSampleProject();
        EXPECT_TRUE(id >> 16 >= 1 && id >> 16 <= groups.size()) << std::hex << id;
    }
    for (std::uint32_t id : c.resources) EXPECT_NE(SimFindResource(id), nullptr) << std::hex << id;
    for (std::int32_t v : c.volumes) EXPECT_LE(v, 0);
    for (std::uint32_t l : c.loading) EXPECT_EQ(l & 0xF0000000, 0u) << "data type matches the object id's top bits";
    EXPECT_EQ(c.notices.front(), 10u);
    EXPECT_EQ(std::vector<std::uint32_t>(c.zones.begin(), c.zones.begin() + 4), (std::vector<std::uint32_t>{1, 2, 3, 4}));
}

TEST(Simulator, RemovingAListenerStopsItsNotifications) {
    RunningSimulator engine;
    QuorvelSide quorvel;
    ASSERT_EQ(quorvel.Connect(engine.Port()), 0);
    Recorder recorder;
    ASSERT_EQ(quorvel.Listen<IEventSource>(&recorder), 0);
    ASSERT_TRUE(recorder.WaitUntil([](const Recorder::Counts& c) { return c.events.size() >= 5; }));
    ASSERT_EQ(quorvel.Manager()->RemoveListener(NORV_LISTENER_EVENTS), 0);
    std::this_thread::sleep_for(100ms);
    const std::size_t after = recorder.Snapshot().events.size();
    std::this_thread::sleep_for(300ms);
    EXPECT_EQ(recorder.Snapshot().events.size(), after);
}

TEST(Simulator, AClientThatVanishesDoesNotHurtTheNextOne) {
    RunningSimulator engine;
    {
        QuorvelSide first;
        ASSERT_EQ(first.Connect(engine.Port()), 0);
        Recorder recorder;
        ASSERT_EQ(first.Listen<IEventSource>(&recorder), 0);
        ASSERT_EQ(first.Listen<ISceneSource>(&recorder), 0);
        ASSERT_TRUE(recorder.WaitUntil([](const Recorder::Counts& c) { return c.events.size() >= 3; }));
        first.Instance()->Stop();  // gone without removing its listeners
    }
    // A raw client that sends rubbish and leaves.
    {
        RawConnection rude = RawConnection::ConnectTo(engine.Port());
        Bytes clsid;
        PutGuid(clsid, INorvMonitorManager::CLSID);
        rude.Send(DataFrame(LINK_OPEN, clsid));
        rude.ReadFrame();
        Bytes truncated;
        Put32(truncated, 1);  // AddListener without its cookie
        rude.Send(DataFrame(LINK_CALL, CallBody(4, INorvMonitorManager::IID, 1, truncated)));
        rude.Send(Bytes(100, 0xEE));
    }
    QuorvelSide second;
    ASSERT_EQ(second.Connect(engine.Port()), 0);
    Recorder recorder;
    ASSERT_EQ(second.Listen<IEventSource>(&recorder), 0);
    EXPECT_TRUE(recorder.WaitUntil([](const Recorder::Counts& c) { return c.events.size() >= 3; }));
}

TEST(Simulator, BadRequestsGetTheProtocolsAnswers) {
    RunningSimulator engine;
    RawConnection c = RawConnection::ConnectTo(engine.Port());
    Bytes unknown;
    PutGuid(unknown, MakeGuid("{00000000-0000-0000-0000-0000000000AB}"));
    ASSERT_TRUE(c.Send(DataFrame(LINK_OPEN, unknown)));
    Bytes status;
    Put32(status, 0x8205501D);
    EXPECT_EQ(c.ReadFrame(), DataFrame(LINK_STATUS, status));

    QuorvelSide quorvel;
    ASSERT_EQ(quorvel.Connect(engine.Port()), 0);
    EXPECT_EQ(quorvel.Manager()->AddListener(99, 1), E_INVALIDARG);
    RpcPtr<INorvMonitorManager> noAddress;
    ASSERT_EQ(OpenOn(quorvel.Instance(), engine.Port(), &noAddress), RPC_S_OK);
    EXPECT_EQ(noAddress->AddListener(NORV_LISTENER_EVENTS, 1), E_UNEXPECTED) << "method 1 was never called";
}

std::vector<std::uint32_t> FirstEvents(std::uint32_t seed, std::size_t n) {
    SimOptions options = RunningSimulator::Defaults();
    options.ulSeed = seed;
    RunningSimulator engine(options);
    QuorvelSide quorvel;
    if (quorvel.Connect(engine.Port()) != 0) return {};
    Recorder recorder;
    if (quorvel.Listen<IEventSource>(&recorder) != 0) return {};
    recorder.WaitUntil([n](const Recorder::Counts& c) { return c.events.size() >= n; });
    auto events = recorder.Snapshot().events;
    events.resize(std::min(events.size(), n));
    return events;
}

TEST(Simulator, TheSameSeedGivesTheSameFirstNotifications) {
    const auto a = FirstEvents(42, 20), b = FirstEvents(42, 20), c = FirstEvents(43, 20);
    ASSERT_EQ(a.size(), 20u);
    EXPECT_EQ(a, b);
    EXPECT_NE(a, c);
}

TEST(Simulator, LoadModeSendsAsFastAsTheLinkTakes) {
    SimOptions options = RunningSimulator::Defaults();
    options.bLoad = true;
    RunningSimulator engine(options);
    QuorvelSide quorvel;
    ASSERT_EQ(quorvel.Connect(engine.Port()), 0);
    Recorder recorder;
    ASSERT_EQ(quorvel.Listen<IEventSource>(&recorder), 0);
    EXPECT_TRUE(recorder.WaitUntil([](const Recorder::Counts& c) { return c.events.size() >= 5000; }));
    engine.Stop();
    EXPECT_NE(engine.Summary().find("events"), std::string::npos);
}

TEST(Simulator, TheShippedSampleProjectIsWhatTheSimulatorWrites) {
    std::ifstream shipped(QUORVEL_SOURCE_DIR "/sim/sample.lcb", std::ios::binary);
    std::stringstream text;
    text << shipped.rdbuf();
    EXPECT_EQ(text.str(), SimEditorProjectXml());
    const std::string path = ::testing::TempDir() + "/written.lcb";
    std::string error;
    ASSERT_TRUE(SimWriteEditorProject(path, &error)) << error;
    std::ifstream written(path, std::ios::binary);
    std::stringstream again;
    again << written.rdbuf();
    EXPECT_EQ(again.str(), text.str());
    EXPECT_FALSE(SimWriteEditorProject("/nonexistent-dir/x.lcb", &error));
    EXPECT_FALSE(error.empty());
}

}  // namespace
