// OwnerWindow.cpp: the owner window's class, its creation and the modal dialog.
#include "OwnerWindow.h"

#include "UninstallDialog.h"
#include "resource.h"

char windowTitle[100];
char windowClassName[100];
HINSTANCE instanceHandle = nullptr;
HWND ownerWindow = nullptr;

void registerOwnerClass(HINSTANCE instance)
{
    WNDCLASSEXA windowClass = {};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.style = CS_HREDRAW | CS_VREDRAW;
    windowClass.lpfnWndProc = ownerWndProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    windowClass.lpszClassName = windowClassName;
    RegisterClassExA(&windowClass);
}

bool initInstance(HINSTANCE instance)
{
    instanceHandle = instance;
    ownerWindow = CreateWindowExA(0, windowClassName, windowTitle, WS_POPUP,
                                  CW_USEDEFAULT, 0, CW_USEDEFAULT, 0,
                                  nullptr, nullptr, instance, nullptr);
    if (ownerWindow == nullptr) {
        return false;
    }
    // The owner stays hidden: it only anchors the dialog and the shell's lookups.
    // DialogBoxParamA gives -1 when the dialog cannot be created (0 for a bad owner); every
    // way out of the dialog ends it with a positive code. Without a dialog no quit message
    // ever comes, so the message loop must not be entered.
    INT_PTR result = DialogBoxParamA(instance, MAKEINTRESOURCEA(IDD_UNINSTALL), ownerWindow,
                                     uninstallDlgProc, 0);
    return result > 0;
}

LRESULT CALLBACK ownerWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    case WM_PAINT: {
        PAINTSTRUCT paint;
        BeginPaint(window, &paint);
        EndPaint(window, &paint);
        return 0;
    }
    default:
        return DefWindowProcA(window, message, wParam, lParam);
    }
}
