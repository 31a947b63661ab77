#include "ColumnViewerDoc.h"

int CColumnViewerDoc::Initialise(CQuorvelDoc* owner) {
    if (!owner) return 0;
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
