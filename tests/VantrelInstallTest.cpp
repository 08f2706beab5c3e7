// VantrelInstallTest.cpp: uninstall entries, DLL unregistration and the Programs folder under Wine.
#include "VantrelInstall.h"

#include "TestImportHook.h"
#include "InstallTestDll.h"
#include "StringBuffer.h"

#include <gtest/gtest.h>

#include <windows.h>
#include <shlobj.h>

#include <stdlib.h>
#include <string.h>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

namespace {

const char* const uninstallParent = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall";

const char* const sevenValues[] = {
    "DisplayName", "DisplayVersion", "Publisher", "HelpLink", "URLUpdateInfo", "UninstallString", "InstallDir",
};

typedef std::vector<std::pair<std::string, std::string>> Values;

Values sevenValuesOf(const std::string& product)
{
    return Values{
        {"DisplayName", product},
        {"DisplayVersion", "1.0"},
        {"Publisher", "Vantrel Test"},
        {"HelpLink", "http://example.invalid/help"},
        {"URLUpdateInfo", "http://example.invalid/update"},
        {"UninstallString", "C:\\vt\\bin\\NoSuchUninstaller.exe"},
        {"InstallDir", "C:\\vt\\tests\\" + product},
    };
}

std::string entryPath(const std::string& product)
{
    return std::string(uninstallParent) + "\\" + product;
}

// Value names of the key at path below HKEY_LOCAL_MACHINE, sorted; "(no key)" when it is missing.
std::vector<std::string> valueNamesAt(const std::string& path)
{
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) {
        return {"(no key)"};
    }
    std::vector<std::string> names;
    for (DWORD i = 0;; ++i) {
        char name[256];
        DWORD length = sizeof(name);
        if (RegEnumValueA(key, i, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) {
            break;
        }
        names.push_back(name);
    }
    RegCloseKey(key);
    std::sort(names.begin(), names.end());
    return names;
}

bool keyExists(const std::string& path)
{
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) {
        return false;
    }
    RegCloseKey(key);
    return true;
}

std::string directoryOfThisProgram()
{
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    char* lastSlash = strrchr(path, '\\');
    if (lastSlash != nullptr) {
        *lastSlash = '\0';
    }
    return path;
}

int environmentCount(const char* dllName, const char* suffix)
{
    char text[16] = {};
    GetEnvironmentVariableA((std::string(dllName) + suffix).c_str(), text, sizeof(text));
    return atoi(text);
}

DWORD unregisterCount()
{
    HKEY key = nullptr;
    DWORD count = 0;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, unregisterCountKey, 0, KEY_READ, &key) == ERROR_SUCCESS) {
        DWORD size = sizeof(count);
        if (RegQueryValueExA(key, unregisterCountValue, nullptr, nullptr, reinterpret_cast<BYTE*>(&count),
                             &size) != ERROR_SUCCESS) {
            count = 0;
        }
        RegCloseKey(key);
    }
    return count;
}

void forgetUnregisterCount()
{
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, unregisterCountKey, 0, KEY_ALL_ACCESS, &key) == ERROR_SUCCESS) {
        RegDeleteValueA(key, unregisterCountValue);
        RegCloseKey(key);
    }
    RegDeleteKeyA(HKEY_CURRENT_USER, unregisterCountKey);
}

// Entries of the test's own products ("Vantrel Test Product <n>") are created as a test
// needs them and all removed afterwards, as is the sentinel value on the parent key.
class VantrelInstallTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        forgetUnregisterCount();
        const char* const dlls[] = {"InstallTestDll", "InstallTestNoExportDll"};
        for (const char* dll : dlls) {
            SetEnvironmentVariableA((std::string(dll) + attachSuffix).c_str(), nullptr);
            SetEnvironmentVariableA((std::string(dll) + detachSuffix).c_str(), nullptr);
        }
    }

    void TearDown() override
    {
        for (const std::string& product : products) {
            RegDeleteTreeA(HKEY_LOCAL_MACHINE, entryPath(product).c_str());
        }
        if (parentSentinelSet) {
            HKEY parent = nullptr;
            if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, uninstallParent, 0, KEY_ALL_ACCESS, &parent) == ERROR_SUCCESS) {
                RegDeleteValueA(parent, "DisplayName");
                RegCloseKey(parent);
            }
        }
        forgetUnregisterCount();
    }

    // Creates the product's entry with values; subkey, when given, is created below it.
    void createEntry(const std::string& product, const Values& values, const char* subkey = nullptr)
    {
        products.push_back(product);
        std::string path = entryPath(product);
        RegDeleteTreeA(HKEY_LOCAL_MACHINE, path.c_str());
        HKEY key = nullptr;
        ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, nullptr, 0,
                                                 KEY_ALL_ACCESS, nullptr, &key, nullptr));
        for (const auto& value : values) {
            EXPECT_EQ(ERROR_SUCCESS, RegSetValueExA(key, value.first.c_str(), 0, REG_SZ,
                                                    reinterpret_cast<const BYTE*>(value.second.c_str()),
                                                    static_cast<DWORD>(value.second.size() + 1)));
        }
        if (subkey != nullptr) {
            HKEY child = nullptr;
            ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(key, subkey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                                                     &child, nullptr));
            RegCloseKey(child);
        }
        RegCloseKey(key);
    }

    // Gives the Uninstall key itself a "DisplayName", which only a product-less removal could reach.
    void setParentSentinel()
    {
        ASSERT_EQ((std::vector<std::string>{}), valueNamesAt(uninstallParent));
        HKEY parent = nullptr;
        ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExA(HKEY_LOCAL_MACHINE, uninstallParent, 0, KEY_ALL_ACCESS, &parent));
        const BYTE text[] = "parent sentinel";
        parentSentinelSet = RegSetValueExA(parent, "DisplayName", 0, REG_SZ, text, sizeof(text)) == ERROR_SUCCESS;
        RegCloseKey(parent);
        ASSERT_TRUE(parentSentinelSet);
    }

    std::vector<std::string> products;
    bool parentSentinelSet = false;
};

TEST_F(VantrelInstallTest, GetInstallDirAppendsTheRecordedDirectory)
{
    createEntry("Vantrel Test Product 1", sevenValuesOf("Vantrel Test Product 1"));
    VantrelInstall install;
    StringBuffer out;
    out.append("dir=");
    install.getInstallDir("Vantrel Test Product 1", out);
    EXPECT_STREQ("dir=C:\\vt\\tests\\Vantrel Test Product 1", out.getString());
    install.getInstallDir("Vantrel Test Product 1", out);
    EXPECT_STREQ("dir=C:\\vt\\tests\\Vantrel Test Product 1C:\\vt\\tests\\Vantrel Test Product 1",
                 out.getString());
}

TEST_F(VantrelInstallTest, GetInstallDirLeavesOutAsItWasWithoutEntryOrValue)
{
    createEntry("Vantrel Test Product 3", Values{{"DisplayName", "Vantrel Test Product 3"}});
    const char* const products[] = {"Vantrel Test Product 2", "Vantrel Test Product 3", ""};
    VantrelInstall install;
    for (const char* product : products) {
        StringBuffer out;
        out.append("kept");
        install.getInstallDir(product, out);
        EXPECT_STREQ("kept", out.getString()) << product;
    }
}

struct RemovalRow
{
    const char* name;
    Values extraValues;
    const char* subkey;
    // What is left of the entry afterwards: its value names, or "(no key)".
    std::vector<std::string> left;
};

const RemovalRow removalRows[] = {
    {"SevenValues", {}, nullptr, {"(no key)"}},
    {"ExtraValuesGoWithTheKey", {{"Comments", "extra"}, {"EstimatedSize", "12"}}, nullptr, {"(no key)"}},
    // The platform refuses to delete a key with subkeys: only the seven values go.
    {"SubkeyKeepsTheKey", {{"Comments", "extra"}}, "Components", {"Comments"}},
};

class VantrelInstallRemovalTest : public VantrelInstallTest, public ::testing::WithParamInterface<RemovalRow>
{
};

TEST_P(VantrelInstallRemovalTest, RemovesTheSevenValuesThenTheKey)
{
    const RemovalRow& row = GetParam();
    const std::string product = std::string("Vantrel Test Product ") + row.name;
    Values values = sevenValuesOf(product);
    values.insert(values.end(), row.extraValues.begin(), row.extraValues.end());
    createEntry(product, values, row.subkey);
    createEntry("Vantrel Test Product Sibling", sevenValuesOf("Vantrel Test Product Sibling"));

    VantrelInstall install;
    EXPECT_TRUE(install.removeUninstallEntry(product.c_str()));

    EXPECT_EQ(row.left, valueNamesAt(entryPath(product)));
    if (row.subkey != nullptr) {
        EXPECT_TRUE(keyExists(entryPath(product) + "\\" + row.subkey));
    }
    EXPECT_EQ(7u, valueNamesAt(entryPath("Vantrel Test Product Sibling")).size());
    EXPECT_TRUE(keyExists(uninstallParent));
}

INSTANTIATE_TEST_SUITE_P(Entries, VantrelInstallRemovalTest, ::testing::ValuesIn(removalRows),
                         [](const ::testing::TestParamInfo<RemovalRow>& info) {
                             return std::string(info.param.name);
                         });

// The names handed to RegDeleteValueA and RegDeleteKeyA while a recorder lives.
std::vector<std::string>* deletions = nullptr;

typedef LONG (WINAPI* RegDeleteValueAProc)(HKEY, LPCSTR);
typedef LONG (WINAPI* RegDeleteKeyAProc)(HKEY, LPCSTR);
RegDeleteValueAProc platformDeleteValue = nullptr;
RegDeleteKeyAProc platformDeleteKey = nullptr;

LONG WINAPI recordDeleteValue(HKEY key, LPCSTR name)
{
    deletions->push_back(std::string("value ") + name);
    return platformDeleteValue(key, name);
}

LONG WINAPI recordDeleteKey(HKEY key, LPCSTR name)
{
    deletions->push_back(std::string("key ") + name);
    return platformDeleteKey(key, name);
}

TEST_F(VantrelInstallTest, RemovalTriesEachOfTheSevenValuesInOrder)
{
    // Most of the seven are missing: each deletion is tried whatever the one before gave.
    createEntry("Vantrel Test Product 4", Values{{"Publisher", "Vantrel Test"}, {"InstallDir", "C:\\x"}});
    std::vector<std::string> seen;
    bool removed = false;
    {
        ImportHook valueHook("advapi32.dll", "RegDeleteValueA", reinterpret_cast<void*>(&recordDeleteValue));
        ImportHook keyHook("advapi32.dll", "RegDeleteKeyA", reinterpret_cast<void*>(&recordDeleteKey));
        ASSERT_TRUE(valueHook.isInstalled() && keyHook.isInstalled());
        platformDeleteValue = reinterpret_cast<RegDeleteValueAProc>(valueHook.original());
        platformDeleteKey = reinterpret_cast<RegDeleteKeyAProc>(keyHook.original());
        deletions = &seen;
        VantrelInstall install;
        removed = install.removeUninstallEntry("Vantrel Test Product 4");
        deletions = nullptr;
    }
    EXPECT_TRUE(removed);
    std::vector<std::string> expected;
    for (const char* name : sevenValues) {
        expected.push_back(std::string("value ") + name);
    }
    expected.push_back("key Vantrel Test Product 4");
    EXPECT_EQ(expected, seen);
    EXPECT_FALSE(keyExists(entryPath("Vantrel Test Product 4")));
}

TEST_F(VantrelInstallTest, RemovalWithoutEntryOrNameTouchesNothing)
{
    createEntry("Vantrel Test Product Sibling", sevenValuesOf("Vantrel Test Product Sibling"));
    setParentSentinel();
    const std::vector<std::string> sibling = valueNamesAt(entryPath("Vantrel Test Product Sibling"));

    VantrelInstall install;
    EXPECT_FALSE(install.removeUninstallEntry("Vantrel Test Product 5"));
    EXPECT_FALSE(install.removeUninstallEntry(""));
    EXPECT_FALSE(install.removeUninstallEntry(nullptr));

    EXPECT_FALSE(keyExists(entryPath("Vantrel Test Product 5")));
    EXPECT_EQ(sibling, valueNamesAt(entryPath("Vantrel Test Product Sibling")));
    EXPECT_EQ((std::vector<std::string>{"DisplayName"}), valueNamesAt(uninstallParent));
}

TEST_F(VantrelInstallTest, UnregisterDllCallsTheExportAndReleasesTheDll)
{
    const std::string path = directoryOfThisProgram() + "\\InstallTestDll.dll";
    ASSERT_EQ(nullptr, GetModuleHandleA("InstallTestDll.dll"));
    VantrelInstall install;

    EXPECT_TRUE(install.unregisterDll(path.c_str()));
    EXPECT_EQ(1u, unregisterCount());
    EXPECT_EQ(nullptr, GetModuleHandleA("InstallTestDll.dll"));
    EXPECT_EQ(1, environmentCount("InstallTestDll", attachSuffix));
    EXPECT_EQ(1, environmentCount("InstallTestDll", detachSuffix));

    EXPECT_TRUE(install.unregisterDll(path.c_str()));
    EXPECT_EQ(2u, unregisterCount());
    EXPECT_EQ(nullptr, GetModuleHandleA("InstallTestDll.dll"));
    EXPECT_EQ(2, environmentCount("InstallTestDll", detachSuffix));
}

TEST_F(VantrelInstallTest, UnregisterDllLoadsAndReleasesADllWithoutTheExport)
{
    const std::string path = directoryOfThisProgram() + "\\InstallTestNoExportDll.dll";
    VantrelInstall install;
    EXPECT_TRUE(install.unregisterDll(path.c_str()));
    EXPECT_EQ(1, environmentCount("InstallTestNoExportDll", attachSuffix));
    EXPECT_EQ(1, environmentCount("InstallTestNoExportDll", detachSuffix));
    EXPECT_EQ(nullptr, GetModuleHandleA("InstallTestNoExportDll.dll"));
    EXPECT_EQ(0u, unregisterCount());
}

std::vector<std::string>* loads = nullptr;
typedef HMODULE (WINAPI* LoadLibraryAProc)(LPCSTR);
LoadLibraryAProc platformLoadLibrary = nullptr;

HMODULE WINAPI recordLoadLibrary(LPCSTR path)
{
    loads->push_back(path != nullptr ? path : "(null)");
    return platformLoadLibrary(path);
}

TEST_F(VantrelInstallTest, UnregisterDllWithEmptyOrMissingPathLoadsNothing)
{
    const std::string missing = directoryOfThisProgram() + "\\NoSuchVantrelTestDll.dll";
    std::vector<std::string> seen;
    bool results[3] = {};
    {
        ImportHook hook("kernel32.dll", "LoadLibraryA", reinterpret_cast<void*>(&recordLoadLibrary));
        ASSERT_TRUE(hook.isInstalled());
        platformLoadLibrary = reinterpret_cast<LoadLibraryAProc>(hook.original());
        loads = &seen;
        VantrelInstall install;
        results[0] = install.unregisterDll("");
        results[1] = install.unregisterDll(nullptr);
        results[2] = install.unregisterDll(missing.c_str());
        loads = nullptr;
    }
    EXPECT_TRUE(results[0]);
    EXPECT_TRUE(results[1]);
    EXPECT_TRUE(results[2]);
    // Only the missing DLL is tried, and it is not found.
    EXPECT_EQ((std::vector<std::string>{missing}), seen);
    EXPECT_EQ(nullptr, GetModuleHandleA("NoSuchVantrelTestDll.dll"));
    EXPECT_EQ(0u, unregisterCount());
}

TEST_F(VantrelInstallTest, GetProgramsFolderAppendsWhatThePlatformReports)
{
    char programs[MAX_PATH] = {};
    ASSERT_EQ(S_OK, SHGetFolderPathA(nullptr, CSIDL_PROGRAMS, nullptr, SHGFP_TYPE_CURRENT, programs));
    ASSERT_NE('\0', programs[0]);

    VantrelInstall install;
    StringBuffer out;
    out.append("before|");
    install.getProgramsFolder(nullptr, out);
    EXPECT_EQ(std::string("before|") + programs, out.getString());
    install.getProgramsFolder(nullptr, out);
    EXPECT_EQ(std::string("before|") + programs + programs, out.getString());
}

} // namespace
