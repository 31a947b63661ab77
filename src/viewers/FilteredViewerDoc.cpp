#include "FilteredViewerDoc.h"

namespace {
constexpr std::int32_t kMaxFilters = 100000;
}

CFilter* CFilteredViewerDoc::AddNewFilter() {
    MarkModified();
    std::unique_ptr<CFilter> filter = CreateFilter();
    filter->SetOwner(ModifiedSink());
    m_filters.push_back(std::move(filter));
    return m_filters.back().get();
}

int CFilteredViewerDoc::FindFilter(const std::string& name) const {
    for (std::size_t i = 0; i < m_filters.size(); ++i)
        if (m_filters[i]->GetName() == name) return static_cast<int>(i);
    return -1;
}

CFilter* CFilteredViewerDoc::GetFilter(std::size_t index) const {
    return index < m_filters.size() ? m_filters[index].get() : nullptr;
}

void CFilteredViewerDoc::RemoveFilter(std::size_t index) {
    MarkModified();
    if (index >= m_filters.size()) return;
    if (m_pCurrent == m_filters[index].get()) m_pCurrent = nullptr;
    m_filters.erase(m_filters.begin() + static_cast<std::ptrdiff_t>(index));
}

void CFilteredViewerDoc::RemoveAllFilters() {
    MarkModified();
    m_pCurrent = nullptr;
    m_filters.clear();
}

void CFilteredViewerDoc::SetCurrentFilter(CFilter* filter) {
    MarkModified();
    if (m_pCurrent) m_pCurrent->ClearSeenKeys();
    m_pCurrent = filter;
    if (m_pCurrent) m_pCurrent->ClearSeenKeys();
}

int CFilteredViewerDoc::SerializeFilteredXml(CConfigArchive& archive) {
    CConfigSection section(archive, "CFilteredViewerDoc");
    if (archive.IsLoading()) {
        const std::int32_t count = archive.ReadI4("nFilterNumber", 0);
        // A count beyond the sections the file holds is damage, not defaults to make up.
        for (std::int32_t i = 0; i < count && i < kMaxFilters; ++i) {
            CConfigSection filterSection(archive, "CFilter", i);
            if (archive.InMissingSection()) break;
            AddNewFilter()->SerializeXml(archive);
        }
        const std::int32_t current = archive.ReadI4("nCurrentFilterIndex", -1);
        m_pCurrent = current >= 0 ? GetFilter(static_cast<std::size_t>(current)) : nullptr;
        return 0;
    }
    archive.WriteI4("nFilterNumber", static_cast<std::int32_t>(m_filters.size()));
    for (const auto& filter : m_filters) {
        CConfigSection filterSection(archive, "CFilter");
        filter->SerializeXml(archive);
    }
    if (m_pCurrent) archive.WriteI4("nCurrentFilterIndex", FindFilter(m_pCurrent->GetName()));
    return 0;
}

void CFilteredViewerDoc::StoreFilteredArchive(CLegacyArchiveWriter& archive) const {
    archive.WriteUInt32(1);
    archive.WriteInt32(static_cast<std::int32_t>(m_filters.size()));
    for (const auto& filter : m_filters) filter->StoreArchive(archive);
    archive.WriteInt32(m_pCurrent ? FindFilter(m_pCurrent->GetName()) : -1);
}

int CFilteredViewerDoc::LoadFilteredArchive(CLegacyArchiveReader& archive) {
    std::uint32_t version = 0;
    std::int32_t count = 0, current = -1;
    if (!archive.ReadUInt32(&version)) return 3;
    if (version != 1) return 2;
    if (!archive.ReadInt32(&count) || count < 0 || count > kMaxFilters) return 3;
    for (std::int32_t i = 0; i < count; ++i)
        if (const int r = AddNewFilter()->LoadArchive(archive)) return r;
    if (!archive.ReadInt32(&current)) return 3;
    m_pCurrent = current >= 0 ? GetFilter(static_cast<std::size_t>(current)) : nullptr;
    return 0;
}
