// ProcessHardening.cpp: the DLL search order and the heap's answer to corruption.
#include "ProcessHardening.h"

#include <windows.h>

namespace {

typedef BOOL (WINAPI* SetDefaultDllDirectoriesProc)(DWORD);

} // namespace

void hardenProcess()
{
    // The uninstaller runs elevated from wherever the user started it, often a downloads
    // folder: a DLL planted there, or in the working directory, must never be loaded by
    // name. Windows 7 without its loader update lacks SetDefaultDllDirectories;
    // SetDllDirectoryA("") there at least takes the working directory out.
    HMODULE kernel = GetModuleHandleA("kernel32.dll");
    SetDefaultDllDirectoriesProc setDefaultDllDirectories =
        kernel == nullptr ? nullptr
                          : reinterpret_cast<SetDefaultDllDirectoriesProc>(reinterpret_cast<void*>(
                                GetProcAddress(kernel, "SetDefaultDllDirectories")));
    if (setDefaultDllDirectories == nullptr || !setDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32)) {
        SetDllDirectoryA("");
    }
    // A corrupted heap must not go on composing paths to delete.
    HeapSetInformation(nullptr, HeapEnableTerminationOnCorruption, nullptr, 0);
}
