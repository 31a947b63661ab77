// A logger view's rows without widgets: the drain, refresh from history, emptying
// the list or the history, live updates switched off, filters, and messages that
// name a queue the view no longer has.

#include <gtest/gtest.h>

#include <deque>

#include "EventLogger.h"
#include "LoggerRows.h"
#include "TestProject.h"

namespace {

// The view's window: keeps posted messages until the test runs them.
struct Window final : IMessageTarget {
    void PostMessage(std::uint32_t message, std::uintptr_t wParam, std::intptr_t) override {
        posted.push_back({message, wParam});
    }
    void SendMessage(std::uint32_t, std::uintptr_t, std::intptr_t) override {}
    std::deque<std::pair<std::uint32_t, std::uintptr_t>> posted;
};

struct Observer final : ILoggerRowsObserver {
    void RowsInsertedAtTop(std::size_t count) override { inserted += count; }
    void RowsReset() override { ++resets; }
    std::size_t inserted = 0;
    int resets = 0;
};

struct LoggerRows : ::testing::Test {
    LoggerRows() {
        document.Initialise(&project);
        rows.SetObserver(&observer);
    }
    // Handles the posted messages as the user's thread would; records handled per message.
    std::vector<std::size_t> Run() {
        std::vector<std::size_t> batches;
        while (!window.posted.empty()) {
            auto [message, wParam] = window.posted.front();
            window.posted.pop_front();
            EXPECT_EQ(message, WM_INFO_QUEUE);
            batches.push_back(rows.OnQueueMessage(wParam));
        }
        return batches;
    }
    std::uint32_t TopId() const { return static_cast<const CEventInfoContainer&>(rows.Row(0)).EventId(); }
    void Events(std::uint32_t first, std::uint32_t count) {
        for (std::uint32_t id = first; id < first + count; ++id) source.OnEvent(id, 1, 5, 2, 1);
    }

    CTestProject project;
    CEventLoggerViewerDoc document;
    CEventLoggerSource source{nullptr};
    Window window;
    Observer observer;
    CLoggerRows rows{document, source, window, [](const CInfoContainer& r, std::int32_t column) {
                         return EventCellText(static_cast<const CEventInfoContainer&>(r), column);
                     }};
};

TEST_F(LoggerRows, ABurstIsShownNewestOnTopAtMost51AtATime) {
    rows.Start();
    Events(1, 120);
    EXPECT_EQ(Run(), (std::vector<std::size_t>{51, 51, 18}));
    ASSERT_EQ(rows.RowCount(), 120u);
    EXPECT_EQ(TopId(), 120u);
    EXPECT_EQ(rows.Cell(119, EVENT_COLUMN_ID), "0X1");
    EXPECT_EQ(observer.inserted, 120u);
}

TEST_F(LoggerRows, EmptyingTheListOrTheHistoryAndRefreshing) {
    rows.Start();
    Events(1, 5);
    Run();
    rows.EmptyList();
    EXPECT_EQ(rows.RowCount(), 0u);
    EXPECT_EQ(source.HistorySize(), 5u) << "the history stays";
    rows.Refresh();
    Run();
    EXPECT_EQ(rows.RowCount(), 5u) << "the whole history again";
    rows.EmptyHistory();
    EXPECT_EQ(rows.RowCount(), 5u) << "the rows stay";
    rows.Refresh();
    Run();
    EXPECT_EQ(rows.RowCount(), 0u);
}

TEST_F(LoggerRows, WithLiveUpdatesOffOnlyTheHistoryGrows) {
    rows.Start();
    Events(1, 3);
    Run();
    rows.DisableRefresh();
    EXPECT_FALSE(document.RefreshList());
    EXPECT_GT(project.nModified, 0);
    Events(10, 4);
    EXPECT_TRUE(window.posted.empty());
    EXPECT_EQ(rows.RowCount(), 3u);
    EXPECT_EQ(source.HistorySize(), 7u);

    // A project saved so opens its view with no rows and no live updates.
    CLoggerRows reopened(document, source, window, [](const CInfoContainer&, std::int32_t) { return std::string(); });
    reopened.Start();
    Events(20, 1);
    EXPECT_TRUE(window.posted.empty());
    EXPECT_EQ(reopened.RowCount(), 0u);
}

TEST_F(LoggerRows, AMessageForAReplacedQueueIsIgnored) {
    rows.Start();
    Events(1, 2);
    ASSERT_EQ(window.posted.size(), 1u);
    const std::uintptr_t stale = window.posted.front().second;
    window.posted.clear();
    rows.Refresh();  // a new queue for the window; the old one is gone
    EXPECT_EQ(rows.OnQueueMessage(stale), 0u);
    EXPECT_EQ(Run(), std::vector<std::size_t>{2});
    rows.Stop();
    EXPECT_EQ(rows.OnQueueMessage(stale), 0u);
}

TEST_F(LoggerRows, TheFilterDecidesWhatIsKeptAndARefreshStartsItsFirstOccurrencesAfresh) {
    CFilter* filter = document.AddNewFilter();
    filter->SetDisplayOnlyFirstOccurrence(true);
    document.SetCurrentFilter(filter);
    rows.Start();
    for (int i = 0; i < 3; ++i) source.OnEvent(7, 1, 5, 2, 1);
    Run();
    EXPECT_EQ(rows.RowCount(), 1u);
    rows.Refresh();
    Run();
    EXPECT_EQ(rows.RowCount(), 1u) << "seen keys cleared, the key shown once again";

    document.Columns().SaveLayout({});
    Events(100, 2);
    Run();
    EXPECT_EQ(rows.RowCount(), 1u) << "no columns: nothing kept";
    document.Columns().SaveLayout({{EVENT_COLUMN_ID, 80}});
    rows.Redisplay();
    EXPECT_EQ(rows.RowCount(), 1u);
}

}  // namespace
