#pragma once
// The Project Settings dialog: pages chosen in a tree, each editing a working copy
// of its settings in the property grid; Apply and OK copy them into the project.

#include <QDialog>
#include <QPushButton>
#include <QTreeWidget>
#include <memory>
#include <vector>

#include "PropertyGrid.h"
#include "Prompt.h"
#include "QuorvelDoc.h"

class CSettingsPage {
public:
    virtual ~CSettingsPage() = default;
    virtual void Show(CPropertyGrid& grid) = 0;
    virtual void Hide(CPropertyGrid& grid) { grid.Clear(); }
    // True when the working copy changed.
    virtual bool Edit(CPropertyGrid& grid, QTreeWidgetItem* row) = 0;
    virtual void Apply(CQuorvelDoc& document) = 0;
};

class CSettingsDialog final : public QDialog {
    Q_OBJECT
public:
    CSettingsDialog(CQuorvelDoc& document, IPrompt& prompt, QWidget* parent = nullptr);
    ~CSettingsDialog() override;

    CPropertyGrid& Grid() const { return *m_grid; }
    QTreeWidget& Pages() const { return *m_tree; }
    QPushButton& ApplyButton() const { return *m_apply; }
    void ApplyAll();

private:
    void ShowPage(CSettingsPage* page);

    CQuorvelDoc& m_document;
    std::vector<std::unique_ptr<CSettingsPage>> m_pages;
    CSettingsPage* m_pCurrent = nullptr;
    QTreeWidget* m_tree;
    CPropertyGrid* m_grid;
    QPushButton* m_apply;
};

// Shows the dialog; after OK the pages are applied and the project re-reads its editor settings.
void EditProjectSettings(CQuorvelDoc& document, IPrompt& prompt, QWidget* parent);
