#pragma once
// The filter pane beside a logger's list: picks the document's current filter,
// creates and removes filters and descriptors, and edits them in a property grid.
// Each logger's pane adds the criterion rows of its own descriptor class.

#include <QComboBox>
#include <QString>
#include <QToolBar>
#include <QTreeWidgetItem>
#include <QWidget>
#include <cstdint>
#include <string>
#include <vector>

#include "Filter.h"
#include "FilteredViewerDoc.h"
#include "PropertyGrid.h"
#include "Prompt.h"

class CFilterView : public QWidget {
    Q_OBJECT
public:
    CFilterView(CFilteredViewerDoc& document, IPrompt& prompt, QWidget* parent = nullptr);

    // Shows the document's filters again and selects its current filter.
    void Refresh();

    QComboBox* FilterList() const { return m_pList; }
    QToolBar* ToolBar() const { return m_pToolBar; }
    CPropertyGrid* Grid() const { return m_pGrid; }

protected:
    // Adds the logger's criterion rows under a descriptor's group.
    virtual void AddDescriptorRows(CFilterDescriptor& descriptor, QTreeWidgetItem* group) = 0;
    // The user changed one of those rows.
    virtual void OnDescriptorRowChanged(CFilterDescriptor& descriptor, QTreeWidgetItem* row) = 0;

    // Row helpers shared by the loggers' panes.
    void AddTextRow(QTreeWidgetItem* group, const QString& caption, const QString& description,
                    const CTextCriterion& criterion);
    template <class T>
    void AddNumericRow(QTreeWidgetItem* group, const QString& caption, const QString& description,
                       const TNumericCriterion<T>& criterion) {
        m_pGrid->AddTextRow(group, caption, description, QString::fromStdString(criterion.csText));
    }
    // The entries follow "ITEM IGNORED" (-1), which is shown while the criterion is unused.
    template <class T>
    void AddListRow(QTreeWidgetItem* group, const QString& caption, const QString& description,
                    std::vector<CPropertyGrid::ListEntry> entries, const TListCriterion<T>& criterion) {
        entries.insert(entries.begin(), {QString::fromUtf8(QV_ITEM_IGNORED), -1});
        m_pGrid->AddListRow(group, caption, description, entries,
                            criterion.bUsed ? static_cast<std::int32_t>(criterion.value) : -1);
    }

    // Each applies the row the user edited to its criterion, and marks the project
    // modified when the criterion ends up different.
    void ApplyTextRow(CTextCriterion& criterion, QTreeWidgetItem* row);
    template <class T>
    void ApplyNumericRow(TNumericCriterion<T>& criterion, QTreeWidgetItem* row) {
        const auto before = State(criterion);
        const std::string text = CPropertyGrid::Text(row).toStdString();
        if (ShowsIgnored(text, row)) {
            criterion.Set(text);
        } else if (!criterion.Set(text)) {
            m_prompt.Show(PROMPT_WARNING, "Invalid numeric value");
            m_pGrid->SetText(row, QString::fromStdString(before.csText));
            criterion.Set(before.csText);
        }
        MarkModifiedIf(State(criterion) != before);
    }
    template <class T>
    void ApplyListRow(TListCriterion<T>& criterion, QTreeWidgetItem* row) {
        const auto before = State(criterion);
        const std::int32_t code = CPropertyGrid::ListValue(row);
        if (code == -1)
            criterion.Ignore();
        else
            criterion.Choose(static_cast<T>(code));
        MarkModifiedIf(State(criterion) != before);
    }

private:
    // What a criterion holds, to tell whether an edit changed it.
    template <class C>
    struct TState {
        std::int32_t bUsed;
        std::string csText;
        decltype(C::value) value;
        bool operator==(const TState&) const = default;
    };
    template <class C>
    static TState<C> State(const C& c) {
        return {c.bUsed, c.csText, c.value};
    }
    void MarkModifiedIf(bool changed);
    // Empty or "ITEM IGNORED": the row shows "ITEM IGNORED" and true is returned.
    bool ShowsIgnored(const std::string& text, QTreeWidgetItem* row);

    void CreateToolBar();
    void OnListSelected(int index);
    void OnNewFilter();
    void OnRemoveFilter();
    void OnNewDescriptor();
    void OnRemoveDescriptor();
    void OnRefreshFromHistory();
    void OnRowChanged(QTreeWidgetItem* row);
    void RenameFilter(CFilter& filter, QTreeWidgetItem* row);
    void RenameDescriptor(CFilter& filter, CFilterDescriptor& descriptor, QTreeWidgetItem* row);

    // The filter an entry of the list box stands for, if it is still the document's.
    CFilter* FilterOfEntry(int index) const;
    CFilter* SelectedFilter() const { return FilterOfEntry(m_pList->currentIndex()); }
    int DocumentIndexOf(const CFilter* filter) const;
    // The descriptor whose group holds the item; none for the filter's own group.
    CFilterDescriptor* DescriptorOfGroup(CFilter& filter, QTreeWidgetItem* item) const;

    void ShowFilter(CFilter* filter);
    void AddDescriptorGroup(CFilterDescriptor& descriptor, bool expanded);
    void SelectEntry(int index);
    void AddEntry(CFilter& filter);

    CFilteredViewerDoc& m_document;
    IPrompt& m_prompt;
    QComboBox* m_pList;
    QToolBar* m_pToolBar;
    CPropertyGrid* m_pGrid;
};
