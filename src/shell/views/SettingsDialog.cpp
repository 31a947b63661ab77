#include "SettingsDialog.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QSplitter>
#include <QVBoxLayout>
#include <filesystem>

#include "NumericText.h"
#include "StringTable.h"

namespace {

std::string Formatted(int id, const std::string& argument) {
    char text[1024];
    std::snprintf(text, sizeof text, QvString(id), argument.c_str());
    return text;
}

class CGeneralPage final : public CSettingsPage {
public:
    CGeneralPage(const CQuorvelDoc& document, IPrompt& prompt)
        : m_prompt(prompt), m_lPort(document.m_lLocalQuorvelTCPPort) {}
    void Show(CPropertyGrid& grid) override {
        QTreeWidgetItem* group = grid.AddGroup(QvString(IDS_GENERAL), QvString(IDS_GENERAL_HELP), true);
        grid.AddTextRow(group, QvString(IDS_TCP_PORT), QvString(IDS_TCP_PORT_HELP), QString::number(m_lPort));
    }
    bool Edit(CPropertyGrid& grid, QTreeWidgetItem* row) override {
        std::int32_t port = 0;
        if (CNumericText::ToSigned(CPropertyGrid::Text(row).toStdString(), &port) && port >= 1 && port <= 65535) {
            if (port == m_lPort) return false;
            m_lPort = port;
            return true;
        }
        char text[256];
        std::snprintf(text, sizeof text, QvString(IDS_INVALID_PORT), 1, 65535);
        m_prompt.Show(PROMPT_WARNING, text);
        grid.SetText(row, QString::number(m_lPort));
        return false;
    }
    void Apply(CQuorvelDoc& document) override { document.m_lLocalQuorvelTCPPort = m_lPort; }

private:
    IPrompt& m_prompt;
    std::int32_t m_lPort;
};

class CCueforgePage final : public CSettingsPage {
public:
    CCueforgePage(const CQuorvelDoc& document, IPrompt& prompt)
        : m_prompt(prompt),
          m_csFile(document.m_csLCBProjectFile),
          m_bRead(document.m_bReadFromCueforge),
          m_bWrite(document.m_bWriteToCueforge) {}
    void Show(CPropertyGrid& grid) override {
        QTreeWidgetItem* group = grid.AddGroup(QvString(IDS_CUEFORGE), QvString(IDS_CUEFORGE_HELP), true);
        grid.AddTextRow(group, QvString(IDS_LCB_FILE), QvString(IDS_LCB_FILE_HELP), QString::fromStdString(m_csFile));
        const std::vector<CPropertyGrid::ListEntry> choice = {{"False", 0}, {"True", 1}};
        grid.AddListRow(group, QvString(IDS_READ_FROM_CUEFORGE), QvString(IDS_READ_FROM_CUEFORGE_HELP), choice, m_bRead);
        grid.AddListRow(group, QvString(IDS_WRITE_TO_CUEFORGE), QvString(IDS_WRITE_TO_CUEFORGE_HELP), choice, m_bWrite);
    }
    bool Edit(CPropertyGrid&, QTreeWidgetItem* row) override {
        const QString caption = CPropertyGrid::Caption(row);
        if (caption == QvString(IDS_READ_FROM_CUEFORGE)) {
            m_bRead = CPropertyGrid::ListValue(row) ? 1 : 0;
            return true;
        }
        if (caption == QvString(IDS_WRITE_TO_CUEFORGE)) {
            m_bWrite = CPropertyGrid::ListValue(row) ? 1 : 0;
            return true;
        }
        const std::string path = CPropertyGrid::Text(row).toStdString();
        std::error_code error;
        if (!std::filesystem::exists(path, error)) m_prompt.Show(PROMPT_WARNING, Formatted(IDS_CANNOT_FIND_FILE, path));
        if (path == m_csFile) return false;
        m_csFile = path;
        return true;
    }
    void Apply(CQuorvelDoc& document) override {
        document.m_csLCBProjectFile = m_csFile;
        document.m_bReadFromCueforge = m_bRead;
        document.m_bWriteToCueforge = m_bWrite;
    }

private:
    IPrompt& m_prompt;
    std::string m_csFile;
    std::int32_t m_bRead;
    std::int32_t m_bWrite;
};

constexpr int kPageRole = Qt::UserRole + 1;

}  // namespace

CSettingsDialog::CSettingsDialog(CQuorvelDoc& document, IPrompt& prompt, QWidget* parent)
    : QDialog(parent), m_document(document), m_tree(new QTreeWidget(this)), m_grid(new CPropertyGrid(this)) {
    setObjectName("190");
    setWindowTitle(QvString(IDS_SETTINGS_TITLE));
    m_pages.push_back(std::make_unique<CGeneralPage>(document, prompt));
    m_pages.push_back(std::make_unique<CCueforgePage>(document, prompt));

    m_tree->setObjectName("1023");
    m_tree->setHeaderHidden(true);
    auto* root = new QTreeWidgetItem(m_tree, {QvString(IDS_CONFIGURATION_PROPERTIES)});
    root->setData(0, kPageRole, 0);
    (new QTreeWidgetItem(root, {QvString(IDS_GENERAL)}))->setData(0, kPageRole, 0);
    (new QTreeWidgetItem(root, {QvString(IDS_CUEFORGE)}))->setData(0, kPageRole, 1);
    root->setExpanded(true);

    auto* right = new QWidget(this);
    auto* rightLayout = new QVBoxLayout(right);
    rightLayout->setContentsMargins(0, 0, 0, 0);
    auto* title = new QLabel(QString("<b>%1</b>").arg(QvString(IDS_SETTINGS_TITLE)), right);
    rightLayout->addWidget(title);
    m_grid->setObjectName("1024");
    m_grid->SetIdleDescription(QvString(IDS_SELECT_AN_ITEM));
    rightLayout->addWidget(m_grid, 1);

    auto* split = new QSplitter(this);
    split->addWidget(m_tree);
    split->addWidget(right);
    split->setStretchFactor(1, 2);

    auto* buttons = new QDialogButtonBox(this);
    buttons->addButton(QDialogButtonBox::Ok);
    buttons->addButton(QDialogButtonBox::Cancel);
    m_apply = buttons->addButton(QDialogButtonBox::Apply);
    QPushButton* help = buttons->addButton(QDialogButtonBox::Help);
    help->setEnabled(false);
    m_apply->setEnabled(false);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(m_apply, &QPushButton::clicked, this, [this] {
        ApplyAll();
        m_apply->setEnabled(false);
    });

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(split, 1);
    layout->addWidget(buttons);
    resize(640, 400);

    connect(m_tree, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem* item) {
        if (item) ShowPage(m_pages[static_cast<std::size_t>(item->data(0, kPageRole).toInt())].get());
    });
    connect(m_grid, &CPropertyGrid::RowChanged, this, [this](QTreeWidgetItem* row) {
        if (m_pCurrent && m_pCurrent->Edit(*m_grid, row)) m_apply->setEnabled(true);
    });
    m_tree->setCurrentItem(root);
}

CSettingsDialog::~CSettingsDialog() = default;

void CSettingsDialog::ShowPage(CSettingsPage* page) {
    if (page == m_pCurrent) return;
    if (m_pCurrent) m_pCurrent->Hide(*m_grid);
    m_pCurrent = page;
    page->Show(*m_grid);
}

void CSettingsDialog::ApplyAll() {
    for (auto& page : m_pages) page->Apply(m_document);
}

void EditProjectSettings(CQuorvelDoc& document, IPrompt& prompt, QWidget* parent) {
    CSettingsDialog dialog(document, prompt, parent);
    if (dialog.exec() != QDialog::Accepted) return;
    dialog.ApplyAll();
    document.ApplyProjectSettings();
}
