#pragma once
// A complete simulated engine on one transport instance: it listens for clients,
// serves the engine classes from the thread that runs it, plays the game and
// pushes notifications to the listeners, or in load mode as many as the links take.

#include <atomic>
#include <memory>
#include <string>

#include "SimEngine.h"

class CSimulator {
public:
    explicit CSimulator(const SimOptions& options);
    ~CSimulator();
    CSimulator(const CSimulator&) = delete;
    CSimulator& operator=(const CSimulator&) = delete;

    // Starts listening (port 0 picks a free one) and makes the calling thread the
    // one that serves: clients are served from the moment the port is open.
    RpcResult Start();
    std::int32_t Port() const;
    // Serves and plays until stop is set or the duration ends; call it on the
    // thread that called Start.
    void Run(const std::atomic<bool>& stop);
    // One line: what was sent, to how many listeners, over how long.
    std::string Summary() const;

private:
    void LoadBurst();
    void ReportLoadRate();

    SimOptions m_options;
    RpcPtr<CRpcInstance> m_instance;
    std::unique_ptr<CSimEngine> m_engine;
    std::uint32_t m_ulStartMs = 0;
    std::uint32_t m_ulRunMs = 0;
    std::uint64_t m_ulLoadSentAtReport = 0;
    std::uint32_t m_ulLoadReportMs = 0;
};
