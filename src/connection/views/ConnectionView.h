#pragma once
// The "Connections" tab of the navigator bar: the project's connection records as
// an expandable property list, with a toolbar to create, remove, import, export
// them and to connect to and disconnect from the engine.

#include <QStringList>
#include <QWidget>
#include <map>

#include "ConnectionRecord.h"

class QAction;
class QToolBar;
class QTreeWidgetItem;
class CConnectionInfoDlg;
class CConnectionViewDoc;
class CPropertyGrid;
class CQuorvelDoc;
struct IPrompt;

// The toolbar's commands; each action's object name is its number.
enum EConnectionCommand : int {
    CMD_CONNECTION_NEW = 9500,
    CMD_CONNECTION_REMOVE = 9501,
    CMD_CONNECTION_EXPAND_ALL = 9502,
    CMD_CONNECTION_COLLAPSE_ALL = 9503,
    CMD_CONNECTION_CONNECT = 9504,
    CMD_CONNECTION_DISCONNECT = 9505,
    CMD_CONNECTION_WAIT = 9506,
    CMD_CONNECTION_EXPORT = 9507,
    CMD_CONNECTION_IMPORT = 9508,
};

class CConnectionView : public QWidget {
    Q_OBJECT
public:
    CConnectionView(CQuorvelDoc& document, IPrompt& prompt, QWidget* parent = nullptr);

    // Rebuilds the list from the document's records, all collapsed.
    void Refresh();
    // The work behind the import and export buttons, after their file dialogs.
    void ImportFiles(const QStringList& paths);
    void ExportFile(const QString& path);
    // Connects with this record through the status dialog, then completes the
    // connection on this thread; the connect button uses the focused record.
    void Connect(const CConnectionRecord& record);

    QAction* Action(int command) const;
    QToolBar* ToolBar() const { return m_pToolBar; }
    CPropertyGrid* Grid() const { return m_pGrid; }

signals:
    // A connection was made or closed from this view.
    void ConnectionChanged();

protected:
    // Shows the status dialog modally until it closes.
    virtual void RunStatusDialog(CConnectionInfoDlg& dialog);

private:
    void OnNew();
    void OnRemove();
    void OnExpandAll(bool expand);
    void OnImport();
    void OnExport();
    void OnConnect();
    void OnDisconnect();
    void OnRowChanged(QTreeWidgetItem* row);
    void UpdateButtons();

    CConnectionViewDoc* Records() const;
    QTreeWidgetItem* AddRecordItem(const CConnectionRecord& record, bool expanded);
    void SetGroupCaption(QTreeWidgetItem* group, const std::string& name);
    // False (and the user told why) when the row's new text is refused.
    bool AcceptName(CConnectionRecord& record, const QString& text);
    bool AcceptPort(CConnectionRecord& record, const QString& text);

    CQuorvelDoc& m_document;
    IPrompt& m_prompt;
    QToolBar* m_pToolBar;
    CPropertyGrid* m_pGrid;
    std::map<int, QAction*> m_actions;
};
