#pragma once
// Aligned text lines: each cell padded to its column's width (its header's, at least
// 10, widened for good by a longer cell), the header line printed before the first
// row and again whenever the columns or their widths change.

#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "ColumnSet.h"

class CTextTable {
public:
    // The shown columns of a layout, in display order; cells come from cell(id).
    void PrintRow(const char* tag, const CColumnSet& columns, const std::function<std::string(std::int32_t)>& cell);
    // Prints the header before the next row even if the columns did not change.
    void RepeatHeader() { m_header.clear(); }

private:
    std::string m_header;
    std::map<std::int32_t, std::size_t> m_widths;
};
