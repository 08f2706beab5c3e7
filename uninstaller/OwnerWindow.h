// OwnerWindow.h: the process-wide start-up state and the hidden window that owns the dialog.
#ifndef UNINSTALLER_OWNER_WINDOW_H
#define UNINSTALLER_OWNER_WINDOW_H

#include <windows.h>

// String 103 and string 109, loaded by WinMain.
extern char windowTitle[100];
extern char windowClassName[100];
// The module handle WinMain was given.
extern HINSTANCE instanceHandle;
// The hidden owner of the dialog and of the shell's folder lookup; null until created.
extern HWND ownerWindow;

// Registers the owner window's class under windowClassName; the outcome is not examined.
void registerOwnerClass(HINSTANCE instance);
// Creates the hidden owner window and shows the uninstall dialog modally; false when
// the window cannot be created (no dialog is shown then) or the dialog cannot be.
bool initInstance(HINSTANCE instance);
// Window procedure of the owner window.
LRESULT CALLBACK ownerWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

#endif
