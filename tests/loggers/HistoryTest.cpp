// History records, view queues and logger sources: one wake-up per burst, the
// 51-record drain, histories emptied under views, records released exactly once,
// name resolution, and switching a source on against norvsim.

#include <gtest/gtest.h>

#include <filesystem>
#include <future>
#include <regex>
#include <thread>

#include "ConnectProcedure.h"
#include "LoggerSource.h"
#include "QuorvelDoc.h"
#include "QueueDrain.h"
#include "RunningSimulator.h"

namespace {

using namespace std::chrono_literals;

// A view: counts its wake-ups and keeps its rows newest first.
class ViewModel : public IMessageTarget {
public:
    void PostMessage(std::uint32_t message, std::uintptr_t wParam, std::intptr_t) override {
        ++wakeUps;
        pending.push_back({message, reinterpret_cast<CInfoQueue*>(wParam)});
    }
    void SendMessage(std::uint32_t, std::uintptr_t, std::intptr_t) override {}
    ~ViewModel() {
        for (CInfoContainer* row : rows) row->Release();
    }
    // Runs the posted messages the way the user's thread would; the sizes of each drain.
    std::vector<std::size_t> Run() {
        std::vector<std::size_t> batches;
        while (!pending.empty()) {
            auto [message, queue] = pending.front();
            pending.erase(pending.begin());
            batches.push_back(DrainQueue(*queue, *this, message, [this](CInfoContainer* record) {
                record->AddRef();
                rows.insert(rows.begin(), record);
            }));
        }
        return batches;
    }
    int wakeUps = 0;
    std::vector<std::pair<std::uint32_t, CInfoQueue*>> pending;
    std::vector<CInfoContainer*> rows;
};



TEST(History, TwoRecordsBeforeTheViewRunsWakeItOnce) {
    CEventLoggerSource source(nullptr);
    ViewModel view;
    source.AddQueue(&view, WM_INFO_QUEUE);
    EXPECT_EQ(source.OnEvent(0x10001, 1, 5, 2, 1), 0);
    EXPECT_EQ(source.OnEvent(0x10002, 1, 5, 2, 1), 0);
    EXPECT_EQ(view.wakeUps, 1);
    EXPECT_EQ(view.pending[0].first, WM_INFO_QUEUE);
    EXPECT_EQ(view.Run(), std::vector<std::size_t>{2});
    ASSERT_EQ(view.rows.size(), 2u);
    EXPECT_EQ(static_cast<CEventInfoContainer*>(view.rows[0])->EventId(), 0x10002u) << "newest on top";
    source.RemoveQueue(&view);
}

TEST(History, ABurstOf120IsShownAfterThreeWakeUps) {
    CResourceLoggerSource source(nullptr);
    ViewModel view;
    source.AddQueue(&view, WM_INFO_QUEUE);
    for (std::uint32_t i = 0; i < 120; ++i) source.OnResource(i, 1, -65536);
    EXPECT_EQ(view.Run(), (std::vector<std::size_t>{51, 51, 18}));
    EXPECT_EQ(view.wakeUps, 3);
    EXPECT_EQ(static_cast<CResourceInfoContainer*>(view.rows.front())->ResourceId(), 119u);
    source.RemoveQueue(&view);
}

TEST(History, EmptyingTheHistoryKeepsTheRowsAndEveryRecordGoesExactlyOnce) {
    const std::size_t before = CInfoContainer::LiveCount();
    {
        CAtomicLoadingLoggerSource source(nullptr);
        ViewModel view;
        source.AddQueue(&view, WM_INFO_QUEUE);
        for (std::uint32_t i = 0; i < 10; ++i) source.OnAtomicLoading(0x20000000 | i, 4, 0x20000000);
        view.Run();
        source.EmptyHistory();
        EXPECT_EQ(view.rows.size(), 10u) << "the view keeps its rows";
        EXPECT_EQ(CInfoContainer::LiveCount(), before + 10);
        EXPECT_EQ(source.RefreshFromHistory(&view), 1);
        EXPECT_EQ(view.Run(), std::vector<std::size_t>{}) << "nothing left to refresh from";
        EXPECT_EQ(source.RefreshFromHistory(nullptr), 0) << "no queue for that window";
        // Records held by a queue only: the source goes, the queue goes, they go.
        source.OnAtomicLoading(1, 4, 0);
        source.RemoveQueue(&view);
    }
    EXPECT_EQ(CInfoContainer::LiveCount(), before);
}

TEST(History, RefreshFromHistoryReplaysOldestFirst) {
    CEventLoggerSource source(nullptr);
    for (std::uint32_t i = 1; i <= 3; ++i) source.OnEvent(i, 1, 0, 0, 0);
    ViewModel view;
    source.AddQueue(&view, WM_INFO_QUEUE);
    EXPECT_EQ(source.RefreshFromHistory(&view), 1);
    view.Run();
    ASSERT_EQ(view.rows.size(), 3u);
    EXPECT_EQ(view.rows.back()->Key(), 1u);
    source.RemoveQueue(&view);
}

TEST(History, RecordsCarryTheirTimeAndResolveNamesOnce) {
    struct Resolver : INameResolver {
        bool fail = false;
        int calls = 0;
        bool EventName(std::uint32_t, std::string* name) override {
            ++calls;
            *name = "Rain start";
            return !fail;
        }
        bool ResourceName(std::uint32_t, std::string*) override { return true; }
        bool GroupName(std::uint32_t group, std::string* name) override {
            *name = group == 1 ? "Ambience" : "";
            return !fail;
        }
        bool AtomicObjectName(std::uint32_t, std::string*) override { return true; }
    } resolver;
    auto* record = new CEventInfoContainer(0x00010002, 1, 3, 4, 5);
    EXPECT_TRUE(std::regex_match(record->CreationTime(), std::regex("[0-2][0-9]:[0-5][0-9]:[0-5][0-9]")));
    EXPECT_EQ(record->EventGroupId(), 1u);
    EXPECT_EQ(record->EventInfo(), "");
    resolver.fail = true;
    record->ResolveNames(&resolver);
    EXPECT_FALSE(record->NamesResolved()) << "an editor error leaves the flag clear";
    resolver.fail = false;
    record->ResolveNames(&resolver);
    EXPECT_TRUE(record->NamesResolved());
    EXPECT_EQ(record->Name(), "Rain start");
    EXPECT_EQ(record->GroupName(), "Ambience");
    const int calls = resolver.calls;
    record->ResolveNames(&resolver);
    EXPECT_EQ(resolver.calls, calls) << "resolved once";
    record->Release();
    EXPECT_EQ(FormatTimeOfDay(3 * 3600 + 4 * 60 + 5), "03:04:05");
}

TEST(History, SourcesSwitchOnOnlyWithAConnection) {
    CEventLoggerSource alone(nullptr);
    const RpcResult r = alone.Enable(true);
    EXPECT_TRUE(IsNotConnectedCode(r));
    EXPECT_FALSE(alone.IsEnabled());
    EXPECT_EQ(alone.GetName(), "Event Logger Viewer");

    SimOptions options = RunningSimulator::Defaults();
    options.rEventRate = 200;
    RunningSimulator simulator(options);
    {
        const std::string store = (std::filesystem::path(::testing::TempDir()) / "history-store.xml").string();
        CKeyStore keys(store);
        CQuorvelDoc document(keys);
        document.m_lLocalQuorvelTCPPort = 0;
        std::atomic<bool> cancel{false};
        const ConnectOutcome outcome = std::async(std::launch::async, [&] {
            return RunConnectProcedure(document, {"sim", "127.0.0.1", "", simulator.PortText()}, cancel);
        }).get();
        ASSERT_EQ(outcome.lResult, 0);
        document.AttachCallingThread();
        CEventLoggerSource events(&document);
        ASSERT_EQ(events.Enable(true), 0);
        EXPECT_TRUE(events.IsEnabled());
        for (int i = 0; i < 500 && events.HistorySize() < 20; ++i) std::this_thread::sleep_for(10ms);
        EXPECT_GE(events.HistorySize(), 20u);
        EXPECT_EQ(events.Enable(false), 0);
        EXPECT_FALSE(events.IsEnabled());
        document.StopLink();
        std::filesystem::remove(store);
    }
}

}  // namespace
