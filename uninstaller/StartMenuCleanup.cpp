// StartMenuCleanup.cpp: the Start Menu step of the uninstall.
#include "StartMenuCleanup.h"

#include "OwnerWindow.h"
#include "StringBuffer.h"
#include "UninstallConstants.h"
#include "VantrelInstall.h"

#include <windows.h>

void removeStartMenuEntries()
{
    VantrelInstall install;
    StringBuffer group;
    install.getProgramsFolder(ownerWindow, group);
    // Without the Programs folder the group would be "\Vantrel Components" at the root
    // of the current drive, which is not ours.
    if (group.getSize() == 0) {
        return;
    }
    group.append(startMenuGroup);

    StringBuffer shortcut;
    for (const ShortcutRow* row = shortcutTable; row->fileName != nullptr; ++row) {
        shortcut.setFrom(group);
        shortcut.append(row->fileName);
        DeleteFileA(shortcut.getString());
    }
    // Stays when it still holds shortcuts that are not the family's.
    RemoveDirectoryA(group.getString());
}
