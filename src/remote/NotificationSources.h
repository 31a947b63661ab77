#pragma once
// The entry points through which the notification objects hand what the engine
// reports to this program's sources, and the table of cookies that name them.
//
// A source registers itself for a cookie, gives the cookie to the engine with
// INorvMonitorManager::AddListener, and unregisters after RemoveListener. The
// engine hands the cookie back to the notification object it opens, which looks
// the source up again for every notification. A cookie that names no live source
// (never registered, already unregistered, or of another kind) is ignored.

#include <cstdint>
#include <mutex>
#include <unordered_map>

#include "NorvInterfaces.h"

struct IEventSource {
    static constexpr ENorvListenerKind kListenerKind = NORV_LISTENER_EVENTS;
    virtual RpcResult OnEvent(std::uint32_t eventId, std::uint32_t eventType, std::int32_t priority,
                              std::int32_t objectId, std::int32_t objectType) = 0;

protected:
    ~IEventSource() = default;
};

struct IResourceSource {
    static constexpr ENorvListenerKind kListenerKind = NORV_LISTENER_RESOURCES;
    virtual RpcResult OnResource(std::uint32_t resourceId, std::uint32_t resourceType, std::int32_t volume) = 0;

protected:
    ~IResourceSource() = default;
};

struct IAtomicLoadingSource {
    static constexpr ENorvListenerKind kListenerKind = NORV_LISTENER_ATOMIC_LOADING;
    virtual RpcResult OnAtomicLoading(std::uint32_t objectId, std::uint32_t eventType, std::uint32_t dataType) = 0;

protected:
    ~IAtomicLoadingSource() = default;
};

// The mixer's numbered notices (codes 10 to 13) for the windows registered with it.
struct IMixerNoticeSource {
    static constexpr ENorvListenerKind kListenerKind = NORV_LISTENER_MIXER;
    virtual RpcResult PostToTargets(std::uint32_t code, std::uint32_t value) = 0;

protected:
    ~IMixerNoticeSource() = default;
};

struct ISceneSource {
    static constexpr ENorvListenerKind kListenerKind = NORV_LISTENER_SCENE;
    virtual RpcResult UpdateScene(const TRpcArray<CPropSceneObjectRecord>& objects, const CVec3& microphonePosition,
                                  std::int32_t currentZoneId, const CVec2& microphoneDirection,
                                  const CVec2& secondVector) = 0;
    virtual RpcResult AddZone(const CPropZoneRecord& zone, std::int32_t zoneId) = 0;
    virtual RpcResult RemoveZone(std::int32_t zoneId) = 0;
    virtual RpcResult AddPortal(const CPropPortalRecord& portal, std::int32_t portalId) = 0;
    virtual RpcResult RemovePortal(std::int32_t portalId) = 0;
    virtual RpcResult SetOccluderValue(std::int32_t zoneId, std::int32_t occluderId, float value) = 0;
    virtual RpcResult RenameOccluder(std::int32_t oldOccluderId, std::int32_t newOccluderId) = 0;

protected:
    ~ISceneSource() = default;
};

class CSourceCookies {
public:
    // The one table of the process: cookies must mean the same to every instance.
    static CSourceCookies& Instance();

    template <class Source>
    RpcCookie Register(Source* source) {
        return Add(Source::kListenerKind, source);
    }
    // Waits for a notification being handed to the source to finish, so the source
    // may be destroyed right after. Must not be called while holding a lock that
    // the source's entry points take.
    void Unregister(RpcCookie cookie);

    // Runs f(source) while the source cannot be unregistered; 0 when the cookie
    // names no live source of that kind.
    template <class Source, class F>
    RpcResult With(RpcCookie cookie, F&& f) {
        std::lock_guard lock(m_lock);
        auto it = m_sources.find(cookie);
        if (it == m_sources.end() || it->second.eKind != Source::kListenerKind) return 0;
        return f(*static_cast<Source*>(it->second.pvSource));
    }

    std::size_t Count();

private:
    struct Entry {
        ENorvListenerKind eKind;
        void* pvSource;
    };
    RpcCookie Add(ENorvListenerKind kind, void* source);

    std::recursive_mutex m_lock;
    std::unordered_map<RpcCookie, Entry> m_sources;
    RpcCookie m_ulNext = 1;
};
