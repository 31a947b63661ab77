#include "ColumnViewerDoc.h"

int CColumnViewerDoc::Initialise(IProjectDocument* owner) {
    if (!CFilteredViewerDoc::Initialise(owner)) return 0;
    DefineColumns();
    return 1;
}

void CColumnViewerDoc::Reset() {
    m_columns.Clear();
    RemoveAllFilters();
}

int CColumnViewerDoc::SerializeColumnViewerXml(CConfigArchive& archive) {
    CConfigSection section(archive, "CColumnViewerDoc");
    if (archive.IsLoading()) DefineColumns();
    if (const int r = SerializeFilteredXml(archive)) return r;
    m_columns.SerializeXml(archive);
    return 0;
}

void CColumnViewerDoc::StoreColumnViewerArchive(CLegacyArchiveWriter& archive) const {
    StoreFilteredArchive(archive);
    m_columns.StoreLegacy(archive);
}

int CColumnViewerDoc::LoadColumnViewerArchive(CLegacyArchiveReader& archive) {
    if (const int r = LoadFilteredArchive(archive)) return r;
    DefineColumns();
    return m_columns.LoadLegacy(archive);
}

void CLoggerViewerDoc::SetRefreshList(bool on) {
    MarkModified();
    m_bRefreshList = on ? 1 : 0;
}

int CLoggerViewerDoc::SerializeXml(CConfigArchive& archive) {
    CConfigSection section(archive, ClassName());
    if (const int r = SerializeColumnViewerXml(archive)) return r;
    archive.SerializeI4("m_bRefreshList", &m_bRefreshList);
    return 0;
}

void CLoggerViewerDoc::StoreArchive(CLegacyArchiveWriter& archive) const {
    StoreColumnViewerArchive(archive);
    archive.WriteUInt32(1);
    archive.WriteInt32(m_bRefreshList);
}

int CLoggerViewerDoc::LoadArchive(IProjectDocument* owner, CLegacyArchiveReader& archive) {
    if (!owner) return 3;
    SetOwner(owner);
    if (const int r = LoadColumnViewerArchive(archive)) return r;
    std::uint32_t version = 0;
    if (!archive.ReadUInt32(&version)) return 3;
    if (version != 1) return 2;
    return archive.ReadInt32(&m_bRefreshList) ? 0 : 3;
}
