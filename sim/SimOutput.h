#pragma once
// Where the simulated game reports what happens: one call per notification, of
// the kinds the engine pushes to its listeners.

#include <cstdint>

#include "NorvRecords.h"

struct ISimOutput {
    virtual void Event(std::uint32_t eventId, std::uint32_t eventType, std::int32_t priority, std::int32_t objectId,
                       std::int32_t objectType) = 0;
    virtual void Resource(std::uint32_t resourceId, std::uint32_t resourceType, std::int32_t volume) = 0;
    // Without a data type the engine uses the short form of the notification.
    virtual void Loading(std::uint32_t objectId, std::uint32_t eventType, std::uint32_t dataType,
                         bool withDataType) = 0;
    virtual void MixerNotice(std::uint32_t code, std::uint32_t resourceId) = 0;
    virtual void SceneUpdate(const TRpcArray<CPropSceneObjectRecord>& objects, const CVec3& microphone,
                             std::int32_t zoneId, const CVec2& direction, const CVec2& second) = 0;
    virtual void ZoneAdded(const CPropZoneRecord& zone, std::int32_t zoneId) = 0;
    virtual void ZoneRemoved(std::int32_t zoneId) = 0;
    virtual void PortalAdded(const CPropPortalRecord& portal, std::int32_t portalId) = 0;
    virtual void OccluderValue(std::int32_t zoneId, std::int32_t occluderId, float value) = 0;

protected:
    ~ISimOutput() = default;
};
