#pragma once
// The main view: a strip of tabs, one per open viewer, only the selected one shown.
// It is the project document's view of its tabs (which are open and selected, what
// the Output viewer shows) and puts the selected viewer's panes into the context bar.

#include <QTabWidget>

#include "ContextBar.h"
#include "Prompt.h"
#include "QuorvelDoc.h"
#include "ViewerTabs.h"

class CQuorvelView final : public QWidget, public IViewerTabs {
    Q_OBJECT
public:
    CQuorvelView(CQuorvelDoc& document, IPrompt& prompt, CContextBar& contextBar, QWidget* parent = nullptr);
    ~CQuorvelView() override;

    std::int32_t LoadedFlag(const std::string& viewClass) const override { return FindTab(viewClass) >= 0 ? 1 : 0; }
    bool IsActive(const std::string& viewClass) const override;
    // Selects the viewer's tab, opening it first when needed, and shows its panes.
    void OpenViewer(const std::string& viewClass) override;
    void SelectViewer(const std::string& viewClass) override;
    void CloseAll() override;
    bool StoreScreenState(int viewerKind) override;
    void ShowOutput(const std::string& text) override;

    void CloseSelectedViewer();
    QWidget* FindViewerWidget(const std::string& viewClass) const;
    QTabWidget* Tabs() const { return m_tabs; }
    QString SelectedViewClass() const;

private:
    int FindTab(const std::string& viewClass) const;
    void AddPanes(const std::string& viewClass);
    void OnUserSelected(int index);

    CQuorvelDoc& m_document;
    IPrompt& m_prompt;
    CContextBar& m_contextBar;
    QTabWidget* m_tabs;
    bool m_bSelecting = false;
};
