#include "EventLoggerFilterView.h"

#include "EventLogger.h"

namespace {

const char* const kEventName = "Event name";
const char* const kEventGroupId = "Event Group Id";
const char* const kEventGroupName = "Event group name";
const char* const kEventId = "Event Id";
const char* const kEventType = "Event type";
const char* const kEventPriority = "Event priority";
const char* const kObjectId = "Object Id";
const char* const kObjectType = "Object type";

constexpr std::uint32_t kEventTypeCount = 12;

std::vector<CPropertyGrid::ListEntry> EventTypes() {
    std::vector<CPropertyGrid::ListEntry> entries;
    for (std::uint32_t code = 0; code < kEventTypeCount; ++code)
        entries.push_back({QString::fromUtf8(EventTypeName(code)), static_cast<std::int32_t>(code)});
    return entries;
}

}  // namespace

void CEventLoggerFilterView::AddDescriptorRows(CFilterDescriptor& descriptor, QTreeWidgetItem* group) {
    auto* event = dynamic_cast<CEventFilterDescriptor*>(&descriptor);
    if (!event) return;
    AddTextRow(group, kEventName, "Name of event used to filter (empty to ignore it)", event->m_eventName);
    AddNumericRow(group, kEventGroupId, "Event Group Id used to filter (empty to ignore it)", event->m_eventGroupId);
    AddTextRow(group, kEventGroupName, "Name of the event group used to filter (empty to ignore it)",
               event->m_eventGroupName);
    AddNumericRow(group, kEventId, "Event Id used to filter (empty to ignore it)", event->m_eventId);
    AddListRow(group, kEventType, "Event type used to filter", EventTypes(), event->m_eventType);
    AddNumericRow(group, kEventPriority, "Event priority used to filter (empty to ignore it)",
                  event->m_eventPriority);
    AddNumericRow(group, kObjectId, "Object Id to filter (empty to ignore)", event->m_objectId);
    AddNumericRow(group, kObjectType, "Object type to filter (empty to ignore)", event->m_objectType);
}

void CEventLoggerFilterView::OnDescriptorRowChanged(CFilterDescriptor& descriptor, QTreeWidgetItem* row) {
    auto* event = dynamic_cast<CEventFilterDescriptor*>(&descriptor);
    if (!event) return;
    const QString caption = CPropertyGrid::Caption(row);
    if (caption == kEventName)
        ApplyTextRow(event->m_eventName, row);
    else if (caption == kEventGroupId)
        ApplyNumericRow(event->m_eventGroupId, row);
    else if (caption == kEventGroupName)
        ApplyTextRow(event->m_eventGroupName, row);
    else if (caption == kEventId)
        ApplyNumericRow(event->m_eventId, row);
    else if (caption == kEventType)
        ApplyListRow(event->m_eventType, row);
    else if (caption == kEventPriority)
        ApplyNumericRow(event->m_eventPriority, row);
    else if (caption == kObjectId)
        ApplyNumericRow(event->m_objectId, row);
    else if (caption == kObjectType)
        ApplyNumericRow(event->m_objectType, row);
}
