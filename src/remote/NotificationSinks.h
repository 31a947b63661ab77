#pragma once
// The notification objects this program serves to the engine. Each holds the
// cookie that the engine handed it with method 1 and forwards every notification
// to the source that cookie names, until method 2 clears it.

#include <atomic>

#include "NotificationSources.h"

template <class Skeleton, class Source>
class TNotificationSink : public Skeleton {
public:
    RpcResult SetCookie(RpcCookie cookie) override {
        m_ulCookie = cookie;
        return 0;
    }
    RpcResult ClearCookie() override {
        m_ulCookie = 0;
        return 0;
    }
    RpcCookie Cookie() const { return m_ulCookie; }

protected:
    // Before method 1 and after method 2 the notification is dropped without a trace.
    template <class F>
    RpcResult Forward(F&& f) {
        const RpcCookie cookie = m_ulCookie;
        if (cookie == 0) return 0;
        return CSourceCookies::Instance().With<Source>(cookie, std::forward<F>(f));
    }

private:
    std::atomic<RpcCookie> m_ulCookie{0};
};

class CQuorvelEventSinkObject final : public TNotificationSink<CQuorvelEventSinkSkeleton, IEventSource> {
public:
    RpcResult OnEvent(std::uint32_t eventId, std::uint32_t eventType, std::int32_t priority, std::int32_t objectId,
                      std::int32_t objectType) override {
        return Forward([&](IEventSource& s) { return s.OnEvent(eventId, eventType, priority, objectId, objectType); });
    }
};

class CQuorvelResourceSinkObject final : public TNotificationSink<CQuorvelResourceSinkSkeleton, IResourceSource> {
public:
    RpcResult OnResource(std::uint32_t resourceId, std::uint32_t resourceType, std::int32_t volume) override {
        return Forward([&](IResourceSource& s) { return s.OnResource(resourceId, resourceType, volume); });
    }
};

class CQuorvelAtomicLoadingSinkObject final
    : public TNotificationSink<CQuorvelAtomicLoadingSinkSkeleton, IAtomicLoadingSource> {
public:
    // Without a data type the event is recorded with data type 0.
    RpcResult OnAtomicLoading(std::uint32_t objectId, std::uint32_t eventType) override {
        return OnAtomicLoading(objectId, eventType, 0);
    }
    RpcResult OnAtomicLoading(std::uint32_t objectId, std::uint32_t eventType, std::uint32_t dataType) override {
        return Forward([&](IAtomicLoadingSource& s) { return s.OnAtomicLoading(objectId, eventType, dataType); });
    }
};

class CQuorvelWindowNotifySinkObject final
    : public TNotificationSink<CQuorvelWindowNotifySinkSkeleton, IMixerNoticeSource> {
public:
    RpcResult Notice10(std::uint32_t value) override { return Post(10, value); }
    RpcResult Notice11(std::uint32_t value) override { return Post(11, value); }
    RpcResult Notice12(std::uint32_t value) override { return Post(12, value); }
    RpcResult Notice13(std::uint32_t value) override { return Post(13, value); }

private:
    RpcResult Post(std::uint32_t code, std::uint32_t value) {
        return Forward([&](IMixerNoticeSource& s) { return s.PostToTargets(code, value); });
    }
};

class CQuorvelSceneSinkObject final : public TNotificationSink<CQuorvelSceneSinkSkeleton, ISceneSource> {
public:
    RpcResult UpdateScene(const TRpcArray<CPropSceneObjectRecord>& objects, const CVec3& microphonePosition,
                          std::int32_t currentZoneId, const CVec2& microphoneDirection,
                          const CVec2& secondVector) override {
        return Forward([&](ISceneSource& s) {
            return s.UpdateScene(objects, microphonePosition, currentZoneId, microphoneDirection, secondVector);
        });
    }
    RpcResult AddZone(const CPropZoneRecord& zone, std::int32_t zoneId) override {
        return Forward([&](ISceneSource& s) { return s.AddZone(zone, zoneId); });
    }
    RpcResult RemoveZone(std::int32_t zoneId) override {
        return Forward([&](ISceneSource& s) { return s.RemoveZone(zoneId); });
    }
    RpcResult AddPortal(const CPropPortalRecord& portal, std::int32_t portalId) override {
        return Forward([&](ISceneSource& s) { return s.AddPortal(portal, portalId); });
    }
    RpcResult RemovePortal(std::int32_t portalId) override {
        return Forward([&](ISceneSource& s) { return s.RemovePortal(portalId); });
    }
    RpcResult SetOccluderValue(std::int32_t zoneId, std::int32_t occluderId, float value) override {
        return Forward([&](ISceneSource& s) { return s.SetOccluderValue(zoneId, occluderId, value); });
    }
    RpcResult RenameOccluder(std::int32_t oldOccluderId, std::int32_t newOccluderId) override {
        return Forward([&](ISceneSource& s) { return s.RenameOccluder(oldOccluderId, newOccluderId); });
    }
};
