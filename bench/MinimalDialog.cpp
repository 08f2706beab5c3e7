// MinimalDialog.cpp: the start-up yardstick: shows one small dialog and ends when it closes.
#include "MinimalDialogIds.h"

#include <windows.h>

namespace {

INT_PTR CALLBACK minimalDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM)
{
    switch (message) {
    case WM_INITDIALOG:
        return TRUE;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDCANCEL || LOWORD(wParam) == IDOK) {
            EndDialog(dialog, LOWORD(wParam));
            return TRUE;
        }
        return FALSE;
    default:
        return FALSE;
    }
}

} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    DialogBoxParamA(instance, MAKEINTRESOURCEA(IDD_MINIMAL_DIALOG), nullptr, minimalDlgProc, 0);
    return 0;
}
