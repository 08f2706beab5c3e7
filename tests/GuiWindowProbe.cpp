// GuiWindowProbe.cpp: exits 0 when this process can create a hidden WS_POPUP window like the
// uninstaller's owner window, 3 when CreateWindowExA returns null.
#include <windows.h>

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    WNDCLASSEXA windowClass = {};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.style = CS_HREDRAW | CS_VREDRAW;
    windowClass.lpfnWndProc = DefWindowProcA;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    windowClass.lpszClassName = "GuiWindowProbe";
    RegisterClassExA(&windowClass);
    HWND window = CreateWindowExA(0, "GuiWindowProbe", "GuiWindowProbe", WS_POPUP,
                                  CW_USEDEFAULT, 0, CW_USEDEFAULT, 0,
                                  nullptr, nullptr, instance, nullptr);
    if (window == nullptr) {
        return 3;
    }
    DestroyWindow(window);
    return 0;
}
