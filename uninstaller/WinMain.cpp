// WinMain.cpp: the uninstaller's entry point and message loop.
#include "OwnerWindow.h"
#include "ProcessHardening.h"
#include "resource.h"

#include <windows.h>

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    // Before anything can load a DLL by name.
    hardenProcess();
    LoadStringA(instance, IDS_APP_TITLE, windowTitle, sizeof(windowTitle));
    LoadStringA(instance, IDS_WINDOW_CLASS, windowClassName, sizeof(windowClassName));
    registerOwnerClass(instance);
    if (!initInstance(instance)) {
        return 0;
    }
    // Every way out of the dialog has posted the quit message by now. A failing
    // GetMessageA (-1) ends the loop too, rather than spinning on it.
    MSG message = {};
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return static_cast<int>(message.wParam);
}
