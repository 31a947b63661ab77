#include "InfoRecords.h"

// Fields set at construction never change; they are still read under the lock, as
// every field of a record is.
#define LOCKED_GETTER(Class, Type, Name, Member) \
    Type Class::Name() const {                   \
        std::lock_guard lock(Lock());            \
        return Member;                           \
    }

std::string CNamedInfoContainer::Name() const { return TextField(m_ulNameId); }

std::string CNamedInfoContainer::GroupName() const { return TextField(m_ulGroupNameId); }

void CNamedInfoContainer::SetName(const std::string& name) { SetTextField(m_ulNameId, name); }

void CNamedInfoContainer::SetGroupName(const std::string& name) { SetTextField(m_ulGroupNameId, name); }

LOCKED_GETTER(CNamedInfoContainer, bool, NamesResolved, m_bNamesResolved)

void CNamedInfoContainer::ResolveNames(INameResolver* resolver) {
    if (!resolver) return;
    std::lock_guard lock(Lock());
    if (m_bNamesResolved) return;
    bool ok = true;
    std::string text;
    if (m_ulNameId == 0) {
        if (LookUpName(*resolver, &text))
            m_ulNameId = CNameTable::Intern(text);
        else
            ok = false;
    }
    if (m_ulGroupNameId == 0) {
        text.clear();
        if (resolver->GroupName(Key() >> 16, &text))
            m_ulGroupNameId = CNameTable::Intern(text);
        else
            ok = false;
    }
    m_bNamesResolved = ok;
}

LOCKED_GETTER(CEventInfoContainer, std::uint32_t, EventId, m_ulEventId)
LOCKED_GETTER(CEventInfoContainer, std::uint32_t, EventType, m_ulEventType)
LOCKED_GETTER(CEventInfoContainer, std::int32_t, EventPriority, m_lEventPriority)
LOCKED_GETTER(CEventInfoContainer, std::int32_t, ObjectId, m_lObjectId)
LOCKED_GETTER(CEventInfoContainer, std::int32_t, ObjectType, m_lObjectType)

LOCKED_GETTER(CResourceInfoContainer, std::uint32_t, ResourceId, m_ulResourceId)
LOCKED_GETTER(CResourceInfoContainer, std::uint32_t, ResourceType, m_ulResourceType)
LOCKED_GETTER(CResourceInfoContainer, std::int32_t, ResourceVolume, m_rResourceVolume)

std::string CResourceInfoContainer::ResourceInfo() const { return TextField(m_ulInfoId); }

void CResourceInfoContainer::SetResourceInfo(const std::string& info) { SetTextField(m_ulInfoId, info); }

CAtomicLoadingInfoContainer::Fields CAtomicLoadingInfoContainer::Get() const {
    std::lock_guard lock(Lock());
    return {m_ulObjectId,  m_ulEventType,  m_ulDataType,  m_ulLoadCount,           m_ulReferenceCount,
            m_ulLoadState, m_ulObjectSize, m_ulTotalSize, CNameTable::Text(m_ulNameId)};
}

void CAtomicLoadingInfoContainer::Set(const Fields& f) {
    const std::uint32_t nameId = CNameTable::Intern(f.objectName);
    std::lock_guard lock(Lock());
    m_ulObjectId = f.objectId;
    m_ulEventType = f.eventType;
    m_ulDataType = f.dataType;
    m_ulLoadCount = f.loadCount;
    m_ulReferenceCount = f.referenceCount;
    m_ulLoadState = f.loadState;
    m_ulObjectSize = f.objectSize;
    m_ulTotalSize = f.totalSize;
    m_ulNameId = nameId;
}

LOCKED_GETTER(CAtomicLoadingInfoContainer, std::uint32_t, ObjectId, m_ulObjectId)
LOCKED_GETTER(CAtomicLoadingInfoContainer, std::uint32_t, EventType, m_ulEventType)
LOCKED_GETTER(CAtomicLoadingInfoContainer, std::uint32_t, DataType, m_ulDataType)
LOCKED_GETTER(CAtomicLoadingInfoContainer, std::uint32_t, LoadCount, m_ulLoadCount)
LOCKED_GETTER(CAtomicLoadingInfoContainer, std::uint32_t, ReferenceCount, m_ulReferenceCount)
LOCKED_GETTER(CAtomicLoadingInfoContainer, std::uint32_t, LoadState, m_ulLoadState)
LOCKED_GETTER(CAtomicLoadingInfoContainer, std::uint32_t, ObjectSize, m_ulObjectSize)
LOCKED_GETTER(CAtomicLoadingInfoContainer, std::uint32_t, TotalSize, m_ulTotalSize)

std::string CAtomicLoadingInfoContainer::ObjectName() const { return TextField(m_ulNameId); }

void CAtomicLoadingInfoContainer::SetTotalSize(std::uint32_t size) {
    std::lock_guard lock(Lock());
    m_ulTotalSize = size;
}

void CAtomicLoadingInfoContainer::SetObjectName(const std::string& name) { SetTextField(m_ulNameId, name); }
LOCKED_GETTER(CAtomicLoadingInfoContainer, bool, NamesResolved, m_bNamesResolved)

void CAtomicLoadingInfoContainer::ResolveNames(INameResolver* resolver) {
    if (!resolver) return;
    std::lock_guard lock(Lock());
    const std::uint32_t family = m_ulObjectId >> 28;
    if (m_bNamesResolved || family < 1 || family > 4) return;
    std::string name;
    if (!resolver->AtomicObjectName(m_ulObjectId, &name)) return;
    m_ulNameId = CNameTable::Intern(name);
    m_bNamesResolved = true;
}
