#include "ResourceLogger.h"

#include <cstdio>

#include "StringTable.h"

const char* ResourceTypeName(std::uint32_t resourceType) {
    static const char* const kNames[] = {"RES_INVALID", "RES_SAMPLE",     "RES_SEQUENCE",   "RES_SWITCH", "RES_RANDOM",
                                         "RES_THEME",   "RES_MULTITRACK", "RES_MULTILAYER", "RES_SILENCE"};
    return resourceType < 9 ? kNames[resourceType] : "RES_INVALID";
}

std::string ResourceCellText(const CResourceInfoContainer& r, std::int32_t column) {
    char text[64];
    switch (column) {
    case RESOURCE_COLUMN_TIME: return r.CreationTime();
    case RESOURCE_COLUMN_NAME: return r.Name();
    case RESOURCE_COLUMN_ID:
        std::snprintf(text, sizeof text, "0X%X", r.ResourceId());
        return text;
    case RESOURCE_COLUMN_TYPE: return ResourceTypeName(r.ResourceType());
    case RESOURCE_COLUMN_GROUP_NAME: return r.GroupName();
    case RESOURCE_COLUMN_VOLUME:
        std::snprintf(text, sizeof text, "%f", r.ResourceVolume() / 65536.0);
        return text;
    case RESOURCE_COLUMN_INFO: return r.ResourceInfo();
    default: return std::string();
    }
}

bool CResourceFilter::Match(const CInfoContainer& record, const CFilterDescriptor& descriptor, bool* matched) {
    const auto* r = dynamic_cast<const CResourceInfoContainer*>(&record);
    const auto& d = static_cast<const CResourceFilterDescriptor&>(descriptor);
    if (!r) {
        *matched = false;
        return false;
    }
    return CCriteriaMatch(matched)
        .Test(d.m_resourceName.bUsed, r->Name().find(d.m_resourceName.csText) != std::string::npos)
        .Test(d.m_resourceId.bUsed, r->ResourceId() == d.m_resourceId.value)
        .Test(d.m_resourceType.bUsed, r->ResourceType() == d.m_resourceType.value)
        .Test(d.m_resourceGroupName.bUsed, r->GroupName().find(d.m_resourceGroupName.csText) != std::string::npos)
        .Applies();
}

void CResourceLoggerViewerDoc::DefineColumns() {
    Columns().Define({{IDS_COLUMN_TIME, RESOURCE_COLUMN_TIME},
                      {IDS_COLUMN_RESOURCE_NAME, RESOURCE_COLUMN_NAME},
                      {IDS_COLUMN_RESOURCE_ID, RESOURCE_COLUMN_ID},
                      {IDS_COLUMN_RESOURCE_TYPE, RESOURCE_COLUMN_TYPE},
                      {IDS_COLUMN_RESOURCE_GROUP_NAME, RESOURCE_COLUMN_GROUP_NAME},
                      {IDS_COLUMN_RESOURCE_VOLUME, RESOURCE_COLUMN_VOLUME},
                      {IDS_COLUMN_RESOURCE_INFO, RESOURCE_COLUMN_INFO}});
}
