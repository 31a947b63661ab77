#pragma once
// norvsim in the test's own process: it starts on a free port and serves from a
// thread of its own until the test stops or kills it.

#include <atomic>
#include <future>
#include <memory>
#include <string>
#include <thread>

#include "Simulator.h"

class RunningSimulator {
public:
    explicit RunningSimulator(SimOptions options = Defaults())
        : m_simulator(std::make_unique<CSimulator>(options)) {
        std::promise<RpcResult> started;
        m_thread = std::thread([this, &started] {
            const RpcResult r = m_simulator->Start();  // the serving thread registers before the port opens
            started.set_value(r);
            if (RpcSucceeded(r)) m_simulator->Run(m_stop);
        });
        m_lStart = started.get_future().get();
    }
    ~RunningSimulator() { Kill(); }
    RunningSimulator(const RunningSimulator&) = delete;
    RunningSimulator& operator=(const RunningSimulator&) = delete;

    static SimOptions Defaults() {
        SimOptions o;
        o.lPort = 0;
        o.rEventRate = 100;
        return o;
    }
    static SimOptions WithVersion(const std::string& version) {
        SimOptions o = Defaults();
        o.csVersion = version;
        return o;
    }

    // Stops serving; the simulator's connections stay until it is killed.
    void Stop() {
        m_stop = true;
        if (m_thread.joinable()) m_thread.join();
    }
    // Gone as if the engine's process had died: every connection closes.
    void Kill() {
        Stop();
        m_simulator.reset();
    }

    std::int32_t Port() const { return m_simulator->Port(); }
    std::string PortText() const { return std::to_string(Port()); }
    RpcResult StartResult() const { return m_lStart; }
    std::string Summary() const { return m_simulator->Summary(); }

private:
    std::unique_ptr<CSimulator> m_simulator;
    RpcResult m_lStart = 0;
    std::atomic<bool> m_stop{false};
    std::thread m_thread;
};
