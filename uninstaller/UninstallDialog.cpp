// UninstallDialog.cpp: check boxes in, the uninstall once, then "Exit".
#include "UninstallDialog.h"

#include "RunUninstall.h"
#include "StringBuffer.h"
#include "UninstallConstants.h"
#include "UninstallOptions.h"
#include "resource.h"

bool uninstallDone = false;

namespace {

// True while the procedure runs. A component's DllUnregisterServer may show a window and
// pump messages; a second "Uninstall" pressed meanwhile must not start a nested run.
bool uninstallRunning = false;

const int statusLabels[] = {
    IDC_STATUS_PRODUCT_DLL,
    IDC_STATUS_COMMON_DLLS,
    IDC_STATUS_START_MENU,
    IDC_STATUS_PRODUCT_FILES,
    IDC_STATUS_COMMON_LIBS,
};

void initDialog(HWND dialog)
{
    centerWindow(dialog);
    CheckDlgButton(dialog, IDC_CHK_PRODUCT_DLL, BST_CHECKED);
    CheckDlgButton(dialog, IDC_CHK_COMMON_DLLS, BST_UNCHECKED);
    CheckDlgButton(dialog, IDC_CHK_START_MENU, BST_CHECKED);
    CheckDlgButton(dialog, IDC_CHK_PRODUCT_FILES, BST_CHECKED);
    CheckDlgButton(dialog, IDC_CHK_COMMON_LIBS, BST_CHECKED);

    StringBuffer label;
    label.append("Delete ");
    label.append(productName);
    label.append(" Files");
    SetDlgItemTextA(dialog, IDC_CHK_PRODUCT_FILES, label.getString());
    label.setString("Unregister ");
    label.append(productName);
    label.append(" DLL");
    SetDlgItemTextA(dialog, IDC_CHK_PRODUCT_DLL, label.getString());

    for (int id : statusLabels) {
        SetDlgItemTextA(dialog, id, "");
    }
}

bool isChecked(HWND dialog, int id)
{
    return IsDlgButtonChecked(dialog, id) == BST_CHECKED;
}

void endUninstaller(HWND dialog, INT_PTR result)
{
    EndDialog(dialog, result);
    PostQuitMessage(0);
}

} // namespace

void centerWindow(HWND window)
{
    RECT desktop;
    RECT own;
    GetWindowRect(GetDesktopWindow(), &desktop);
    GetWindowRect(window, &own);
    int x = desktop.left + ((desktop.right - desktop.left) - (own.right - own.left)) / 2;
    int y = desktop.top + ((desktop.bottom - desktop.top) - (own.bottom - own.top)) / 2;
    SetWindowPos(window, HWND_TOP, x, y, 0, 0, SWP_NOSIZE);
}

INT_PTR CALLBACK uninstallDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM)
{
    switch (message) {
    case WM_INITDIALOG:
        initDialog(dialog);
        return TRUE;
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case IDCANCEL:
            endUninstaller(dialog, IDCANCEL);
            return TRUE;
        case IDOK:
            if (uninstallRunning) {
                return TRUE;
            }
            if (uninstallDone) {
                endUninstaller(dialog, IDOK);
                return TRUE;
            }
            uninstallRunning = true;
            uninstallOptions.unregisterProductDll = isChecked(dialog, IDC_CHK_PRODUCT_DLL);
            uninstallOptions.unregisterCommonDlls = isChecked(dialog, IDC_CHK_COMMON_DLLS);
            uninstallOptions.removeStartMenu = isChecked(dialog, IDC_CHK_START_MENU);
            uninstallOptions.deleteProductFiles = isChecked(dialog, IDC_CHK_PRODUCT_FILES);
            uninstallOptions.deleteCommonLibs = isChecked(dialog, IDC_CHK_COMMON_LIBS);
            runUninstall(dialog);
            SetDlgItemTextA(dialog, IDOK, "Exit");
            uninstallDone = true;
            uninstallRunning = false;
            return TRUE;
        default:
            return FALSE;
        }
    case WM_SYSCOMMAND:
        if (wParam == SC_CLOSE) {
            endUninstaller(dialog, SC_CLOSE);
            return TRUE;
        }
        return FALSE;
    default:
        return FALSE;
    }
}
