// Every method of the six engine interfaces through real proxies and stubs over
// loopback, served by fakes on the peer's main thread, and the proxies' answers to
// failures, stray answers, silence and hostile counts.

#include <gtest/gtest.h>

#include <future>
#include <thread>

#include "FakeEngine.h"
#include "QuorvelFactories.h"
#include "RawPeer.h"
#include "RpcFrame.h"
#include "ServingPeer.h"

namespace {

using namespace std::chrono_literals;
using Lines = std::vector<std::string>;

struct EngineInterfaces : ::testing::Test {
    void SetUp() override {
        FakeEngineLog::Get().Clear();
        FakeEngineLog::Get().failCalls = false;
    }
    void TearDown() override { FakeEngineLog::Get().failCalls = false; }

    ServingPeer engine{FactoryList{CreateFakeEngineFactory()}};
    CallingPeer quorvel{FactoryList{CreateQuorvelFactory()}};
};

TEST_F(EngineInterfaces, KeepAliveAndMonitorManager) {
    RpcPtr<INorvKeepAlive> keepAlive;
    ASSERT_EQ(quorvel.Open(engine.Port(), &keepAlive), RPC_S_OK);
    EXPECT_EQ(keepAlive->IsAlive(), 0);

    RpcPtr<INorvMonitorManager> manager;
    ASSERT_EQ(quorvel.Open(engine.Port(), &manager), RPC_S_OK);
    EXPECT_EQ(manager->SetQuorvelAddress("192.168.1.20", 12988), 0);
    EXPECT_EQ(manager->Reserved2(), 0);
    CRpcFixedText version;
    EXPECT_EQ(manager->GetVersion(&version), 0);
    EXPECT_STREQ(version.Get(), "22.2.1");
    EXPECT_EQ(manager->AddListener(NORV_LISTENER_EVENTS, 0xC0C0), 0);
    EXPECT_EQ(manager->RemoveListener(NORV_LISTENER_EVENTS), 0);
    EXPECT_EQ(manager->SetQuorvelAddress(nullptr, 1), E_INVALIDARG) << "checked before anything is sent";
    EXPECT_EQ(manager->GetVersion(nullptr), E_INVALIDARG);
    EXPECT_EQ(FakeEngineLog::Get().Take(),
              (Lines{"IsAlive", "SetQuorvelAddress 192.168.1.20 12988", "Reserved2", "GetVersion", "AddListener 1 49344",
                     "RemoveListener 1"}));
}

TEST_F(EngineInterfaces, MonitorsReturnTheirRecordsDecoded) {
    RpcPtr<INorvObjectMonitor> objects;
    ASSERT_EQ(quorvel.Open(engine.Port(), &objects), RPC_S_OK);
    EXPECT_EQ(objects->StartMonitoring(), 0);
    TRpcArray<CNorvObjectRecord> list;
    ASSERT_EQ(objects->GetObjects(&list), 0);
    ASSERT_EQ(list.Count(), 2u);
    EXPECT_TRUE(list[0] == SampleObject(100));
    EXPECT_TRUE(list[1] == SampleObject(101));
    CNorvMicroList micros;
    ASSERT_EQ(objects->GetMicros(&micros), 0);
    ASSERT_EQ(micros.Count(), 1u);
    EXPECT_TRUE(micros[0] == SampleMicro(7));
    EXPECT_EQ(objects->StopMonitoring(), 0);

    RpcPtr<INorvVoiceMonitor> voices;
    ASSERT_EQ(quorvel.Open(engine.Port(), &voices), RPC_S_OK);
    EXPECT_EQ(voices->StartMonitoring(), 0);
    TRpcArray<CNorvVoiceRecord> voiceList;
    ASSERT_EQ(voices->GetVoices(&voiceList), 0);
    ASSERT_EQ(voiceList.Count(), 2u);
    EXPECT_TRUE(voiceList[0] == SampleVoice(1, "Rain"));
    EXPECT_TRUE(voiceList[1] == SampleVoice(2, ""));
    EXPECT_EQ(voices->StopMonitoring(), 0);

    RpcPtr<INorvAtomicLoadingMonitor> loading;
    ASSERT_EQ(quorvel.Open(engine.Port(), &loading), RPC_S_OK);
    TRpcArray<CNorvLoadedObjectRecord> loaded;
    ASSERT_EQ(loading->GetLoadedObjects(&loaded), 0);
    ASSERT_EQ(loaded.Count(), 3u);
    EXPECT_TRUE(loaded[2] == SampleLoaded(3));
    EXPECT_EQ(FakeEngineLog::Get().Take(), (Lines{"StartObjects", "GetObjects", "GetMicros", "StopObjects",
                                                  "StartVoices", "GetVoices", "StopVoices", "GetLoadedObjects"}));
}

TEST_F(EngineInterfaces, ResourceMixerInBothPatterns) {
    RpcPtr<INorvResMixer> mixer;
    ASSERT_EQ(quorvel.Open(engine.Port(), &mixer), RPC_S_OK);
    EXPECT_EQ(mixer->AddResource(0x00010001), 0);
    EXPECT_EQ(mixer->RemoveResource(2), 0);
    EXPECT_EQ(mixer->Reserved3(3), 0);
    EXPECT_EQ(mixer->Reserved4(4), 0);
    EXPECT_EQ(mixer->IsPlaying(1), 0x10000);
    EXPECT_EQ(mixer->IsPlaying(2), 1);
    EXPECT_EQ(mixer->SetVolume(5, -6 * 65536), 0);
    std::int32_t value = 0;
    EXPECT_EQ(mixer->Reserved7(7, &value), 0);
    EXPECT_EQ(value, -12345);
    EXPECT_EQ(mixer->SetMute(5, 1), 0);
    EXPECT_EQ(mixer->Reserved9(9), 0);
    EXPECT_EQ(mixer->SetSolo(5, 0), 0);
    EXPECT_EQ(mixer->Reserved11(11), 0);
    EXPECT_EQ(mixer->AddResource(1), 0);  // a two-way call after the one-way ones: all of them have arrived
    EXPECT_EQ(FakeEngineLog::Get().Take(),
              (Lines{"AddResource 65537", "RemoveResource 2", "Reserved3 3", "Reserved4 4", "IsPlaying 1", "IsPlaying 2",
                     "SetVolume 5 -393216", "Reserved7 7", "SetMute 5 1", "Reserved9 9", "SetSolo 5 0",
                     "Reserved11 11", "AddResource 1"}));
}

TEST_F(EngineInterfaces, NegativeResultsLeaveEveryOutPlaceUntouched) {
    RpcPtr<INorvMonitorManager> manager;
    RpcPtr<INorvObjectMonitor> objects;
    RpcPtr<INorvResMixer> mixer;
    ASSERT_EQ(quorvel.Open(engine.Port(), &manager), RPC_S_OK);
    ASSERT_EQ(quorvel.Open(engine.Port(), &objects), RPC_S_OK);
    ASSERT_EQ(quorvel.Open(engine.Port(), &mixer), RPC_S_OK);
    FakeEngineLog::Get().failCalls = true;

    CRpcFixedText version("before");
    EXPECT_EQ(manager->GetVersion(&version), E_FAIL);
    EXPECT_STREQ(version.Get(), "before");
    TRpcArray<CNorvObjectRecord> list;
    list.Allocate(1);
    list[0] = SampleObject(5);
    EXPECT_EQ(objects->GetObjects(&list), E_FAIL);
    ASSERT_EQ(list.Count(), 1u);
    EXPECT_TRUE(list[0] == SampleObject(5));
    std::int32_t value = 99;
    EXPECT_EQ(mixer->Reserved7(1, &value), E_FAIL);
    EXPECT_EQ(value, 99);
}

TEST_F(EngineInterfaces, ReleasingTheLastProxyClosesTheConnectionAndFreesTheServedObject) {
    RpcPtr<INorvVoiceMonitor> voices;
    ASSERT_EQ(quorvel.Open(engine.Port(), &voices), RPC_S_OK);
    EXPECT_EQ(FakeEngineLog::Get().liveObjects, 1);
    RpcPtr<IRpcUnknown> another;
    voices->QueryInterface(&IID_IRpcUnknown, another.PutVoid());
    voices.Reset();
    EXPECT_EQ(engine.Instance()->BindingCount(), 1u) << "a reference is still held";
    another.Reset();
    for (int i = 0; i < 2000 && FakeEngineLog::Get().liveObjects != 0; ++i) std::this_thread::sleep_for(1ms);
    EXPECT_EQ(FakeEngineLog::Get().liveObjects, 0);
    EXPECT_EQ(engine.Instance()->BindingCount(), 0u);
}

// A raw engine: answers the open, then lets the test script the rest.
struct RawEngine {
    RawListener listener;
    std::future<RawConnection> connection;
    RawEngine() {
        connection = std::async(std::launch::async, [this] {
            RawConnection c = listener.Accept();
            c.Read(32);
            Bytes status;
            Put32(status, 0x02040000);
            c.Send(DataFrame(LINK_STATUS, status));
            return c;
        });
    }
};

Bytes AnswerFrame(std::uint32_t method, const GUID& iid, std::uint32_t callId, const Bytes& values) {
    return DataFrame(LINK_CALL, CallBody(method, iid, callId, values));
}

TEST_F(EngineInterfaces, AnAnswerNamingAOneWayMethodIsNeverMatchedAndLateAnswersAreDropped) {
    RawEngine raw;
    RpcPtr<INorvResMixer> mixer;
    ASSERT_EQ(quorvel.Open(raw.listener.Port(), &mixer), RPC_S_OK);
    RawConnection c = raw.connection.get();
    quorvel.Instance()->SetCallTimeout(150);

    std::thread peer([&] {
        auto request = c.ReadFrame();
        if (!request) return;
        const std::uint32_t callId = Get32(*request, 40);
        Bytes ok;
        Put32(ok, 0);
        c.Send(AnswerFrame(4, INorvResMixer::IID, callId, ok));  // one-way method 4: refused
        std::this_thread::sleep_for(300ms);
        c.Send(AnswerFrame(1, INorvResMixer::IID, callId, ok));  // too late
        auto second = c.ReadFrame();
        if (!second) return;
        Bytes playing;
        Put32(playing, 0x10000);
        c.Send(AnswerFrame(5, INorvResMixer::IID, Get32(*second, 40), playing));
    });
    EXPECT_EQ(mixer->AddResource(1), RPC_E_CALL_TIMEOUT);
    std::this_thread::sleep_for(400ms);  // the late answer arrives meanwhile
    quorvel.Instance()->SetCallTimeout(5000);
    EXPECT_EQ(mixer->IsPlaying(1), 0x10000) << "the next call gets its own answer";
    peer.join();
}

TEST_F(EngineInterfaces, HostileCountsInAnswersFailTheCallWithoutAllocating) {
    RawEngine raw;
    RpcPtr<INorvObjectMonitor> objects;
    ASSERT_EQ(quorvel.Open(raw.listener.Port(), &objects), RPC_S_OK);
    RawConnection c = raw.connection.get();
    std::thread peer([&] {
        for (std::uint32_t count : {0x7FFFFFFFu, 0x10000u}) {
            auto request = c.ReadFrame();
            if (!request) return;
            Bytes values;
            Put32(values, 0);
            Put32(values, count);
            values.resize(values.size() + 52, 0);  // one object's worth
            c.Send(AnswerFrame(Get32(*request, 16), INorvObjectMonitor::IID, Get32(*request, 40), values));
        }
    });
    TRpcArray<CNorvObjectRecord> list;
    EXPECT_EQ(objects->GetObjects(&list), RPC_E_READ_PAST_END);
    CNorvMicroList micros;
    EXPECT_EQ(objects->GetMicros(&micros), RPC_E_READ_PAST_END);
    EXPECT_EQ(list.Count(), 0u);
    peer.join();
}

TEST_F(EngineInterfaces, CallsFailOnceTheEngineHasGone) {
    auto gone = std::make_unique<ServingPeer>(FactoryList{CreateFakeEngineFactory()});
    RpcPtr<INorvKeepAlive> keepAlive;
    ASSERT_EQ(quorvel.Open(gone->Port(), &keepAlive), RPC_S_OK);
    gone.reset();
    RpcResult r = 0;
    for (int i = 0; i < 200 && r != RPC_E_CLIENT_NOT_CONNECTED; ++i) {
        r = keepAlive->IsAlive();
        std::this_thread::sleep_for(5ms);
    }
    EXPECT_EQ(r, RPC_E_CLIENT_NOT_CONNECTED);
}

}  // namespace
