#pragma once
// A filtered viewer document whose list has a column layout.

#include "ColumnSet.h"
#include "FilteredViewerDoc.h"

class CColumnViewerDoc : public CFilteredViewerDoc {
public:
    int Initialise(CQuorvelDoc* owner) override;
    void Reset() override;
    CColumnSet& Columns() { return m_columns; }
    const CColumnSet& Columns() const { return m_columns; }

    // The "CColumnViewerDoc" element: the filters' element, then the layout.
    int SerializeColumnViewerXml(CConfigArchive& archive);
    void StoreColumnViewerArchive(CLegacyArchiveWriter& archive) const;
    int LoadColumnViewerArchive(CLegacyArchiveReader& archive);

protected:
    virtual void DefineColumns() = 0;

private:
    CColumnSet m_columns;
};
