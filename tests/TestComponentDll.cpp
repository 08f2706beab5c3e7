// TestComponentDll.cpp: stand-ins for the product DLL that show how the uninstaller loads and calls a component.
// Built as SideDepComponent.dll (TEST_COMPONENT_SIDE_DEPENDENCY: imports VantrelSideDep.dll,
// which must lie beside it, and loads VantrelLateLoad.dll by bare name) and as
// PumpingComponent.dll (TEST_COMPONENT_PUMPS: shows a window and pumps messages until it
// is closed, as components that ask the user something do).
#include "ComponentRecords.h"

#include <windows.h>
#include <objbase.h>

#include <string.h>

#ifdef TEST_COMPONENT_SIDE_DEPENDENCY
extern "C" __declspec(dllimport) int sideDependencyAnswer(void);
#endif

namespace {

HMODULE thisModule = nullptr;

void setDword(HKEY key, const char* name, DWORD value)
{
    RegSetValueExA(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof(value));
}

// Counts the call and notes the caller's apartment and this component's path.
void recordCall()
{
    HKEY key = nullptr;
    if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, componentRecordKey, 0, nullptr, 0, KEY_QUERY_VALUE | KEY_SET_VALUE,
                        nullptr, &key, nullptr) != ERROR_SUCCESS) {
        return;
    }
    DWORD count = 0;
    DWORD size = sizeof(count);
    if (RegQueryValueExA(key, componentCountValue, nullptr, nullptr, reinterpret_cast<BYTE*>(&count), &size)
        != ERROR_SUCCESS) {
        count = 0;
    }
    setDword(key, componentCountValue, count + 1);

    APTTYPE apartment = APTTYPE_CURRENT;
    APTTYPEQUALIFIER qualifier = APTTYPEQUALIFIER_NONE;
    bool inApartment = SUCCEEDED(CoGetApartmentType(&apartment, &qualifier));
    setDword(key, componentApartmentValue, inApartment ? static_cast<DWORD>(apartment) : componentNoApartment);

    char path[MAX_PATH] = "";
    GetModuleFileNameA(thisModule, path, sizeof(path));
    RegSetValueExA(key, componentPathValue, 0, REG_SZ, reinterpret_cast<const BYTE*>(path),
                   static_cast<DWORD>(strlen(path) + 1));
    RegCloseKey(key);
}

#ifdef TEST_COMPONENT_PUMPS
// Shows a window and runs a message loop of its own until the window is closed. A quit
// message met on the way is posted again for the loop further out.
void pumpUntilClosed()
{
    WNDCLASSEXA windowClass = {};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.lpfnWndProc = DefWindowProcA;
    windowClass.hInstance = thisModule;
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    windowClass.lpszClassName = pumpWindowClass;
    RegisterClassExA(&windowClass);
    HWND window = CreateWindowExA(0, pumpWindowClass, pumpWindowCaption, WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                                  40, 40, 320, 120, nullptr, nullptr, thisModule, nullptr);
    MSG message = {};
    while (window != nullptr && IsWindow(window)) {
        BOOL got = GetMessageA(&message, nullptr, 0, 0);
        if (got == 0) {
            PostQuitMessage(static_cast<int>(message.wParam));
            break;
        }
        if (got < 0) {
            break;
        }
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    if (window != nullptr && IsWindow(window)) {
        DestroyWindow(window);
    }
    UnregisterClassA(pumpWindowClass, thisModule);
}
#endif

} // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID)
{
    if (reason == DLL_PROCESS_ATTACH) {
        thisModule = instance;
        DisableThreadLibraryCalls(instance);
    }
    return TRUE;
}

// Exported without stdcall decoration (linked with --kill-at), as a component DLL exports it.
extern "C" __declspec(dllexport) HRESULT STDAPICALLTYPE DllUnregisterServer(void)
{
    recordCall();
#ifdef TEST_COMPONENT_SIDE_DEPENDENCY
    // Keeps the import: without VantrelSideDep.dll this DLL does not load at all.
    if (sideDependencyAnswer() != 42) {
        return E_FAIL;
    }
    // Only the system folder may answer a bare name; a planted copy records itself.
    HMODULE late = LoadLibraryA(lateLoadName);
    if (late != nullptr) {
        FreeLibrary(late);
    }
#endif
#ifdef TEST_COMPONENT_PUMPS
    pumpUntilClosed();
#endif
    return S_OK;
}
