#pragma once
// The atomic loading viewer: the engine's loaded set as the commander last polled
// it, one tree line per object that passes the filter, and two totals. The
// document (kind 8) keeps the layout, the filters and the automatic refresh; the
// refresh itself is CAtomicLoadingRefresh, which the view drives.

#include <cstdint>
#include <map>
#include <string>

#include "AtomicLoadingLogger.h"
#include "ColumnViewerDoc.h"

// The loaded set: one record per object id, ascending.
using CLoadedSet = std::map<std::uint32_t, TInfoPtr<CAtomicLoadingInfoContainer>>;

enum ELoadedColumn : std::int32_t {
    LOADED_COLUMN_OBJECT_ID = 0,
    LOADED_COLUMN_DATA = 1,
    LOADED_COLUMN_REFERENCE_COUNT = 2,
    LOADED_COLUMN_LOAD_COUNT = 3,
    LOADED_COLUMN_OBJECT_NAME = 4,
    LOADED_COLUMN_MEMORY = 5,
    LOADED_COLUMN_TOTAL_MEMORY = 6,
};
std::string LoadedObjectCellText(const CAtomicLoadingInfoContainer& record, std::int32_t column);

// The viewer's filter: the logger's descriptor, but the event type does not apply
// to a loaded object, and the counts and load state do.
class CAtomicLoadingViewerFilter final : public CFilter {
protected:
    std::unique_ptr<CFilterDescriptor> CreateDescriptor() override {
        return std::make_unique<CAtomicLoadingFilterDescriptor>();
    }
    bool Match(const CInfoContainer& record, const CFilterDescriptor& descriptor, bool* matched) override;
};

class CAtomicLoadingViewerDoc final : public CColumnViewerDoc {
public:
    int ViewerKind() const override { return 8; }
    int SourceKind() const override { return 0; }
    int LoadArchive(IProjectDocument* owner, CLegacyArchiveReader& archive) override;
    void StoreArchive(CLegacyArchiveWriter& archive) const override;
    int SerializeXml(CConfigArchive& archive) override;

    bool AutoRefresh() const { return m_bAutoRefresh != 0; }
    void SetAutoRefresh(bool on);
    std::int32_t RefreshInterval() const { return m_nRefreshInterval; }
    void SetRefreshInterval(std::int32_t seconds);

protected:
    std::unique_ptr<CFilter> CreateFilter() override { return std::make_unique<CAtomicLoadingViewerFilter>(); }
    void DefineColumns() override;

private:
    std::int32_t m_bAutoRefresh = 0;
    std::int32_t m_nRefreshInterval = 0;
};

// What the refresh needs of the view's tree: one top-level line per object id.
struct ILoadedObjectTree {
    virtual void InsertItem(const CAtomicLoadingInfoContainer& record) = 0;  // after the last line
    virtual void UpdateItem(const CAtomicLoadingInfoContainer& record) = 0;
    virtual void DeleteItem(std::uint32_t objectId) = 0;
    virtual void SetRedraw(bool on) = 0;

protected:
    ~ILoadedObjectTree() = default;
};

class CAtomicLoadingRefresh {
public:
    // Brings the tree in line with the loaded set (none while the commander is off:
    // the tree stays, the totals read 0). The first-occurrence rule of the filter
    // holds across refreshes.
    void Refresh(const CLoadedSet* loaded, CFilter* filter, ILoadedObjectTree& tree);
    std::uint64_t Total() const { return m_ullTotal; }
    std::uint64_t FilteredTotal() const { return m_ullFiltered; }
    std::string TotalText() const;
    std::string FilteredTotalText() const;
    bool IsShown(std::uint32_t objectId) const { return m_shown.count(objectId) != 0; }

private:
    std::map<std::uint32_t, bool> m_shown;  // object ids with a line
    std::uint64_t m_ullTotal = 0;
    std::uint64_t m_ullFiltered = 0;
};
