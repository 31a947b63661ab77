#include "PropertyGrid.h"

#include <QComboBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QStyledItemDelegate>
#include <QVBoxLayout>

namespace {

enum ERole : int {
    DescriptionRole = Qt::UserRole + 1,
    EntriesRole,  // list rows: the entries' texts and values
    ValueRole,    // list rows: the chosen entry's value
};

// Edits value cells: a line edit for text rows, a drop-down for list rows.
class CValueDelegate final : public QStyledItemDelegate {
public:
    explicit CValueDelegate(CPropertyGrid* grid) : QStyledItemDelegate(grid), m_pGrid(grid) {}

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        if (index.column() != 1) return nullptr;
        const QVariantList entries = index.data(EntriesRole).toList();
        if (entries.isEmpty()) return QStyledItemDelegate::createEditor(parent, option, index);
        auto* combo = new QComboBox(parent);
        for (const QVariant& entry : entries) {
            const QVariantList pair = entry.toList();
            combo->addItem(pair.value(0).toString(), pair.value(1));
        }
        return combo;
    }
    void setEditorData(QWidget* editor, const QModelIndex& index) const override {
        if (auto* combo = qobject_cast<QComboBox*>(editor)) {
            combo->setCurrentIndex(std::max(0, combo->findData(index.data(ValueRole))));
            return;
        }
        QStyledItemDelegate::setEditorData(editor, index);
    }
    void setModelData(QWidget* editor, QAbstractItemModel*, const QModelIndex& index) const override {
        QTreeWidgetItem* row = m_pGrid->Tree()->itemFromIndex(index);
        if (!row) return;
        if (auto* combo = qobject_cast<QComboBox*>(editor)) {
            m_pGrid->UserChooseValue(row, combo->currentData().toInt());
            return;
        }
        if (auto* line = qobject_cast<QLineEdit*>(editor)) m_pGrid->UserSetText(row, line->text());
    }

private:
    CPropertyGrid* m_pGrid;
};

}  // namespace

CPropertyGrid::CPropertyGrid(QWidget* parent)
    : QWidget(parent), m_tree(new QTreeWidget(this)), m_description(new QLabel(this)) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    layout->addWidget(m_tree, 1);
    layout->addWidget(m_description);
    m_tree->setColumnCount(2);
    m_tree->setHeaderHidden(true);
    m_tree->setRootIsDecorated(true);
    m_tree->setAlternatingRowColors(true);
    m_tree->setUniformRowHeights(true);
    m_tree->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::SelectedClicked |
                            QAbstractItemView::EditKeyPressed);
    m_tree->header()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    m_tree->header()->setStretchLastSection(true);
    m_tree->setItemDelegate(new CValueDelegate(this));
    m_description->setWordWrap(true);
    m_description->setMinimumHeight(3 * fontMetrics().height());
    m_description->setAlignment(Qt::AlignTop | Qt::AlignLeft);
    m_description->setFrameShape(QFrame::StyledPanel);
    connect(m_tree, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem* item) { ShowDescription(item); });
}

CPropertyGrid::~CPropertyGrid() {
    // The tree is destroyed after this object; its last current-item change must not reach it.
    disconnect(m_tree, nullptr, this, nullptr);
}

QTreeWidgetItem* CPropertyGrid::AddGroup(const QString& caption, const QString& description, bool expanded) {
    auto* group = new QTreeWidgetItem(m_tree);
    group->setFirstColumnSpanned(true);
    QFont bold = group->font(0);
    bold.setBold(true);
    group->setFont(0, bold);
    SetGroup(group, caption, description);
    group->setExpanded(expanded);
    return group;
}

QTreeWidgetItem* CPropertyGrid::AddTextRow(QTreeWidgetItem* group, const QString& caption, const QString& description,
                                           const QString& text) {
    auto* row = new QTreeWidgetItem(group);
    row->setText(0, caption);
    row->setData(0, DescriptionRole, description);
    row->setToolTip(0, description);
    row->setFlags(row->flags() | Qt::ItemIsEditable);
    SetText(row, text);
    return row;
}

QTreeWidgetItem* CPropertyGrid::AddListRow(QTreeWidgetItem* group, const QString& caption, const QString& description,
                                           const std::vector<ListEntry>& entries, std::int32_t value) {
    QVariantList list;
    for (const ListEntry& e : entries) list.push_back(QVariantList{e.text, e.value});
    auto* row = new QTreeWidgetItem(group);
    row->setText(0, caption);
    row->setData(0, DescriptionRole, description);
    row->setToolTip(0, description);
    row->setData(1, EntriesRole, list);
    row->setFlags(row->flags() | Qt::ItemIsEditable);
    SetListValue(row, value);
    return row;
}

void CPropertyGrid::Clear() {
    m_tree->clear();
    ShowDescription(nullptr);
}

QTreeWidgetItem* CPropertyGrid::Row(QTreeWidgetItem* group, const QString& caption) {
    if (!group) return nullptr;
    for (int i = 0; i < group->childCount(); ++i)
        if (group->child(i)->text(0) == caption) return group->child(i);
    return nullptr;
}

QTreeWidgetItem* CPropertyGrid::GroupOf(QTreeWidgetItem* item) {
    if (!item) return nullptr;
    return item->parent() ? item->parent() : item;
}

bool CPropertyGrid::IsListRow(const QTreeWidgetItem* row) { return row && !row->data(1, EntriesRole).isNull(); }

QString CPropertyGrid::Description(const QTreeWidgetItem* item) { return item->data(0, DescriptionRole).toString(); }

std::int32_t CPropertyGrid::ListValue(const QTreeWidgetItem* row) { return row->data(1, ValueRole).toInt(); }

void CPropertyGrid::SetGroup(QTreeWidgetItem* group, const QString& caption, const QString& description) {
    group->setText(0, caption);
    group->setData(0, DescriptionRole, description);
    group->setToolTip(0, description);
    if (group == m_tree->currentItem()) ShowDescription(group);
}

void CPropertyGrid::SetText(QTreeWidgetItem* row, const QString& text) {
    const bool was = std::exchange(m_bProgrammatic, true);
    row->setText(1, text);
    m_bProgrammatic = was;
}

void CPropertyGrid::SetListValue(QTreeWidgetItem* row, std::int32_t value) {
    const bool was = std::exchange(m_bProgrammatic, true);
    QString text;
    for (const QVariant& entry : row->data(1, EntriesRole).toList()) {
        const QVariantList pair = entry.toList();
        if (pair.value(1).toInt() == value) text = pair.value(0).toString();
    }
    row->setData(1, ValueRole, value);
    row->setText(1, text);
    m_bProgrammatic = was;
}

void CPropertyGrid::UserSetText(QTreeWidgetItem* row, const QString& text) {
    if (!row || IsGroup(row) || IsListRow(row)) return;
    SetText(row, text);
    emit RowChanged(row);
}

void CPropertyGrid::UserChooseValue(QTreeWidgetItem* row, std::int32_t value) {
    if (!row || !IsListRow(row)) return;
    SetListValue(row, value);
    emit RowChanged(row);
}

void CPropertyGrid::SetIdleDescription(const QString& text) {
    m_idle = text;
    if (!m_tree->currentItem()) ShowDescription(nullptr);
}

void CPropertyGrid::ShowDescription(QTreeWidgetItem* item) {
    m_description->setText(item ? QString("<b>%1</b><br>%2").arg(item->text(0).toHtmlEscaped(),
                                                                 Description(item).toHtmlEscaped())
                                : m_idle.toHtmlEscaped());
}
