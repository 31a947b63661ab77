#pragma once
// The simulated engine: the game, the listeners that clients registered, and the
// served objects of the six engine classes, all used from the simulator's main
// thread (the stubs run there too).

#include <cstdarg>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "NorvInterfaces.h"
#include "RpcClassFactory.h"
#include "SimListener.h"
#include "SimWorld.h"

struct SimOptions {
    std::int32_t lPort = 12987;
    std::string csVersion = "22.2.1";
    std::uint32_t ulSeed = 1;
    double rEventRate = 5;
    bool bLoad = false;
    std::uint32_t ulDurationMs = 0;  // 0 runs until stopped
    bool bVerbose = false;
    std::string csEditorProject;
};

struct SimCounts {
    std::uint64_t ulSent[6] = {};  // by listener kind
    std::uint64_t ulDropped = 0;
    std::uint64_t ulListeners = 0;
    std::uint64_t ulCalls = 0;
};

class CSimEngine final : public ISimOutput {
public:
    CSimEngine(const SimOptions& options, CRpcInstance* instance);
    ~CSimEngine();

    const SimOptions& Options() const { return m_options; }
    CSimWorld& World() { return m_world; }
    CRpcInstance* Instance() const { return m_pInstance; }

    // A served method was called: counted, and printed when verbose.
    void Trace(const char* format, ...) __attribute__((format(printf, 2, 3)));
    // Takes a newly opened listener; the game starts over when it is the only one.
    void AddListener(const std::shared_ptr<CSimListener>& listener);
    // The live listener of a kind for the client at address:port, or none.
    std::shared_ptr<CSimListener> FindListener(const std::string& address, std::int32_t port, std::uint32_t kind) const;
    // Drops the listeners that are gone, closing their connections.
    void ReapListeners();
    void CloseAllListeners();
    std::size_t ListenerCount() const { return m_listeners.size(); }
    const std::vector<std::shared_ptr<CSimListener>>& Listeners() const { return m_listeners; }
    SimCounts Counts() const;

    // A factory whose served objects are this engine's.
    RpcPtr<IRpcFactory> CreateFactory();

    // ISimOutput: every notification goes to the listeners of its kind.
    void Event(std::uint32_t, std::uint32_t, std::int32_t, std::int32_t, std::int32_t) override;
    void Resource(std::uint32_t, std::uint32_t, std::int32_t) override;
    void Loading(std::uint32_t, std::uint32_t, std::uint32_t, bool) override;
    void MixerNotice(std::uint32_t, std::uint32_t) override;
    void SceneUpdate(const TRpcArray<CPropSceneObjectRecord>&, const CVec3&, std::int32_t, const CVec2&,
                     const CVec2&) override;
    void ZoneAdded(const CPropZoneRecord&, std::int32_t) override;
    void ZoneRemoved(std::int32_t) override;
    void PortalAdded(const CPropPortalRecord&, std::int32_t) override;
    void OccluderValue(std::int32_t, std::int32_t, float) override;

private:
    template <class F>
    void ForKind(std::uint32_t kind, F&& f);
    void Count(const CSimListener& gone);

    const SimOptions m_options;
    CRpcInstance* const m_pInstance;
    CSimWorld m_world;
    std::vector<std::shared_ptr<CSimListener>> m_listeners;
    SimCounts m_retired;  // what listeners that are gone had sent
    std::uint64_t m_ulCalls = 0;
    std::uint64_t m_ulListenersOpened = 0;
};
