#pragma once
// What a logger view shows, without the widgets: the rows it keeps (newest on
// top), how records reach them from the source's queue (at most 51 per wake-up,
// the rest after a re-posted message), and the view's commands: refresh from
// history, empty the list, empty the history, switch live updates off. A view
// (or quorvel-cli) owns one, gives it its window and paints its cells.

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "ColumnViewerDoc.h"
#include "LoggerSource.h"


// Told when the rows change, so that a virtual list can follow.
struct ILoggerRowsObserver {
    virtual void RowsInsertedAtTop(std::size_t count) = 0;
    virtual void RowsReset() = 0;

protected:
    ~ILoggerRowsObserver() = default;
};

class CLoggerRows {
public:
    using CellText = std::function<std::string(const CInfoContainer&, std::int32_t column)>;

    CLoggerRows(CLoggerViewerDoc& document, CLoggerSource& source, IMessageTarget& window, CellText cell)
        : m_document(document), m_source(source), m_window(window), m_cell(std::move(cell)) {}
    ~CLoggerRows();
    CLoggerRows(const CLoggerRows&) = delete;
    CLoggerRows& operator=(const CLoggerRows&) = delete;

    void SetObserver(ILoggerRowsObserver* observer) { m_pObserver = observer; }

    // The view was created: live updates and the history, if the document wants them.
    void Start();
    // The view goes: no more records for it.
    void Stop() { m_source.RemoveQueue(&m_window); }

    // The window's WM_INFO_QUEUE message; records handled. A message naming a queue
    // that is no longer the window's (replaced by a refresh) is ignored.
    std::size_t OnQueueMessage(std::uintptr_t wParam);
    void Refresh();
    void DisableRefresh();
    void EmptyList();
    void EmptyHistory() { m_source.EmptyHistory(); }
    // After the columns changed: the kept rows again, unfiltered.
    void Redisplay();

    std::size_t RowCount() const { return m_rows.size(); }
    // Row 0 is the newest.
    const CInfoContainer& Row(std::size_t row) const { return *m_rows[m_rows.size() - 1 - row]; }
    std::string Cell(std::size_t row, std::int32_t column) const { return m_cell(Row(row), column); }

private:
    // Whether the record was kept.
    bool AddRecord(CInfoContainer* record, bool filter);
    void ReleaseRows();

    CLoggerViewerDoc& m_document;
    CLoggerSource& m_source;
    IMessageTarget& m_window;
    CellText m_cell;
    ILoggerRowsObserver* m_pObserver = nullptr;
    std::vector<TInfoPtr<CInfoContainer>> m_rows;  // oldest first
};
