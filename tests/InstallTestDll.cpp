// InstallTestDll.cpp: stand-in component DLL; built with and without DllUnregisterServer.
#include "InstallTestDll.h"

#include <windows.h>

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

namespace {

// Only kernel32 is used here: it is safe to call while the loader runs DllMain.
void countInEnvironment(const char* suffix)
{
    char name[96];
    snprintf(name, sizeof(name), "%s%s", INSTALL_TEST_DLL_NAME, suffix);
    char text[16] = {};
    GetEnvironmentVariableA(name, text, sizeof(text));
    snprintf(text, sizeof(text), "%d", atoi(text) + 1);
    SetEnvironmentVariableA(name, text);
}

} // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID)
{
    if (reason == DLL_PROCESS_ATTACH) {
        countInEnvironment(attachSuffix);
    } else if (reason == DLL_PROCESS_DETACH) {
        countInEnvironment(detachSuffix);
    }
    return TRUE;
}

#ifdef INSTALL_TEST_WITH_UNREGISTER
// Exported without stdcall decoration (linked with --kill-at), as a component DLL exports it.
extern "C" __declspec(dllexport) HRESULT STDAPICALLTYPE DllUnregisterServer(void)
{
    HKEY key = nullptr;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, unregisterCountKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                        &key, nullptr) != ERROR_SUCCESS) {
        return E_FAIL;
    }
    DWORD count = 0;
    DWORD size = sizeof(count);
    if (RegQueryValueExA(key, unregisterCountValue, nullptr, nullptr, reinterpret_cast<BYTE*>(&count),
                         &size) != ERROR_SUCCESS) {
        count = 0;
    }
    ++count;
    RegSetValueExA(key, unregisterCountValue, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&count),
                   sizeof(count));
    RegCloseKey(key);
    return S_OK;
}
#endif
