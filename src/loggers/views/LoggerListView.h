#pragma once
// A logger's list as the user sees it: a toolbar of four commands over a virtual
// table of the kept rows, newest on top, whose columns are shown, hidden and
// reordered through the header (drag and drop, and a menu on right click). The
// loggers differ only in their traits: which document and source they show, their
// texts and their cells.

#include <QAction>
#include <QMenu>
#include <QTableView>
#include <QWidget>
#include <memory>

#include "LoggerRows.h"
#include "LoggerTableModel.h"
#include "MessageTarget.h"
#include "QuorvelDoc.h"

struct SLoggerViewTraits {
    int nViewerKind;
    int nSourceKind;
    int nColumnCommandBase;  // the header menu's command for column i is this plus i
    int nColumnMargin;       // added to a header's text width for columns without a width
    // Tooltips of the toolbar's commands 9603 (empty history), 9600 (empty list),
    // 9601 (refresh) and 9602 (disable refresh), in this order.
    const char* pszTips[4];
    CLoggerRows::CellText cell;
};

inline constexpr int ID_EMPTY_LIST = 9600;
inline constexpr int ID_REFRESH = 9601;
inline constexpr int ID_DISABLE_REFRESH = 9602;
inline constexpr int ID_EMPTY_HISTORY = 9603;
inline constexpr int ID_HIDE_ALL_COLUMNS = 32787;
inline constexpr int ID_DISPLAY_ALL_COLUMNS = 32789;

class CLoggerListView : public QWidget {
    Q_OBJECT
public:
    // The document must hold the traits' viewer document and logger source.
    CLoggerListView(CQuorvelDoc& document, SLoggerViewTraits traits, QWidget* parent = nullptr);
    ~CLoggerListView() override;

    // The layout on screen into the document (before a save, on destruction, before the column menu).
    void SaveLayout();
    // The header's column menu, built afresh (the layout is saved first).
    std::unique_ptr<QMenu> BuildColumnMenu();
    void RunCommand(int id);

    QTableView* Table() const { return m_table; }
    CLoggerTableModel* Model() const { return m_model; }
    CLoggerRows& Rows() { return *m_rows; }
    QAction* Action(int id) const;
    IMessageTarget& Window() { return m_window; }

private:
    void OnMessage(std::uint32_t message, std::uintptr_t wParam);
    void ShowColumn(std::int32_t id);
    void HideColumn(std::int32_t id);
    void ShowHeaderMenu(const QPoint& at);

    CQuorvelDoc& m_document;
    const SLoggerViewTraits m_traits;
    CLoggerViewerDoc& m_viewerDoc;
    CMessageTarget m_window;
    std::unique_ptr<CLoggerRows> m_rows;
    CLoggerTableModel* m_model = nullptr;
    QTableView* m_table = nullptr;
};
