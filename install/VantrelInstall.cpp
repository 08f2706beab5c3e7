// VantrelInstall.cpp: the uninstall entry, the Programs folder and DllUnregisterServer.
#include "VantrelInstall.h"

#include "StringBuffer.h"
#include "VT_Registry.h"

#include <ole2.h>
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

// Installers write "%ProgramFiles%\..." forms. A text that cannot be expanded (or whose
// expansion grew between the two calls) adds nothing.
void appendExpanded(const char* text, StringBuffer& out)
{
    DWORD needed = ExpandEnvironmentStringsA(text, nullptr, 0);
    if (needed == 0) {
        return;
    }
    // The ANSI function may ask for one byte more than it reports.
    char* expanded = new char[needed + 1];
    DWORD written = ExpandEnvironmentStringsA(text, expanded, needed + 1);
    if (written != 0 && written <= needed + 1) {
        out.append(expanded);
    }
    delete[] expanded;
}

// True when the loader knows the LOAD_LIBRARY_SEARCH_ flags: they came with AddDllDirectory.
bool hasSearchFlags()
{
    HMODULE kernel = GetModuleHandleA("kernel32.dll");
    return kernel != nullptr && GetProcAddress(kernel, "AddDllDirectory") != nullptr;
}

// The component's dependencies come from its own folder and the system folder, never from
// the uninstaller's folder, the working directory or PATH. A system without these search
// flags (Windows 7 without its loader update) rejects them with ERROR_INVALID_PARAMETER;
// there the altered search order puts the component's folder first instead. Nothing else
// is retried: the same error for a relative path, or a dependency missing from the
// component's folder, must not lead to a wider search that could find a planted DLL.
HMODULE loadComponent(const char* path)
{
    HMODULE module = LoadLibraryExA(path, nullptr,
                                    LOAD_LIBRARY_SEARCH_DLL_LOAD_DIR | LOAD_LIBRARY_SEARCH_SYSTEM32);
    if (module == nullptr && GetLastError() == ERROR_INVALID_PARAMETER && !hasSearchFlags()) {
        module = LoadLibraryExA(path, nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
    }
    return module;
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
    StringBuffer value;
    DWORD type = REG_NONE;
    VT_Registry registry;
    if (!registry.readString(path.getString(), "InstallDir", value, &type)) {
        return;
    }
    // Binary or numeric data is never taken for a path.
    if (type == REG_SZ) {
        out.append(value.getString());
    } else if (type == REG_EXPAND_SZ) {
        appendExpanded(value.getString(), out);
    }
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
    // Many DllUnregisterServer implementations call COM: OLE is set up around the load and
    // the call, as the system's own registration tool does. A thread already in another
    // apartment (RPC_E_CHANGED_MODE) keeps its own, which is not ours to end.
    HRESULT ole = OleInitialize(nullptr);
    HMODULE module = loadComponent(file.getString());
    if (module != nullptr) {
        DllUnregisterServerProc unregisterServer = reinterpret_cast<DllUnregisterServerProc>(
            reinterpret_cast<void*>(GetProcAddress(module, "DllUnregisterServer")));
        if (unregisterServer != nullptr) {
            unregisterServer();
        }
        FreeLibrary(module);
    }
    if (SUCCEEDED(ole)) {
        OleUninitialize();
    }
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
