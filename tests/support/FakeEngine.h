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

private:
    std::mutex m_lock;
    std::vector<std::string> m_lines;
};

// The sample records the fake monitors return.
CNorvObjectRecord SampleObject(std::uint32_t id);
CNorvMicro SampleMicro(std::uint32_t id);
CNorvVoiceRecord SampleVoice(std::int32_t id, const char* name);
CNorvLoadedObjectRecord SampleLoaded(std::uint32_t id);

// A factory with the six engine classes served by fakes.
RpcPtr<IRpcFactory> CreateFakeEngineFactory();
