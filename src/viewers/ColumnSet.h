#pragma once
// The columns a list may show, and the user's choice of which are shown, in which
// order and how wide. The views only call this; the layout lives in the viewer
// document and is saved in the project.

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "ConfigArchive.h"
#include "LegacyArchive.h"

struct CLCColumnInfo {
    std::int32_t m_nWidth = 0;  // 0: no width set yet
    std::int32_t m_nId = 0;
    std::string m_csHeader;
    std::int32_t m_bIsVisible = 1;
    std::int32_t m_nDisplayPosition = -1;  // not saved
};

// Widths of columns without one: the header's text width plus this margin.
inline constexpr int QV_COLUMN_MARGIN_LOGGER = 16;  // event and resource loggers
inline constexpr int QV_COLUMN_MARGIN_LIST = 50;    // atomic loading, voice and object lists

class CColumnSet {
public:
    struct Definition {
        int nStringId;
        std::int32_t nColumnId;
    };

    // Called after every change (the project becomes modified).
    void SetModifiedHook(std::function<void()> modified) { m_modified = std::move(modified); }

    struct HeaderDefinition {
        const char* pszHeader;
        std::int32_t nColumnId;
    };

    // Defines the columns in table order, all visible, shown in that order.
    void Define(const std::vector<Definition>& table);
    void Define(const std::vector<HeaderDefinition>& table);
    CLCColumnInfo* Find(std::int32_t id);
    const CLCColumnInfo* Find(std::int32_t id) const;
    std::size_t Count() const { return m_columns.size(); }
    void HideAll();
    void SetOrder(const std::vector<std::int32_t>& ids);
    const std::vector<std::int32_t>& Order() const { return m_order; }
    void Clear();

    // A view's layout as it is on screen: the shown columns' ids with their widths,
    // in display order. Every other column becomes hidden.
    void SaveLayout(const std::vector<std::pair<std::int32_t, std::int32_t>>& shown);
    // The width to show a column at: its own, or its header's width plus the margin.
    static std::int32_t ShownWidth(const CLCColumnInfo& column, const std::function<int(const std::string&)>& textWidth,
                                   int margin);

    // The project-file forms. Loading into XML expects the columns to be defined.
    void SerializeXml(CConfigArchive& archive);
    void StoreLegacy(CLegacyArchiveWriter& archive) const;
    // 0, or 2 for a version other than 1, 3 for a damaged block.
    int LoadLegacy(CLegacyArchiveReader& archive);

private:
    void Modified() {
        if (m_modified) m_modified();
    }

    std::map<std::int32_t, std::unique_ptr<CLCColumnInfo>> m_columns;
    std::vector<std::int32_t> m_order;
    std::function<void()> m_modified;
};
