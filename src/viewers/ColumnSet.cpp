#include "ColumnSet.h"

#include <cstdio>

#include "StringTable.h"

namespace {
constexpr std::int32_t kDefaultLoadedWidth = 40;
// A column count no list comes near; a larger one marks a damaged block.
constexpr std::uint32_t kMaxColumns = 4096;
}  // namespace

void CColumnSet::Define(const std::vector<Definition>& table) {
    std::vector<HeaderDefinition> headers;
    for (const Definition& d : table) headers.push_back({QvString(d.nStringId), d.nColumnId});
    Define(headers);
}

void CColumnSet::Define(const std::vector<HeaderDefinition>& table) {
    m_order.clear();
    for (const HeaderDefinition& d : table) {
        auto column = std::make_unique<CLCColumnInfo>();
        column->m_nId = d.nColumnId;
        column->m_csHeader = d.pszHeader;
        m_columns[d.nColumnId] = std::move(column);
        m_order.push_back(d.nColumnId);
    }
}

CLCColumnInfo* CColumnSet::Find(std::int32_t id) {
    auto it = m_columns.find(id);
    return it == m_columns.end() ? nullptr : it->second.get();
}

const CLCColumnInfo* CColumnSet::Find(std::int32_t id) const { return const_cast<CColumnSet*>(this)->Find(id); }

void CColumnSet::HideAll() {
    for (auto& [id, column] : m_columns) column->m_bIsVisible = 0;
    Modified();
}

void CColumnSet::SetOrder(const std::vector<std::int32_t>& ids) {
    m_order = ids;
    Modified();
}

void CColumnSet::Clear() {
    m_columns.clear();
    m_order.clear();
    Modified();
}

void CColumnSet::SaveLayout(const std::vector<std::pair<std::int32_t, std::int32_t>>& shown) {
    HideAll();
    for (auto& [id, column] : m_columns) column->m_nDisplayPosition = -1;
    std::vector<std::int32_t> order;
    for (std::size_t p = 0; p < shown.size(); ++p) {
        CLCColumnInfo* column = Find(shown[p].first);
        if (!column) continue;
        column->m_nWidth = shown[p].second;
        column->m_bIsVisible = 1;
        column->m_nDisplayPosition = static_cast<std::int32_t>(p);
        order.push_back(column->m_nId);
    }
    SetOrder(order);
}

std::int32_t CColumnSet::ShownWidth(const CLCColumnInfo& column,
                                    const std::function<int(const std::string&)>& textWidth, int margin) {
    return column.m_nWidth != 0 ? column.m_nWidth : textWidth(column.m_csHeader) + margin;
}

void CColumnSet::SerializeXml(CConfigArchive& archive) {
    int index = 0;
    for (auto& [id, column] : m_columns) {
        CConfigSection section(archive, "CLCColumnInfo", index++);
        if (archive.IsLoading()) {
            // A column the file does not mention keeps its definition (shown at its
            // text width); one it mentions without a width gets 40.
            if (archive.InMissingSection()) continue;
            column->m_bIsVisible = archive.ReadI4("m_bIsVisible", 1);
            column->m_nWidth = archive.ReadI4("m_nWidth", kDefaultLoadedWidth);
        } else {
            archive.WriteI4("m_bIsVisible", column->m_bIsVisible);
            archive.WriteI4("m_nWidth", column->m_nWidth);
        }
    }
    if (!archive.IsLoading()) {
        archive.WriteI4("visibleCount", static_cast<std::int32_t>(m_order.size()));
        for (std::size_t p = 0; p < m_order.size(); ++p)
            archive.WriteI4("m_columnOrder_" + std::to_string(p), m_order[p]);
        return;
    }
    std::int32_t count = archive.ReadI4("visibleCount", static_cast<std::int32_t>(m_columns.size()));
    // An order longer than the defined columns, or negative, cannot be right.
    if (count < 0 || static_cast<std::size_t>(count) > m_columns.size()) count = static_cast<std::int32_t>(m_columns.size());
    m_order.resize(static_cast<std::size_t>(count), 0);
    for (std::size_t p = 0; p < m_order.size(); ++p)
        m_order[p] = archive.ReadI4("m_columnOrder_" + std::to_string(p), m_order[p]);
}

void CColumnSet::StoreLegacy(CLegacyArchiveWriter& archive) const {
    archive.WriteUInt32(1);
    archive.WriteCount(static_cast<std::uint32_t>(m_columns.size()));
    for (const auto& [id, column] : m_columns) {
        archive.WriteUInt32(1);
        archive.WriteInt32(column->m_nId);
        archive.WriteString(column->m_csHeader);
        archive.WriteInt32(column->m_bIsVisible);
        archive.WriteInt32(column->m_nWidth);
    }
    archive.WriteCount(static_cast<std::uint32_t>(m_order.size()));
    for (std::int32_t id : m_order) archive.WriteInt32(id);
}

int CColumnSet::LoadLegacy(CLegacyArchiveReader& archive) {
    std::uint32_t version = 0, count = 0;
    if (!archive.ReadUInt32(&version)) return 3;
    if (version != 1) return 2;
    if (!archive.ReadCount(&count) || count > kMaxColumns) return 3;
    for (std::uint32_t i = 0; i < count; ++i) {
        std::uint32_t columnVersion = 0;
        auto column = std::make_unique<CLCColumnInfo>();
        if (!archive.ReadUInt32(&columnVersion)) return 3;
        if (columnVersion != 1) return 2;  // the rest of the block cannot be read reliably
        if (!archive.ReadInt32(&column->m_nId) || !archive.ReadString(&column->m_csHeader) ||
            !archive.ReadInt32(&column->m_bIsVisible) || !archive.ReadInt32(&column->m_nWidth))
            return 3;
        m_columns[column->m_nId] = std::move(column);
    }
    std::uint32_t length = 0;
    if (!archive.ReadCount(&length) || length > kMaxColumns) return 3;
    std::vector<std::int32_t> order(length);
    for (std::int32_t& id : order)
        if (!archive.ReadInt32(&id)) return 3;
    m_order = std::move(order);
    return 0;
}
