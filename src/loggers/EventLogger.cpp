#include "EventLogger.h"

#include <cstdio>

#include "StringTable.h"

namespace {

std::string Hex(std::uint32_t v) {
    char text[16];
    std::snprintf(text, sizeof text, "0X%X", v);
    return text;
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

bool CEventFilter::Match(const CInfoContainer& record, const CFilterDescriptor& descriptor, bool* matched) {
    const auto* e = dynamic_cast<const CEventInfoContainer*>(&record);
    const auto& d = static_cast<const CEventFilterDescriptor&>(descriptor);
    if (!e) {
        *matched = false;
        return false;
    }
    return CCriteriaMatch(matched)
        .Test(d.m_eventName.bUsed, e->Name().find(d.m_eventName.csText) != std::string::npos)
        .Test(d.m_eventId.bUsed, e->EventId() == d.m_eventId.value)
        .Test(d.m_eventType.bUsed, e->EventType() == d.m_eventType.value)
        .Test(d.m_eventPriority.bUsed, e->EventPriority() == d.m_eventPriority.value)
        .Test(d.m_objectId.bUsed, e->ObjectId() == d.m_objectId.value)
        .Test(d.m_objectType.bUsed, e->ObjectType() == d.m_objectType.value)
        .Test(d.m_eventGroupId.bUsed, static_cast<std::int32_t>(e->EventGroupId()) == d.m_eventGroupId.value)
        .Test(d.m_eventGroupName.bUsed, e->GroupName().find(d.m_eventGroupName.csText) != std::string::npos)
        .Applies();
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
