#include "ConnectionView.h"

#include <QAction>
#include <QFile>
#include <QFileDialog>
#include <QPointer>
#include <QToolBar>
#include <QVBoxLayout>

#include "ConnectProcedure.h"
#include "ConnectionInfoDlg.h"
#include "ConnectionViewDoc.h"
#include "Icons.h"
#include "PropertyGrid.h"
#include "QuorvelDoc.h"
#include "StringTable.h"

namespace {

constexpr int kMinPort = 1;
constexpr int kMaxPort = 65535;

// The rows under each record, in this order.
enum ERecordRow : int { ROW_NAME, ROW_ADDRESS, ROW_PORT, ROW_COMMENTS };

// A command of 0 stands for a separator.
const struct {
    int command;
    int tooltip;
    EIcon icon;
} kToolbar[] = {
    {0, 0, {}},
    {CMD_CONNECTION_NEW, IDS_TIP_NEW_RECORD, EIcon::Add},
    {CMD_CONNECTION_REMOVE, IDS_TIP_REMOVE_RECORD, EIcon::Remove},
    {CMD_CONNECTION_IMPORT, IDS_TIP_IMPORT, EIcon::Import},
    {CMD_CONNECTION_EXPORT, IDS_TIP_EXPORT, EIcon::Export},
    {0, 0, {}},
    {CMD_CONNECTION_EXPAND_ALL, IDS_TIP_EXPAND_ALL, EIcon::ExpandAll},
    {CMD_CONNECTION_COLLAPSE_ALL, IDS_TIP_COLLAPSE_ALL, EIcon::CollapseAll},
    {0, 0, {}},
    {CMD_CONNECTION_CONNECT, IDS_TIP_CONNECT, EIcon::Connect},
    {CMD_CONNECTION_DISCONNECT, IDS_TIP_DISCONNECT, EIcon::Disconnect},
    {CMD_CONNECTION_WAIT, IDS_TIP_WAIT, EIcon::Wait},
};

QString Utf8(const std::string& text) { return QString::fromStdString(text); }

std::string LocalPath(const QString& path) { return QFile::encodeName(path).toStdString(); }

// The string table's file filter is written as "text|pattern|text|pattern||"; the
// texts already carry their patterns the way the file dialog reads them.
QStringList NameFilters() {
    const QStringList parts = QString(QvString(IDS_RECORD_LIST_FILTER)).split('|', Qt::SkipEmptyParts);
    QStringList filters;
    for (int i = 0; i < parts.size(); i += 2) filters.push_back(parts[i]);
    return filters;
}

}  // namespace

CConnectionView::CConnectionView(CQuorvelDoc& document, IPrompt& prompt, QWidget* parent)
    : QWidget(parent),
      m_document(document),
      m_prompt(prompt),
      m_pToolBar(new QToolBar(this)),
      m_pGrid(new CPropertyGrid(this)) {
    m_pToolBar->setObjectName("25123");
    m_pToolBar->setIconSize(QSize(16, 16));
    m_pToolBar->setFixedHeight(24);
    m_pGrid->setObjectName("1010");
    for (const auto& button : kToolbar) {
        if (button.command == 0) {
            m_pToolBar->addSeparator();
            continue;
        }
        QAction* action = m_pToolBar->addAction(QvIcon(button.icon), QvString(button.tooltip));
        action->setObjectName(QString::number(button.command));
        action->setToolTip(QvString(button.tooltip));
        m_actions[button.command] = action;
    }
    connect(Action(CMD_CONNECTION_NEW), &QAction::triggered, this, &CConnectionView::OnNew);
    connect(Action(CMD_CONNECTION_REMOVE), &QAction::triggered, this, &CConnectionView::OnRemove);
    connect(Action(CMD_CONNECTION_EXPAND_ALL), &QAction::triggered, this, [this] { OnExpandAll(true); });
    connect(Action(CMD_CONNECTION_COLLAPSE_ALL), &QAction::triggered, this, [this] { OnExpandAll(false); });
    connect(Action(CMD_CONNECTION_IMPORT), &QAction::triggered, this, &CConnectionView::OnImport);
    connect(Action(CMD_CONNECTION_EXPORT), &QAction::triggered, this, &CConnectionView::OnExport);
    connect(Action(CMD_CONNECTION_CONNECT), &QAction::triggered, this, &CConnectionView::OnConnect);
    connect(Action(CMD_CONNECTION_DISCONNECT), &QAction::triggered, this, &CConnectionView::OnDisconnect);
    // The wait button does nothing: the program listens for the engine only while
    // it connects or is connected. It keeps its place and its enabled rule.

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_pToolBar);
    layout->addWidget(m_pGrid, 1);

    connect(m_pGrid, &CPropertyGrid::RowChanged, this, &CConnectionView::OnRowChanged);
    connect(m_pGrid->Tree(), &QTreeWidget::currentItemChanged, this, [this] { UpdateButtons(); });
    Refresh();
}

QAction* CConnectionView::Action(int command) const {
    const auto found = m_actions.find(command);
    return found == m_actions.end() ? nullptr : found->second;
}

CConnectionViewDoc* CConnectionView::Records() const { return m_document.Connections(); }

void CConnectionView::Refresh() {
    m_pGrid->Clear();
    if (const CConnectionViewDoc* records = Records())
        for (std::size_t i = 0; i < records->Count(); ++i) AddRecordItem(*records->GetRecord(i), false);
    if (m_pGrid->GroupCount() > 0 && isVisible()) m_pGrid->SetFocusedRow(m_pGrid->Group(0));
    UpdateButtons();
}

QTreeWidgetItem* CConnectionView::AddRecordItem(const CConnectionRecord& record, bool expanded) {
    QTreeWidgetItem* group = m_pGrid->AddGroup(QString(), QString(), false);
    SetGroupCaption(group, record.csName);
    m_pGrid->AddTextRow(group, QvString(IDS_FIELD_NAME), QvString(IDS_HELP_NAME), Utf8(record.csName));
    m_pGrid->AddTextRow(group, QvString(IDS_FIELD_ADDRESS), QvString(IDS_HELP_ADDRESS), Utf8(record.csAddress));
    m_pGrid->AddTextRow(group, QvString(IDS_FIELD_PORT), QvString(IDS_HELP_PORT), Utf8(record.csPort));
    m_pGrid->AddTextRow(group, QvString(IDS_FIELD_COMMENTS), QvString(IDS_HELP_COMMENTS), Utf8(record.csComment));
    group->setExpanded(expanded);
    return group;
}

void CConnectionView::SetGroupCaption(QTreeWidgetItem* group, const std::string& name) {
    m_pGrid->SetGroup(group, Utf8(name), QString::asprintf(QvString(IDS_HELP_RECORD), name.c_str()));
}

void CConnectionView::UpdateButtons() {
    const bool focused = m_pGrid->FocusedRow() != nullptr;
    const bool any = m_pGrid->GroupCount() > 0;
    const bool idle = m_document.ConnectionState() == CONNECTION_NONE;
    Action(CMD_CONNECTION_REMOVE)->setEnabled(focused);
    Action(CMD_CONNECTION_EXPAND_ALL)->setEnabled(any);
    Action(CMD_CONNECTION_COLLAPSE_ALL)->setEnabled(any);
    Action(CMD_CONNECTION_CONNECT)->setEnabled(focused && idle);
    Action(CMD_CONNECTION_DISCONNECT)->setEnabled(!idle);
    Action(CMD_CONNECTION_WAIT)->setEnabled(idle);
}

void CConnectionView::OnNew() {
    CConnectionViewDoc* records = Records();
    if (!records) return;
    records->AddUnique(CConnectionRecord::New());
    AddRecordItem(*records->GetRecord(records->Count() - 1), true);
    UpdateButtons();
}

void CConnectionView::OnRemove() {
    CConnectionViewDoc* records = Records();
    QTreeWidgetItem* group = CPropertyGrid::GroupOf(m_pGrid->FocusedRow());
    if (!records || !group) return;
    const int index = m_pGrid->Tree()->indexOfTopLevelItem(group);
    records->RemoveRecord(static_cast<std::size_t>(index));
    delete group;
    // The record that followed takes the focus, or the one before the last.
    const int count = m_pGrid->GroupCount();
    if (count > 0) m_pGrid->SetFocusedRow(m_pGrid->Group(index < count ? index : count - 1));
    UpdateButtons();
}

void CConnectionView::OnExpandAll(bool expand) {
    for (int i = 0; i < m_pGrid->GroupCount(); ++i) m_pGrid->Group(i)->setExpanded(expand);
}

void CConnectionView::OnImport() {
    const QStringList paths = QFileDialog::getOpenFileNames(this, QString(), QString(), NameFilters().join(";;"));
    ImportFiles(paths);
}

void CConnectionView::OnExport() {
    QFileDialog dialog(this);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilters(NameFilters());
    dialog.setDefaultSuffix(QvString(IDS_RECORD_LIST_EXTENSION));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return;
    ExportFile(dialog.selectedFiles().constFirst());
}

void CConnectionView::ImportFiles(const QStringList& paths) {
    CConnectionViewDoc* records = Records();
    if (!records) return;
    const std::size_t before = records->Count();
    // A file that fails is reported and the others are still read.
    for (const QString& path : paths)
        if (!records->ImportFile(LocalPath(path)))
            m_prompt.Show(PROMPT_WARNING,
                          QString::asprintf(QvString(IDS_CANNOT_IMPORT_RECORDS), path.toUtf8().constData()).toStdString());
    if (records->Count() != before) Refresh();
}

void CConnectionView::ExportFile(const QString& path) {
    CConnectionViewDoc* records = Records();
    if (!records) return;
    if (!records->ExportFile(LocalPath(path)))
        m_prompt.Show(PROMPT_WARNING,
                      QString::asprintf(QvString(IDS_CANNOT_EXPORT_RECORDS), path.toUtf8().constData()).toStdString());
}

void CConnectionView::RunStatusDialog(CConnectionInfoDlg& dialog) { dialog.exec(); }

void CConnectionView::OnConnect() {
    const CConnectionViewDoc* records = Records();
    QTreeWidgetItem* group = CPropertyGrid::GroupOf(m_pGrid->FocusedRow());
    if (!records) return;
    // With nothing focused the built-in default record is used.
    const std::size_t index =
        group ? static_cast<std::size_t>(m_pGrid->Tree()->indexOfTopLevelItem(group)) : records->Count();
    Connect(records->GetRecordOrDefault(index));
}

void CConnectionView::Connect(const CConnectionRecord& record) {
    // A failed attempt stops the link, which would end a connection already held.
    if (m_document.ConnectionState() != CONNECTION_NONE) return;
    // The view may go while the dialog's loop runs (the application closing); the
    // dialog then goes with it.
    QPointer<CConnectionView> alive(this);
    QPointer<CConnectionInfoDlg> dialog = new CConnectionInfoDlg(m_document, record, this);
    RunStatusDialog(*dialog);
    if (!alive) return;
    delete dialog;

    UpdateButtons();
    if (m_document.ConnectionState() == CONNECTION_ESTABLISHED && !CompleteConnection(m_document, m_prompt))
        Refresh();
    UpdateButtons();
    emit ConnectionChanged();
}

void CConnectionView::OnDisconnect() {
    m_document.Disconnect();
    m_document.StopLink();
    UpdateButtons();
    emit ConnectionChanged();
}

void CConnectionView::OnRowChanged(QTreeWidgetItem* row) {
    CConnectionViewDoc* records = Records();
    QTreeWidgetItem* group = CPropertyGrid::GroupOf(row);
    if (!records || !group || group == row) return;
    // The record is the one at the root's position.
    const std::size_t index = static_cast<std::size_t>(m_pGrid->Tree()->indexOfTopLevelItem(group));
    const CConnectionRecord* stored = records->GetRecord(index);
    if (!stored) return;
    const CConnectionRecord before = *stored;  // the prompt below may run an event loop
    CConnectionRecord record = before;
    const QString text = CPropertyGrid::Text(row);
    switch (group->indexOfChild(row)) {
        case ROW_NAME:
            if (!AcceptName(record, text)) {
                m_pGrid->SetText(row, Utf8(before.csName));
                return;
            }
            if (record.csName != before.csName) SetGroupCaption(group, record.csName);
            break;
        case ROW_ADDRESS:
            record.csAddress = text.toStdString();
            break;
        case ROW_PORT:
            if (!AcceptPort(record, text)) {
                m_pGrid->SetText(row, Utf8(before.csPort));
                return;
            }
            break;
        case ROW_COMMENTS:
            record.csComment = text.toStdString();
            break;
        default:
            return;
    }
    if (record != before) records->ReplaceRecord(index, record);
}

bool CConnectionView::AcceptName(CConnectionRecord& record, const QString& text) {
    const std::string name = text.toStdString();
    if (name == record.csName) return true;
    if (Records()->FindByName(name) >= 0) {
        m_prompt.Show(PROMPT_WARNING, QString::asprintf(QvString(IDS_NAME_ALREADY_EXISTS), name.c_str()).toStdString());
        return false;
    }
    record.csName = name;
    return true;
}

bool CConnectionView::AcceptPort(CConnectionRecord& record, const QString& text) {
    if (text == Utf8(record.csPort)) return true;
    bool valid = !text.isEmpty();
    int value = 0;
    for (const QChar c : text) {
        // Plain ASCII digits only, stopping before the value could overflow.
        if (c.unicode() < u'0' || c.unicode() > u'9' || value > kMaxPort) {
            valid = false;
            break;
        }
        value = value * 10 + (c.unicode() - u'0');
    }
    if (!valid || value < kMinPort || value > kMaxPort) {
        m_prompt.Show(PROMPT_WARNING, QString::asprintf(QvString(IDS_INVALID_PORT), kMinPort, kMaxPort).toStdString());
        return false;
    }
    record.csPort = text.toStdString();
    return true;
}
