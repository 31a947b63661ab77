// The desktop application under load, on a real display (run it under xvfb-run):
//  1. norvsim in load mode floods the open, filtered event logger for a while; a
//     timer on the user's thread measures how late it fires. Reports the events
//     taken in and shown per second, the timer's lateness (median, 99th
//     percentile, worst) and the resident memory.
//  2. One million events in the history are shown in the event logger; then the
//     list is scrolled page by page and end to end, each repaint timed.
//
// Usage: xvfb-run -a build/release/bench/gui_bench [--seconds N] [--rows N]

#include <QApplication>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <future>
#include <unistd.h>

#include "ConnectProcedure.h"
#include "EventLogger.h"
#include "EventLoggerView.h"
#include "MainFrame.h"
#include "RecordingPrompt.h"
#include "RunningSimulator.h"

namespace {

using Clock = std::chrono::steady_clock;

double ResidentMiB() {
    std::ifstream statm("/proc/self/statm");
    std::size_t pages = 0, resident = 0;
    statm >> pages >> resident;
    return static_cast<double>(resident) * static_cast<double>(sysconf(_SC_PAGESIZE)) / (1024.0 * 1024.0);
}

double Percentile(std::vector<double> values, double p) {
    if (values.empty()) return 0;
    std::sort(values.begin(), values.end());
    return values[std::min(values.size() - 1, static_cast<std::size_t>(p * static_cast<double>(values.size())))];
}

void Pump(std::chrono::milliseconds duration) {
    const auto end = Clock::now() + duration;
    while (Clock::now() < end) QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
}

// A filter that shows the play events only, so every event goes through the filter.
void FilterPlays(CEventLoggerViewerDoc& doc) {
    CFilter* filter = doc.AddNewFilter();
    filter->SetName("plays");
    auto* plays = static_cast<CEventFilterDescriptor*>(filter->AddNewDescriptor());
    plays->SetName("plays");
    plays->m_eventType.Choose(1);
    plays->SetType(FILTER_INCLUDE);
    doc.SetCurrentFilter(filter);
}

void Flood(double seconds) {
    SimOptions options = RunningSimulator::Defaults();
    options.bLoad = true;
    RunningSimulator engine(options);
    QTemporaryDir dir;
    CKeyStore store(dir.filePath("registry.xml").toStdString());
    CRecordingPrompt prompt;
    CQuorvelDoc document(store, &prompt);
    document.OnNewDocument();
    document.m_lLocalQuorvelTCPPort = 0;
    CMainFrame frame(document, prompt, store);
    frame.show();
    std::atomic<bool> cancel{false};
    auto outcome = std::async(std::launch::async, [&] {
        return RunConnectProcedure(document, {"load", "127.0.0.1", "", engine.PortText()}, cancel);
    });
    while (outcome.wait_for(std::chrono::milliseconds(5)) != std::future_status::ready) QCoreApplication::processEvents();
    if (outcome.get().lResult != 0 || !CompleteConnection(document, prompt)) {
        std::printf("cannot connect to norvsim\n");
        return;
    }
    FilterPlays(*document.ViewerDoc<CEventLoggerViewerDoc>(1));
    frame.View().OpenViewer("CEventLoggerView");
    auto* view = qobject_cast<CEventLoggerView*>(frame.View().FindViewerWidget("CEventLoggerView"));
    CLoggerSource& source = *document.GetLoggerSource(1);

    std::vector<double> lateness;
    const auto period = std::chrono::milliseconds(10);
    auto expected = Clock::now() + period;
    QTimer timer;
    timer.setTimerType(Qt::PreciseTimer);
    QObject::connect(&timer, &QTimer::timeout, [&] {
        const auto now = Clock::now();
        lateness.push_back(std::max(0.0, std::chrono::duration<double, std::milli>(now - expected).count()));
        expected = now + period;
    });
    timer.start(period);
    source.Enable(true);
    const auto start = Clock::now();
    Pump(std::chrono::milliseconds(static_cast<int>(seconds * 1000)));
    const double elapsed = std::chrono::duration<double>(Clock::now() - start).count();
    source.Enable(false);
    timer.stop();
    const double taken = static_cast<double>(source.HistorySize());
    const double shown = view->Model()->rowCount();
    std::printf("flood: %.0f events/s taken in, %.0f rows/s shown (filtered), over %.1f s\n", taken / elapsed,
                shown / elapsed, elapsed);
    std::printf("user's thread lateness: median %.1f ms, 99th percentile %.1f ms, worst %.1f ms (target p99 <= 100)\n",
                Percentile(lateness, 0.5), Percentile(lateness, 0.99), Percentile(lateness, 1.0));
    std::printf("resident memory: %.0f MiB with %.0f records in the history\n", ResidentMiB(), taken);
    document.Disconnect();
    document.StopLink();
}

void Scroll(std::size_t rows) {
    QTemporaryDir dir;
    CKeyStore store(dir.filePath("registry.xml").toStdString());
    CRecordingPrompt prompt;
    CQuorvelDoc document(store, &prompt);
    document.OnNewDocument();
    CMainFrame frame(document, prompt, store);
    frame.show();
    auto* events = static_cast<CEventLoggerSource*>(document.GetLoggerSource(1));
    for (std::size_t i = 0; i < rows; ++i)
        events->OnEvent(0x10000u | (i & 0xFFFF), 1 + (i % 11), static_cast<std::int32_t>(i % 100), 3, 1);
    const double before = ResidentMiB();
    const auto start = Clock::now();
    frame.View().OpenViewer("CEventLoggerView");
    auto* view = qobject_cast<CEventLoggerView*>(frame.View().FindViewerWidget("CEventLoggerView"));
    while (static_cast<std::size_t>(view->Model()->rowCount()) < rows) QCoreApplication::processEvents();
    const double loaded = std::chrono::duration<double>(Clock::now() - start).count();
    std::printf("\nscroll: %zu rows shown from the history in %.2f s; the list added %.0f MiB\n", rows, loaded,
                ResidentMiB() - before);
    QScrollBar* bar = view->Table()->verticalScrollBar();
    std::vector<double> frames;
    auto repaint = [&](int value) {
        bar->setValue(value);
        const auto t = Clock::now();
        view->Table()->viewport()->repaint();
        frames.push_back(std::chrono::duration<double, std::milli>(Clock::now() - t).count());
    };
    for (int i = 0; i < 500; ++i) repaint(bar->value() + bar->pageStep());
    repaint(bar->maximum());
    repaint(bar->minimum());
    for (int i = 0; i < 200; ++i) repaint(static_cast<int>((static_cast<long long>(bar->maximum()) * i) / 200));
    std::printf("repaint while scrolling: median %.2f ms, 99th percentile %.2f ms, worst %.2f ms over %zu repaints\n",
                Percentile(frames, 0.5), Percentile(frames, 0.99), Percentile(frames, 1.0), frames.size());
}

}  // namespace

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    double seconds = 10;
    std::size_t rows = 1000000;
    for (int i = 1; i + 1 < argc; i += 2) {
        if (std::string(argv[i]) == "--seconds") seconds = std::atof(argv[i + 1]);
        if (std::string(argv[i]) == "--rows") rows = std::strtoull(argv[i + 1], nullptr, 10);
    }
    std::printf("Quorvel under load on platform \"%s\"\n\n", QGuiApplication::platformName().toUtf8().constData());
    Flood(seconds);
    Scroll(rows);
    return 0;
}
