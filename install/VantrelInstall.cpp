// VantrelInstall.cpp: the uninstall entry, the Programs folder and DllUnregisterServer.
#include "VantrelInstall.h"

#include "StringBuffer.h"
#include "VT_Registry.h"

#include <shlobj.h>

const char* const uninstallKeyPath = "Software/Microsoft/Windows/CurrentVersion/Uninstall/";

const char* const uninstallValueNames[] = {
    "DisplayName",
    "DisplayVersion",
    "Publisher",
    "HelpLink",
    "URLUpdateInfo",
    "UninstallString",
    "InstallDir",
};
const int uninstallValueCount = sizeof(uninstallValueNames) / sizeof(uninstallValueNames[0]);

namespace {

typedef HRESULT (STDAPICALLTYPE* DllUnregisterServerProc)(void);

void composeEntryPath(const char* productName, StringBuffer& path)
{
    path.append(uninstallKeyPath);
    path.append(productName);
}

} // namespace

VantrelInstall::VantrelInstall()
{
}

VantrelInstall::~VantrelInstall()
{
}

void VantrelInstall::getInstallDir(const char* productName, StringBuffer& out)
{
    StringBuffer path;
    composeEntryPath(productName, path);
    VT_Registry registry;
    registry.readString(path.getString(), "InstallDir", out);
}

bool VantrelInstall::removeUninstallEntry(const char* productName)
{
    // Without a name the entry path would be the parent itself, whose values and key
    // belong to every product.
    if (productName == nullptr || productName[0] == '\0') {
        return false;
    }
    StringBuffer path;
    composeEntryPath(productName, path);
    VT_Registry registry;
    HKEY entry = registry.openLocalMachinePath(path.getString(), false);
    if (entry == nullptr) {
        return false;
    }
    for (int i = 0; i < uninstallValueCount; ++i) {
        RegDeleteValueA(entry, uninstallValueNames[i]);
    }
    VT_Registry::closeKey(entry);

    HKEY parent = registry.openLocalMachinePath(uninstallKeyPath, false);
    if (parent == nullptr) {
        return false;
    }
    // RegDeleteKeyA fails while the entry still has subkeys; what remains then stays.
    RegDeleteKeyA(parent, productName);
    VT_Registry::closeKey(parent);
    return true;
}

bool VantrelInstall::unregisterDll(const char* path)
{
    StringBuffer file;
    file.append(path);
    if (file.getSize() == 0) {
        return true;
    }
    HMODULE module = LoadLibraryA(file.getString());
    if (module == nullptr) {
        return true;
    }
    DllUnregisterServerProc unregisterServer = reinterpret_cast<DllUnregisterServerProc>(
        reinterpret_cast<void*>(GetProcAddress(module, "DllUnregisterServer")));
    if (unregisterServer != nullptr) {
        unregisterServer();
    }
    FreeLibrary(module);
    return true;
}

void VantrelInstall::getProgramsFolder(HWND owner, StringBuffer& out)
{
    LPITEMIDLIST items = nullptr;
    if (FAILED(SHGetSpecialFolderLocation(owner, CSIDL_PROGRAMS, &items)) || items == nullptr) {
        return;
    }
    char path[MAX_PATH];
    path[0] = '\0';
    // A folder that the shell finds but cannot name as a path adds nothing.
    if (SHGetPathFromIDListA(items, path) && path[0] != '\0') {
        out.append(path);
    }
    CoTaskMemFree(items);
}
