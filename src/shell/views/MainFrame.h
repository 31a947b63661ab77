#pragma once
// The main window: menu, two toolbars, the navigator bar (the "Quorvel" tree and
// the "Connections" tab), the context bar, the viewer tabs in the middle and the
// status bar with the connection's and the editor's state. It receives the
// project's status and connection-lost messages and hears every document update.

#include <QLabel>
#include <QMainWindow>
#include <QStringList>

#include "ContextBar.h"
#include "KeyStore.h"
#include "MessageTarget.h"
#include "ModuleView.h"
#include "Prompt.h"
#include "QuorvelDoc.h"
#include "QuorvelView.h"

class CConnectionView;

inline constexpr const char* QV_SETTINGS_KEY = "Software\\Tarnwick\\Quorvel\\";
inline constexpr const char* QV_BAR_STATES_KEY = "Software\\Tarnwick\\Quorvel\\BarStates\\";
inline constexpr int QV_RECENT_FILES = 4;

class CMainFrame final : public QMainWindow, public IDocumentView {
    Q_OBJECT
public:
    CMainFrame(CQuorvelDoc& document, IPrompt& prompt, CKeyStore& settings = CKeyStore::User());
    ~CMainFrame() override;

    void OnUpdate(int hint) override;
    void RefreshStatusBar();

    // File commands; false when the user's file could not be used (they were told why).
    bool NewProject();
    bool OpenProject(const QString& path);
    bool SaveProject();
    bool SaveProjectAs(const QString& path);
    // Asks whether to save a modified project; false when saving failed.
    bool SaveModified();
    QStringList RecentFiles() const { return m_recent; }
    // The command line's --connect: a connection record's name, or HOST[:PORT]
    // (the engine's default port when none is given).
    void ConnectAtStart(const QString& target);

    // The status bar's texts, left to right, for what is shown.
    QString MessageText() const { return m_message->text(); }
    QString ConnectionText() const { return ConnectionTextShown() ? m_connectionText->text() : QString(); }
    bool ConnectionTextShown() const { return !m_connectionText->isHidden(); }
    bool ConnectedIconShown() const { return m_bConnectedIcon; }
    QString EditorText() const { return m_editor->text(); }

    CQuorvelView& View() const { return *m_view; }
    CModuleView& Navigator() const { return *m_navigator; }
    CConnectionView& Connections() const { return *m_connections; }
    CContextBar& ContextBar() const { return *m_contextBar; }
    QAction* Action(int id) const;
    IMessageTarget& Target() { return m_target; }

    // The saved layout of bars, applied only when every bar it names exists.
    void SaveBarState();
    bool RestoreBarState();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void CreateMenusAndToolbars();
    void CreateBars();
    void OnMessage(std::uint32_t message);
    void UpdateEditActions();
    void AddRecentFile(const QString& path);
    void RebuildRecentMenu();
    void LoadRecentFiles();
    void UpdateTitle();

    CQuorvelDoc& m_document;
    IPrompt& m_prompt;
    CKeyStore& m_settings;
    CMessageTarget m_target;
    CContextBar* m_contextBar = nullptr;
    CQuorvelView* m_view = nullptr;
    CModuleView* m_navigator = nullptr;
    CConnectionView* m_connections = nullptr;
    QLabel* m_message = nullptr;
    QLabel* m_connectionText = nullptr;
    QLabel* m_connectionIcon = nullptr;
    QLabel* m_editor = nullptr;
    QMenu* m_recentMenu = nullptr;
    QObject* m_editWatcher = nullptr;
    QStringList m_recent;
    bool m_bConnectedIcon = false;
};
