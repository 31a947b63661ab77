#include "LoggerTableModel.h"

#include <algorithm>

CLoggerTableModel::CLoggerTableModel(CLoggerRows& rows, const CColumnSet& columns, QObject* parent)
    : QAbstractTableModel(parent), m_rows(rows), m_columns(columns), m_nRows(static_cast<int>(rows.RowCount())) {
    m_rows.SetObserver(this);
    m_flush.setSingleShot(true);
    m_flush.setInterval(25);
    connect(&m_flush, &QTimer::timeout, this, &CLoggerTableModel::Flush);
}

CLoggerTableModel::~CLoggerTableModel() { m_rows.SetObserver(nullptr); }

int CLoggerTableModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : m_nRows; }

int CLoggerTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_shown.size());
}

QVariant CLoggerTableModel::data(const QModelIndex& index, int role) const {
    if (role != Qt::DisplayRole || !index.isValid() || index.row() >= m_nRows ||
        index.column() >= static_cast<int>(m_shown.size()))
        return {};
    return QString::fromStdString(
        m_rows.Cell(static_cast<std::size_t>(index.row() + m_nPending), m_shown[index.column()]));
}

QVariant CLoggerTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || section < 0 || section >= static_cast<int>(m_shown.size())) return {};
    if (role == Qt::DisplayRole) {
        const CLCColumnInfo* column = m_columns.Find(m_shown[section]);
        return column ? QString::fromStdString(column->m_csHeader) : QString();
    }
    if (role == Qt::TextAlignmentRole) return QVariant::fromValue(Qt::AlignLeft | Qt::AlignVCenter);
    return {};
}

int CLoggerTableModel::LogicalIndexOf(std::int32_t id) const {
    const auto it = std::find(m_shown.begin(), m_shown.end(), id);
    return it == m_shown.end() ? -1 : static_cast<int>(it - m_shown.begin());
}

void CLoggerTableModel::AppendColumn(std::int32_t id) {
    if (LogicalIndexOf(id) >= 0) return;
    const int at = static_cast<int>(m_shown.size());
    beginInsertColumns({}, at, at);
    m_shown.push_back(id);
    endInsertColumns();
}

void CLoggerTableModel::RemoveColumn(std::int32_t id) {
    const int at = LogicalIndexOf(id);
    if (at < 0) return;
    beginRemoveColumns({}, at, at);
    m_shown.erase(m_shown.begin() + at);
    endRemoveColumns();
}

void CLoggerTableModel::RemoveAllColumns() {
    beginResetModel();
    m_shown.clear();
    m_nRows = static_cast<int>(m_rows.RowCount());
    m_nPending = 0;
    endResetModel();
}

void CLoggerTableModel::RowsInsertedAtTop(std::size_t count) {
    if (count == 0) return;
    m_nPending += static_cast<int>(count);
    if (!m_flush.isActive()) m_flush.start();
}

void CLoggerTableModel::Flush() {
    m_flush.stop();
    if (m_nPending == 0) return;
    beginInsertRows({}, 0, m_nPending - 1);
    m_nRows += m_nPending;
    m_nPending = 0;
    endInsertRows();
}

void CLoggerTableModel::RowsReset() {
    m_flush.stop();
    beginResetModel();
    m_nRows = static_cast<int>(m_rows.RowCount());
    m_nPending = 0;
    endResetModel();
}
