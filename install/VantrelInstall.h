// VantrelInstall.h: where the family records and installs its products, and COM self-unregistration.
#ifndef INSTALL_VANTREL_INSTALL_H
#define INSTALL_VANTREL_INSTALL_H

#include <windows.h>

class StringBuffer;

// "Software/Microsoft/Windows/CurrentVersion/Uninstall/": parent of every product's entry
// below HKEY_LOCAL_MACHINE, in slash form.
extern const char* const uninstallKeyPath;
// The entry's values that removeUninstallEntry deletes, in order.
extern const char* const uninstallValueNames[];
extern const int uninstallValueCount;

class VantrelInstall
{
public:
    VantrelInstall();
    virtual ~VantrelInstall();

    VantrelInstall(const VantrelInstall&) = delete;
    VantrelInstall& operator=(const VantrelInstall&) = delete;

    // Appends the product's "InstallDir" to out: a REG_SZ value as it is, a REG_EXPAND_SZ
    // one with its environment variables expanded. Leaves out as it was when the entry or
    // the value is missing or the value has any other type. Never clears out.
    void getInstallDir(const char* productName, StringBuffer& out);
    // Deletes the entry's known values, then the entry key; false when the entry (or,
    // afterwards, its parent) cannot be opened for writing, or productName is empty.
    bool removeUninstallEntry(const char* productName);
    // Loads the DLL at path (a full path) so that its dependencies come from its own
    // folder and the system folder only, calls its DllUnregisterServer if it has one, with
    // OLE initialised around the call, and releases it; always true. A null or empty path
    // loads nothing.
    bool unregisterDll(const char* path);
    // Appends the current user's Start Menu Programs folder to out; leaves out as it
    // was when the shell cannot name it. owner is handed to the shell.
    void getProgramsFolder(HWND owner, StringBuffer& out);
};

#endif
