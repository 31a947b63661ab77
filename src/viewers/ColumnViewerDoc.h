#pragma once
// A filtered viewer document whose list has a column layout.

#include "ColumnSet.h"
#include "FilteredViewerDoc.h"

class CColumnViewerDoc : public CFilteredViewerDoc {
public:
    CColumnViewerDoc() {
        m_columns.SetModifiedHook([this] { MarkModified(); });
    }
    int Initialise(IProjectDocument* owner) override;
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

// The viewer document of a logger: a column viewer document with a switch for live
// updates, saved inside an element named after the document class.
class CLoggerViewerDoc : public CColumnViewerDoc {
public:
    bool RefreshList() const { return m_bRefreshList != 0; }
    void SetRefreshList(bool on);

    int SerializeXml(CConfigArchive& archive) override;
    void StoreArchive(CLegacyArchiveWriter& archive) const override;
    int LoadArchive(IProjectDocument* owner, CLegacyArchiveReader& archive) override;

protected:
    virtual const char* ClassName() const = 0;

private:
    std::int32_t m_bRefreshList = 1;
};
