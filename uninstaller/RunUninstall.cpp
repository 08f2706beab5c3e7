// RunUninstall.cpp: the removals, in their fixed order, each composed on the recorded install directory.
#include "RunUninstall.h"

#include "FaultGuard.h"
#include "FileSys.h"
#include "StartMenuCleanup.h"
#include "StringBuffer.h"
#include "UninstallConstants.h"
#include "UninstallOptions.h"
#include "VantrelInstall.h"
#include "InstallDirCheck.h"
#include "resource.h"

namespace {

// Reads the install directory afresh into installDir; true when folders may be removed
// below it. Paths are composed onto the text exactly as the registry gives it.
bool readInstallDir(VantrelInstall& install, StringBuffer& installDir)
{
    installDir.clear();
    install.getInstallDir(productName, installDir);
    return isUsableInstallDir(installDir.getString());
}

// The folder is found in the listing of the install directory, both held while the folder
// is emptied; a folder that is a link is left alone, and so is what it points to.
void emptyAndRemove(const StringBuffer& folder)
{
    FileSys files;
    files.removeDirectory(folder.getString());
}

} // namespace

void runUninstall(HWND dialog)
{
    VantrelInstall install;
    StringBuffer installDir;
    bool usable = readInstallDir(install, installDir);
    StringBuffer path;

    if (uninstallOptions.unregisterProductDll) {
        if (usable) {
            path.setFrom(installDir);
            path.appendChar('\\');
            path.append(productName);
            path.appendChar('\\');
            path.append(productDllName);
            install.unregisterDll(path.getString());
        }
        SetDlgItemTextA(dialog, IDC_STATUS_PRODUCT_DLL, statusDone);
    }

    if (uninstallOptions.unregisterCommonDlls) {
        if (usable) {
            path.setFrom(installDir);
            path.append(commonDllPath);
            install.unregisterDll(path.getString());
        }
        if (readInstallDir(install, installDir)) {
            installDir.append(commonFolder);
            emptyAndRemove(installDir);
        }
        SetDlgItemTextA(dialog, IDC_STATUS_COMMON_DLLS, statusDone);
    }

    if (uninstallOptions.removeStartMenu) {
        // The one place a fault is caught: a broken shell extension or shortcut must not
        // stop the removal of the product's files and entry.
        runGuarded(removeStartMenuEntries);
        SetDlgItemTextA(dialog, IDC_STATUS_START_MENU, statusDone);
    }

    if (uninstallOptions.deleteProductFiles) {
        if (readInstallDir(install, installDir)) {
            installDir.appendChar('\\');
            installDir.append(productName);
            emptyAndRemove(installDir);
        }
        if (readInstallDir(install, installDir)) {
            installDir.append(examplesFolder);
            emptyAndRemove(installDir);
        }
        SetDlgItemTextA(dialog, IDC_STATUS_PRODUCT_FILES, statusDone);
    }

    if (uninstallOptions.deleteCommonLibs) {
        if (readInstallDir(install, installDir)) {
            for (int i = 0; i < sharedFolderCount; ++i) {
                path.setFrom(installDir);
                path.append(sharedFolders[i]);
                emptyAndRemove(path);
            }
        }
        SetDlgItemTextA(dialog, IDC_STATUS_COMMON_LIBS, statusDone);
    }

    install.removeUninstallEntry(productName);
}
