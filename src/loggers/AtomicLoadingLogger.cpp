#include "AtomicLoadingLogger.h"

#include <cstdio>

#include "NumericText.h"
#include "StringTable.h"

const char* AtomicLoadingEventName(std::uint32_t eventType) {
    static const char* const kNames[] = {"API Load",    "API Unload",  "API Prefetch", "API Reload", "Load",
                                         "Unload",      "Soft Reload", "Hard Reload",  "Create"};
    return eventType < 9 ? kNames[eventType] : "ATM_INVALID";
}

const char* AtomicLoadingDataTypeName(std::uint32_t dataType) {
    switch (dataType) {
    case 0x10000000: return "Event";
    case 0x20000000: return "Resource";
    case 0x30000000: return "Sound Data";
    case 0x40000000: return "Project Settings";
    default: return "Unknown";
    }
}

const char* LoadStateName(std::uint32_t loadState) {
    return loadState == 0 ? "Loaded" : loadState == 1 ? "Unloaded" : "Unknown";
}

std::string AtomicLoadingCellText(const CAtomicLoadingInfoContainer& r, std::int32_t column) {
    char text[16];
    switch (column) {
    case LOADING_COLUMN_TIME: return r.CreationTime();
    case LOADING_COLUMN_OBJECT_ID:
        std::snprintf(text, sizeof text, "0X%08X", r.ObjectId());
        return text;
    case LOADING_COLUMN_OBJECT_NAME: return r.ObjectName();
    case LOADING_COLUMN_EVENT: return AtomicLoadingEventName(r.EventType());
    case LOADING_COLUMN_DATA: return AtomicLoadingDataTypeName(r.DataType());
    default: return std::string();
    }
}

CAtomicLoadingFilterDescriptor::CAtomicLoadingFilterDescriptor()
    : m_template(new CAtomicLoadingInfoContainer()), m_csObjectId(QV_ITEM_IGNORED), m_csLoadCount(QV_ITEM_IGNORED),
      m_csRefCount(QV_ITEM_IGNORED) {
    m_template->SetObjectName(QV_ITEM_IGNORED);
}

void CAtomicLoadingFilterDescriptor::SetField(std::uint32_t bit, std::uint32_t value) {
    CAtomicLoadingInfoContainer::Fields f = m_template->Get();
    switch (bit) {
    case LOADING_BY_OBJECT_ID: f.objectId = value; break;
    case LOADING_BY_EVENT_TYPE: f.eventType = value; break;
    case LOADING_BY_DATA_TYPE: f.dataType = value; break;
    case LOADING_BY_LOAD_COUNT: f.loadCount = value; break;
    case LOADING_BY_REFERENCE_COUNT: f.referenceCount = value; break;
    case LOADING_BY_LOAD_STATE: f.loadState = value; break;
    default: return;
    }
    m_template->Set(f);
}

bool CAtomicLoadingFilterDescriptor::SetNumber(const std::string& text, std::uint32_t bit, std::string* kept) {
    MarkModified();
    std::uint32_t value = 0;
    if (text.empty() || text == QV_ITEM_IGNORED || !CNumericText::ToUnsigned(text, &value)) {
        *kept = QV_ITEM_IGNORED;
        m_ulUsedParams &= ~bit;
        return text.empty() || text == QV_ITEM_IGNORED;
    }
    *kept = text;
    SetField(bit, value);
    m_ulUsedParams |= bit;
    return true;
}

void CAtomicLoadingFilterDescriptor::Choose(EAtomicLoadingCriterion criterion, std::uint32_t code) {
    MarkModified();
    SetField(criterion, code);
    m_ulUsedParams |= criterion;
}

void CAtomicLoadingFilterDescriptor::Ignore(EAtomicLoadingCriterion criterion) {
    MarkModified();
    m_ulUsedParams &= ~static_cast<std::uint32_t>(criterion);
}

void CAtomicLoadingFilterDescriptor::SetObjectName(const std::string& text) {
    MarkModified();
    const bool ignored = text.empty() || text == QV_ITEM_IGNORED;
    m_template->SetObjectName(ignored ? QV_ITEM_IGNORED : text);
    if (ignored)
        m_ulUsedParams &= ~static_cast<std::uint32_t>(LOADING_BY_OBJECT_NAME);
    else
        m_ulUsedParams |= LOADING_BY_OBJECT_NAME;
}

void CAtomicLoadingFilterDescriptor::SerializeOwnXml(CConfigArchive& a) {
    {
        CConfigSection section(a, "CAtomicLoadingInfoContainer");
        CAtomicLoadingInfoContainer::Fields f = m_template->Get();
        std::string time = m_template->CreationTime();
        a.SerializeString("m_csCreationTime", &time);
        a.SerializeUI4("m_ulObjectId", &f.objectId);
        a.SerializeUI4("m_ulEventType", &f.eventType);
        a.SerializeUI4("m_ulDataType", &f.dataType);
        a.SerializeString("m_csObjectName", &f.objectName);
        a.SerializeUI4("m_ulLoadCount", &f.loadCount);
        a.SerializeUI4("m_ulRefCount", &f.referenceCount);
        a.SerializeUI4("m_ulLoadState", &f.loadState);
        a.SerializeUI4("m_ulObjectSize", &f.objectSize);
        if (a.IsLoading()) {
            m_template->Set(f);
            m_template->SetCreationTime(time);
        }
    }
    a.SerializeUI4("m_ulUsedParams", &m_ulUsedParams);
    a.SerializeString("m_csObjectId", &m_csObjectId);
    a.SerializeString("m_csRefCount", &m_csRefCount);
    a.SerializeString("m_csLoadCount", &m_csLoadCount);
}

void CAtomicLoadingFilterDescriptor::StoreOwn(CLegacyArchiveWriter& a) const {
    a.WriteUInt32(1);
    const CAtomicLoadingInfoContainer::Fields f = m_template->Get();
    a.WriteUInt32(1);  // the template's own block
    a.WriteString(m_template->CreationTime());
    a.WriteUInt32(f.objectId);
    a.WriteUInt32(f.eventType);
    a.WriteUInt32(f.dataType);
    a.WriteString(f.objectName);
    a.WriteUInt32(f.loadCount);
    a.WriteUInt32(f.referenceCount);
    a.WriteUInt32(f.loadState);
    a.WriteUInt32(m_ulUsedParams);
    a.WriteString(m_csObjectId);
    a.WriteString(m_csLoadCount);
    a.WriteString(m_csRefCount);
}

int CAtomicLoadingFilterDescriptor::LoadOwn(CLegacyArchiveReader& a) {
    std::uint32_t version = 0, templateVersion = 0;
    if (!a.ReadUInt32(&version)) return 3;
    if (version != 1) return 2;
    if (!a.ReadUInt32(&templateVersion)) return 3;
    if (templateVersion != 1) return 2;
    CAtomicLoadingInfoContainer::Fields f = m_template->Get();
    std::string time;
    if (!a.ReadString(&time) || !a.ReadUInt32(&f.objectId) || !a.ReadUInt32(&f.eventType) ||
        !a.ReadUInt32(&f.dataType) || !a.ReadString(&f.objectName) || !a.ReadUInt32(&f.loadCount) ||
        !a.ReadUInt32(&f.referenceCount) || !a.ReadUInt32(&f.loadState) || !a.ReadUInt32(&m_ulUsedParams) ||
        !a.ReadString(&m_csObjectId) || !a.ReadString(&m_csLoadCount) || !a.ReadString(&m_csRefCount))
        return 3;
    m_template->Set(f);
    m_template->SetCreationTime(time);
    return 0;
}

bool MatchAtomicLoading(const CInfoContainer& record, const CFilterDescriptor& descriptor, std::uint32_t criteria,
                        bool* matched) {
    const auto* r = dynamic_cast<const CAtomicLoadingInfoContainer*>(&record);
    const auto& d = static_cast<const CAtomicLoadingFilterDescriptor&>(descriptor);
    if (!r) {
        *matched = false;
        return false;
    }
    const CAtomicLoadingInfoContainer::Fields got = r->Get(), want = d.Template().Get();
    auto uses = [&](EAtomicLoadingCriterion c) { return (criteria & c) != 0 && d.Uses(c); };
    return CCriteriaMatch(matched)
        .Test(uses(LOADING_BY_OBJECT_ID), got.objectId == want.objectId)
        .Test(uses(LOADING_BY_EVENT_TYPE), got.eventType == want.eventType)
        .Test(uses(LOADING_BY_DATA_TYPE), got.dataType == want.dataType)
        .Test(uses(LOADING_BY_OBJECT_NAME), got.objectName.find(want.objectName) != std::string::npos)
        .Test(uses(LOADING_BY_LOAD_COUNT), got.loadCount == want.loadCount)
        .Test(uses(LOADING_BY_REFERENCE_COUNT), got.referenceCount == want.referenceCount)
        .Test(uses(LOADING_BY_LOAD_STATE), got.loadState == want.loadState)
        .Applies();
}

bool CAtomicLoadingFilter::Match(const CInfoContainer& record, const CFilterDescriptor& descriptor, bool* matched) {
    // Load count, reference count and load state are the atomic loading viewer's criteria.
    return MatchAtomicLoading(record, descriptor,
                              LOADING_BY_OBJECT_ID | LOADING_BY_EVENT_TYPE | LOADING_BY_DATA_TYPE |
                                  LOADING_BY_OBJECT_NAME,
                              matched);
}

void CAtomicLoadingLoggerViewerDoc::DefineColumns() {
    Columns().Define({{IDS_COLUMN_TIME, LOADING_COLUMN_TIME},
                      {IDS_COLUMN_OBJECT_ID_UPPER, LOADING_COLUMN_OBJECT_ID},
                      {IDS_COLUMN_OBJECT_NAME, LOADING_COLUMN_OBJECT_NAME},
                      {IDS_COLUMN_LOADING_EVENT, LOADING_COLUMN_EVENT},
                      {IDS_COLUMN_LOADING_DATA, LOADING_COLUMN_DATA}});
}
