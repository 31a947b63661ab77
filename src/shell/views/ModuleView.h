#pragma once
// The navigator: project settings, tools and viewers in a tree. A double click
// opens a viewer (or the settings); a right click switches the viewer's logger
// source or commander on or off. The images tell which ones are on.

#include <QTreeWidget>
#include <functional>

#include "Prompt.h"
#include "QuorvelDoc.h"

class CModuleView final : public QTreeWidget {
    Q_OBJECT
public:
    enum EImage { IMAGE_FOLDER, IMAGE_FOLDER_OPEN, IMAGE_OFF, IMAGE_ON, IMAGE_SETTINGS, IMAGE_MIXER, IMAGE_VIEWER };

    CModuleView(CQuorvelDoc& document, IPrompt& prompt, QWidget* parent = nullptr);

    // Opens a viewer by its view class; the settings for item 4.
    void SetOpenViewer(std::function<void(const std::string& viewClass)> open) { m_openViewer = std::move(open); }
    void SetEditSettings(std::function<void()> edit) { m_editSettings = std::move(edit); }

    // Rebuilds the items; what is on without a connection is switched off first.
    void Refresh();
    QTreeWidgetItem* FindItem(int data) const;
    static int ItemData(const QTreeWidgetItem* item);
    static int ItemImage(const QTreeWidgetItem* item);
    // The gestures, by item.
    void Activate(QTreeWidgetItem* item);
    void Switch(QTreeWidgetItem* item);

private:
    IEngineModule* ModuleOf(int data) const;
    QTreeWidgetItem* AddItem(QTreeWidgetItem* parent, int title, int image, int data);
    void SetImage(QTreeWidgetItem* item, int image);

    CQuorvelDoc& m_document;
    IPrompt& m_prompt;
    std::function<void(const std::string&)> m_openViewer;
    std::function<void()> m_editSettings;
};
