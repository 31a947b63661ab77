#pragma once
// The resource logger's model: its filter and descriptor, its viewer document
// (kind 2) with the seven columns, and the cell texts of a resource record.

#include <string>

#include "ColumnViewerDoc.h"
#include "InfoRecords.h"

// "RES_SAMPLE" and the others; "RES_INVALID" for 0 and codes above 8.
const char* ResourceTypeName(std::uint32_t resourceType);

enum EResourceColumn : std::int32_t {
    RESOURCE_COLUMN_TIME = 0,
    RESOURCE_COLUMN_NAME,
    RESOURCE_COLUMN_ID,
    RESOURCE_COLUMN_TYPE,
    RESOURCE_COLUMN_GROUP_NAME,
    RESOURCE_COLUMN_VOLUME,
    RESOURCE_COLUMN_INFO,
};
std::string ResourceCellText(const CResourceInfoContainer& record, std::int32_t column);

// Eight criteria; only the first four are offered and evaluated, the rest are kept and saved.
class CResourceFilterDescriptor final : public TCriteriaDescriptor<CResourceFilterDescriptor> {
public:
    const char* ClassName() const override { return "CResourceFilterDescriptor"; }
    template <class V>
    void VisitCriteria(V&& v) {
        v("m_bResourceNameUsed", "m_csResourceName", nullptr, m_resourceName);
        v("m_bResourceGroupNameUsed", "m_csResourceGroupName", nullptr, m_resourceGroupName);
        v("m_bResourceIdUsed", "m_csResourceId", "m_ulResourceId", m_resourceId);
        v("m_bResourceTypeUsed", "m_csResourceType", "m_ulResourceType", m_resourceType);
        v("m_bResourcePriorityUsed", "m_csResourcePriority", "m_lResourcePriority", m_resourcePriority);
        v("m_bObjectIdUsed", "m_csObjectId", "m_lObjectId", m_objectId);
        v("m_bObjectTypeUsed", "m_csObjectType", "m_lObjectType", m_objectType);
        v("m_bBankIdUsed", "m_csBankId", "m_lBankId", m_bankId);
    }

    CTextCriterion m_resourceName;
    CTextCriterion m_resourceGroupName;
    TNumericCriterion<std::uint32_t> m_resourceId;
    TListCriterion<std::uint32_t> m_resourceType;
    TNumericCriterion<std::int32_t> m_resourcePriority;
    TNumericCriterion<std::int32_t> m_objectId;
    TNumericCriterion<std::int32_t> m_objectType;
    TNumericCriterion<std::int32_t> m_bankId;
};

class CResourceFilter final : public CFilter {
protected:
    std::unique_ptr<CFilterDescriptor> CreateDescriptor() override {
        return std::make_unique<CResourceFilterDescriptor>();
    }
    bool Match(const CInfoContainer& record, const CFilterDescriptor& descriptor, bool* matched) override;
};

class CResourceLoggerViewerDoc final : public CLoggerViewerDoc {
public:
    int ViewerKind() const override { return 2; }
    int SourceKind() const override { return 2; }

protected:
    const char* ClassName() const override { return "CResourceLoggerViewerDoc"; }
    std::unique_ptr<CFilter> CreateFilter() override { return std::make_unique<CResourceFilter>(); }
    void DefineColumns() override;
};
