// Event history intake: one million event notifications through the event source,
// with one registered view queue drained by the event logger's view-model on
// another thread, keeping every row, as an open event logger does. Reports the resident memory per
// record and the records taken in per second.
//
// Usage: history_bench [--records N] [--runs N]

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <fstream>
#include <mutex>
#include <string>
#include <thread>
#include <unistd.h>
#include <vector>

#include "EventLogger.h"
#include "LoggerRows.h"

namespace {

std::size_t ResidentBytes() {
    std::ifstream statm("/proc/self/statm");
    std::size_t pages = 0, resident = 0;
    statm >> pages >> resident;
    return resident * static_cast<std::size_t>(sysconf(_SC_PAGESIZE));
}

// A project that only takes note of changes.
struct BenchProject final : IProjectDocument {
    void SetModifiedFlag(bool) override {}
    bool ReadsFromEditor() const override { return false; }
    INameResolver* NameResolver() override { return nullptr; }
};

// The event logger view's thread: woken by its queue's message, it lets the
// view-model drain the queue into the rows it keeps.
class View final : public IMessageTarget {
public:
    View(CEventLoggerViewerDoc& document, CLoggerSource& source)
        : m_rows(document, source, *this, [](const CInfoContainer& r, std::int32_t column) {
              return EventCellText(static_cast<const CEventInfoContainer&>(r), column);
          }) {}
    void PostMessage(std::uint32_t, std::uintptr_t wParam, std::intptr_t) override {
        {
            std::lock_guard lock(m_lock);
            m_posted.push_back(wParam);
        }
        m_cv.notify_one();
    }
    void SendMessage(std::uint32_t, std::uintptr_t, std::intptr_t) override {}
    void Start() { m_rows.Start(); }
    void Run() {
        for (;;) {
            std::uintptr_t wParam;
            {
                std::unique_lock lock(m_lock);
                m_cv.wait(lock, [this] { return !m_posted.empty() || m_bStop; });
                if (m_posted.empty()) return;
                wParam = m_posted.front();
                m_posted.pop_front();
            }
            m_rows.OnQueueMessage(wParam);
            m_shown = m_rows.RowCount();
        }
    }
    void Stop() {
        {
            std::lock_guard lock(m_lock);
            m_bStop = true;
        }
        m_cv.notify_one();
    }
    std::size_t Shown() const { return m_shown; }

private:
    CLoggerRows m_rows;
    std::atomic<std::size_t> m_shown{0};
    std::mutex m_lock;
    std::condition_variable m_cv;
    std::deque<std::uintptr_t> m_posted;
    bool m_bStop = false;
};

}  // namespace

int main(int argc, char** argv) {
    std::size_t records = 1000000;
    int runs = 3;
    for (int i = 1; i + 1 < argc; i += 2) {
        if (std::string(argv[i]) == "--records") records = std::strtoull(argv[i + 1], nullptr, 10);
        if (std::string(argv[i]) == "--runs") runs = std::atoi(argv[i + 1]);
    }
    std::printf("Event history intake: %zu records, one view queue drained on another thread\n\n", records);
    std::vector<double> rates, sizes;
    for (int run = 0; run < runs; ++run) {
        const std::size_t before = ResidentBytes();
        double seconds;
        {
            BenchProject project;
            CEventLoggerViewerDoc document;
            document.Initialise(&project);
            CEventLoggerSource source(nullptr);
            View view(document, source);
            view.Start();
            std::thread viewThread([&] { view.Run(); });
            const auto start = std::chrono::steady_clock::now();
            for (std::size_t i = 0; i < records; ++i)
                source.OnEvent(0x00010000u | (i & 0xFF), 1, static_cast<std::int32_t>(i % 100), 3, 1);
            seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
            while (view.Shown() < records) std::this_thread::sleep_for(std::chrono::milliseconds(1));
            view.Stop();
            viewThread.join();
            const std::size_t after = ResidentBytes();
            // Only the first run starts from a heap that has not held records yet.
            if (run == 0) sizes.push_back(static_cast<double>(after - before) / static_cast<double>(records));
            rates.push_back(static_cast<double>(records) / seconds);
        }
        std::printf("run %d: %.0f records/s\n", run + 1, rates.back());
    }
    std::sort(rates.begin(), rates.end());
    std::printf("\nmedian intake: %.0f records/s (target at least 1 000 000)\n", rates[rates.size() / 2]);
    std::printf("resident memory: %.1f bytes per record, history and view rows together (target at most 100)\n",
                sizes.front());
    return 0;
}
