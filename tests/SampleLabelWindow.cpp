// SampleLabelWindow.cpp: the test's window class and its STATIC labels.
#include "SampleLabelWindow.h"

const int sampleLabelFirstId = 1029;
const int sampleLabelLastId = 1034;
const char* const sampleLabelInitialText = "x";

namespace {

const char* const className = "VantrelTestLabelWindow";

void registerClassOnce()
{
    WNDCLASSEXA windowClass = {};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.lpfnWndProc = DefWindowProcA;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = className;
    // A second registration fails with ERROR_CLASS_ALREADY_EXISTS, which is fine.
    RegisterClassExA(&windowClass);
}

} // namespace

SampleLabelWindow::SampleLabelWindow()
    : window(nullptr)
    , complete(false)
{
    registerClassOnce();
    HINSTANCE instance = GetModuleHandleA(nullptr);
    window = CreateWindowExA(0, className, "Vantrel test labels", WS_OVERLAPPEDWINDOW,
                             0, 0, 400, 300, nullptr, nullptr, instance, nullptr);
    if (window == nullptr) {
        return;
    }
    complete = true;
    for (int id = sampleLabelFirstId; id <= sampleLabelLastId; ++id) {
        HWND label = CreateWindowExA(0, "STATIC", sampleLabelInitialText, WS_CHILD | WS_VISIBLE,
                                     10, 10 + 30 * (id - sampleLabelFirstId), 200, 24, window,
                                     reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance,
                                     nullptr);
        complete = complete && label != nullptr;
    }
}

SampleLabelWindow::~SampleLabelWindow()
{
    if (window != nullptr) {
        DestroyWindow(window);
    }
}

std::string SampleLabelWindow::labelText(int id) const
{
    if (window == nullptr || GetDlgItem(window, id) == nullptr) {
        return "<missing>";
    }
    char text[64];
    text[0] = '\0';
    GetDlgItemTextA(window, id, text, sizeof(text));
    return text;
}
