#include "PrintingSource.h"

#include <cstdio>
#include <ctime>

RpcResult CPrintingSource::OnEvent(std::uint32_t id, std::uint32_t type, std::int32_t priority, std::int32_t object,
                                   std::int32_t objectType) {
    return Print("event     id 0X%X type %u priority %d object %d object type %d", id, type, priority, object,
                 objectType);
}

RpcResult CPrintingSource::OnResource(std::uint32_t id, std::uint32_t type, std::int32_t volume) {
    return Print("resource  id 0X%X type %u volume %.2f dB", id, type, volume / 65536.0);
}

RpcResult CPrintingSource::OnAtomicLoading(std::uint32_t id, std::uint32_t type, std::uint32_t dataType) {
    return Print("loading   object 0X%08X event %u data type 0X%08X", id, type, dataType);
}

RpcResult CPrintingSource::PostToTargets(std::uint32_t code, std::uint32_t value) {
    return Print("mixer     notice %u resource 0X%X", code, value);
}

RpcResult CPrintingSource::UpdateScene(const TRpcArray<CPropSceneObjectRecord>& objects, const CVec3& mic,
                                       std::int32_t zone, const CVec2&, const CVec2&) {
    return Print("scene     %u objects, microphone at (%.1f, %.1f, %.1f) in zone %d", objects.Count(), mic.x, mic.y,
                 mic.z, zone);
}

RpcResult CPrintingSource::AddZone(const CPropZoneRecord& zone, std::int32_t id) {
    return Print("scene     zone %d added: %u vertices, %u walls, %u occluders", id, zone.m_vertices.Count(),
                 zone.m_wallLines.Count(), zone.m_occluders.Count());
}

RpcResult CPrintingSource::RemoveZone(std::int32_t id) { return Print("scene     zone %d removed", id); }

RpcResult CPrintingSource::AddPortal(const CPropPortalRecord& p, std::int32_t id) {
    return Print("scene     portal %d added between zones %d and %d", id, p.m_lZoneA, p.m_lZoneB);
}

RpcResult CPrintingSource::RemovePortal(std::int32_t id) { return Print("scene     portal %d removed", id); }

RpcResult CPrintingSource::SetOccluderValue(std::int32_t zone, std::int32_t occluder, float value) {
    return Print("scene     occluder %d of zone %d at %.2f", occluder, zone, value);
}

RpcResult CPrintingSource::RenameOccluder(std::int32_t from, std::int32_t to) {
    return Print("scene     occluder %d renamed %d", from, to);
}

RpcCookie CPrintingSource::Register(std::uint32_t kind) {
    auto& cookies = CSourceCookies::Instance();
    switch (kind) {
    case NORV_LISTENER_EVENTS: return cookies.Register<IEventSource>(this);
    case NORV_LISTENER_RESOURCES: return cookies.Register<IResourceSource>(this);
    case NORV_LISTENER_ATOMIC_LOADING: return cookies.Register<IAtomicLoadingSource>(this);
    case NORV_LISTENER_MIXER: return cookies.Register<IMixerNoticeSource>(this);
    default: return cookies.Register<ISceneSource>(this);
    }
}

RpcResult CPrintingSource::Print(const char* format, ...) {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    ::localtime_r(&now, &local);
    std::lock_guard lock(m_lock);
    std::printf("%02d:%02d:%02d ", local.tm_hour, local.tm_min, local.tm_sec);
    va_list args;
    va_start(args, format);
    std::vprintf(format, args);
    va_end(args);
    std::putchar('\n');
    std::fflush(stdout);
    return 0;
}
