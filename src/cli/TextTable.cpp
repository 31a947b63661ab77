#include "TextTable.h"

#include <algorithm>
#include <cstdio>

namespace {
// Cells are padded to their header's width, and to at least this.
constexpr std::size_t kMinCellWidth = 10;
constexpr std::size_t kTagWidth = 8;

void Append(std::string* line, const std::string& cell, std::size_t width) {
    *line += cell;
    if (cell.size() < width) line->append(width - cell.size(), ' ');
    *line += "  ";
}
}  // namespace

void CTextTable::PrintRow(const char* tag, const CColumnSet& columns,
                          const std::function<std::string(std::int32_t)>& cell) {
    std::string header;
    Append(&header, tag, kTagWidth);
    std::string row = header;
    for (std::int32_t id : columns.Order()) {
        const CLCColumnInfo* column = columns.Find(id);
        if (!column || !column->m_bIsVisible) continue;
        const std::string text = cell(id);
        std::size_t& width = m_widths[id];
        width = std::max({width, column->m_csHeader.size(), kMinCellWidth, text.size()});
        Append(&header, column->m_csHeader, width);
        Append(&row, text, width);
    }
    while (!row.empty() && row.back() == ' ') row.pop_back();
    while (!header.empty() && header.back() == ' ') header.pop_back();
    if (header != m_header) {
        std::printf("%s\n", header.c_str());
        m_header = header;
    }
    std::printf("%s\n", row.c_str());
    std::fflush(stdout);
}
