// StartMenuCleanup.cpp: the Start Menu step of the uninstall.
#include "StartMenuCleanup.h"

#include "HeldDirectory.h"
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

    // The group lives in the user's own profile: a group that is a link, or a Programs
    // folder that is one, is left alone, and so is what it points to.
    HeldDirectory held;
    if (!held.open(group.getString())) {
        return;
    }
    for (const ShortcutRow* row = shortcutTable; row->fileName != nullptr; ++row) {
        held.deleteFile(row->fileName);
    }
    // Stays when it still holds shortcuts that are not the family's.
    held.closeAndRemove();
}
