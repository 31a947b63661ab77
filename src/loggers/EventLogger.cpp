#include "EventLogger.h"

#include <cstdio>

#include "StringTable.h"

namespace {

std::string Hex(std::uint32_t v) {
    char text[16];
    std::snprintf(text, sizeof text, "0X%X", v);
    return text;
}

// The legacy form of a criterion: flag, text, and for numbers the value.
template <class C>
void StoreCriterion(CLegacyArchiveWriter& a, const C& c, bool withValue) {
    a.WriteInt32(c.bUsed);
    a.WriteString(c.csText);
    if constexpr (requires { c.value; })
        if (withValue) a.WriteUInt32(static_cast<std::uint32_t>(c.value));
}

template <class C>
bool LoadCriterion(CLegacyArchiveReader& a, C& c, bool withValue) {
    if (!a.ReadInt32(&c.bUsed) || !a.ReadString(&c.csText)) return false;
    if constexpr (requires { c.value; }) {
        std::uint32_t value = 0;
        if (withValue) {
            if (!a.ReadUInt32(&value)) return false;
            c.value = static_cast<decltype(c.value)>(value);
        }
    }
    return true;
}

}  // namespace

const char* EventTypeName(std::uint32_t eventType) {
    static const char* const kNames[] = {"EVT_INVALID",      "EVT_SON_PLAY",  "EVT_SON_STOP",   "EVT_SON_STOP_ALL",
                                         "EVT_SON_STOP_N_GO", "EVT_SON_PITCH", "EVT_SON_VOLUME", "EVT_SON_PAN",
                                         "EVT_SON_EFFET",    "EVT_SON_EXTRA", "EVT_SON_CHANGE_VOLUME",
                                         "EVT_SON_SWITCH"};
    return eventType < 12 ? kNames[eventType] : "EVT_INVALID";
}

std::string EventCellText(const CEventInfoContainer& r, std::int32_t column) {
    switch (column) {
    case EVENT_COLUMN_TIME: return r.CreationTime();
    case EVENT_COLUMN_NAME: return r.Name();
    case EVENT_COLUMN_ID: return Hex(r.EventId());
    case EVENT_COLUMN_TYPE: return EventTypeName(r.EventType());
    case EVENT_COLUMN_PRIORITY: return Hex(static_cast<std::uint32_t>(r.EventPriority()));
    case EVENT_COLUMN_OBJECT_ID: return Hex(static_cast<std::uint32_t>(r.ObjectId()));
    case EVENT_COLUMN_GROUP_NAME: return r.GroupName();
    case EVENT_COLUMN_GROUP_ID: return std::to_string(r.EventGroupId());
    case EVENT_COLUMN_INFO: return r.EventInfo();
    default: return std::string();
    }
}

void CEventFilterDescriptor::SerializeOwnXml(CConfigArchive& a) {
    a.SerializeI4("m_bEventNameUsed", &m_eventName.bUsed);
    a.SerializeString("m_csEventName", &m_eventName.csText);
    a.SerializeI4("m_bEventGroupNameUsed", &m_eventGroupName.bUsed);
    a.SerializeString("m_csEventGroupName", &m_eventGroupName.csText);
    a.SerializeI4("m_bEventIdUsed", &m_eventId.bUsed);
    a.SerializeString("m_csEventId", &m_eventId.csText);
    a.SerializeUI4("m_ulEventId", &m_eventId.value);
    a.SerializeI4("m_bEventTypeUsed", &m_eventType.bUsed);
    a.SerializeString("m_csEventType", &m_eventType.csText);
    a.SerializeUI4("m_ulEventType", &m_eventType.value);
    a.SerializeI4("m_bEventPriorityUsed", &m_eventPriority.bUsed);
    a.SerializeString("m_csEventPriority", &m_eventPriority.csText);
    a.SerializeI4("m_lEventPriority", &m_eventPriority.value);
    a.SerializeI4("m_bObjectIdUsed", &m_objectId.bUsed);
    a.SerializeString("m_csObjectId", &m_objectId.csText);
    a.SerializeI4("m_lObjectId", &m_objectId.value);
    a.SerializeI4("m_bObjectTypeUsed", &m_objectType.bUsed);
    a.SerializeString("m_csObjectType", &m_objectType.csText);
    a.SerializeI4("m_lObjectType", &m_objectType.value);
    a.SerializeI4("m_bEventGroupIdUsed", &m_eventGroupId.bUsed);
    a.SerializeString("m_csEventGroupId", &m_eventGroupId.csText);
    a.SerializeI4("m_lEventGroupId", &m_eventGroupId.value);
}

void CEventFilterDescriptor::StoreOwn(CLegacyArchiveWriter& a) const {
    a.WriteUInt32(1);
    StoreCriterion(a, m_eventName, false);
    StoreCriterion(a, m_eventGroupName, false);
    StoreCriterion(a, m_eventId, true);
    StoreCriterion(a, m_eventType, true);
    StoreCriterion(a, m_eventPriority, true);
    StoreCriterion(a, m_objectId, true);
    StoreCriterion(a, m_objectType, true);
    StoreCriterion(a, m_eventGroupId, true);
}

int CEventFilterDescriptor::LoadOwn(CLegacyArchiveReader& a) {
    std::uint32_t version = 0;
    if (!a.ReadUInt32(&version)) return 3;
    if (version != 1) return 2;
    const bool ok = LoadCriterion(a, m_eventName, false) && LoadCriterion(a, m_eventGroupName, false) &&
                    LoadCriterion(a, m_eventId, true) && LoadCriterion(a, m_eventType, true) &&
                    LoadCriterion(a, m_eventPriority, true) && LoadCriterion(a, m_objectId, true) &&
                    LoadCriterion(a, m_objectType, true) && LoadCriterion(a, m_eventGroupId, true);
    return ok ? 0 : 3;
}

bool CEventFilter::Match(const CInfoContainer& record, const CFilterDescriptor& descriptor, bool* matched) {
    const auto* e = dynamic_cast<const CEventInfoContainer*>(&record);
    const auto& d = static_cast<const CEventFilterDescriptor&>(descriptor);
    *matched = true;
    if (!e) return false;
    bool applies = false;
    // Criteria in this order; the first one in use that fails decides.
    const auto test = [&](bool used, bool passes) {
        if (!used) return true;
        applies = true;
        if (!passes) *matched = false;
        return passes;
    };
    test(d.m_eventName.bUsed, e->Name().find(d.m_eventName.csText) != std::string::npos) &&
        test(d.m_eventId.bUsed, e->EventId() == d.m_eventId.value) &&
        test(d.m_eventType.bUsed, e->EventType() == d.m_eventType.value) &&
        test(d.m_eventPriority.bUsed, e->EventPriority() == d.m_eventPriority.value) &&
        test(d.m_objectId.bUsed, e->ObjectId() == d.m_objectId.value) &&
        test(d.m_objectType.bUsed, e->ObjectType() == d.m_objectType.value) &&
        test(d.m_eventGroupId.bUsed, static_cast<std::int32_t>(e->EventGroupId()) == d.m_eventGroupId.value) &&
        test(d.m_eventGroupName.bUsed, e->GroupName().find(d.m_eventGroupName.csText) != std::string::npos);
    return applies;
}

void CEventLoggerViewerDoc::SetRefreshList(bool on) {
    MarkModified();
    m_bRefreshList = on ? 1 : 0;
}

void CEventLoggerViewerDoc::DefineColumns() {
    Columns().Define({{IDS_COLUMN_TIME, EVENT_COLUMN_TIME},
                      {IDS_COLUMN_EVENT_NAME, EVENT_COLUMN_NAME},
                      {IDS_COLUMN_EVENT_ID, EVENT_COLUMN_ID},
                      {IDS_COLUMN_EVENT_TYPE, EVENT_COLUMN_TYPE},
                      {IDS_COLUMN_EVENT_PRIORITY, EVENT_COLUMN_PRIORITY},
                      {IDS_COLUMN_OBJECT_ID, EVENT_COLUMN_OBJECT_ID},
                      {IDS_COLUMN_EVENT_GROUP_NAME, EVENT_COLUMN_GROUP_NAME},
                      {IDS_COLUMN_EVENT_GROUP_ID, EVENT_COLUMN_GROUP_ID},
                      {IDS_COLUMN_EVENT_INFO, EVENT_COLUMN_INFO}});
}

int CEventLoggerViewerDoc::SerializeXml(CConfigArchive& archive) {
    CConfigSection section(archive, "CEventLoggerViewerDoc");
    if (const int r = SerializeColumnViewerXml(archive)) return r;
    archive.SerializeI4("m_bRefreshList", &m_bRefreshList);
    return 0;
}

void CEventLoggerViewerDoc::StoreArchive(CLegacyArchiveWriter& archive) const {
    StoreColumnViewerArchive(archive);
    archive.WriteUInt32(1);
    archive.WriteInt32(m_bRefreshList);
}

int CEventLoggerViewerDoc::LoadArchive(CQuorvelDoc* owner, CLegacyArchiveReader& archive) {
    if (!owner) return 3;
    if (const int r = LoadColumnViewerArchive(archive)) return r;
    std::uint32_t version = 0;
    if (!archive.ReadUInt32(&version)) return 3;
    if (version != 1) return 2;
    return archive.ReadInt32(&m_bRefreshList) ? 0 : 3;
}
