// The connection worker, the project document's connection half and the connect
// procedure against norvsim on loopback (and against a failing engine).

#include <gtest/gtest.h>

#include <condition_variable>
#include <filesystem>
#include <future>
#include <thread>

#include "ConnectProcedure.h"
#include "FakeEngine.h"
#include "NotificationSources.h"
#include "QuorvelDoc.h"
#include "QuorvelFactories.h"
#include "RawPeer.h"
#include "ServingPeer.h"
#include "RunningSimulator.h"
#include "StringTable.h"

namespace {

using namespace std::chrono_literals;

class RecordingFrame : public IMessageTarget {
public:
    void PostMessage(std::uint32_t message, std::uintptr_t, std::intptr_t) override { Add(message); }
    void SendMessage(std::uint32_t message, std::uintptr_t, std::intptr_t) override { Add(message); }
    bool WaitFor(std::uint32_t message, std::chrono::milliseconds timeout) {
        std::unique_lock lock(m_lock);
        return m_cv.wait_for(lock, timeout, [&] { return Count(message) > 0; });
    }
    std::size_t CountOf(std::uint32_t message) {
        std::lock_guard lock(m_lock);
        return Count(message);
    }

private:
    void Add(std::uint32_t message) {
        {
            std::lock_guard lock(m_lock);
            m_messages.push_back(message);
        }
        m_cv.notify_all();
    }
    std::size_t Count(std::uint32_t message) const {
        return static_cast<std::size_t>(std::count(m_messages.begin(), m_messages.end(), message));
    }
    std::mutex m_lock;
    std::condition_variable m_cv;
    std::vector<std::uint32_t> m_messages;
};

class ScriptedPrompt : public IPrompt {
public:
    explicit ScriptedPrompt(bool answer) : m_bAnswer(answer) {}
    void Show(EPromptKind, const std::string& text) override { questions.push_back(text); }
    bool AskYesNo(const std::string& text) override {
        questions.push_back(text);
        return m_bAnswer;
    }
    std::vector<std::string> questions;

private:
    bool m_bAnswer;
};

struct Connection : ::testing::Test {
    void SetUp() override {
        storePath = (std::filesystem::path(::testing::TempDir()) / ("conn-" + std::to_string(::getpid()) + ".xml")).string();
        store = std::make_unique<CKeyStore>(storePath);
        document = std::make_unique<CQuorvelDoc>(*store);
        document->SetFrame(&frame);
        document->m_lLocalQuorvelTCPPort = 0;
    }
    void TearDown() override {
        document.reset();
        std::filesystem::remove(storePath);
    }
    CConnectionRecord Record(const std::string& port, const std::string& address = "127.0.0.1") {
        return {"Test engine", address, "", port};
    }
    // The status dialog's procedure on a thread of its own, then the steps after it.
    ConnectOutcome Procedure(const CConnectionRecord& record) {
        std::atomic<bool> cancel{false};
        return std::async(std::launch::async, [&] { return RunConnectProcedure(*document, record, cancel); }).get();
    }

    std::string storePath;
    std::unique_ptr<CKeyStore> store;
    RecordingFrame frame;
    std::unique_ptr<CQuorvelDoc> document;
};

TEST_F(Connection, WorkerStartAttachConnectAndDisconnect) {
    RunningSimulator engine;
    CConnectionWorker& worker = document->Worker();
    EXPECT_EQ(worker.AttachCallingThread(), CONN_E_NOT_STARTED);
    worker.DetachCallingThread();  // does nothing
    EXPECT_EQ(worker.Disconnect(), CONN_E_NOT_STARTED);
    worker.Stop();  // does nothing

    ASSERT_EQ(worker.Start(0, &frame, document.get()), 0);
    EXPECT_EQ(worker.Start(0, &frame, document.get()), CONN_E_ALREADY_STARTED);
    EXPECT_EQ(worker.AttachCallingThread(), RPC_S_OK);
    EXPECT_EQ(worker.AttachCallingThread(), RPC_S_FALSE);

    EXPECT_EQ(worker.Connect("no-such-host.invalid", 1), CONN_E_CONNECT_FAILED);
    EXPECT_EQ(worker.EngineAddress(), "");
    EXPECT_EQ(worker.EnginePort(), 0);
    const std::int32_t port = engine.Port();
    ASSERT_EQ(worker.Connect("localhost", port), 0);
    EXPECT_EQ(worker.EngineAddress(), "127.0.0.1");
    EXPECT_EQ(worker.Connect("127.0.0.1", port), CONN_E_CONNECT_FAILED);
    EXPECT_TRUE(worker.IsConnected()) << "the held root object is untouched";

    RpcPtr<INorvKeepAlive> keepAlive;
    ASSERT_EQ(worker.CreateRemoteObject(INorvKeepAlive::CLSID, INorvKeepAlive::IID, keepAlive.PutVoid()), RPC_S_OK);
    EXPECT_EQ(keepAlive->IsAlive(), 0);
    keepAlive.Reset();

    EXPECT_EQ(worker.Disconnect(), 0);
    EXPECT_FALSE(worker.IsConnected());
    EXPECT_EQ(worker.Connect("127.0.0.1", port), 0) << "the same engine again after a disconnect";
    worker.DetachCallingThread();
    worker.Stop();
    EXPECT_FALSE(worker.IsStarted());
    EXPECT_EQ(worker.Start(0, &frame, document.get()), 0) << "started again after a stop";
    worker.Stop();
}

TEST_F(Connection, TheProcedureConnectsAndTheVersionMatches) {
    RunningSimulator engine;
    const ConnectOutcome outcome = Procedure(Record(engine.PortText()));
    ASSERT_EQ(outcome.lResult, 0);
    EXPECT_EQ(outcome.nErrorText, 0);
    EXPECT_EQ(document->ConnectionState(), CONNECTION_ESTABLISHED);
    EXPECT_EQ(document->ConnectionName(), "Test engine");
    EXPECT_GE(frame.CountOf(UM_STATUS_REFRESH), 1u);
    ScriptedPrompt prompt(false);
    EXPECT_TRUE(CompleteConnection(*document, prompt));
    EXPECT_TRUE(prompt.questions.empty()) << "22.2.1 asks nothing";
    std::string version;
    EXPECT_EQ(document->GetEngineVersion(&version), 0);
    EXPECT_EQ(version, "22.2.1");
    RpcPtr<INorvMonitorManager> info;
    EXPECT_EQ(document->GetEngineInfo(nullptr), E_POINTER);
    EXPECT_EQ(document->GetEngineInfo(&info), 0);
    EXPECT_EQ(document->Connect("127.0.0.1", 1, "x"), E_FAIL) << "already connected";
    document->Disconnect();
    EXPECT_EQ(document->ConnectionState(), CONNECTION_NONE);
    EXPECT_EQ(document->ConnectionName(), "");
    EXPECT_EQ(document->GetEngineVersion(&version), CONN_E_NOT_CONNECTED);
    EXPECT_EQ(version, "INVALID VERSION");
    document->StopLink();
}

TEST_F(Connection, OtherVersionsAndUnreadableVersionsAskAndNoClosesTheLink) {
    struct Case {
        std::string version;
        bool answer;
    };
    for (const Case& c : {Case{"22.2.0", false}, Case{"22.2.10", true}}) {
        RunningSimulator engine(RunningSimulator::WithVersion(c.version));
        ASSERT_EQ(Procedure(Record(engine.PortText())).lResult, 0) << c.version;
        ScriptedPrompt prompt(c.answer);
        EXPECT_EQ(CompleteConnection(*document, prompt), c.answer);
        ASSERT_EQ(prompt.questions.size(), 1u) << c.version;
        EXPECT_NE(prompt.questions[0].find("Norv version is " + c.version + " and isn't full compatible with Quorvel built for version 22.2.1"),
                  std::string::npos);
        EXPECT_EQ(document->ConnectionState(), c.answer ? CONNECTION_ESTABLISHED : CONNECTION_NONE);
        EXPECT_EQ(document->Worker().IsStarted(), c.answer);
        document->StopLink();
    }
    // An engine whose version cannot be read.
    FakeEngineLog::Get().failCalls = true;
    ServingPeer failing(FactoryList{CreateFakeEngineFactory()});
    ASSERT_EQ(Procedure(Record(std::to_string(failing.Port()))).lResult, 0);
    ScriptedPrompt prompt(false);
    EXPECT_FALSE(CompleteConnection(*document, prompt));
    FakeEngineLog::Get().failCalls = false;
    ASSERT_EQ(prompt.questions.size(), 1u);
    EXPECT_NE(prompt.questions[0].find("Norv version is INVALID VERSION"), std::string::npos);
    EXPECT_EQ(document->ConnectionState(), CONNECTION_NONE);
}

TEST_F(Connection, FailuresGiveTheirTextsAndLeaveTheWorkerStopped) {
    // Nobody listens on the engine's port.
    std::string freePort;
    {
        RawListener gone;
        freePort = std::to_string(gone.Port());
    }
    ConnectOutcome outcome = Procedure(Record(freePort));
    EXPECT_EQ(outcome.nErrorText, IDS_CANNOT_CONNECT);
    EXPECT_STREQ(QvString(outcome.nErrorText), "Cannot establish the connection!");
    EXPECT_FALSE(document->Worker().IsStarted());
    EXPECT_EQ(document->ConnectionState(), CONNECTION_NONE);

    outcome = Procedure(Record("12987", "no-such-host.invalid"));
    EXPECT_EQ(outcome.lResult, CONN_E_CONNECT_FAILED);
    EXPECT_EQ(outcome.nErrorText, IDS_CANNOT_CONNECT);

    // The local port is taken.
    RawListener holder;
    document->m_lLocalQuorvelTCPPort = holder.Port();
    outcome = Procedure(Record(freePort));
    EXPECT_EQ(outcome.nErrorText, IDS_CANNOT_INITIALIZE_RPC);
    EXPECT_STREQ(QvString(outcome.nErrorText), "Cannot initialize RPC.\nTry to change the TCP Port of Quorvel");
    EXPECT_FALSE(document->Worker().IsStarted());

    // A cancel before anything happens.
    std::atomic<bool> cancel{true};
    outcome = RunConnectProcedure(*document, Record(freePort), cancel);
    EXPECT_TRUE(outcome.bCancelled);
}

TEST_F(Connection, ASecondConnectWhileOneIsPendingIsRefused) {
    RawListener silent;  // accepts and never answers the open
    ASSERT_EQ(document->StartLink(), 0);
    document->Worker().Instance()->SetOpenTimeout(1500);
    auto pending = std::async(std::launch::async, [&] { return document->Connect("127.0.0.1", silent.Port(), "slow"); });
    RawConnection c = silent.Accept();
    ASSERT_TRUE(c.IsValid());
    EXPECT_EQ(document->ConnectionState(), CONNECTION_PENDING);
    EXPECT_EQ(document->Connect("127.0.0.1", silent.Port(), "again"), E_FAIL);
    EXPECT_EQ(pending.get(), RPC_E_OPEN_TIMEOUT);
    EXPECT_EQ(document->ConnectionState(), CONNECTION_NONE);
    document->StopLink();
}

TEST_F(Connection, AnEngineThatDiesIsNoticedWithinAboutThreeSeconds) {
    RunningSimulator engine;
    ASSERT_EQ(Procedure(Record(engine.PortText())).lResult, 0);
    ScriptedPrompt prompt(false);
    ASSERT_TRUE(CompleteConnection(*document, prompt));
    const auto killed = std::chrono::steady_clock::now();
    engine.Kill();
    ASSERT_TRUE(frame.WaitFor(UM_CONNECTION_LOST, 6s));
    EXPECT_LT(std::chrono::steady_clock::now() - killed, 4500ms);
    // What the main frame does with it.
    const std::size_t refreshes = frame.CountOf(UM_STATUS_REFRESH);
    document->Disconnect();
    document->StopLink();
    EXPECT_EQ(document->ConnectionState(), CONNECTION_NONE);
    EXPECT_FALSE(document->Worker().IsStarted());
    EXPECT_GT(frame.CountOf(UM_STATUS_REFRESH), refreshes);
}

TEST_F(Connection, NotificationsRunOnTheWorkerThread) {
    struct ThreadRecorder : IEventSource {
        std::atomic<std::uint32_t> thread{0};
        RpcResult OnEvent(std::uint32_t, std::uint32_t, std::int32_t, std::int32_t, std::int32_t) override {
            thread = RpcCurrentThreadId();
            return 0;
        }
    } source;
    RunningSimulator engine;
    ASSERT_EQ(Procedure(Record(engine.PortText())).lResult, 0);
    ScriptedPrompt prompt(false);
    ASSERT_TRUE(CompleteConnection(*document, prompt));
    RpcPtr<INorvMonitorManager> info;
    ASSERT_EQ(document->GetEngineInfo(&info), 0);
    const RpcCookie cookie = CSourceCookies::Instance().Register<IEventSource>(&source);
    ASSERT_EQ(info->AddListener(NORV_LISTENER_EVENTS, cookie), 0);
    for (int i = 0; i < 500 && source.thread == 0; ++i) std::this_thread::sleep_for(10ms);
    ASSERT_NE(source.thread.load(), 0u);
    EXPECT_NE(source.thread.load(), RpcCurrentThreadId());
    EXPECT_EQ(source.thread.load(), document->Worker().Instance()->MainThreadId()) << "the worker is the main thread";
    info->RemoveListener(NORV_LISTENER_EVENTS);
    CSourceCookies::Instance().Unregister(cookie);
    info.Reset();
    document->StopLink();
}

}  // namespace
