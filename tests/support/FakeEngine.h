#pragma once
// Served objects that stand in for the engine's in tests: each method records its
// call as a line of text and returns canned outputs, so a test can check both
// directions of every method of every engine interface.

#include <mutex>
#include <string>
#include <vector>

#include "NorvInterfaces.h"
#include "RpcClassFactory.h"

class FakeEngineLog {
public:
    static FakeEngineLog& Get();
    void Add(std::string line);
    std::vector<std::string> Take();
    void Clear() { Take(); }

    std::atomic<int> liveObjects{0};
    std::atomic<bool> failCalls{false};  // every two-way method answers E_FAIL
    std::atomic<bool> failMicros{false};  // only the micro request fails
    // What the atomic loading monitor answers instead of its three samples, when set.
    void SetLoaded(std::vector<CNorvLoadedObjectRecord> loaded) {
        std::lock_guard lock(m_lock);
        m_loaded = std::move(loaded);
    }
    std::vector<CNorvLoadedObjectRecord> Loaded() {
        std::lock_guard lock(m_lock);
        return m_loaded;
    }

private:
    std::mutex m_lock;
    std::vector<std::string> m_lines;
    std::vector<CNorvLoadedObjectRecord> m_loaded;
};

// The sample records the fake monitors return.
CNorvObjectRecord SampleObject(std::uint32_t id);
CNorvMicro SampleMicro(std::uint32_t id);
CNorvVoiceRecord SampleVoice(std::int32_t id, const char* name);
CNorvLoadedObjectRecord SampleLoaded(std::uint32_t id);

// A factory with the six engine classes served by fakes.
RpcPtr<IRpcFactory> CreateFakeEngineFactory();
