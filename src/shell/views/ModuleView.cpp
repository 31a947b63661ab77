#include "ModuleView.h"

#include <QHeaderView>
#include <cstdio>

#include "Icons.h"
#include "StringTable.h"

namespace {

constexpr int kDataRole = Qt::UserRole + 1;
constexpr int kImageRole = Qt::UserRole + 2;

EIcon IconOf(int image) {
    switch (image) {
        case CModuleView::IMAGE_FOLDER: return EIcon::Folder;
        case CModuleView::IMAGE_FOLDER_OPEN: return EIcon::FolderOpen;
        case CModuleView::IMAGE_OFF: return EIcon::SwitchOff;
        case CModuleView::IMAGE_ON: return EIcon::SwitchOn;
        case CModuleView::IMAGE_SETTINGS: return EIcon::Settings;
        case CModuleView::IMAGE_MIXER: return EIcon::Mixer;
        default: return EIcon::Viewer;
    }
}

// Item data of the viewers, with the view class a double click opens.
struct SViewerItem {
    int nData;
    int nTitle;
    const char* pszViewClass;
};
constexpr SViewerItem kViewers[] = {
    {1, IDS_EVENT_LOGGER, "CEventLoggerView"},
    {2, IDS_RESOURCE_LOGGER, "CResourceLoggerView"},
    {3, IDS_PERFORMANCE_VIEWER, nullptr},
    {6, IDS_PROP_VIEWER, "CPROPViewer"},
    {7, IDS_ATOMIC_LOADING_LOGGER, "CAtomicLoadingLoggerView"},
    {8, IDS_ATOMIC_LOADING_VIEWER, "CAtomicLoadingViewer"},
    {10, IDS_OBJECT_VIEWER, "CObjectViewer"},
    {11, IDS_VOICE_LIST, "CVoiceListView"},
};

}  // namespace

CModuleView::CModuleView(CQuorvelDoc& document, IPrompt& prompt, QWidget* parent)
    : QTreeWidget(parent), m_document(document), m_prompt(prompt) {
    setObjectName("CQuorvelModuleView");
    setHeaderHidden(true);
    setRootIsDecorated(true);
    setContextMenuPolicy(Qt::CustomContextMenu);
    connect(this, &QTreeWidget::itemDoubleClicked, this, [this](QTreeWidgetItem* item) { Activate(item); });
    connect(this, &QTreeWidget::customContextMenuRequested, this, [this](const QPoint& at) {
        if (QTreeWidgetItem* item = itemAt(at)) Switch(item);
    });
    connect(this, &QTreeWidget::itemExpanded, this, [this](QTreeWidgetItem* item) {
        if (ItemData(item) == 0) SetImage(item, IMAGE_FOLDER_OPEN);
    });
    connect(this, &QTreeWidget::itemCollapsed, this, [this](QTreeWidgetItem* item) {
        if (ItemData(item) == 0) SetImage(item, IMAGE_FOLDER);
    });
    Refresh();
}

int CModuleView::ItemData(const QTreeWidgetItem* item) { return item->data(0, kDataRole).toInt(); }
int CModuleView::ItemImage(const QTreeWidgetItem* item) { return item->data(0, kImageRole).toInt(); }

void CModuleView::SetImage(QTreeWidgetItem* item, int image) {
    item->setData(0, kImageRole, image);
    item->setIcon(0, QvIcon(IconOf(image)));
}

QTreeWidgetItem* CModuleView::AddItem(QTreeWidgetItem* parent, int title, int image, int data) {
    auto* item = parent ? new QTreeWidgetItem(parent) : new QTreeWidgetItem(this);
    item->setText(0, QvString(title));
    item->setData(0, kDataRole, data);
    SetImage(item, image);
    return item;
}

IEngineModule* CModuleView::ModuleOf(int data) const {
    switch (data) {
        case 10: return m_document.GetViewerDoc(10) ? m_document.GetCommander(3) : nullptr;
        case 11: return m_document.GetViewerDoc(11) ? m_document.GetCommander(4) : nullptr;
        case 6: return m_document.GetLoggerSource(4);
        default: break;
    }
    const CViewerDoc* doc = m_document.GetViewerDoc(data);
    CLoggerSource* source = doc ? m_document.GetLoggerSource(doc->SourceKind()) : nullptr;
    return source && source->IsSwitchable() ? source : nullptr;
}

void CModuleView::Refresh() {
    clear();
    AddItem(nullptr, IDS_PROJECT_SETTINGS, IMAGE_SETTINGS, 4);
    QTreeWidgetItem* tools = AddItem(nullptr, IDS_NAV_TOOLS, IMAGE_FOLDER, 0);
    AddItem(tools, IDS_RESOURCE_MIXER, IMAGE_MIXER, 5);
    QTreeWidgetItem* viewers = AddItem(nullptr, IDS_NAV_VIEWERS, IMAGE_FOLDER, 0);
    const bool connected = m_document.ConnectionState() == CONNECTION_ESTABLISHED;
    for (const SViewerItem& v : kViewers) {
        IEngineModule* module = nullptr;
        if (v.nData == 8) {
            AddItem(viewers, v.nTitle, IMAGE_VIEWER, v.nData);
            continue;
        }
        if (v.nData == 10 || v.nData == 11)
            module = m_document.GetCommander(v.nData == 10 ? 3 : 4);
        else
            module = m_document.GetLoggerSource(v.nData == 6 ? 4 : v.nData == 7 ? 6 : v.nData);
        if (!module) continue;
        if (module->IsEnabled() && !connected) module->Enable(false);
        AddItem(viewers, v.nTitle, module->IsEnabled() ? IMAGE_ON : IMAGE_OFF, v.nData);
    }
    tools->setExpanded(true);
    viewers->setExpanded(true);
}

QTreeWidgetItem* CModuleView::FindItem(int data) const {
    for (QTreeWidgetItemIterator it(const_cast<CModuleView*>(this)); *it; ++it)
        if (ItemData(*it) == data) return *it;
    return nullptr;
}

void CModuleView::Activate(QTreeWidgetItem* item) {
    const int data = item ? ItemData(item) : 0;
    if (data == 4) {
        if (m_editSettings) m_editSettings();
        return;
    }
    if (data == 5) {
        if (m_openViewer) m_openViewer("CResourceMixerView");
        return;
    }
    for (const SViewerItem& v : kViewers)
        if (v.nData == data && v.pszViewClass && m_openViewer) m_openViewer(v.pszViewClass);
}

void CModuleView::Switch(QTreeWidgetItem* item) {
    const int data = item ? ItemData(item) : 0;
    if (data != 1 && data != 2 && data != 3 && data != 6 && data != 7 && data != 8 && data != 10 && data != 11) return;
    IEngineModule* module = ModuleOf(data);
    if (!module) return;
    const RpcResult result = module->Enable(!module->IsEnabled());
    if (RpcFailed(result)) {
        char text[512];
        if (IsNotConnectedCode(result))
            std::snprintf(text, sizeof text, "%s", QvString(IDS_NOT_ESTABLISHED));
        else
            std::snprintf(text, sizeof text, QvString(module->IsEnabled() ? IDS_CANNOT_DISABLE : IDS_CANNOT_ENABLE),
                          module->GetName().c_str(), static_cast<unsigned>(result));
        m_prompt.Show(PROMPT_WARNING, text);
    }
    SetImage(item, module->IsEnabled() ? IMAGE_ON : IMAGE_OFF);
}
