#include "LoggerListView.h"

#include <QHeaderView>
#include <QToolBar>
#include <QVBoxLayout>

#include "Icons.h"

CLoggerListView::CLoggerListView(CQuorvelDoc& document, SLoggerViewTraits traits, QWidget* parent)
    : QWidget(parent),
      m_document(document),
      m_traits(std::move(traits)),
      m_viewerDoc(*document.ViewerDoc<CLoggerViewerDoc>(m_traits.nViewerKind)),
      m_window([this](std::uint32_t message, std::uintptr_t wParam, std::intptr_t) { OnMessage(message, wParam); }) {
    m_rows = std::make_unique<CLoggerRows>(m_viewerDoc, *document.GetLoggerSource(m_traits.nSourceKind), m_window,
                                           m_traits.cell);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    auto* toolbar = new QToolBar(this);
    toolbar->setIconSize(QSize(16, 16));
    const std::pair<int, EIcon> commands[] = {{ID_EMPTY_HISTORY, EIcon::EmptyHistory},
                                              {ID_EMPTY_LIST, EIcon::EmptyList},
                                              {ID_REFRESH, EIcon::Refresh},
                                              {ID_DISABLE_REFRESH, EIcon::DisableRefresh}};
    for (std::size_t i = 0; i < std::size(commands); ++i) {
        const int id = commands[i].first;
        QAction* action = toolbar->addAction(QvIcon(commands[i].second), m_traits.pszTips[i]);
        action->setObjectName(QString::number(id));
        action->setToolTip(m_traits.pszTips[i]);
        connect(action, &QAction::triggered, this, [this, id] { RunCommand(id); });
    }
    layout->addWidget(toolbar);

    m_table = new QTableView(this);
    m_model = new CLoggerTableModel(*m_rows, m_viewerDoc.Columns(), this);
    m_table->setModel(m_model);
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->setShowGrid(true);
    m_table->setWordWrap(false);
    m_table->verticalHeader()->hide();
    m_table->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    m_table->verticalHeader()->setDefaultSectionSize(m_table->fontMetrics().height() + 4);
    m_table->horizontalHeader()->setSectionsMovable(true);
    m_table->horizontalHeader()->setHighlightSections(false);
    m_table->horizontalHeader()->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(m_table->horizontalHeader(), &QHeaderView::customContextMenuRequested, this,
            &CLoggerListView::ShowHeaderMenu);
    layout->addWidget(m_table, 1);

    const std::vector<std::int32_t> order = m_viewerDoc.Columns().Order();
    for (std::int32_t id : order)
        if (m_viewerDoc.Columns().Find(id)) ShowColumn(id);
    m_viewerDoc.SetViewWindow(&m_window);
    m_rows->Start();
}

CLoggerListView::~CLoggerListView() {
    SaveLayout();
    m_rows->Stop();
    // The model watches the rows, which go with this object, before Qt deletes the children.
    m_table->setModel(nullptr);
    delete m_model;
    m_model = nullptr;
    if (m_viewerDoc.ViewWindow() == &m_window) m_viewerDoc.SetViewWindow(nullptr);
}

QAction* CLoggerListView::Action(int id) const { return findChild<QAction*>(QString::number(id)); }

void CLoggerListView::OnMessage(std::uint32_t message, std::uintptr_t wParam) {
    if (message == WM_INFO_QUEUE) m_rows->OnQueueMessage(wParam);
    else if (message == WM_REFRESH_FROM_HISTORY) m_rows->Refresh();
}

void CLoggerListView::RunCommand(int id) {
    switch (id) {
        case ID_EMPTY_HISTORY: m_rows->EmptyHistory(); return;
        case ID_EMPTY_LIST: m_rows->EmptyList(); return;
        case ID_REFRESH: m_rows->Refresh(); return;
        case ID_DISABLE_REFRESH: m_rows->DisableRefresh(); return;
        case ID_HIDE_ALL_COLUMNS:
            m_model->RemoveAllColumns();
            SaveLayout();
            return;
        case ID_DISPLAY_ALL_COLUMNS:
            for (std::int32_t i = 0; i < static_cast<std::int32_t>(m_viewerDoc.Columns().Count()); ++i)
                if (m_model->LogicalIndexOf(i) < 0 && m_viewerDoc.Columns().Find(i)) ShowColumn(i);
            SaveLayout();
            m_rows->Redisplay();
            return;
        default: break;
    }
    const std::int32_t column = id - m_traits.nColumnCommandBase;
    if (column < 0 || !m_viewerDoc.Columns().Find(column)) return;
    if (m_model->LogicalIndexOf(column) >= 0)
        HideColumn(column);
    else
        ShowColumn(column);
    // The document learns the list's columns at once: whether records are kept
    // depends on the list having any.
    SaveLayout();
    m_rows->Redisplay();
}

void CLoggerListView::ShowColumn(std::int32_t id) {
    CLCColumnInfo* column = m_viewerDoc.Columns().Find(id);
    if (!column) return;
    m_model->AppendColumn(id);
    const QFontMetrics metrics(m_table->horizontalHeader()->font());
    const int width = CColumnSet::ShownWidth(
        *column, [&](const std::string& text) { return metrics.horizontalAdvance(QString::fromStdString(text)); },
        m_traits.nColumnMargin);
    m_table->horizontalHeader()->resizeSection(m_model->LogicalIndexOf(id), width);
    column->m_bIsVisible = 1;
}

void CLoggerListView::HideColumn(std::int32_t id) {
    m_model->RemoveColumn(id);
    if (CLCColumnInfo* column = m_viewerDoc.Columns().Find(id)) {
        column->m_nDisplayPosition = -1;
        column->m_bIsVisible = 0;
    }
}

void CLoggerListView::SaveLayout() {
    const QHeaderView* header = m_table->horizontalHeader();
    std::vector<std::pair<std::int32_t, std::int32_t>> shown;
    for (int visual = 0; visual < header->count(); ++visual) {
        const int logical = header->logicalIndex(visual);
        if (logical < 0 || logical >= static_cast<int>(m_model->ShownIds().size())) continue;
        shown.emplace_back(m_model->ShownIds()[logical], header->sectionSize(logical));
    }
    m_viewerDoc.Columns().SaveLayout(shown);
}

std::unique_ptr<QMenu> CLoggerListView::BuildColumnMenu() {
    SaveLayout();
    auto menu = std::make_unique<QMenu>();
    auto add = [&](int id, const QString& text, bool checkable, bool checked) {
        QAction* action = menu->addAction(text);
        action->setObjectName(QString::number(id));
        action->setCheckable(checkable);
        action->setChecked(checked);
        connect(action, &QAction::triggered, this, [this, id] { RunCommand(id); });
    };
    add(ID_DISPLAY_ALL_COLUMNS, "Display All Columns", false, false);
    add(ID_HIDE_ALL_COLUMNS, "Hide All Columns", false, false);
    menu->addSeparator();
    const CColumnSet& columns = m_viewerDoc.Columns();
    for (std::int32_t i = 0; i < static_cast<std::int32_t>(columns.Count()); ++i) {
        const CLCColumnInfo* column = columns.Find(i);
        if (!column) continue;
        add(m_traits.nColumnCommandBase + i, QString::fromStdString(column->m_csHeader), true,
            column->m_bIsVisible != 0);
    }
    return menu;
}

void CLoggerListView::ShowHeaderMenu(const QPoint& at) {
    std::unique_ptr<QMenu> menu = BuildColumnMenu();
    menu->exec(m_table->horizontalHeader()->mapToGlobal(at));
}
