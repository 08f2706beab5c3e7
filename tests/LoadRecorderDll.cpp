// LoadRecorderDll.cpp: a DLL that writes down every program that loads it, under its own path.
// The tests lay it down as a component's dependency beside the component, and plant copies
// of it under the dependency's name and under a name loaded by bare name: a record for a
// planted copy means the loader took it.
#include "ComponentRecords.h"

#include <windows.h>

#include <stdio.h>
#include <string.h>

namespace {

void recordLoad(HMODULE self)
{
    char own[MAX_PATH] = "";
    char program[MAX_PATH] = "";
    if (GetModuleFileNameA(self, own, sizeof(own)) == 0 || GetModuleFileNameA(nullptr, program, sizeof(program)) == 0) {
        return;
    }
    HKEY key = nullptr;
    if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, loadRecordKey, 0, nullptr, 0, KEY_QUERY_VALUE | KEY_SET_VALUE,
                        nullptr, &key, nullptr) != ERROR_SUCCESS) {
        return;
    }
    char lines[4096] = "";
    DWORD size = sizeof(lines) - 1;
    if (RegQueryValueExA(key, own, nullptr, nullptr, reinterpret_cast<BYTE*>(lines), &size) != ERROR_SUCCESS) {
        lines[0] = '\0';
    }
    size_t used = strlen(lines);
    snprintf(lines + used, sizeof(lines) - used, "%s\n", program);
    RegSetValueExA(key, own, 0, REG_SZ, reinterpret_cast<const BYTE*>(lines), static_cast<DWORD>(strlen(lines) + 1));
    RegCloseKey(key);
}

} // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID)
{
    if (reason == DLL_PROCESS_ATTACH) {
        DisableThreadLibraryCalls(instance);
        recordLoad(instance);
    }
    return TRUE;
}

extern "C" int sideDependencyAnswer(void)
{
    return 42;
}
