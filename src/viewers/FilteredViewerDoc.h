#pragma once
// A viewer document with named filters, one of which may be current.

#include <memory>
#include <string>
#include <vector>

#include "Filter.h"
#include "ViewerDoc.h"

class CFilteredViewerDoc : public CViewerDoc {
public:
    CFilter* AddNewFilter();
    int FindFilter(const std::string& name) const;
    CFilter* GetFilter(std::size_t index) const;
    void RemoveFilter(std::size_t index);
    void RemoveAllFilters();
    void SetCurrentFilter(CFilter* filter);
    CFilter* GetCurrentFilter() const { return m_pCurrent; }
    std::size_t FilterCount() const { return m_filters.size(); }

    // The "CFilteredViewerDoc" element; 0 on success.
    int SerializeFilteredXml(CConfigArchive& archive);
    void StoreFilteredArchive(CLegacyArchiveWriter& archive) const;
    // 0, 2 for another version, 3 for a damaged block.
    int LoadFilteredArchive(CLegacyArchiveReader& archive);

protected:
    virtual std::unique_ptr<CFilter> CreateFilter() = 0;

private:
    std::vector<std::unique_ptr<CFilter>> m_filters;
    CFilter* m_pCurrent = nullptr;
};
