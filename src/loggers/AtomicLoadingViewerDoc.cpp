#include "AtomicLoadingViewerDoc.h"

#include <array>

#include "ColumnTable.h"

namespace {

std::string Hex(std::uint32_t value) { return FormatCell("0X%08X", value); }
std::string Number(std::uint32_t value) { return FormatCell("%d", static_cast<std::int32_t>(value)); }

using LoadedColumn = TColumnSpec<CAtomicLoadingInfoContainer>;
// In the order the columns are first shown.
const std::array<LoadedColumn, 7> kLoadedColumns{{
    {LOADED_COLUMN_OBJECT_NAME, "Object Name",
     [](const CAtomicLoadingInfoContainer& r) {
         const std::string name = r.ObjectName();
         return name.empty() ? Hex(r.ObjectId()) : name;
     }},
    {LOADED_COLUMN_OBJECT_ID, "Object ID", [](const CAtomicLoadingInfoContainer& r) { return Hex(r.ObjectId()); }},
    {LOADED_COLUMN_DATA, "Data",
     [](const CAtomicLoadingInfoContainer& r) { return std::string(AtomicLoadingDataTypeName(r.DataType())); }},
    {LOADED_COLUMN_REFERENCE_COUNT, "Ref.Count",
     [](const CAtomicLoadingInfoContainer& r) { return Number(r.ReferenceCount()); }},
    {LOADED_COLUMN_LOAD_COUNT, "Load Count", [](const CAtomicLoadingInfoContainer& r) { return Number(r.LoadCount()); }},
    {LOADED_COLUMN_MEMORY, "Memory (Bytes)", [](const CAtomicLoadingInfoContainer& r) { return Number(r.ObjectSize()); }},
    {LOADED_COLUMN_TOTAL_MEMORY, "Total Memory (Bytes)",
     [](const CAtomicLoadingInfoContainer& r) { return Number(r.TotalSize()); }},
}};

}  // namespace

std::string LoadedObjectCellText(const CAtomicLoadingInfoContainer& record, std::int32_t column) {
    return ColumnCellText<CAtomicLoadingInfoContainer>(kLoadedColumns, record, column);
}

bool CAtomicLoadingViewerFilter::Match(const CInfoContainer& record, const CFilterDescriptor& descriptor,
                                       bool* matched) {
    // A loaded object has no event type.
    return MatchAtomicLoading(record, descriptor,
                              LOADING_BY_OBJECT_ID | LOADING_BY_DATA_TYPE | LOADING_BY_OBJECT_NAME |
                                  LOADING_BY_LOAD_COUNT | LOADING_BY_REFERENCE_COUNT | LOADING_BY_LOAD_STATE,
                              matched);
}

void CAtomicLoadingViewerDoc::DefineColumns() {
    ::DefineColumns<CAtomicLoadingInfoContainer>(Columns(), kLoadedColumns);
}

void CAtomicLoadingViewerDoc::SetAutoRefresh(bool on) {
    MarkModified();
    m_bAutoRefresh = on ? 1 : 0;
}

void CAtomicLoadingViewerDoc::SetRefreshInterval(std::int32_t seconds) {
    MarkModified();
    m_nRefreshInterval = seconds;
}

int CAtomicLoadingViewerDoc::SerializeXml(CConfigArchive& archive) {
    CConfigSection section(archive, "CAtomicLoadingViewerDoc");
    if (const int r = SerializeColumnViewerXml(archive)) return r;
    archive.SerializeI4("m_bAutoRefresh", &m_bAutoRefresh);
    archive.SerializeI4("m_nRefreshInterval", &m_nRefreshInterval);
    return 0;
}

void CAtomicLoadingViewerDoc::StoreArchive(CLegacyArchiveWriter& archive) const {
    StoreColumnViewerArchive(archive);
    archive.WriteUInt32(1);
    archive.WriteInt32(m_bAutoRefresh);
    archive.WriteInt32(m_nRefreshInterval);
}

int CAtomicLoadingViewerDoc::LoadArchive(IProjectDocument* owner, CLegacyArchiveReader& archive) {
    if (!owner) return LOAD_FAILED;
    SetOwner(owner);
    if (const int r = LoadColumnViewerArchive(archive)) return r;
    std::uint32_t version = 0;
    if (!archive.ReadUInt32(&version)) return LOAD_FAILED;
    if (version != 1) return LOAD_BAD_VERSION;
    return archive.ReadInt32(&m_bAutoRefresh) && archive.ReadInt32(&m_nRefreshInterval) ? LOAD_OK : LOAD_FAILED;
}

void CAtomicLoadingRefresh::Refresh(const CLoadedSet* loaded, CFilter* filter, ILoadedObjectTree& tree) {
    m_ullTotal = m_ullFiltered = 0;
    if (!loaded) return;
    tree.SetRedraw(false);
    for (const auto& [id, record] : *loaded) {
        const bool accepted = !filter || filter->Accept(*record) != 0;
        auto shown = m_shown.find(id);
        if (shown == m_shown.end()) {
            if (accepted) {
                tree.InsertItem(*record);
                m_shown.emplace(id, true);
            }
        } else if (accepted) {
            tree.UpdateItem(*record);
        } else {
            tree.DeleteItem(id);
            m_shown.erase(shown);
        }
        const std::uint32_t size = record->ObjectSize();
        m_ullTotal += size;
        if (accepted) m_ullFiltered += size;
    }
    for (auto it = m_shown.begin(); it != m_shown.end();) {
        if (loaded->count(it->first)) {
            ++it;
            continue;
        }
        tree.DeleteItem(it->first);
        it = m_shown.erase(it);
    }
    tree.SetRedraw(true);
}

std::string CAtomicLoadingRefresh::TotalText() const {
    return FormatCell("%s %llu", "Total Memory Usage (Bytes):", static_cast<unsigned long long>(m_ullTotal));
}

std::string CAtomicLoadingRefresh::FilteredTotalText() const {
    return FormatCell("%s %llu", "Filtered Memory Usage (Bytes):", static_cast<unsigned long long>(m_ullFiltered));
}
