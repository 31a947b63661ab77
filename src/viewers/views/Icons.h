#pragma once
// Quorvel's icons, drawn rather than loaded: one small vector look for toolbars,
// the navigator and the status bar, crisp at any size and with no image files to
// keep in step.

#include <QIcon>

enum class EIcon {
    New, Open, Save, Cut, Copy, Paste, About,
    Navigator, Context,
    Folder, FolderOpen, SwitchOff, SwitchOn, Settings, Mixer, Viewer,
    Connected, NotConnected,
    EmptyHistory, EmptyList, Refresh, DisableRefresh,
    Add, Remove, Import, Export, ExpandAll, CollapseAll, Connect, Disconnect, Wait,
    CloseTab,
    NewFilter, RemoveFilter, NewDescriptor, RemoveDescriptor,
};

QIcon QvIcon(EIcon icon);
