// TestImportHook.cpp: patches the test program's import address table and restores it.
#include "TestImportHook.h"

#include <windows.h>

#include <string.h>

namespace {

void writeSlot(void** slot, void* value)
{
    DWORD oldProtect = 0;
    VirtualProtect(slot, sizeof(void*), PAGE_READWRITE, &oldProtect);
    *slot = value;
    VirtualProtect(slot, sizeof(void*), oldProtect, &oldProtect);
}

} // namespace

ImportHook::ImportHook(const char* dllName, const char* functionName, void* replacement)
    : slots(), slotCount(0), saved(nullptr)
{
    BYTE* base = reinterpret_cast<BYTE*>(GetModuleHandleA(nullptr));
    const IMAGE_DOS_HEADER* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
    const IMAGE_NT_HEADERS* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    const IMAGE_DATA_DIRECTORY& imports = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    if (imports.VirtualAddress == 0) {
        return;
    }
    // The same DLL may have several descriptors, one per import library that names it.
    for (const IMAGE_IMPORT_DESCRIPTOR* dll =
             reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR*>(base + imports.VirtualAddress);
         dll->Name != 0; ++dll) {
        if (_stricmp(reinterpret_cast<const char*>(base + dll->Name), dllName) != 0) {
            continue;
        }
        DWORD namesOffset = dll->OriginalFirstThunk != 0 ? dll->OriginalFirstThunk : dll->FirstThunk;
        const IMAGE_THUNK_DATA* names = reinterpret_cast<const IMAGE_THUNK_DATA*>(base + namesOffset);
        IMAGE_THUNK_DATA* addresses = reinterpret_cast<IMAGE_THUNK_DATA*>(base + dll->FirstThunk);
        for (; names->u1.AddressOfData != 0; ++names, ++addresses) {
            if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal)) {
                continue;
            }
            const IMAGE_IMPORT_BY_NAME* byName =
                reinterpret_cast<const IMAGE_IMPORT_BY_NAME*>(base + names->u1.AddressOfData);
            if (strcmp(reinterpret_cast<const char*>(byName->Name), functionName) != 0 ||
                slotCount == maxSlots) {
                continue;
            }
            void** slot = reinterpret_cast<void**>(&addresses->u1.Function);
            saved = *slot;
            slots[slotCount++] = slot;
        }
    }
    for (int i = 0; i < slotCount; ++i) {
        writeSlot(slots[i], replacement);
    }
}

ImportHook::~ImportHook()
{
    for (int i = 0; i < slotCount; ++i) {
        writeSlot(slots[i], saved);
    }
}
