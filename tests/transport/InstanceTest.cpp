// The transport instance over real loopback connections: opening remote objects,
// calls in both patterns, the answers to malformed or unexpected link messages,
// thread registration, and what happens to waiting callers when links die.

#include <gtest/gtest.h>

#include <chrono>
#include <future>
#include <random>
#include <thread>

#include "EchoObject.h"
#include "RawPeer.h"
#include "RpcFrame.h"
#include "ServingPeer.h"

namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

struct InstanceTest : ::testing::Test {
    void SetUp() override { TestEchoStats().Reset(); }
};

template <class Pred>
bool Eventually(Pred done, std::chrono::milliseconds timeout = 5s) {
    const auto deadline = Clock::now() + timeout;
    while (!done()) {
        if (Clock::now() > deadline) return false;
        std::this_thread::sleep_for(1ms);
    }
    return true;
}

Bytes OpenFrame(const GUID& clsid) {
    Bytes body;
    PutGuid(body, clsid);
    return DataFrame(LINK_OPEN, body);
}

Bytes StatusFrame(std::uint32_t code) {
    Bytes body;
    Put32(body, code);
    return DataFrame(LINK_STATUS, body);
}

// A raw engine that answers the open with the given status and hands the
// connection to the test.
std::future<RawConnection> AcceptAndAnswerOpen(RawListener& listener, std::uint32_t status = 0x02040000) {
    return std::async(std::launch::async, [&listener, status] {
        RawConnection c = listener.Accept();
        c.Read(32);
        c.Send(StatusFrame(status));
        return c;
    });
}

TEST_F(InstanceTest, TwoWayAndOneWayCallsReachTheServedObjectAndReleasingClosesTheConnection) {
    ServingPeer engine;
    CallingPeer quorvel;
    RpcPtr<ITestEcho> echo;
    ASSERT_EQ(OpenTestEcho(quorvel.Instance(), engine.Port(), &echo), RPC_S_OK);
    EXPECT_EQ(TestEchoStats().liveObjects, 1);

    std::vector<std::uint8_t> out;
    const std::vector<std::uint8_t> in = {1, 2, 3, 250};
    EXPECT_EQ(echo->Echo(in, &out), 0);
    EXPECT_EQ(out, in);
    for (int i = 0; i < 50; ++i) EXPECT_EQ(echo->Notify({std::uint8_t(i)}), RPC_S_OK);
    EXPECT_TRUE(Eventually([] { return TestEchoStats().notifications == 50; }));
    // A large argument crosses in several sends and comes back whole.
    const std::vector<std::uint8_t> big(100000, 0x5A);
    EXPECT_EQ(echo->Echo(big, &out), 0);
    EXPECT_EQ(out, big);

    EXPECT_EQ(engine.Instance()->BindingCount(), 1u);
    echo.Reset();
    EXPECT_EQ(quorvel.Instance()->BindingCount(), 0u);
    EXPECT_TRUE(Eventually([&] { return engine.Instance()->BindingCount() == 0; }));
    EXPECT_TRUE(Eventually([] { return TestEchoStats().liveObjects == 0; }));
}

TEST_F(InstanceTest, ManyObjectsOnOnePeerEachOnItsOwnConnection) {
    ServingPeer engine;
    CallingPeer quorvel;
    std::vector<RpcPtr<ITestEcho>> objects(8);
    for (auto& o : objects) ASSERT_EQ(OpenTestEcho(quorvel.Instance(), engine.Port(), &o), RPC_S_OK);
    for (std::size_t i = 0; i < objects.size(); ++i) {
        std::vector<std::uint8_t> out;
        ASSERT_EQ(objects[i]->Echo({std::uint8_t(i)}, &out), 0);
        EXPECT_EQ(out, std::vector<std::uint8_t>{std::uint8_t(i)});
    }
    EXPECT_EQ(TestEchoStats().liveObjects, 8);
}

TEST_F(InstanceTest, CallIdsComeFromOneCounterStartingAt0xF0000000) {
    CallingPeer quorvel;
    RawListener engine;
    auto first = AcceptAndAnswerOpen(engine);
    RpcPtr<ITestEcho> a, b;
    ASSERT_EQ(OpenTestEcho(quorvel.Instance(), engine.Port(), &a), RPC_S_OK);
    RawConnection ca = first.get();
    auto second = AcceptAndAnswerOpen(engine);
    ASSERT_EQ(OpenTestEcho(quorvel.Instance(), engine.Port(), &b), RPC_S_OK);
    RawConnection cb = second.get();

    a->Notify({});
    b->Notify({});
    a->Notify({});
    auto fa1 = ca.ReadFrame(), fb = cb.ReadFrame(), fa2 = ca.ReadFrame();
    ASSERT_TRUE(fa1 && fb && fa2);
    // Call id sits after frame header (8), link header (8), method (4), IID (16), args length (4).
    EXPECT_EQ(Get32(*fa1, 40), 0xF0000000u);
    EXPECT_EQ(Get32(*fb, 40), 0xF0000001u);
    EXPECT_EQ(Get32(*fa2, 40), 0xF0000002u);
    EXPECT_EQ(Get32(*fa1, 8), LINK_CALL_ONEWAY);
}

TEST_F(InstanceTest, UnknownClassIsAnsweredByExactlyOneStatus) {
    ServingPeer engine;
    RawConnection c = RawConnection::ConnectTo(engine.Port());
    ASSERT_TRUE(c.Send(OpenFrame(MakeGuid("{01234567-89AB-CDEF-0123-456789ABCDEF}"))));
    EXPECT_EQ(c.ReadFrame(), StatusFrame(0x8205501D));
    EXPECT_TRUE(c.Quiet(100));
    EXPECT_EQ(engine.Instance()->BindingCount(), 0u);
}

TEST_F(InstanceTest, OpenOnAPeerWithNoRegisteredThreadIsRefusedWithoutABinding) {
    ServingPeer engine(CLSID_TestEcho, IID_ITestEcho, /*registerMainThread=*/false);
    RawConnection c = RawConnection::ConnectTo(engine.Port());
    ASSERT_TRUE(c.Send(OpenFrame(CLSID_TestEcho)));
    EXPECT_EQ(c.ReadFrame(), StatusFrame(0x82045001));
    EXPECT_EQ(engine.Instance()->BindingCount(), 0u);
    EXPECT_EQ(TestEchoStats().liveObjects, 0);
}

TEST_F(InstanceTest, ShortOpenIsLeftUnansweredAndTheConnectionStaysUsable) {
    ServingPeer engine;
    RawConnection c = RawConnection::ConnectTo(engine.Port());
    Bytes shortBody(15, 0xAB);
    ASSERT_TRUE(c.Send(DataFrame(LINK_OPEN, shortBody)));
    EXPECT_TRUE(c.Quiet(200));
    ASSERT_TRUE(c.Send(OpenFrame(CLSID_TestEcho)));
    EXPECT_EQ(c.ReadFrame(), StatusFrame(0x02040000));
}

TEST_F(InstanceTest, SecondOpenOnOneConnectionIsRefused) {
    ServingPeer engine;
    RawConnection c = RawConnection::ConnectTo(engine.Port());
    ASSERT_TRUE(c.Send(OpenFrame(CLSID_TestEcho)));
    EXPECT_EQ(c.ReadFrame(), StatusFrame(0x02040000));
    ASSERT_TRUE(c.Send(OpenFrame(CLSID_TestEcho)));
    EXPECT_EQ(c.ReadFrame(), StatusFrame(static_cast<std::uint32_t>(RPC_E_NOT_SUPPORTED)));
    EXPECT_EQ(engine.Instance()->BindingCount(), 1u);
    EXPECT_EQ(TestEchoStats().liveObjects, 1);
}

TEST_F(InstanceTest, ServerSideIgnoresMode1CallsAndUnknownKinds) {
    ServingPeer engine;
    RawConnection c = RawConnection::ConnectTo(engine.Port());
    ASSERT_TRUE(c.Send(OpenFrame(CLSID_TestEcho)));
    ASSERT_TRUE(c.ReadFrame());
    ASSERT_TRUE(c.Send(DataFrame(LINK_CALL_MODE1, CallBody(ECHO_METHOD_ECHO, IID_ITestEcho, 7, {1}))));
    ASSERT_TRUE(c.Send(DataFrame(0xF00000AA, CallBody(ECHO_METHOD_ECHO, IID_ITestEcho, 8, {1}))));
    ASSERT_TRUE(c.Send(DataFrame(LINK_STATUS, Bytes(4, 0))));
    ASSERT_TRUE(c.Send(Frame(FRAME_DATA, Bytes{1, 2, 3})));  // shorter than a link header
    ASSERT_TRUE(c.Send(DataFrame(LINK_CALL, CallBody(ECHO_METHOD_ECHO, IID_ITestEcho, 9, {5}))));
    auto answer = c.ReadFrame();
    ASSERT_TRUE(answer);
    EXPECT_EQ(Get32(*answer, 40), 9u) << "the first answer must be the one to the mode 0 call";
    EXPECT_EQ(TestEchoStats().echoes, 1);
    EXPECT_TRUE(c.Quiet(50));
}

TEST_F(InstanceTest, ClientSideDeliversMode1WithoutEndingTheWait) {
    CallingPeer quorvel;
    RawListener engine;
    auto accepted = AcceptAndAnswerOpen(engine);
    RpcPtr<ITestEcho> echo;
    ASSERT_EQ(OpenTestEcho(quorvel.Instance(), engine.Port(), &echo), RPC_S_OK);
    RawConnection c = accepted.get();

    std::thread peer([&] {
        auto request = c.ReadFrame();
        if (!request) return;
        const std::uint32_t callId = Get32(*request, 40);
        c.Send(DataFrame(LINK_CALL_MODE1, CallBody(ECHO_METHOD_ECHO, IID_ITestEcho, callId + 100, {0, 0, 0, 0})));
        std::this_thread::sleep_for(100ms);
        Bytes values;
        Put32(values, 0);
        values.push_back(77);
        c.Send(DataFrame(LINK_CALL, CallBody(ECHO_METHOD_ECHO, IID_ITestEcho, callId, values)));
    });
    const auto start = Clock::now();
    std::vector<std::uint8_t> out;
    EXPECT_EQ(echo->Echo({1}, &out), 0);
    EXPECT_GE(Clock::now() - start, 90ms) << "the notification ended the wait";
    EXPECT_EQ(out, std::vector<std::uint8_t>{77});
    EXPECT_EQ(TestEchoStats().answersReceived, 2);
    peer.join();
}

TEST_F(InstanceTest, OpenResults) {
    struct Case {
        const char* what;
        Bytes answer;
        RpcResult expected;
    };
    Bytes call = DataFrame(LINK_CALL, CallBody(1, IID_ITestEcho, 0, {}));
    const std::vector<Case> cases = {
        {"failure status", StatusFrame(0x8206501D), RPC_E_UNKNOWN_CLASS},
        {"other kind first", call, RPC_E_BAD_OPEN_ANSWER},
        {"status too short", DataFrame(LINK_STATUS, Bytes{0, 0, 4}), RPC_E_BAD_OPEN_ANSWER},
        {"success code that is not S_OK", StatusFrame(0x02040001), RPC_E_BAD_OPEN_ANSWER},
    };
    CallingPeer quorvel;
    for (const auto& c : cases) {
        RawListener engine;
        auto peer = std::async(std::launch::async, [&] {
            RawConnection conn = engine.Accept();
            conn.Read(32);
            conn.Send(c.answer);
            // The opener closes a failed open with LINK_CLOSE.
            auto close = conn.ReadFrame();
            return close && *close == DataFrame(LINK_CLOSE, {}) && conn.WaitClosed();
        });
        RpcPtr<ITestEcho> echo;
        EXPECT_EQ(OpenTestEcho(quorvel.Instance(), engine.Port(), &echo), c.expected) << c.what;
        EXPECT_FALSE(echo) << c.what;
        EXPECT_TRUE(peer.get()) << c.what;
    }
    EXPECT_EQ(quorvel.Instance()->BindingCount(), 0u);
}

TEST_F(InstanceTest, OpenTimesOutOnlyAtItsTimeOutEvenWhenTheServerCloses) {
    CallingPeer quorvel;
    quorvel.Instance()->SetOpenTimeout(300);
    for (bool serverCloses : {false, true}) {
        RawListener engine;
        auto peer = std::async(std::launch::async, [&] {
            RawConnection c = engine.Accept();
            c.Read(32);
            if (serverCloses) c.Close();
            std::this_thread::sleep_for(600ms);
        });
        const auto start = Clock::now();
        RpcPtr<ITestEcho> echo;
        EXPECT_EQ(OpenTestEcho(quorvel.Instance(), engine.Port(), &echo), RPC_E_OPEN_TIMEOUT);
        EXPECT_GE(Clock::now() - start, 300ms) << (serverCloses ? "server closed" : "server silent");
        peer.get();
    }
}

TEST_F(InstanceTest, OpenArgumentAndRegistrationErrors) {
    CallingPeer quorvel;
    CRpcAddress address{};
    void* out = nullptr;
    EXPECT_EQ(quorvel.Instance()->OpenRemote(nullptr, &CLSID_TestEcho, &IID_ITestEcho, &out), RPC_E_INVALIDARG);
    EXPECT_EQ(quorvel.Instance()->OpenRemote(&address, nullptr, &IID_ITestEcho, &out), RPC_E_INVALIDARG);
    EXPECT_EQ(quorvel.Instance()->OpenRemote(&address, &CLSID_TestEcho, &IID_ITestEcho, nullptr), RPC_E_INVALIDARG);
    std::async(std::launch::async, [&] {
        RpcPtr<ITestEcho> echo;
        EXPECT_EQ(OpenTestEcho(quorvel.Instance(), 1, &echo), RPC_E_THREAD_NOT_REGISTERED);
        EXPECT_EQ(quorvel.Instance()->Pump(), RPC_E_THREAD_NOT_REGISTERED);
        EXPECT_EQ(quorvel.Instance()->WaitForAnswer(1), RPC_E_THREAD_NOT_REGISTERED);
    }).get();
    std::int32_t freePort;
    {
        RawListener gone;
        freePort = gone.Port();
    }
    RpcPtr<ITestEcho> echo;
    EXPECT_EQ(OpenTestEcho(quorvel.Instance(), freePort, &echo), RPC_E_CLIENT_SOCKET);
}

TEST_F(InstanceTest, OpeningNeedsAStartedInstance) {
    ServingPeer engine;
    auto idle = CRpcInstance::Create();
    idle->RegisterThread();
    RpcPtr<ITestEcho> echo;
    EXPECT_EQ(OpenTestEcho(idle.Get(), engine.Port(), &echo), RPC_E_SERVER_NOT_STARTED);
    idle->UnregisterThread();
}

TEST_F(InstanceTest, RegistrationAndMainThreadHandOver) {
    auto instance = CRpcInstance::Create();
    EXPECT_EQ(instance->RegisterThread(1), RPC_E_NOT_SUPPORTED);
    EXPECT_EQ(instance->RegisterThread(), RPC_S_OK);
    EXPECT_EQ(instance->RegisterThread(), RPC_S_FALSE);
    const std::uint32_t self = RpcCurrentThreadId();
    EXPECT_EQ(instance->MainThreadId(), self);

    std::promise<void> registered, unregisterMain, done;
    std::uint32_t otherId = 0;
    std::thread other([&] {
        otherId = RpcCurrentThreadId();
        EXPECT_EQ(instance->RegisterThread(), RPC_S_OK);
        registered.set_value();
        unregisterMain.get_future().wait();
        instance->UnregisterThread();
        done.set_value();
    });
    registered.get_future().wait();
    EXPECT_EQ(instance->MainThreadId(), self) << "a later thread does not take over while the first is registered";
    instance->UnregisterThread();
    EXPECT_EQ(instance->MainThreadId(), 0u);
    EXPECT_EQ(instance->RegisterThread(), RPC_S_OK);
    EXPECT_EQ(instance->MainThreadId(), self) << "the next registration becomes main";
    unregisterMain.set_value();
    done.get_future().wait();
    other.join();
    EXPECT_NE(otherId, self);
    instance->UnregisterThread();
}

TEST_F(InstanceTest, SecondStartIsRefusedAndLeavesTheListenerAlone) {
    ServingPeer engine;
    const std::int32_t port = engine.Port();
    EXPECT_EQ(engine.Instance()->Start(0, RPC_PRIORITY_NORMAL), RPC_E_INSTANCE_STARTED);
    EXPECT_EQ(engine.Port(), port);
    CallingPeer quorvel;
    RpcPtr<ITestEcho> echo;
    EXPECT_EQ(OpenTestEcho(quorvel.Instance(), port, &echo), RPC_S_OK);
}

TEST_F(InstanceTest, StartOnAHeldPortFailsAndCanBeRetried) {
    RawListener holder;
    auto instance = CRpcInstance::Create();
    EXPECT_EQ(instance->Start(holder.Port(), RPC_PRIORITY_NORMAL), RPC_E_SERVER_SOCKET);
    EXPECT_FALSE(instance->IsStarted());
    EXPECT_EQ(instance->Start(0, RPC_PRIORITY_NORMAL), RPC_S_OK);
    instance->Stop();
}

TEST_F(InstanceTest, PeerClosingDuringAWaitFailsTheCallAndLaterCallsSendNothing) {
    CallingPeer quorvel;
    RawListener engine;
    auto accepted = AcceptAndAnswerOpen(engine);
    RpcPtr<ITestEcho> echo;
    ASSERT_EQ(OpenTestEcho(quorvel.Instance(), engine.Port(), &echo), RPC_S_OK);
    RawConnection c = accepted.get();
    std::thread closer([&] {
        c.ReadFrame();
        std::this_thread::sleep_for(20ms);
        c.Close();
    });
    std::vector<std::uint8_t> out;
    EXPECT_EQ(echo->Echo({1}, &out), RPC_E_DISCONNECTED);
    closer.join();
    EXPECT_EQ(echo->Echo({1}, &out), RPC_E_CLIENT_NOT_CONNECTED);
    EXPECT_EQ(echo->Notify({1}), RPC_E_CLIENT_NOT_CONNECTED);
}

TEST_F(InstanceTest, StopWakesAWaitingCallerWithDisconnected) {
    ServingPeer engine;
    auto quorvel = CRpcInstance::Create();
    auto factory = RpcMake<CTestEchoFactory>();
    quorvel->RegisterFactory(factory.Get());
    ASSERT_EQ(quorvel->Start(0, RPC_PRIORITY_NORMAL), RPC_S_OK);
    std::promise<void> waiting;
    auto caller = std::async(std::launch::async, [&] {
        quorvel->RegisterThread();
        RpcPtr<ITestEcho> echo;
        if (OpenTestEcho(quorvel.Get(), engine.Port(), &echo) != RPC_S_OK) return RpcResult(E_FAIL);
        waiting.set_value();
        return echo->Swallow();  // the engine never answers this one
    });
    waiting.get_future().wait();
    std::this_thread::sleep_for(50ms);
    quorvel->Stop();
    ASSERT_EQ(caller.wait_for(5s), std::future_status::ready);
    EXPECT_EQ(caller.get(), RPC_E_DISCONNECTED);
}

TEST_F(InstanceTest, WaitWithATimeOutGivesUpWhenNoAnswerComes) {
    ServingPeer engine;
    CallingPeer quorvel;
    RpcPtr<ITestEcho> echo;
    ASSERT_EQ(OpenTestEcho(quorvel.Instance(), engine.Port(), &echo), RPC_S_OK);
    const auto start = Clock::now();
    EXPECT_EQ(quorvel.Instance()->WaitForAnswer(1, 50), RPC_E_CALL_TIMEOUT);
    EXPECT_GE(Clock::now() - start, 50ms);
    EXPECT_EQ(quorvel.Instance()->WaitForAnswer(12345, 50), RPC_E_DISCONNECTED) << "an unknown binding";
}

TEST_F(InstanceTest, StopWithLiveBindingsReleasesThemAndFreesThePort) {
    auto engine = std::make_unique<ServingPeer>();
    const std::int32_t port = engine->Port();
    CallingPeer quorvel;
    RpcPtr<ITestEcho> a, b;
    ASSERT_EQ(OpenTestEcho(quorvel.Instance(), port, &a), RPC_S_OK);
    ASSERT_EQ(OpenTestEcho(quorvel.Instance(), port, &b), RPC_S_OK);
    EXPECT_EQ(TestEchoStats().liveObjects, 2);

    engine->Instance()->Stop();
    EXPECT_EQ(engine->Instance()->BindingCount(), 0u);
    EXPECT_EQ(TestEchoStats().liveObjects, 0);
    std::vector<std::uint8_t> out;
    EXPECT_NE(a->Echo({}, &out), 0);

    // The same port can be listened on again at once, by this instance or another.
    EXPECT_EQ(engine->Instance()->Start(port, RPC_PRIORITY_NORMAL), RPC_S_OK);
    engine->Instance()->Stop();
    auto other = CRpcInstance::Create();
    EXPECT_EQ(other->Start(port, RPC_PRIORITY_NORMAL), RPC_S_OK);
    other->Stop();
}

TEST_F(InstanceTest, AnswersAreMatchedByMethodAndCallIdAndOthersStayHeld) {
    CallingPeer quorvel;
    RawListener engine;
    auto accepted = AcceptAndAnswerOpen(engine);
    RpcPtr<ITestEcho> echo;
    ASSERT_EQ(OpenTestEcho(quorvel.Instance(), engine.Port(), &echo), RPC_S_OK);
    RawConnection c = accepted.get();
    std::thread peer([&] {
        auto request = c.ReadFrame();
        if (!request) return;
        const std::uint32_t callId = Get32(*request, 40);
        const auto answer = [&](std::uint32_t method, std::uint32_t id, std::uint8_t value) {
            Bytes values;
            Put32(values, 0);
            values.push_back(value);
            c.Send(DataFrame(LINK_CALL, CallBody(method, IID_ITestEcho, id, values)));
        };
        answer(ECHO_METHOD_ECHO, callId + 1, 1);       // another call's answer
        answer(ECHO_METHOD_SWALLOW, callId, 2);        // another method with this call id
        answer(ECHO_METHOD_ECHO, callId, 3);           // the one
    });
    std::vector<std::uint8_t> out;
    EXPECT_EQ(echo->Echo({}, &out), 0);
    EXPECT_EQ(out, std::vector<std::uint8_t>{3});
    peer.join();
}

TEST_F(InstanceTest, AFloodingPeerIsHeldBackWhileItsMessagesWaitAndNothingIsLost) {
    auto instance = CRpcInstance::Create();
    auto factory = RpcMake<CTestEchoFactory>();
    instance->RegisterFactory(factory.Get());
    ASSERT_EQ(instance->RegisterThread(), RPC_S_OK);  // main, but busy: it does not pump for now
    ASSERT_EQ(instance->Start(0, RPC_PRIORITY_NORMAL), RPC_S_OK);
    RawConnection c = RawConnection::ConnectTo(instance->ListeningPort());
    ASSERT_TRUE(c.Send(OpenFrame(CLSID_TestEcho)));
    ASSERT_TRUE(c.ReadFrame());

    constexpr int kMessages = 20000;
    Bytes all;
    for (int i = 0; i < kMessages; ++i) {
        const Bytes one = DataFrame(LINK_CALL_ONEWAY, CallBody(ECHO_METHOD_NOTIFY, IID_ITestEcho, i, {1, 2, 3, 4}));
        all.insert(all.end(), one.begin(), one.end());
    }
    std::thread flood([&] { c.Send(all); });  // blocks once the connection is held back
    const std::uint32_t binding = 1;  // the only binding of a fresh instance
    ASSERT_TRUE(Eventually([&] { return instance->OwnerQueueLength(binding) >= RPC_QUEUE_HIGH_WATER; }));
    std::this_thread::sleep_for(200ms);
    // At most the high-water mark plus what one read had already brought in.
    EXPECT_LE(instance->OwnerQueueLength(binding), RPC_QUEUE_HIGH_WATER + 65536 / 44);

    ASSERT_TRUE(Eventually([&] {
        instance->Pump();
        return TestEchoStats().notifications == kMessages;
    }, 20s));
    flood.join();
    instance->UnregisterThread();
    instance->Stop();
}

TEST_F(InstanceTest, GarbageFromAPeerNeverHurtsTheInstance) {
    ServingPeer engine;
    std::mt19937 random(1234);
    for (int round = 0; round < 20; ++round) {
        RawConnection c = RawConnection::ConnectTo(engine.Port());
        Bytes junk(random() % 2000);
        for (auto& b : junk) b = static_cast<std::uint8_t>(random());
        if (round % 2) {  // plausible headers with hostile contents
            Bytes body(random() % 200);
            for (auto& b : body) b = static_cast<std::uint8_t>(random());
            const std::uint32_t kinds[] = {LINK_OPEN, LINK_CALL, LINK_CLOSE, LINK_CALL_ONEWAY, LINK_STATUS};
            junk = DataFrame(kinds[random() % 5], body);
        }
        c.Send(junk);
    }
    CallingPeer quorvel;
    RpcPtr<ITestEcho> echo;
    ASSERT_EQ(OpenTestEcho(quorvel.Instance(), engine.Port(), &echo), RPC_S_OK);
    std::vector<std::uint8_t> out;
    EXPECT_EQ(echo->Echo({3}, &out), 0);
}

}  // namespace
