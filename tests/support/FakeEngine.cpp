#include "FakeEngine.h"

#include <cstring>

FakeEngineLog& FakeEngineLog::Get() {
    static FakeEngineLog log;
    return log;
}

void FakeEngineLog::Add(std::string line) {
    std::lock_guard lock(m_lock);
    m_lines.push_back(std::move(line));
}

std::vector<std::string> FakeEngineLog::Take() {
    std::lock_guard lock(m_lock);
    return std::exchange(m_lines, {});
}

CNorvObjectRecord SampleObject(std::uint32_t id) {
    CNorvObjectRecord r;
    r.m_ulObjectId = id;
    r.m_lObjectType = 3;
    r.m_position = {1.5f, 2.5f, float(id)};
    r.m_ulRollOffPresent = 1;
    r.m_rRollOffA = 10;
    r.m_rRollOffD = 40;
    return r;
}

CNorvMicro SampleMicro(std::uint32_t id) {
    CNorvMicro m;
    m.m_ulMicroId = id;
    m.m_record.m_position = {float(id), 0, 0};
    m.m_record.m_front = {0, 0, 1};
    m.m_record.m_top = {0, 1, 0};
    return m;
}

CNorvVoiceRecord SampleVoice(std::int32_t id, const char* name) {
    CNorvVoiceRecord v;
    v.m_lVoiceId = id;
    v.m_lResourceId = 0x00010002;
    v.m_ulStatus = 1;
    v.m_ulNameLength = static_cast<std::uint32_t>(std::strlen(name));
    std::memcpy(v.m_szName, name, v.m_ulNameLength);
    return v;
}

CNorvLoadedObjectRecord SampleLoaded(std::uint32_t id) { return {id, 2, 1, 1, 0, 4096 * id}; }

namespace {

FakeEngineLog& Log() { return FakeEngineLog::Get(); }

RpcResult Canned() { return Log().failCalls ? E_FAIL : 0; }

template <class Skeleton>
class TFake : public Skeleton {
public:
    TFake() { ++Log().liveObjects; }
    ~TFake() override { --Log().liveObjects; }
};

class CFakeKeepAlive final : public TFake<CNorvKeepAliveSkeleton> {
public:
    RpcResult IsAlive() override {
        Log().Add("IsAlive");
        return Canned();
    }
};

class CFakeMonitorManager final : public TFake<CNorvMonitorManagerSkeleton> {
public:
    RpcResult SetQuorvelAddress(const char* address, std::uint32_t port) override {
        Log().Add("SetQuorvelAddress " + std::string(address) + " " + std::to_string(port));
        return Canned();
    }
    RpcResult Reserved2() override {
        Log().Add("Reserved2");
        return Canned();
    }
    RpcResult GetVersion(CRpcFixedText* version) override {
        Log().Add("GetVersion");
        version->Assign("22.2.1");
        return Canned();
    }
    RpcResult AddListener(std::uint32_t kind, RpcCookie cookie) override {
        Log().Add("AddListener " + std::to_string(kind) + " " + std::to_string(cookie));
        return Canned();
    }
    RpcResult RemoveListener(std::uint32_t kind) override {
        Log().Add("RemoveListener " + std::to_string(kind));
        return Canned();
    }
};

class CFakeObjectMonitor final : public TFake<CNorvObjectMonitorSkeleton> {
public:
    RpcResult StartMonitoring() override {
        Log().Add("StartObjects");
        return Canned();
    }
    RpcResult StopMonitoring() override {
        Log().Add("StopObjects");
        return Canned();
    }
    RpcResult GetObjects(TRpcArray<CNorvObjectRecord>* objects) override {
        Log().Add("GetObjects");
        objects->Allocate(2);
        (*objects)[0] = SampleObject(100);
        (*objects)[1] = SampleObject(101);
        return Canned();
    }
    RpcResult GetMicros(CNorvMicroList* micros) override {
        Log().Add("GetMicros");
        micros->Allocate(1);
        (*micros)[0] = SampleMicro(7);
        return Log().failMicros ? E_FAIL : Canned();
    }
};

class CFakeVoiceMonitor final : public TFake<CNorvVoiceMonitorSkeleton> {
public:
    RpcResult StartMonitoring() override {
        Log().Add("StartVoices");
        return Canned();
    }
    RpcResult StopMonitoring() override {
        Log().Add("StopVoices");
        return Canned();
    }
    RpcResult GetVoices(TRpcArray<CNorvVoiceRecord>* voices) override {
        Log().Add("GetVoices");
        voices->Allocate(2);
        (*voices)[0] = SampleVoice(1, "Rain");
        (*voices)[1] = SampleVoice(2, "");
        return Canned();
    }
};

class CFakeAtomicLoadingMonitor final : public TFake<CNorvAtomicLoadingMonitorSkeleton> {
public:
    RpcResult GetLoadedObjects(TRpcArray<CNorvLoadedObjectRecord>* objects) override {
        Log().Add("GetLoadedObjects");
        const std::vector<CNorvLoadedObjectRecord> chosen = Log().Loaded();
        if (!chosen.empty()) {
            objects->Allocate(static_cast<std::uint32_t>(chosen.size()));
            for (std::uint32_t i = 0; i < chosen.size(); ++i) (*objects)[i] = chosen[i];
            return Canned();
        }
        objects->Allocate(3);
        for (std::uint32_t i = 0; i < 3; ++i) (*objects)[i] = SampleLoaded(i + 1);
        return Canned();
    }
};

class CFakeResMixer final : public TFake<CNorvResMixerSkeleton> {
public:
    RpcResult AddResource(std::uint32_t id) override { return TwoWay("AddResource", id); }
    RpcResult RemoveResource(std::uint32_t id) override { return TwoWay("RemoveResource", id); }
    RpcResult Reserved3(std::uint32_t id) override { return TwoWay("Reserved3", id); }
    RpcResult Reserved4(std::uint32_t id) override { return OneWay("Reserved4 " + std::to_string(id)); }
    // Playing when the low 16 bits of the answer are 0: resource 1 plays, others do not.
    RpcResult IsPlaying(std::uint32_t id) override {
        Log().Add("IsPlaying " + std::to_string(id));
        return Log().failCalls ? E_FAIL : (id == 1 ? 0x10000 : 1);
    }
    RpcResult SetVolume(std::uint32_t id, std::int32_t v) override {
        return OneWay("SetVolume " + std::to_string(id) + " " + std::to_string(v));
    }
    RpcResult Reserved7(std::uint32_t id, std::int32_t* value) override {
        *value = -12345;
        return TwoWay("Reserved7", id);
    }
    RpcResult SetMute(std::uint32_t id, std::int32_t f) override {
        return OneWay("SetMute " + std::to_string(id) + " " + std::to_string(f));
    }
    RpcResult Reserved9(std::int32_t v) override { return OneWay("Reserved9 " + std::to_string(v)); }
    RpcResult SetSolo(std::uint32_t id, std::int32_t f) override {
        return OneWay("SetSolo " + std::to_string(id) + " " + std::to_string(f));
    }
    RpcResult Reserved11(std::uint32_t id) override { return OneWay("Reserved11 " + std::to_string(id)); }

private:
    RpcResult TwoWay(const char* name, std::uint32_t id) {
        Log().Add(std::string(name) + " " + std::to_string(id));
        return Canned();
    }
    RpcResult OneWay(std::string line) {
        Log().Add(std::move(line));
        return 0;
    }
};

#define FAKE_CLASS(I, C, Fake) RpcClassEntry<I, Fake, C##Proxy, C##Stub>()

}  // namespace

RpcPtr<IRpcFactory> CreateFakeEngineFactory() {
    return RpcMake<CRpcClassFactory>(std::vector<CRpcClassEntry>{
        FAKE_CLASS(INorvKeepAlive, CNorvKeepAlive, CFakeKeepAlive),
        FAKE_CLASS(INorvMonitorManager, CNorvMonitorManager, CFakeMonitorManager),
        FAKE_CLASS(INorvObjectMonitor, CNorvObjectMonitor, CFakeObjectMonitor),
        FAKE_CLASS(INorvVoiceMonitor, CNorvVoiceMonitor, CFakeVoiceMonitor),
        FAKE_CLASS(INorvAtomicLoadingMonitor, CNorvAtomicLoadingMonitor, CFakeAtomicLoadingMonitor),
        FAKE_CLASS(INorvResMixer, CNorvResMixer, CFakeResMixer),
    });
}
