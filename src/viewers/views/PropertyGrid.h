#pragma once
// The property grid: group rows with a caption and a description, and under them
// value rows holding an editable text or a drop-down list whose entries carry a
// 32-bit value. The connection view, the project settings and every filter pane
// use it. A row's description shows below the grid while the row is current.
// RowChanged tells that the user (not the program) changed a row's value.

#include <QLabel>
#include <QString>
#include <QTreeWidget>
#include <QWidget>
#include <cstdint>
#include <vector>

class CPropertyGrid : public QWidget {
    Q_OBJECT
public:
    struct ListEntry {
        QString text;
        std::int32_t value;
    };

    explicit CPropertyGrid(QWidget* parent = nullptr);
    ~CPropertyGrid() override;

    QTreeWidgetItem* AddGroup(const QString& caption, const QString& description, bool expanded);
    QTreeWidgetItem* AddTextRow(QTreeWidgetItem* group, const QString& caption, const QString& description,
                                const QString& text);
    QTreeWidgetItem* AddListRow(QTreeWidgetItem* group, const QString& caption, const QString& description,
                                const std::vector<ListEntry>& entries, std::int32_t value);
    void Clear();

    int GroupCount() const { return m_tree->topLevelItemCount(); }
    QTreeWidgetItem* Group(int index) const { return m_tree->topLevelItem(index); }
    // The row of that caption under the group (the first one), or none.
    static QTreeWidgetItem* Row(QTreeWidgetItem* group, const QString& caption);
    // A group's parent is none: a group is its own group.
    static QTreeWidgetItem* GroupOf(QTreeWidgetItem* item);
    static bool IsGroup(const QTreeWidgetItem* item) { return item && !item->parent(); }
    static bool IsListRow(const QTreeWidgetItem* row);

    QTreeWidgetItem* FocusedRow() const { return m_tree->currentItem(); }
    void SetFocusedRow(QTreeWidgetItem* item) { m_tree->setCurrentItem(item); }

    static QString Caption(const QTreeWidgetItem* item) { return item->text(0); }
    static QString Description(const QTreeWidgetItem* item);
    static QString Text(const QTreeWidgetItem* row) { return row->text(1); }
    static std::int32_t ListValue(const QTreeWidgetItem* row);

    // Changes made by the program: no RowChanged.
    void SetGroup(QTreeWidgetItem* group, const QString& caption, const QString& description);
    void SetText(QTreeWidgetItem* row, const QString& text);
    void SetListValue(QTreeWidgetItem* row, std::int32_t value);

    // What the user does in the editors, for the views' tests and for keyboard use.
    void UserSetText(QTreeWidgetItem* row, const QString& text);
    void UserChooseValue(QTreeWidgetItem* row, std::int32_t value);

    // What the description area says while no row is current.
    void SetIdleDescription(const QString& text);

    QTreeWidget* Tree() const { return m_tree; }
    QString ShownDescription() const { return m_description->text(); }

signals:
    void RowChanged(QTreeWidgetItem* row);

private:
    void ShowDescription(QTreeWidgetItem* item);

    QTreeWidget* m_tree;
    QLabel* m_description;
    QString m_idle;
    bool m_bProgrammatic = false;
};
