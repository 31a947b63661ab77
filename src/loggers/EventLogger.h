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

class CEventFilterDescriptor final : public CFilterDescriptor {
public:
    const char* ClassName() const override { return "CEventFilterDescriptor"; }

    CTextCriterion m_eventName;
    CTextCriterion m_eventGroupName;
    TNumericCriterion<std::uint32_t> m_eventId;
    TListCriterion<std::uint32_t> m_eventType;
    TNumericCriterion<std::int32_t> m_eventPriority;
    TNumericCriterion<std::int32_t> m_objectId;
    TNumericCriterion<std::int32_t> m_objectType;
    TNumericCriterion<std::int32_t> m_eventGroupId;

protected:
    void SerializeOwnXml(CConfigArchive& archive) override;
    void StoreOwn(CLegacyArchiveWriter& archive) const override;
    int LoadOwn(CLegacyArchiveReader& archive) override;
};

class CEventFilter final : public CFilter {
protected:
    std::unique_ptr<CFilterDescriptor> CreateDescriptor() override { return std::make_unique<CEventFilterDescriptor>(); }
    bool Match(const CInfoContainer& record, const CFilterDescriptor& descriptor, bool* matched) override;
};

class CEventLoggerViewerDoc final : public CColumnViewerDoc {
public:
    int ViewerKind() const override { return 1; }
    int SourceKind() const override { return 1; }
    bool RefreshList() const { return m_bRefreshList != 0; }
    void SetRefreshList(bool on);

    int SerializeXml(CConfigArchive& archive);
    void StoreArchive(CLegacyArchiveWriter& archive) const;
    int LoadArchive(CQuorvelDoc* owner, CLegacyArchiveReader& archive);

protected:
    std::unique_ptr<CFilter> CreateFilter() override { return std::make_unique<CEventFilter>(); }
    void DefineColumns() override;

private:
    std::int32_t m_bRefreshList = 1;
};
