#include "MainFrame.h"

#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QDockWidget>
#include <QFileDialog>
#include <QFileInfo>
#include <QLineEdit>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QStatusBar>
#include <QTabWidget>
#include <QTextEdit>
#include <QToolBar>

#include "AboutDialog.h"
#include "ConnectionView.h"
#include "FilterView.h"
#include "Icons.h"
#include "SettingsDialog.h"
#include "StringTable.h"

namespace {

// The framework's command ids, kept as the actions' names.
enum ECommand : int {
    ID_FILE_NEW = 57600,
    ID_FILE_OPEN = 57601,
    ID_FILE_SAVE = 57603,
    ID_FILE_SAVE_AS = 57604,
    ID_APP_EXIT = 57665,
    ID_EDIT_COPY = 57634,
    ID_EDIT_CUT = 57635,
    ID_EDIT_PASTE = 57637,
    ID_VIEW_NAVIGATOR = 32778,
    ID_VIEW_CONTEXT = 32779,
    ID_VIEW_TOOLBAR2 = 32781,
    ID_VIEW_TOOLBAR1 = 59392,
    ID_VIEW_STATUS_BAR = 59393,
    ID_APP_ABOUT = 57664,
};

constexpr const char* kFileFilter = "Quorvel (*.qvl)";

QString Base64(const QByteArray& bytes) { return QString::fromLatin1(bytes.toBase64()); }

}  // namespace

CMainFrame::CMainFrame(CQuorvelDoc& document, IPrompt& prompt, CKeyStore& settings)
    : m_document(document),
      m_prompt(prompt),
      m_settings(settings),
      m_target([this](std::uint32_t message, std::uintptr_t, std::intptr_t) { OnMessage(message); }) {
    setObjectName("CMainFrame");
    setWindowIcon(QvIcon(EIcon::Connected));
    m_document.SetFrame(&m_target);
    m_document.AddView(this);
    CreateBars();
    CreateMenusAndToolbars();
    LoadRecentFiles();
    RestoreBarState();
    resize(1200, 760);
    RefreshStatusBar();
    UpdateTitle();
    // Focus and selections change while the window's children are destroyed; the
    // watcher goes first, taking these connections with it.
    m_editWatcher = new QObject(this);
    connect(qApp, &QApplication::focusChanged, m_editWatcher, [this] { UpdateEditActions(); });
    connect(QApplication::clipboard(), &QClipboard::dataChanged, m_editWatcher, [this] { UpdateEditActions(); });
    UpdateEditActions();
}

CMainFrame::~CMainFrame() {
    delete m_editWatcher;
    // The worker thread posts to this window while the link runs: it ends first.
    m_document.StopLink();
    m_document.RemoveView(this);
    m_document.SetFrame(nullptr);
    // The tabs go before the document forgets them.
    m_document.Tabs().CloseAll();
}

QAction* CMainFrame::Action(int id) const { return findChild<QAction*>(QString::number(id)); }

void CMainFrame::CreateBars() {
    m_contextBar = new CContextBar(this);
    m_view = new CQuorvelView(m_document, m_prompt, *m_contextBar, this);
    setCentralWidget(m_view);

    auto* navigatorDock = new QDockWidget(QvString(IDS_NAVIGATOR_TITLE), this);
    navigatorDock->setObjectName("1007");
    auto* navigatorTabs = new QTabWidget(navigatorDock);
    navigatorTabs->setObjectName("navigatorTabs");
    m_navigator = new CModuleView(m_document, m_prompt, navigatorTabs);
    m_navigator->SetOpenViewer([this](const std::string& viewClass) { m_view->OpenViewer(viewClass); });
    m_navigator->SetEditSettings([this] {
        EditProjectSettings(m_document, m_prompt, this);
        RefreshStatusBar();
    });
    m_connections = new CConnectionView(m_document, m_prompt, navigatorTabs);
    connect(m_connections, &CConnectionView::ConnectionChanged, this, [this] {
        m_navigator->Refresh();
        RefreshStatusBar();
    });
    navigatorTabs->addTab(m_navigator, "Quorvel");
    navigatorTabs->addTab(m_connections, "Connections");
    navigatorTabs->setCurrentIndex(1);
    navigatorDock->setWidget(navigatorTabs);
    addDockWidget(Qt::LeftDockWidgetArea, navigatorDock);

    auto* contextDock = new QDockWidget(QvString(IDS_CONTEXT_TITLE), this);
    contextDock->setObjectName("1008");
    contextDock->setWidget(m_contextBar);
    addDockWidget(Qt::RightDockWidgetArea, contextDock);

    m_message = new QLabel(this);
    m_message->setObjectName("statusMessage");
    m_connectionText = new QLabel(this);
    m_connectionText->setObjectName("98723");
    m_connectionIcon = new QLabel(this);
    m_connectionIcon->setObjectName("98724");
    m_connectionIcon->setFixedWidth(20);
    m_editor = new QLabel(this);
    m_editor->setObjectName("98722");
    statusBar()->addWidget(m_message, 1);
    statusBar()->addPermanentWidget(m_connectionText);
    statusBar()->addPermanentWidget(m_connectionIcon);
    statusBar()->addPermanentWidget(m_editor);
}

void CMainFrame::CreateMenusAndToolbars() {
    auto action = [this](int id, const QString& text, const QKeySequence& keys = {}) {
        auto* a = new QAction(text, this);
        a->setObjectName(QString::number(id));
        if (!keys.isEmpty()) a->setShortcut(keys);
        return a;
    };
    QMenu* file = menuBar()->addMenu("&File");
    QAction* newFile = action(ID_FILE_NEW, "&New", QKeySequence::New);
    newFile->setIcon(QvIcon(EIcon::New));
    connect(newFile, &QAction::triggered, this, [this] { NewProject(); });
    QAction* open = action(ID_FILE_OPEN, "&Open...", QKeySequence::Open);
    open->setIcon(QvIcon(EIcon::Open));
    connect(open, &QAction::triggered, this, [this] {
        if (!SaveModified()) return;
        const QString path = QFileDialog::getOpenFileName(this, "Open", {}, kFileFilter);
        if (!path.isEmpty()) OpenProject(path);
    });
    QAction* save = action(ID_FILE_SAVE, "&Save", QKeySequence::Save);
    save->setIcon(QvIcon(EIcon::Save));
    connect(save, &QAction::triggered, this, [this] { SaveProject(); });
    QAction* saveAs = action(ID_FILE_SAVE_AS, "Save &As...");
    connect(saveAs, &QAction::triggered, this, [this] {
        const QString path = QFileDialog::getSaveFileName(this, "Save As", {}, kFileFilter);
        if (!path.isEmpty()) SaveProjectAs(path.endsWith(".qvl") ? path : path + ".qvl");
    });
    file->addActions({newFile, open, save, saveAs});
    file->addSeparator();
    m_recentMenu = file->addMenu("Recent File");
    file->addSeparator();
    QAction* exit = action(ID_APP_EXIT, "E&xit");
    connect(exit, &QAction::triggered, this, &QWidget::close);
    file->addAction(exit);

    QMenu* edit = menuBar()->addMenu("&Edit");
    QAction* cut = action(ID_EDIT_CUT, "Cu&t", QKeySequence::Cut);
    cut->setIcon(QvIcon(EIcon::Cut));
    QAction* copy = action(ID_EDIT_COPY, "&Copy", QKeySequence::Copy);
    copy->setIcon(QvIcon(EIcon::Copy));
    QAction* paste = action(ID_EDIT_PASTE, "&Paste", QKeySequence::Paste);
    paste->setIcon(QvIcon(EIcon::Paste));
    // The older keys too (Shift+Delete, Ctrl+Insert, Shift+Insert), where the platform lacks them.
    auto withKey = [](QKeySequence::StandardKey standard, const QKeySequence& older) {
        QList<QKeySequence> keys = QKeySequence::keyBindings(standard);
        if (!keys.contains(older)) keys.push_back(older);
        return keys;
    };
    cut->setShortcuts(withKey(QKeySequence::Cut, QKeySequence(Qt::SHIFT | Qt::Key_Delete)));
    copy->setShortcuts(withKey(QKeySequence::Copy, QKeySequence(Qt::CTRL | Qt::Key_Insert)));
    paste->setShortcuts(withKey(QKeySequence::Paste, QKeySequence(Qt::SHIFT | Qt::Key_Insert)));
    // Sent to the focused text field, as the system's own requests.
    connect(cut, &QAction::triggered, this, [] {
        if (auto* e = qobject_cast<QLineEdit*>(QApplication::focusWidget())) e->cut();
        else if (auto* t = qobject_cast<QPlainTextEdit*>(QApplication::focusWidget())) t->cut();
    });
    connect(copy, &QAction::triggered, this, [] {
        if (auto* e = qobject_cast<QLineEdit*>(QApplication::focusWidget())) e->copy();
        else if (auto* t = qobject_cast<QPlainTextEdit*>(QApplication::focusWidget())) t->copy();
    });
    connect(paste, &QAction::triggered, this, [] {
        if (auto* e = qobject_cast<QLineEdit*>(QApplication::focusWidget())) e->paste();
        else if (auto* t = qobject_cast<QPlainTextEdit*>(QApplication::focusWidget())) t->paste();
    });
    edit->addActions({cut, copy, paste});

    auto* toolbar1 = addToolBar("Toolbar 1");
    toolbar1->setObjectName("Toolbar1");
    toolbar1->setIconSize(QSize(16, 16));
    toolbar1->addActions({newFile, open, save});
    toolbar1->addSeparator();
    toolbar1->addActions({cut, copy, paste});
    auto* toolbar2 = addToolBar("Toolbar 2");
    toolbar2->setObjectName("Toolbar2");
    toolbar2->setIconSize(QSize(16, 16));
    toolbar2->setAllowedAreas(Qt::TopToolBarArea);

    QMenu* view = menuBar()->addMenu("&View");
    auto toggle = [&](int id, const QString& text, QWidget* bar) {
        QAction* a = action(id, text);
        a->setCheckable(true);
        a->setChecked(true);
        connect(a, &QAction::toggled, bar, &QWidget::setVisible);
        view->addAction(a);
        return a;
    };
    QAction* navigator = toggle(ID_VIEW_NAVIGATOR, "&Quorvel Explorer", findChild<QDockWidget*>("1007"));
    navigator->setIcon(QvIcon(EIcon::Navigator));
    QAction* context = toggle(ID_VIEW_CONTEXT, "&Context Viewer", findChild<QDockWidget*>("1008"));
    context->setIcon(QvIcon(EIcon::Context));
    toggle(ID_VIEW_TOOLBAR1, "Control Bar S&tandard", toolbar1);
    toggle(ID_VIEW_TOOLBAR2, "Control Bar &User Interface", toolbar2);
    toggle(ID_VIEW_STATUS_BAR, "&Status Bar", statusBar());
    for (auto* dock : {findChild<QDockWidget*>("1007"), findChild<QDockWidget*>("1008")}) {
        QAction* a = dock == findChild<QDockWidget*>("1007") ? navigator : context;
        connect(dock, &QDockWidget::visibilityChanged, a, [a, dock] {
            if (!dock->isHidden() != a->isChecked()) a->setChecked(!dock->isHidden());
        });
    }
    toolbar2->addActions({navigator, context});

    QMenu* help = menuBar()->addMenu("&Help");
    QAction* about = action(ID_APP_ABOUT, "&About Quorvel...");
    about->setIcon(QvIcon(EIcon::About));
    connect(about, &QAction::triggered, this, [this] { CAboutDialog(false, this).exec(); });
    help->addAction(about);
    toolbar2->addAction(about);
}

void CMainFrame::UpdateEditActions() {
    QWidget* focus = QApplication::focusWidget();
    auto* line = qobject_cast<QLineEdit*>(focus);
    auto* text = qobject_cast<QPlainTextEdit*>(focus);
    const bool field = line || text;
    const bool selection = line ? line->hasSelectedText() : text && text->textCursor().hasSelection();
    const bool writable = line ? !line->isReadOnly() : text && !text->isReadOnly();
    const bool clipboardText = !QApplication::clipboard()->text().isEmpty();
    if (QAction* a = Action(ID_EDIT_COPY)) a->setEnabled(field && selection);
    if (QAction* a = Action(ID_EDIT_CUT)) a->setEnabled(field && selection && writable);
    if (QAction* a = Action(ID_EDIT_PASTE)) a->setEnabled(field && writable && clipboardText);
    // Each field is watched once for its selection.
    if (field && !focus->property("quorvelEditWatched").toBool()) {
        focus->setProperty("quorvelEditWatched", true);
        if (line) connect(line, &QLineEdit::selectionChanged, m_editWatcher, [this] { UpdateEditActions(); });
        if (text) connect(text, &QPlainTextEdit::selectionChanged, m_editWatcher, [this] { UpdateEditActions(); });
    }
}

void CMainFrame::OnMessage(std::uint32_t message) {
    if (message == UM_STATUS_REFRESH) {
        RefreshStatusBar();
    } else if (message == UM_CONNECTION_LOST) {
        m_document.Disconnect();
        m_document.StopLink();
        m_connections->Refresh();
        m_navigator->Refresh();
        RefreshStatusBar();
    }
}

void CMainFrame::OnUpdate(int hint) {
    m_navigator->Refresh();
    m_connections->Refresh();
    if (hint == -1)
        for (auto* pane : m_contextBar->findChildren<CFilterView*>()) pane->Refresh();
    RefreshStatusBar();
}

void CMainFrame::RefreshStatusBar() {
    const bool connected = m_document.ConnectionState() == CONNECTION_ESTABLISHED;
    m_message->setText(QString::fromStdString(m_document.StatusText()));
    // The editor link opens with the editor bridge; until then no editor project is open.
    m_editor->setText("LCB NOT OPEN");
    m_connectionIcon->setPixmap(QvIcon(connected ? EIcon::Connected : EIcon::NotConnected).pixmap(16, 16));
    m_connectionIcon->setToolTip(QvString(connected ? IDS_CONNECTED_ON : IDS_NOT_CONNECTED));
    m_bConnectedIcon = connected;
    char text[512];
    std::snprintf(text, sizeof text, QvString(IDS_CONNECTED_ON), m_document.ConnectionName().c_str());
    m_connectionText->setText(text);
    m_connectionText->setVisible(connected);
}

void CMainFrame::UpdateTitle() {
    const QString name = m_document.PathName().empty() ? "Quorvel"
                                                        : QFileInfo(QString::fromStdString(m_document.PathName())).fileName();
    setWindowTitle(name + " - Quorvel");
}

bool CMainFrame::SaveModified() {
    if (!m_document.IsModified()) return true;
    const std::string name = m_document.PathName().empty() ? "Quorvel" : m_document.PathName();
    if (!m_prompt.AskYesNo("Save changes to " + name + "?")) return true;
    return SaveProject();
}

bool CMainFrame::NewProject() {
    if (!SaveModified()) return false;
    m_document.OnNewDocument();
    OnUpdate(-1);
    UpdateTitle();
    return true;
}

bool CMainFrame::OpenProject(const QString& path) {
    const bool ok = m_document.OnOpenDocument(path.toStdString());
    if (ok) AddRecentFile(path);
    OnUpdate(-1);
    UpdateTitle();
    return ok;
}

bool CMainFrame::SaveProject() {
    if (m_document.PathName().empty()) {
        const QString path = QFileDialog::getSaveFileName(this, "Save As", "Quorvel.qvl", kFileFilter);
        return !path.isEmpty() && SaveProjectAs(path);
    }
    return SaveProjectAs(QString::fromStdString(m_document.PathName()));
}

bool CMainFrame::SaveProjectAs(const QString& path) {
    const bool ok = m_document.OnSaveDocument(path.toStdString());
    if (ok) AddRecentFile(path);
    UpdateTitle();
    return ok;
}

void CMainFrame::LoadRecentFiles() {
    m_recent.clear();
    for (int i = 1; i <= QV_RECENT_FILES; ++i) {
        std::string path;
        if (m_settings.GetString(std::string(QV_SETTINGS_KEY) + "Recent File List\\", "File" + std::to_string(i), &path) &&
            !path.empty())
            m_recent.push_back(QString::fromStdString(path));
    }
    RebuildRecentMenu();
}

void CMainFrame::AddRecentFile(const QString& path) {
    const QString absolute = QFileInfo(path).absoluteFilePath();
    m_recent.removeAll(absolute);
    m_recent.push_front(absolute);
    while (m_recent.size() > QV_RECENT_FILES) m_recent.pop_back();
    const std::string key = std::string(QV_SETTINGS_KEY) + "Recent File List\\";
    m_settings.Reload();
    m_settings.DeleteKey(key);
    for (int i = 0; i < m_recent.size(); ++i)
        m_settings.SetString(key, "File" + std::to_string(i + 1), m_recent[i].toStdString());
    m_settings.Save();
    RebuildRecentMenu();
}

void CMainFrame::RebuildRecentMenu() {
    m_recentMenu->clear();
    for (int i = 0; i < m_recent.size(); ++i) {
        const QString path = m_recent[i];
        QAction* a = m_recentMenu->addAction(QString("&%1 %2").arg(i + 1).arg(QFileInfo(path).fileName()));
        a->setToolTip(path);
        connect(a, &QAction::triggered, this, [this, path] {
            if (SaveModified()) OpenProject(path);
        });
    }
    m_recentMenu->setEnabled(!m_recent.isEmpty());
}

void CMainFrame::ConnectAtStart(const QString& target) {
    CConnectionViewDoc* records = m_document.Connections();
    if (!records) return;
    CConnectionRecord record;
    const int index = records->FindByName(target.toStdString());
    if (index >= 0) {
        record = *records->GetRecord(static_cast<std::size_t>(index));
    } else {
        const int colon = target.lastIndexOf(':');
        record = CConnectionRecord::Default();
        record.csName = target.toStdString();
        record.csAddress = (colon < 0 ? target : target.left(colon)).toStdString();
        if (colon >= 0) record.csPort = target.mid(colon + 1).toStdString();
    }
    m_connections->Connect(record);
}

void CMainFrame::SaveBarState() {
    QStringList bars;
    for (QDockWidget* dock : findChildren<QDockWidget*>()) bars << dock->objectName();
    for (QToolBar* bar : findChildren<QToolBar*>())
        if (bar->parent() == this) bars << bar->objectName();
    m_settings.Reload();
    m_settings.SetString(QV_BAR_STATES_KEY, "Bars", bars.join(',').toStdString());
    m_settings.SetString(QV_BAR_STATES_KEY, "State", Base64(saveState()).toStdString());
    m_settings.SetString(QV_BAR_STATES_KEY, "Geometry", Base64(saveGeometry()).toStdString());
    m_settings.Save();
}

bool CMainFrame::RestoreBarState() {
    std::string bars, state, geometry;
    if (!m_settings.GetString(QV_BAR_STATES_KEY, "Bars", &bars) ||
        !m_settings.GetString(QV_BAR_STATES_KEY, "State", &state))
        return false;
    // A layout naming a bar this window does not have is someone else's: keep ours.
    for (const QString& name : QString::fromStdString(bars).split(',', Qt::SkipEmptyParts)) {
        QObject* bar = findChild<QDockWidget*>(name);
        if (!bar) bar = findChild<QToolBar*>(name);
        if (!bar) return false;
    }
    if (m_settings.GetString(QV_BAR_STATES_KEY, "Geometry", &geometry))
        restoreGeometry(QByteArray::fromBase64(QByteArray::fromStdString(geometry)));
    return restoreState(QByteArray::fromBase64(QByteArray::fromStdString(state)));
}

void CMainFrame::closeEvent(QCloseEvent* event) {
    if (!SaveModified()) {
        event->ignore();
        return;
    }
    SaveBarState();
    event->accept();
}
