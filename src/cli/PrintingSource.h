#pragma once
// A source of every notification kind that prints each notification as one line,
// stamped with the local time of day.

#include <cstdarg>
#include <mutex>

#include "NotificationSources.h"

class CPrintingSource final : public IEventSource,
                              public IResourceSource,
                              public IAtomicLoadingSource,
                              public IMixerNoticeSource,
                              public ISceneSource {
public:
    RpcResult OnEvent(std::uint32_t id, std::uint32_t type, std::int32_t priority, std::int32_t object,
                      std::int32_t objectType) override;
    RpcResult OnResource(std::uint32_t id, std::uint32_t type, std::int32_t volume) override;
    RpcResult OnAtomicLoading(std::uint32_t id, std::uint32_t type, std::uint32_t dataType) override;
    RpcResult PostToTargets(std::uint32_t code, std::uint32_t value) override;
    RpcResult UpdateScene(const TRpcArray<CPropSceneObjectRecord>& objects, const CVec3& mic, std::int32_t zone,
                          const CVec2& direction, const CVec2& second) override;
    RpcResult AddZone(const CPropZoneRecord& zone, std::int32_t id) override;
    RpcResult RemoveZone(std::int32_t id) override;
    RpcResult AddPortal(const CPropPortalRecord& portal, std::int32_t id) override;
    RpcResult RemovePortal(std::int32_t id) override;
    RpcResult SetOccluderValue(std::int32_t zone, std::int32_t occluder, float value) override;
    RpcResult RenameOccluder(std::int32_t from, std::int32_t to) override;

    // Registers this source for a listener kind; the cookie to hand to the engine.
    RpcCookie Register(std::uint32_t kind);

private:
    RpcResult Print(const char* format, ...) __attribute__((format(printf, 2, 3)));
    std::mutex m_lock;
};
