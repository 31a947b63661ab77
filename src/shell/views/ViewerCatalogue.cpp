#include "ViewerCatalogue.h"

#include "EventLoggerFilterView.h"
#include "EventLoggerView.h"
#include "OutputView.h"
#include "StringTable.h"

namespace {

template <class View>
QWidget* MakeView(CQuorvelDoc& document, IPrompt&, QWidget* parent) {
    return new View(document, parent);
}

QWidget* MakeEventFilterPane(CQuorvelDoc& document, IPrompt& prompt, QWidget* parent) {
    auto* doc = document.ViewerDoc<CFilteredViewerDoc>(1);
    return doc ? new CEventLoggerFilterView(*doc, prompt, parent) : nullptr;
}

}  // namespace

const std::vector<SViewerEntry>& ViewerCatalogue() {
    // Viewers without a view here yet get no tab when opened.
    static const std::vector<SViewerEntry> catalogue = {
        {"CEventLoggerView", IDS_EVENT_LOGGER, 1, MakeView<CEventLoggerView>,
         {{IDS_VIEWLOGGER_FILTER, true, MakeEventFilterPane}}},
        {"CResourceLoggerView", IDS_RESOURCE_LOGGER, 2, nullptr, {}},
        {"CResourceMixerView", IDS_RESOURCE_MIXER, 5, nullptr, {}},
        {"CPROPViewer", IDS_PROP_VIEWER, 6, nullptr, {}},
        {QV_OUTPUT_VIEW_CLASS, IDS_OUTPUT, 0, [](CQuorvelDoc&, IPrompt&, QWidget* parent) -> QWidget* {
             return new COutputView(parent);
         }, {}},
        {"CAtomicLoadingLoggerView", IDS_ATOMIC_LOADING_LOGGER, 7, nullptr, {}},
        {"CAtomicLoadingViewer", IDS_ATOMIC_LOADING_VIEWER, 8, nullptr, {}},
        {"CObjectViewer", IDS_OBJECT_VIEWER, 10, nullptr, {}},
        {"CVoiceListView", IDS_VOICE_LIST, 11, nullptr, {}},
    };
    return catalogue;
}

const SViewerEntry* FindViewer(const std::string& viewClass) {
    for (const SViewerEntry& entry : ViewerCatalogue())
        if (viewClass == entry.pszViewClass) return &entry;
    return nullptr;
}

const SViewerEntry* FindViewerOfKind(int viewerKind) {
    for (const SViewerEntry& entry : ViewerCatalogue())
        if (entry.nViewerKind == viewerKind && viewerKind != 0) return &entry;
    return nullptr;
}
