#pragma once
// A list's columns written once: id, header and how a record's cell is formatted.
// The column set is defined from it and every cell is looked up in it.

#include <cstdint>
#include <span>
#include <string>

#include "ColumnSet.h"

template <class Record>
struct TColumnSpec {
    std::int32_t nId;
    const char* pszHeader;
    std::string (*cell)(const Record&);
};

// Defines the columns in table order, all visible.
template <class Record>
void DefineColumns(CColumnSet& set, std::span<const TColumnSpec<Record>> table) {
    std::vector<CColumnSet::HeaderDefinition> headers;
    headers.reserve(table.size());
    for (const TColumnSpec<Record>& c : table) headers.push_back({c.pszHeader, c.nId});
    set.Define(headers);
}

// The cell of column id, "N/A" for an id the table does not have.
template <class Record>
std::string ColumnCellText(std::span<const TColumnSpec<Record>> table, const Record& record, std::int32_t id) {
    for (const TColumnSpec<Record>& c : table)
        if (c.nId == id) return c.cell(record);
    return "N/A";
}

// printf into a std::string; cells are short.
std::string FormatCell(const char* format, ...) __attribute__((format(printf, 1, 2)));
