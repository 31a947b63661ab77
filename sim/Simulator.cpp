#include "Simulator.h"

#include <cstdio>

#include "QuorvelFactories.h"

namespace {
constexpr std::uint32_t kListenerOpenTimeoutMs = 5000;
constexpr std::size_t kLoadBacklog = 256 * 1024;
constexpr std::uint32_t kLoadSliceMs = 5;
const char* const kKindNames[6] = {"", "events", "resources", "scene", "mixer", "loading"};
}  // namespace

CSimulator::CSimulator(const SimOptions& options) : m_options(options), m_instance(CRpcInstance::Create()) {
    m_engine = std::make_unique<CSimEngine>(m_options, m_instance.Get());
    // Our own engine classes first; the notification classes' proxies come from
    // the client's factories, which the engine shares.
    m_instance->RegisterFactory(m_engine->CreateFactory().Get());
    m_instance->RegisterFactory(CreateQuorvelFactory().Get());
    m_instance->RegisterFactory(CreateQuorvelSceneFactory().Get());
    m_instance->SetOpenTimeout(kListenerOpenTimeoutMs);
}

CSimulator::~CSimulator() {
    m_engine->CloseAllListeners();
    m_instance->Stop();  // served objects go before the engine they point to
    m_engine.reset();
}

RpcResult CSimulator::Start() {
    // Registered before the port opens: an open that arrives in between would find
    // no thread to serve it.
    m_instance->RegisterThread();
    const RpcResult r = m_instance->Start(m_options.lPort, RPC_PRIORITY_NORMAL);
    if (RpcFailed(r)) m_instance->UnregisterThread();
    return r;
}

std::int32_t CSimulator::Port() const { return m_instance->ListeningPort(); }

void CSimulator::Run(const std::atomic<bool>& stop) {
    m_ulStartMs = RpcClockMs();
    m_ulLoadReportMs = m_ulStartMs;
    std::uint32_t nextTick = m_ulStartMs + SIM_TICK_MS;
    while (!stop) {
        const std::uint32_t now = RpcClockMs();
        if (m_options.ulDurationMs && now - m_ulStartMs >= m_options.ulDurationMs) break;
        if (m_options.bLoad) {
            LoadBurst();
        } else {
            // Catch up on game time, but never by more than a second at once.
            if (static_cast<std::int32_t>(now - nextTick) > 1000) nextTick = now;
            while (static_cast<std::int32_t>(now - nextTick) >= 0) {
                m_engine->World().Tick();
                nextTick += SIM_TICK_MS;
            }
        }
        m_engine->ReapListeners();
        const std::int32_t untilTick = static_cast<std::int32_t>(nextTick - RpcClockMs());
        m_instance->WaitForMessages(m_options.bLoad ? 0 : static_cast<std::uint32_t>(std::max(untilTick, 0)));
    }
    m_ulRunMs = RpcClockMs() - m_ulStartMs;
    if (m_options.bLoad) ReportLoadRate();
    m_engine->CloseAllListeners();
    m_instance->UnregisterThread();
}

void CSimulator::LoadBurst() {
    const std::uint32_t start = RpcClockMs();
    bool sent = true;
    while (sent && RpcClockMs() - start < kLoadSliceMs) {
        sent = false;
        for (const auto& listener : m_engine->Listeners()) {
            if (listener->IsGone() || listener->Backlog() > kLoadBacklog) continue;
            for (int i = 0; i < 64; ++i) m_engine->World().LoadNotification(listener->Kind(), *listener);
            sent = true;
        }
    }
    if (RpcClockMs() - m_ulLoadReportMs >= 1000) ReportLoadRate();
}

void CSimulator::ReportLoadRate() {
    const SimCounts counts = m_engine->Counts();
    std::uint64_t total = 0;
    for (std::uint64_t n : counts.ulSent) total += n;
    const std::uint32_t now = RpcClockMs();
    const double seconds = (now - m_ulLoadReportMs) / 1000.0;
    if (seconds > 0 && total > m_ulLoadSentAtReport)
        std::printf("norvsim: load %.0f notifications/s\n", (total - m_ulLoadSentAtReport) / seconds);
    std::fflush(stdout);
    m_ulLoadSentAtReport = total;
    m_ulLoadReportMs = now;
}

std::string CSimulator::Summary() const {
    const SimCounts counts = m_engine->Counts();
    std::string line = "norvsim: sent";
    std::uint64_t total = 0;
    for (int kind = 1; kind <= 5; ++kind) {
        char part[48];
        std::snprintf(part, sizeof part, " %llu %s%s", static_cast<unsigned long long>(counts.ulSent[kind]),
                      kKindNames[kind], kind < 5 ? "," : "");
        line += part;
        total += counts.ulSent[kind];
    }
    char tail[160];
    const double seconds = m_ulRunMs / 1000.0;
    std::snprintf(tail, sizeof tail, " (%llu in all, %llu dropped) to %llu listeners; %llu calls served in %.1f s",
                  static_cast<unsigned long long>(total), static_cast<unsigned long long>(counts.ulDropped),
                  static_cast<unsigned long long>(counts.ulListeners), static_cast<unsigned long long>(counts.ulCalls),
                  seconds);
    return line + tail;
}
