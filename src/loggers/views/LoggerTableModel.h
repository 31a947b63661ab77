#pragma once
// A logger's rows as a virtual table: the model keeps no text, it asks the rows
// for the cells on screen. Its columns are the list's shown columns in the order
// they were shown; the header's drag and drop decides where each is seen.
// New rows are announced to the table together, at most every 25 ms: telling a
// table of a million rows about 51 new ones at a time costs more than keeping them.

#include <QAbstractTableModel>
#include <QTimer>
#include <vector>

#include "ColumnSet.h"
#include "LoggerRows.h"

class CLoggerTableModel final : public QAbstractTableModel, public ILoggerRowsObserver {
public:
    CLoggerTableModel(CLoggerRows& rows, const CColumnSet& columns, QObject* parent = nullptr);
    ~CLoggerTableModel() override;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    // The list's columns, by the column ids they show (logical order).
    const std::vector<std::int32_t>& ShownIds() const { return m_shown; }
    int LogicalIndexOf(std::int32_t id) const;
    void AppendColumn(std::int32_t id);
    void RemoveColumn(std::int32_t id);
    void RemoveAllColumns();

    void RowsInsertedAtTop(std::size_t count) override;
    void RowsReset() override;
    // Announces the rows not announced yet.
    void Flush();

private:
    CLoggerRows& m_rows;
    const CColumnSet& m_columns;
    std::vector<std::int32_t> m_shown;
    int m_nRows = 0;     // what the table was told
    int m_nPending = 0;  // newer rows, on top, not announced yet
    QTimer m_flush;
};
