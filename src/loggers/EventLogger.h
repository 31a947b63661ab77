#pragma once
// The event logger's model: its filter and descriptor, its viewer document (kind 1)
// with the nine columns, and the cell texts of an event record.

#include <string>

#include "ColumnViewerDoc.h"
#include "InfoRecords.h"

// "EVT_SON_PLAY" and the others; "EVT_INVALID" for codes outside 0..11.
const char* EventTypeName(std::uint32_t eventType);

enum EEventColumn : std::int32_t {
    EVENT_COLUMN_TIME = 0,
    EVENT_COLUMN_NAME,
    EVENT_COLUMN_ID,
    EVENT_COLUMN_TYPE,
    EVENT_COLUMN_PRIORITY,
    EVENT_COLUMN_OBJECT_ID,
    EVENT_COLUMN_GROUP_NAME,
    EVENT_COLUMN_GROUP_ID,
    EVENT_COLUMN_INFO,
};
std::string EventCellText(const CEventInfoContainer& record, std::int32_t column);

class CEventFilterDescriptor final : public TCriteriaDescriptor<CEventFilterDescriptor> {
public:
    const char* ClassName() const override { return "CEventFilterDescriptor"; }
    // The criteria in saved order.
    template <class V>
    void VisitCriteria(V&& v) {
        v("m_bEventNameUsed", "m_csEventName", nullptr, m_eventName);
        v("m_bEventGroupNameUsed", "m_csEventGroupName", nullptr, m_eventGroupName);
        v("m_bEventIdUsed", "m_csEventId", "m_ulEventId", m_eventId);
        v("m_bEventTypeUsed", "m_csEventType", "m_ulEventType", m_eventType);
        v("m_bEventPriorityUsed", "m_csEventPriority", "m_lEventPriority", m_eventPriority);
        v("m_bObjectIdUsed", "m_csObjectId", "m_lObjectId", m_objectId);
        v("m_bObjectTypeUsed", "m_csObjectType", "m_lObjectType", m_objectType);
        v("m_bEventGroupIdUsed", "m_csEventGroupId", "m_lEventGroupId", m_eventGroupId);
    }

    CTextCriterion m_eventName;
    CTextCriterion m_eventGroupName;
    TNumericCriterion<std::uint32_t> m_eventId;
    TListCriterion<std::uint32_t> m_eventType;
    TNumericCriterion<std::int32_t> m_eventPriority;
    TNumericCriterion<std::int32_t> m_objectId;
    TNumericCriterion<std::int32_t> m_objectType;
    TNumericCriterion<std::int32_t> m_eventGroupId;
};

class CEventFilter final : public CFilter {
protected:
    std::unique_ptr<CFilterDescriptor> CreateDescriptor() override { return std::make_unique<CEventFilterDescriptor>(); }
    bool Match(const CInfoContainer& record, const CFilterDescriptor& descriptor, bool* matched) override;
};

class CEventLoggerViewerDoc final : public CLoggerViewerDoc {
public:
    int ViewerKind() const override { return 1; }
    int SourceKind() const override { return 1; }

protected:
    const char* ClassName() const override { return "CEventLoggerViewerDoc"; }
    std::unique_ptr<CFilter> CreateFilter() override { return std::make_unique<CEventFilter>(); }
    void DefineColumns() override;
};
