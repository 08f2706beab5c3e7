// GuiInstallationState.h: what a Vantrel Mail installation holds, on disk and in the registry, at one moment.
#ifndef TESTS_GUI_INSTALLATION_STATE_H
#define TESTS_GUI_INSTALLATION_STATE_H

#include <windows.h>

#include <string>

// The five shared library and include folders, relative to the install directory.
extern const char* const guiSharedFolders[];
extern const int guiSharedFolderCount;

struct GuiInstallationState
{
    // Reads everything below installDir, the family's Start Menu group, the uninstall
    // entry and the unregistration counters as they are now.
    void read(const char* installDir);

    bool installDir = false;
    bool productFolder = false;   // "Vantrel Mail"
    bool productDll = false;      // "Vantrel Mail\VantrelMail.dll"
    bool commonFolder = false;    // "Common"
    bool commonDll = false;       // "Common\VantrelUtil.dll"
    bool examplesFolder = false;  // "Other Examples"
    int sharedFolders = 0;        // how many of guiSharedFolders exist
    bool group = false;           // "Vantrel Components" in the Programs folder
    int shortcuts = 0;            // .url files in the group
    bool entry = false;           // the uninstall entry key
    std::string installDirValue;  // its "InstallDir"; empty when missing
    DWORD productUnregistered = 0;  // DllUnregisterServer calls of VantrelMail.dll
    DWORD commonUnregistered = 0;   // of VantrelUtil.dll
};

#endif
