// ComponentDll.cpp: a component DLL of the family that registers one COM class and counts its unregistrations.
// Built once per component; COMPONENT_NAME (its file name) and COMPONENT_CLSID come from the build.
#include <windows.h>
#include <olectl.h>

#include <string.h>

#if !defined(COMPONENT_NAME) || !defined(COMPONENT_CLSID)
#error "COMPONENT_NAME and COMPONENT_CLSID must be defined by the build"
#endif

namespace {

const char* const classKey = "CLSID\\" COMPONENT_CLSID;
const char* const serverKey = "CLSID\\" COMPONENT_CLSID "\\InprocServer32";
// Where a test counts the calls of DllUnregisterServer, one REG_DWORD per component.
const char* const counterKey = "Software\\Vantrel Test\\Unregistered";

HMODULE thisModule = nullptr;

bool setString(HKEY key, const char* name, const char* text)
{
    return RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text),
                          static_cast<DWORD>(strlen(text) + 1)) == ERROR_SUCCESS;
}

bool writeClassKeys(const char* modulePath)
{
    HKEY classHandle = nullptr;
    if (RegCreateKeyExA(HKEY_CLASSES_ROOT, classKey, 0, nullptr, 0, KEY_WRITE, nullptr,
                        &classHandle, nullptr) != ERROR_SUCCESS) {
        return false;
    }
    bool written = setString(classHandle, nullptr, COMPONENT_NAME " component");
    RegCloseKey(classHandle);

    HKEY serverHandle = nullptr;
    if (RegCreateKeyExA(HKEY_CLASSES_ROOT, serverKey, 0, nullptr, 0, KEY_WRITE, nullptr,
                        &serverHandle, nullptr) != ERROR_SUCCESS) {
        return false;
    }
    written = setString(serverHandle, nullptr, modulePath) && written;
    written = setString(serverHandle, "ThreadingModel", "Apartment") && written;
    RegCloseKey(serverHandle);
    return written;
}

void countUnregistration()
{
    HKEY counters = nullptr;
    if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, counterKey, 0, nullptr, 0,
                        KEY_QUERY_VALUE | KEY_SET_VALUE, nullptr, &counters, nullptr) != ERROR_SUCCESS) {
        return;
    }
    DWORD count = 0;
    DWORD size = sizeof(count);
    DWORD type = 0;
    if (RegQueryValueExA(counters, COMPONENT_NAME, nullptr, &type, reinterpret_cast<BYTE*>(&count),
                         &size) != ERROR_SUCCESS || type != REG_DWORD) {
        count = 0;
    }
    ++count;
    RegSetValueExA(counters, COMPONENT_NAME, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&count),
                   sizeof(count));
    RegCloseKey(counters);
}

} // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID)
{
    if (reason == DLL_PROCESS_ATTACH) {
        thisModule = instance;
        DisableThreadLibraryCalls(instance);
    }
    return TRUE;
}

STDAPI DllRegisterServer(void)
{
    char modulePath[MAX_PATH];
    DWORD length = GetModuleFileNameA(thisModule, modulePath, sizeof(modulePath));
    if (length == 0 || length >= sizeof(modulePath)) {
        return SELFREG_E_CLASS;
    }
    return writeClassKeys(modulePath) ? S_OK : SELFREG_E_CLASS;
}

STDAPI DllUnregisterServer(void)
{
    // RegDeleteKeyA fails while the key has subkeys: the server key goes first.
    RegDeleteKeyA(HKEY_CLASSES_ROOT, serverKey);
    RegDeleteKeyA(HKEY_CLASSES_ROOT, classKey);
    countUnregistration();
    return S_OK;
}

STDAPI DllGetClassObject(REFCLSID, REFIID, LPVOID* object)
{
    // The class is registered for the family's installer; no test creates instances of it.
    if (object != nullptr) {
        *object = nullptr;
    }
    return CLASS_E_CLASSNOTAVAILABLE;
}

STDAPI DllCanUnloadNow(void)
{
    return S_OK;
}
