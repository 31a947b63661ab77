#include "SimServedObjects.h"


#include "SimEngine.h"

namespace {

#define ENGINE_CLASS(I, C) RpcClassEntry<I, C##Skeleton, C##Proxy, C##Stub>()

template <class Skeleton>
class TSimObject : public Skeleton {
public:
    explicit TSimObject(CSimEngine* engine) : m_pEngine(engine) {}

protected:
    CSimEngine* const m_pEngine;
};

class CSimKeepAlive final : public TSimObject<CNorvKeepAliveSkeleton> {
public:
    using TSimObject::TSimObject;
    RpcResult IsAlive() override {
        m_pEngine->Trace("INorvKeepAlive.IsAlive");
        return 0;
    }
};

class CSimMonitorManager final : public TSimObject<CNorvMonitorManagerSkeleton> {
public:
    // Listeners belong to the client (its reported address and port), not to this
    // object: a client may drop its monitor manager and keep listening. A client
    // that goes away loses them at the first send that fails.
    using TSimObject::TSimObject;

    RpcResult SetQuorvelAddress(const char* address, std::uint32_t port) override {
        m_pEngine->Trace("INorvMonitorManager.SetQuorvelAddress %s %u", address, port);
        if (port == 0 || port > 65535) return E_INVALIDARG;
        m_csAddress = address;
        m_lPort = static_cast<std::int32_t>(port);
        return 0;
    }
    RpcResult Reserved2() override {
        m_pEngine->Trace("INorvMonitorManager.Method2");
        return 0;
    }
    RpcResult GetVersion(CRpcFixedText* version) override {
        m_pEngine->Trace("INorvMonitorManager.GetVersion");
        return version->Assign(m_pEngine->Options().csVersion.c_str()) ? 0 : E_OUTOFMEMORY;
    }
    RpcResult AddListener(std::uint32_t kind, RpcCookie cookie) override {
        m_pEngine->Trace("INorvMonitorManager.AddListener kind=%u cookie=%u", kind, cookie);
        if (!SimSinkClass(kind)) return E_INVALIDARG;
        if (m_lPort <= 0) return E_UNEXPECTED;  // the client has not said where it listens
        Remove(kind);
        RpcResult r;
        auto listener = CSimListener::Open(m_pEngine->Instance(), kind, cookie, m_csAddress, m_lPort, &r);
        if (!listener) {
            std::fprintf(stderr, "norvsim: cannot open the listener of kind %u at %s:%d (0x%08X)\n", kind,
                         m_csAddress.c_str(), m_lPort, static_cast<unsigned>(r));
            return r;
        }
        m_pEngine->AddListener(listener);
        return 0;
    }
    RpcResult RemoveListener(std::uint32_t kind) override {
        m_pEngine->Trace("INorvMonitorManager.RemoveListener kind=%u", kind);
        Remove(kind);
        return 0;
    }

private:
    void Remove(std::uint32_t kind) {
        auto listener = m_pEngine->FindListener(m_csAddress, m_lPort, kind);
        if (!listener) return;
        listener->ClearCookie();
        listener->Retire();
        m_pEngine->ReapListeners();
    }

    std::string m_csAddress;
    std::int32_t m_lPort = 0;
};

class CSimObjectMonitor final : public TSimObject<CNorvObjectMonitorSkeleton> {
public:
    using TSimObject::TSimObject;
    RpcResult StartMonitoring() override {
        m_pEngine->Trace("INorvObjectMonitor.Start");
        return 0;
    }
    RpcResult StopMonitoring() override {
        m_pEngine->Trace("INorvObjectMonitor.Stop");
        return 0;
    }
    RpcResult GetObjects(TRpcArray<CNorvObjectRecord>* objects) override {
        m_pEngine->Trace("INorvObjectMonitor.GetObjects");
        m_pEngine->World().FillObjects(*objects);
        return 0;
    }
    RpcResult GetMicros(CNorvMicroList* micros) override {
        m_pEngine->Trace("INorvObjectMonitor.GetMicros");
        m_pEngine->World().FillMicros(*micros);
        return 0;
    }
};

class CSimVoiceMonitor final : public TSimObject<CNorvVoiceMonitorSkeleton> {
public:
    using TSimObject::TSimObject;
    RpcResult StartMonitoring() override {
        m_pEngine->Trace("INorvVoiceMonitor.Start");
        return 0;
    }
    RpcResult StopMonitoring() override {
        m_pEngine->Trace("INorvVoiceMonitor.Stop");
        return 0;
    }
    RpcResult GetVoices(TRpcArray<CNorvVoiceRecord>* voices) override {
        m_pEngine->Trace("INorvVoiceMonitor.GetVoices");
        m_pEngine->World().FillVoices(*voices);
        return 0;
    }
};

class CSimAtomicLoadingMonitor final : public TSimObject<CNorvAtomicLoadingMonitorSkeleton> {
public:
    using TSimObject::TSimObject;
    RpcResult GetLoadedObjects(TRpcArray<CNorvLoadedObjectRecord>* objects) override {
        m_pEngine->Trace("INorvAtomicLoadingMonitor.GetLoadedObjects");
        m_pEngine->World().FillLoaded(*objects);
        return 0;
    }
};

class CSimResMixer final : public TSimObject<CNorvResMixerSkeleton> {
public:
    using TSimObject::TSimObject;
    RpcResult AddResource(std::uint32_t id) override {
        m_pEngine->Trace("INorvResMixer.AddResource 0x%08X", id);
        return m_pEngine->World().MixerAdd(id);
    }
    RpcResult RemoveResource(std::uint32_t id) override {
        m_pEngine->Trace("INorvResMixer.RemoveResource 0x%08X", id);
        return m_pEngine->World().MixerRemove(id);
    }
    RpcResult Reserved3(std::uint32_t id) override {
        m_pEngine->Trace("INorvResMixer.Method3 0x%08X", id);
        return 0;
    }
    RpcResult Reserved4(std::uint32_t id) override {
        m_pEngine->Trace("INorvResMixer.Method4 0x%08X", id);
        return 0;
    }
    RpcResult IsPlaying(std::uint32_t id) override {
        m_pEngine->Trace("INorvResMixer.IsPlaying 0x%08X", id);
        return m_pEngine->World().IsPlaying(id);
    }
    RpcResult SetVolume(std::uint32_t id, std::int32_t volume) override {
        m_pEngine->Trace("INorvResMixer.SetVolume 0x%08X %.2f dB", id, volume / 65536.0);
        return m_pEngine->World().SetVolume(id, volume);
    }
    RpcResult Reserved7(std::uint32_t id, std::int32_t* value) override {
        m_pEngine->Trace("INorvResMixer.Method7 0x%08X", id);
        return m_pEngine->World().MixerVolume(id, value);
    }
    RpcResult SetMute(std::uint32_t id, std::int32_t muted) override {
        m_pEngine->Trace("INorvResMixer.SetMute 0x%08X %d", id, muted);
        return m_pEngine->World().SetMute(id, muted != 0);
    }
    RpcResult Reserved9(std::int32_t value) override {
        m_pEngine->Trace("INorvResMixer.Method9 %d", value);
        return 0;
    }
    RpcResult SetSolo(std::uint32_t id, std::int32_t soloed) override {
        m_pEngine->Trace("INorvResMixer.SetSolo 0x%08X %d", id, soloed);
        return m_pEngine->World().SetSolo(id, soloed != 0);
    }
    RpcResult Reserved11(std::uint32_t id) override {
        m_pEngine->Trace("INorvResMixer.Method11 0x%08X", id);
        return 0;
    }
};

template <class T>
RpcResult CreateServed(CSimEngine* engine, const GUID* iid, void** out) {
    auto object = RpcMake<T>(engine);
    if (!object) return RPC_E_OUTOFMEMORY;
    return object->QueryInterface(iid, out);
}

}  // namespace

CSimFactory::CSimFactory(CSimEngine* engine)
    : CRpcClassFactory({
          ENGINE_CLASS(INorvKeepAlive, CNorvKeepAlive),
          ENGINE_CLASS(INorvMonitorManager, CNorvMonitorManager),
          ENGINE_CLASS(INorvObjectMonitor, CNorvObjectMonitor),
          ENGINE_CLASS(INorvVoiceMonitor, CNorvVoiceMonitor),
          ENGINE_CLASS(INorvAtomicLoadingMonitor, CNorvAtomicLoadingMonitor),
          ENGINE_CLASS(INorvResMixer, CNorvResMixer),
      }),
      m_pEngine(engine) {}

RpcResult CSimFactory::CreateObject(const GUID* clsid, const GUID* iid, void** out) {
    if (!clsid || !iid || !out) return E_INVALIDARG;
    if (*clsid == INorvKeepAlive::CLSID) return CreateServed<CSimKeepAlive>(m_pEngine, iid, out);
    if (*clsid == INorvMonitorManager::CLSID) return CreateServed<CSimMonitorManager>(m_pEngine, iid, out);
    if (*clsid == INorvObjectMonitor::CLSID) return CreateServed<CSimObjectMonitor>(m_pEngine, iid, out);
    if (*clsid == INorvVoiceMonitor::CLSID) return CreateServed<CSimVoiceMonitor>(m_pEngine, iid, out);
    if (*clsid == INorvAtomicLoadingMonitor::CLSID) return CreateServed<CSimAtomicLoadingMonitor>(m_pEngine, iid, out);
    if (*clsid == INorvResMixer::CLSID) return CreateServed<CSimResMixer>(m_pEngine, iid, out);
    return CRpcClassFactory::CreateObject(clsid, iid, out);
}
