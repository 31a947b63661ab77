#pragma once
// Every viewer the main view can show in a tab: its view class, its tab title, the
// viewer kind whose document it shows, how its view and its context panes are made.

#include <QWidget>
#include <functional>
#include <string>
#include <vector>

#include "Prompt.h"
#include "QuorvelDoc.h"

struct SViewerEntry {
    const char* pszViewClass;
    int nTitle;       // string id of the tab title
    int nViewerKind;  // 0 for the Output viewer
    // The view, or none when this viewer cannot be shown yet.
    std::function<QWidget*(CQuorvelDoc&, IPrompt&, QWidget* parent)> createView;
    // The context panes with their titles; the first ones replace the bar's panes.
    struct Pane {
        int nTitle;
        bool bReplaces;
        std::function<QWidget*(CQuorvelDoc&, IPrompt&, QWidget* parent)> create;
    };
    std::vector<Pane> panes;
};

const std::vector<SViewerEntry>& ViewerCatalogue();
const SViewerEntry* FindViewer(const std::string& viewClass);
const SViewerEntry* FindViewerOfKind(int viewerKind);
