#include "QuorvelView.h"

#include <QToolButton>
#include <QVBoxLayout>

#include "Icons.h"
#include "LoggerListView.h"
#include "OutputView.h"
#include "StringTable.h"
#include "ViewerCatalogue.h"

namespace {
const char* kViewClassProperty = "quorvelViewClass";
}

CQuorvelView::CQuorvelView(CQuorvelDoc& document, IPrompt& prompt, CContextBar& contextBar, QWidget* parent)
    : QWidget(parent), m_document(document), m_prompt(prompt), m_contextBar(contextBar), m_tabs(new QTabWidget(this)) {
    setObjectName("CQuorvelView");
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_tabs);
    m_tabs->setObjectName("1001");
    m_tabs->setDocumentMode(true);
    auto* close = new QToolButton(m_tabs);
    close->setObjectName("closeTab");
    close->setIcon(QvIcon(EIcon::CloseTab));
    close->setAutoRaise(true);
    close->setToolTip("Close the selected viewer");
    m_tabs->setCornerWidget(close, Qt::TopRightCorner);
    connect(close, &QToolButton::clicked, this, &CQuorvelView::CloseSelectedViewer);
    connect(m_tabs, &QTabWidget::currentChanged, this, &CQuorvelView::OnUserSelected);
    document.SetTabs(this);
}

CQuorvelView::~CQuorvelView() {
    // The strip is destroyed after this object; its last selection changes must not reach it.
    disconnect(m_tabs, nullptr, this, nullptr);
    m_document.SetTabs(nullptr);
}

int CQuorvelView::FindTab(const std::string& viewClass) const {
    for (int i = 0; i < m_tabs->count(); ++i)
        if (m_tabs->widget(i)->property(kViewClassProperty).toString().toStdString() == viewClass) return i;
    return -1;
}

QWidget* CQuorvelView::FindViewerWidget(const std::string& viewClass) const {
    const int index = FindTab(viewClass);
    return index < 0 ? nullptr : m_tabs->widget(index);
}

QString CQuorvelView::SelectedViewClass() const {
    QWidget* current = m_tabs->currentWidget();
    return current ? current->property(kViewClassProperty).toString() : QString();
}

bool CQuorvelView::IsActive(const std::string& viewClass) const {
    return m_tabs->currentIndex() >= 0 && m_tabs->currentIndex() == FindTab(viewClass);
}

void CQuorvelView::OpenViewer(const std::string& viewClass) {
    if (FindTab(viewClass) < 0) {
        const SViewerEntry* entry = FindViewer(viewClass);
        QWidget* view = entry && entry->createView ? entry->createView(m_document, m_prompt, m_tabs) : nullptr;
        if (view) {
            view->setProperty(kViewClassProperty, QString::fromStdString(viewClass));
            m_bSelecting = true;
            const int index = m_tabs->addTab(view, QvString(entry->nTitle));
            m_tabs->setCurrentIndex(index);
            m_bSelecting = false;
            if (viewClass == QV_OUTPUT_VIEW_CLASS) ShowOutput(m_document.OutputText());
        }
    } else {
        SelectViewer(viewClass);
    }
    AddPanes(viewClass);
}

void CQuorvelView::SelectViewer(const std::string& viewClass) {
    const int index = FindTab(viewClass);
    if (index < 0 || index == m_tabs->currentIndex()) return;
    m_bSelecting = true;
    m_tabs->setCurrentIndex(index);
    m_bSelecting = false;
}

void CQuorvelView::OnUserSelected(int index) {
    if (m_bSelecting || index < 0) return;
    // A tab chosen by the user shows its viewer's panes.
    AddPanes(m_tabs->widget(index)->property(kViewClassProperty).toString().toStdString());
}

void CQuorvelView::AddPanes(const std::string& viewClass) {
    const SViewerEntry* entry = FindViewer(viewClass);
    if (!entry) return;
    for (const SViewerEntry::Pane& pane : entry->panes) {
        if (pane.bReplaces) m_contextBar.RemoveAllPanes();
        if (QWidget* widget = pane.create(m_document, m_prompt, &m_contextBar))
            m_contextBar.AddPane(QvString(pane.nTitle), widget);
    }
}

void CQuorvelView::CloseSelectedViewer() {
    const int index = m_tabs->currentIndex();
    if (index < 0) return;
    QWidget* view = m_tabs->widget(index);
    m_bSelecting = true;
    if (m_tabs->count() > 1) m_tabs->setCurrentIndex((index + 1) % m_tabs->count());
    m_tabs->removeTab(index);
    m_bSelecting = false;
    delete view;
    m_contextBar.RemoveAllPanes();
}

void CQuorvelView::CloseAll() {
    while (m_tabs->count() > 0) CloseSelectedViewer();
}

bool CQuorvelView::StoreScreenState(int viewerKind) {
    const SViewerEntry* entry = FindViewerOfKind(viewerKind);
    if (!entry) return true;
    if (auto* list = qobject_cast<CLoggerListView*>(FindViewerWidget(entry->pszViewClass))) list->SaveLayout();
    return true;
}

void CQuorvelView::ShowOutput(const std::string& text) {
    if (auto* output = qobject_cast<COutputView*>(FindViewerWidget(QV_OUTPUT_VIEW_CLASS))) output->SetText(text);
}
