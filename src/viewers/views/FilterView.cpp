#include "FilterView.h"

#include <QAction>
#include <QSignalBlocker>
#include <QVBoxLayout>
#include <algorithm>
#include <functional>

#include "Icons.h"
#include "WindowMessages.h"

namespace {

enum ECommand : int {
    ID_NEW_FILTER = 9904,
    ID_REMOVE_FILTER = 9905,
    ID_NEW_DESCRIPTOR = 9906,
    ID_REMOVE_DESCRIPTOR = 9907,
    ID_REFRESH_FROM_HISTORY = 9908,
};

const char* const kNoFilter = "No filter";
const char* const kFilterName = "Filter name";
const char* const kFirstOccurrence = "First occurence only";
const char* const kDescriptorName = "Descriptor name";
const char* const kFilteringType = "Filtering type";

// The base name if it is free, else "base (n)" with the first free n from 2.
std::string UniqueName(const std::string& base, const std::function<bool(const std::string&)>& taken) {
    if (!taken(base)) return base;
    for (int n = 2;; ++n) {
        const std::string name = QString("%1 (%2)").arg(QString::fromStdString(base)).arg(n).toStdString();
        if (!taken(name)) return name;
    }
}

QString AlreadyExists(const QString& name) { return QString("\"%1\" already exist").arg(name); }

QString DescriptorDescription(const QString& name) {
    return QString("Settings of the selected connection (%1)").arg(name);
}

}  // namespace

CFilterView::CFilterView(CFilteredViewerDoc& document, IPrompt& prompt, QWidget* parent)
    : QWidget(parent),
      m_document(document),
      m_prompt(prompt),
      m_pList(new QComboBox(this)),
      m_pToolBar(new QToolBar(this)),
      m_pGrid(new CPropertyGrid(this)) {
    m_pList->setObjectName("1028");
    m_pToolBar->setObjectName("1030");
    m_pGrid->setObjectName("1029");
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_pList);
    layout->addWidget(m_pToolBar);
    layout->addWidget(m_pGrid, 1);
    CreateToolBar();
    connect(m_pList, &QComboBox::currentIndexChanged, this, &CFilterView::OnListSelected);
    connect(m_pGrid, &CPropertyGrid::RowChanged, this, &CFilterView::OnRowChanged);
}

void CFilterView::CreateToolBar() {
    m_pToolBar->setIconSize(QSize(16, 16));
    m_pToolBar->setToolButtonStyle(Qt::ToolButtonIconOnly);
    m_pToolBar->setMovable(false);
    m_pToolBar->setFloatable(false);
    const struct {
        int id;
        const char* tooltip;
        EIcon icon;
        void (CFilterView::*handler)();
    } commands[] = {
        {ID_NEW_FILTER, "New Filter", EIcon::NewFilter, &CFilterView::OnNewFilter},
        {ID_REMOVE_FILTER, "Remove Current Filter", EIcon::RemoveFilter, &CFilterView::OnRemoveFilter},
        {ID_NEW_DESCRIPTOR, "New Descriptor", EIcon::NewDescriptor, &CFilterView::OnNewDescriptor},
        {ID_REMOVE_DESCRIPTOR, "Remove Focused Descriptor", EIcon::RemoveDescriptor,
         &CFilterView::OnRemoveDescriptor},
        {ID_REFRESH_FROM_HISTORY, "Refresh From History", EIcon::Refresh,
         &CFilterView::OnRefreshFromHistory},
    };
    for (const auto& command : commands) {
        QAction* action = m_pToolBar->addAction(QvIcon(command.icon), command.tooltip);
        action->setObjectName(QString::number(command.id));
        action->setToolTip(command.tooltip);
        connect(action, &QAction::triggered, this, command.handler);
    }
}

void CFilterView::Refresh() {
    m_pGrid->Clear();
    {
        const QSignalBlocker blocker(m_pList);
        m_pList->clear();
        m_pList->addItem(kNoFilter);
        for (std::size_t i = 0; i < m_document.FilterCount(); ++i) AddEntry(*m_document.GetFilter(i));
    }
    CFilter* current = m_document.GetCurrentFilter();
    const int position = DocumentIndexOf(current);
    SelectEntry(position < 0 ? 0 : position + 1);
    ShowFilter(position < 0 ? nullptr : current);
}

void CFilterView::OnListSelected(int index) {
    CFilter* filter = FilterOfEntry(index);
    ShowFilter(filter);
    m_document.SetCurrentFilter(filter);
}

void CFilterView::OnNewFilter() {
    CFilter* filter = m_document.AddNewFilter();
    filter->SetName(
        UniqueName("New filter", [this](const std::string& name) { return m_document.FindFilter(name) >= 0; }));
    AddEntry(*filter);
    SelectEntry(m_pList->count() - 1);
    ShowFilter(filter);
    m_document.SetCurrentFilter(filter);
}

void CFilterView::OnRemoveFilter() {
    const int entry = m_pList->currentIndex();
    const int position = DocumentIndexOf(FilterOfEntry(entry));
    if (position < 0) return;
    {
        const QSignalBlocker blocker(m_pList);
        m_pList->removeItem(entry);
    }
    m_document.RemoveFilter(static_cast<std::size_t>(position));
    // The neighbour now selected becomes the current filter too, so that the pane
    // never shows one filter while the logger applies another (or none).
    const int next = std::min(entry, m_pList->count() - 1);
    SelectEntry(next);
    CFilter* filter = FilterOfEntry(next);
    ShowFilter(filter);
    if (m_document.GetCurrentFilter() != filter) m_document.SetCurrentFilter(filter);
}

void CFilterView::OnNewDescriptor() {
    CFilter* filter = SelectedFilter();
    if (!filter) return;
    CFilterDescriptor* descriptor = filter->AddNewDescriptor();
    descriptor->SetName(
        UniqueName("New Descriptor", [filter](const std::string& name) { return filter->FindDescriptor(name) >= 0; }));
    AddDescriptorGroup(*descriptor, true);
}

void CFilterView::OnRemoveDescriptor() {
    CFilter* filter = SelectedFilter();
    if (!filter) return;
    // The descriptor is taken from the focused row's group, never from the row's own
    // caption: a descriptor may well be named like a row ("Event name").
    CFilterDescriptor* descriptor = DescriptorOfGroup(*filter, m_pGrid->FocusedRow());
    if (!descriptor) return;
    for (std::size_t i = 0; i < filter->DescriptorCount(); ++i) {
        if (filter->GetDescriptor(i) == descriptor) {
            filter->RemoveDescriptor(i);
            break;
        }
    }
    ShowFilter(filter);
}

void CFilterView::OnRefreshFromHistory() {
    if (IMessageTarget* window = m_document.ViewWindow()) window->PostMessage(WM_REFRESH_FROM_HISTORY, 0, 0);
}

void CFilterView::OnRowChanged(QTreeWidgetItem* row) {
    CFilter* filter = SelectedFilter();
    if (!filter || !row || CPropertyGrid::IsGroup(row)) return;
    const QString caption = CPropertyGrid::Caption(row);
    if (caption == kFilterName) {
        RenameFilter(*filter, row);
        return;
    }
    if (caption == kFirstOccurrence) {
        filter->SetDisplayOnlyFirstOccurrence(CPropertyGrid::ListValue(row) != 0);
        return;
    }
    CFilterDescriptor* descriptor = DescriptorOfGroup(*filter, row);
    if (!descriptor) return;
    if (caption == kDescriptorName)
        RenameDescriptor(*filter, *descriptor, row);
    else if (caption == kFilteringType)
        descriptor->SetType(CPropertyGrid::ListValue(row));
    else
        OnDescriptorRowChanged(*descriptor, row);
}

void CFilterView::RenameFilter(CFilter& filter, QTreeWidgetItem* row) {
    const QString text = CPropertyGrid::Text(row);
    const std::string name = text.toStdString();
    if (name == filter.GetName()) return;
    if (m_document.FindFilter(name) >= 0) {
        m_prompt.Show(PROMPT_WARNING, AlreadyExists(text).toStdString());
        m_pGrid->SetText(row, QString::fromStdString(filter.GetName()));
        return;
    }
    filter.SetName(name);
    m_pList->setItemText(m_pList->currentIndex(), text);
    m_pGrid->SetGroup(CPropertyGrid::GroupOf(row), text, text);
}

void CFilterView::RenameDescriptor(CFilter& filter, CFilterDescriptor& descriptor, QTreeWidgetItem* row) {
    const QString text = CPropertyGrid::Text(row);
    const std::string name = text.toStdString();
    // Confirming the unchanged name is no conflict with itself.
    if (name == descriptor.GetName()) return;
    if (filter.FindDescriptor(name) >= 0) {
        m_prompt.Show(PROMPT_WARNING, AlreadyExists(text).toStdString());
        m_pGrid->SetText(row, QString::fromStdString(descriptor.GetName()));
        return;
    }
    descriptor.SetName(name);
    m_pGrid->SetGroup(CPropertyGrid::GroupOf(row), text, DescriptorDescription(text));
}

void CFilterView::AddTextRow(QTreeWidgetItem* group, const QString& caption, const QString& description,
                             const CTextCriterion& criterion) {
    m_pGrid->AddTextRow(group, caption, description, QString::fromStdString(criterion.csText));
}

void CFilterView::ApplyTextRow(CTextCriterion& criterion, QTreeWidgetItem* row) {
    const std::string text = CPropertyGrid::Text(row).toStdString();
    ShowsIgnored(text, row);
    MarkModifiedIf(criterion.Set(text));
}

void CFilterView::MarkModifiedIf(bool changed) {
    // The criteria know no project; their edits are reported from here.
    if (!changed) return;
    if (IModifiable* sink = m_document.ModifiedSink()) sink->SetModifiedFlag(true);
}

bool CFilterView::ShowsIgnored(const std::string& text, QTreeWidgetItem* row) {
    if (!text.empty() && text != QV_ITEM_IGNORED) return false;
    m_pGrid->SetText(row, QString::fromUtf8(QV_ITEM_IGNORED));
    return true;
}

CFilter* CFilterView::FilterOfEntry(int index) const {
    if (index < 0) return nullptr;
    auto* filter = static_cast<CFilter*>(m_pList->itemData(index).value<void*>());
    return DocumentIndexOf(filter) >= 0 ? filter : nullptr;
}

int CFilterView::DocumentIndexOf(const CFilter* filter) const {
    if (!filter) return -1;
    for (std::size_t i = 0; i < m_document.FilterCount(); ++i)
        if (m_document.GetFilter(i) == filter) return static_cast<int>(i);
    return -1;
}

CFilterDescriptor* CFilterView::DescriptorOfGroup(CFilter& filter, QTreeWidgetItem* item) const {
    QTreeWidgetItem* group = CPropertyGrid::GroupOf(item);
    if (!group) return nullptr;
    // Group 0 is the filter's own; the descriptors' groups follow in list order.
    const int index = m_pGrid->Tree()->indexOfTopLevelItem(group);
    if (index < 1) return nullptr;
    return filter.GetDescriptor(static_cast<std::size_t>(index - 1));
}

void CFilterView::ShowFilter(CFilter* filter) {
    m_pGrid->Clear();
    if (!filter) return;
    const QString name = QString::fromStdString(filter->GetName());
    QTreeWidgetItem* group = m_pGrid->AddGroup(name, name, true);
    m_pGrid->AddTextRow(group, kFilterName, "Name of the filter", name);
    m_pGrid->AddListRow(group, kFirstOccurrence, "Display only first occurence", {{"False", 0}, {"True", 1}},
                        filter->DisplayOnlyFirstOccurrence() ? 1 : 0);
    for (std::size_t i = 0; i < filter->DescriptorCount(); ++i) AddDescriptorGroup(*filter->GetDescriptor(i), false);
}

void CFilterView::AddDescriptorGroup(CFilterDescriptor& descriptor, bool expanded) {
    const QString name = QString::fromStdString(descriptor.GetName());
    QTreeWidgetItem* group = m_pGrid->AddGroup(name, DescriptorDescription(name), expanded);
    m_pGrid->AddTextRow(group, kDescriptorName, "Name of the descriptor. Must be unique.", name);
    m_pGrid->AddListRow(group, kFilteringType,
                        "Type of the filter. You can exclude/include/disable the result of the descriptor filtering.",
                        {{"Disable descriptor", FILTER_DISABLED},
                         {"Include equivalence", FILTER_INCLUDE},
                         {"Exclude equivalence", FILTER_EXCLUDE}},
                        // Unknown types are skipped like disabled ones, and shown so.
                        descriptor.GetType() == FILTER_INCLUDE || descriptor.GetType() == FILTER_EXCLUDE
                            ? descriptor.GetType()
                            : FILTER_DISABLED);
    AddDescriptorRows(descriptor, group);
}

void CFilterView::SelectEntry(int index) {
    const QSignalBlocker blocker(m_pList);
    m_pList->setCurrentIndex(index);
}

void CFilterView::AddEntry(CFilter& filter) {
    const QSignalBlocker blocker(m_pList);
    m_pList->addItem(QString::fromStdString(filter.GetName()), QVariant::fromValue(static_cast<void*>(&filter)));
}
