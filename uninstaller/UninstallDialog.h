// UninstallDialog.h: the uninstall dialog, the only window the user sees.
#ifndef UNINSTALLER_UNINSTALL_DIALOG_H
#define UNINSTALLER_UNINSTALL_DIALOG_H

#include <windows.h>

// True once the uninstall has run; the default button then reads "Exit".
extern bool uninstallDone;

// Dialog procedure of dialog 167; TRUE for the messages it handles.
INT_PTR CALLBACK uninstallDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
// Moves window to the centre of the desktop and to the top of the Z order.
void centerWindow(HWND window);

#endif
