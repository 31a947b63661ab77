#pragma once
// The three kinds of history record: sound events, resources and atomic loading
// operations. Every field is read and written under the record's lock; texts are
// returned as copies.

#include <cstdint>
#include <string>

#include "InfoContainer.h"
#include "ProjectDocument.h"

// What an event and a resource record share: a name and a group name from the
// editor, resolved once.
class CNamedInfoContainer : public CInfoContainer {
public:
    std::string Name() const;
    std::string GroupName() const;
    void SetName(const std::string& name);
    void SetGroupName(const std::string& name);
    bool NamesResolved() const;
    // Fills empty names from the editor; the flag is set only when no editor error happened.
    void ResolveNames(INameResolver* resolver);

protected:
    virtual bool LookUpName(INameResolver& resolver, std::string* name) const = 0;
    std::uint32_t m_ulNameId = 0;
    std::uint32_t m_ulGroupNameId = 0;
    bool m_bNamesResolved = false;
};

class CEventInfoContainer final : public CNamedInfoContainer {
public:
    CEventInfoContainer(std::uint32_t eventId, std::uint32_t eventType, std::int32_t priority, std::int32_t objectId,
                        std::int32_t objectType)
        : m_ulEventId(eventId), m_ulEventType(eventType), m_lEventPriority(priority), m_lObjectId(objectId),
          m_lObjectType(objectType) {}

    // The id never changes after construction, so it is read without the lock.
    std::uint32_t Key() const override { return m_ulEventId; }
    std::uint32_t EventId() const;
    std::uint32_t EventGroupId() const { return EventId() >> 16; }
    std::uint32_t EventType() const;
    std::int32_t EventPriority() const;
    std::int32_t ObjectId() const;
    std::int32_t ObjectType() const;
    std::string EventInfo() const { return std::string(); }  // no notification carries it

private:
    bool LookUpName(INameResolver& resolver, std::string* name) const override {
        return resolver.EventName(m_ulEventId, name);
    }
    const std::uint32_t m_ulEventId;
    const std::uint32_t m_ulEventType;
    const std::int32_t m_lEventPriority;
    const std::int32_t m_lObjectId;
    const std::int32_t m_lObjectType;
};

class CResourceInfoContainer final : public CNamedInfoContainer {
public:
    CResourceInfoContainer(std::uint32_t resourceId, std::uint32_t resourceType, std::int32_t volume)
        : m_ulResourceId(resourceId), m_ulResourceType(resourceType), m_rResourceVolume(volume) {}

    std::uint32_t Key() const override { return m_ulResourceId; }
    std::uint32_t ResourceId() const;
    std::uint32_t ResourceGroupId() const { return ResourceId() >> 16; }
    std::uint32_t ResourceType() const;
    std::int32_t ResourceVolume() const;  // dB x 65536
    std::string ResourceInfo() const;
    void SetResourceInfo(const std::string& info);

private:
    bool LookUpName(INameResolver& resolver, std::string* name) const override {
        return resolver.ResourceName(m_ulResourceId, name);
    }
    const std::uint32_t m_ulResourceId;
    const std::uint32_t m_ulResourceType;
    const std::int32_t m_rResourceVolume;
    std::uint32_t m_ulInfoId = 0;
};

class CAtomicLoadingInfoContainer final : public CInfoContainer {
public:
    // An empty one, as a filter descriptor's template.
    CAtomicLoadingInfoContainer() = default;
    // From a loading notification.
    CAtomicLoadingInfoContainer(std::uint32_t objectId, std::uint32_t eventType, std::uint32_t dataType)
        : m_ulObjectId(objectId), m_ulEventType(eventType), m_ulDataType(dataType) {}
    // From a poll of the loaded set.
    CAtomicLoadingInfoContainer(std::uint32_t objectId, std::uint32_t dataType, std::uint32_t referenceCount,
                                std::uint32_t loadCount, std::uint32_t loadState, std::uint32_t objectSize)
        : m_ulObjectId(objectId), m_ulDataType(dataType), m_ulLoadCount(loadCount), m_ulReferenceCount(referenceCount),
          m_ulLoadState(loadState), m_ulObjectSize(objectSize), m_ulTotalSize(objectSize) {}

    std::uint32_t Key() const override { return ObjectId(); }

    // Every field, as one copy taken under the lock (the saved forms use it).
    struct Fields {
        std::uint32_t objectId = 0, eventType = 0, dataType = 0, loadCount = 0, referenceCount = 0, loadState = 0,
                      objectSize = 0, totalSize = 0;
        std::string objectName;
    };
    Fields Get() const;
    void Set(const Fields& fields);

    std::uint32_t ObjectId() const;
    std::uint32_t EventType() const;
    std::uint32_t DataType() const;
    std::uint32_t LoadCount() const;
    std::uint32_t ReferenceCount() const;
    std::uint32_t LoadState() const;
    std::uint32_t ObjectSize() const;
    std::uint32_t TotalSize() const;
    std::string ObjectName() const;
    void SetTotalSize(std::uint32_t size);
    void SetObjectName(const std::string& name);
    bool NamesResolved() const;
    // Takes the object name from the editor, once; only objects whose id's top four
    // bits are 1 to 4 have one there.
    void ResolveNames(INameResolver* resolver);

private:
    std::uint32_t m_ulObjectId = 0;
    std::uint32_t m_ulEventType = 0;
    std::uint32_t m_ulDataType = 0;
    std::uint32_t m_ulLoadCount = 0;
    std::uint32_t m_ulReferenceCount = 0;
    std::uint32_t m_ulLoadState = 0;
    std::uint32_t m_ulObjectSize = 0;
    std::uint32_t m_ulTotalSize = 0;
    std::uint32_t m_ulNameId = 0;
    bool m_bNamesResolved = false;
};
