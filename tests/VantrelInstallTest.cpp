// VantrelInstallTest.cpp: uninstall entries, DLL unregistration and the Programs folder under Wine.
#include "VantrelInstall.h"

#include "TestImportHook.h"
#include "ComponentRecords.h"
#include "InstallTestDll.h"
#include "SampleChecks.h"
#include "SampleInstallation.h"
#include "StringBuffer.h"

#include <gtest/gtest.h>

#include <windows.h>
#include <objbase.h>
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

// The loads of the code under test while a LoaderRecorder lives: path and flags of each
// LoadLibraryExA call. With hideSearchFlags it plays a loader that has no
// LOAD_LIBRARY_SEARCH_ flags: it rejects them with ERROR_INVALID_PARAMETER, and kernel32
// seems to lack AddDllDirectory.
struct LoadCall
{
    std::string path;
    DWORD flags;
    bool operator==(const LoadCall& other) const { return path == other.path && flags == other.flags; }
};

void PrintTo(const LoadCall& call, std::ostream* out)
{
    *out << call.path << " flags 0x" << std::hex << call.flags << std::dec;
}

const DWORD searchFlags = LOAD_LIBRARY_SEARCH_DLL_LOAD_DIR | LOAD_LIBRARY_SEARCH_SYSTEM32;

typedef HMODULE (WINAPI* LoadLibraryExAProc)(LPCSTR, HANDLE, DWORD);
typedef FARPROC (WINAPI* GetProcAddressProc)(HMODULE, LPCSTR);
std::vector<LoadCall>* loadCalls = nullptr;
bool hideSearchFlags = false;
LoadLibraryExAProc platformLoadLibraryEx = nullptr;
GetProcAddressProc platformGetProcAddress = nullptr;

HMODULE WINAPI recordLoadLibraryEx(LPCSTR path, HANDLE file, DWORD flags)
{
    loadCalls->push_back(LoadCall{path != nullptr ? path : "(null)", flags});
    if (hideSearchFlags && (flags & searchFlags) != 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    return platformLoadLibraryEx(path, file, flags);
}

FARPROC WINAPI filterGetProcAddress(HMODULE module, LPCSTR name)
{
    // Names below 0x10000 are ordinals.
    if (hideSearchFlags && reinterpret_cast<ULONG_PTR>(name) > 0xFFFF && strcmp(name, "AddDllDirectory") == 0) {
        SetLastError(ERROR_PROC_NOT_FOUND);
        return nullptr;
    }
    return platformGetProcAddress(module, name);
}

class LoaderRecorder
{
public:
    explicit LoaderRecorder(bool hide)
        : loadHook("kernel32.dll", "LoadLibraryExA", reinterpret_cast<void*>(&recordLoadLibraryEx)),
          procHook("kernel32.dll", "GetProcAddress", reinterpret_cast<void*>(&filterGetProcAddress))
    {
        platformLoadLibraryEx = reinterpret_cast<LoadLibraryExAProc>(loadHook.original());
        platformGetProcAddress = reinterpret_cast<GetProcAddressProc>(procHook.original());
        loadCalls = &calls;
        hideSearchFlags = hide;
    }
    ~LoaderRecorder()
    {
        loadCalls = nullptr;
        hideSearchFlags = false;
    }

    bool isInstalled() const { return loadHook.isInstalled() && procHook.isInstalled(); }

    std::vector<LoadCall> calls;

private:
    ImportHook loadHook;
    ImportHook procHook;
};

TEST_F(VantrelInstallTest, UnregisterDllWithEmptyOrMissingPathLoadsNothing)
{
    const std::string missing = directoryOfThisProgram() + "\\NoSuchVantrelTestDll.dll";
    bool results[3] = {};
    std::vector<LoadCall> seen;
    {
        LoaderRecorder recorder(false);
        ASSERT_TRUE(recorder.isInstalled());
        VantrelInstall install;
        results[0] = install.unregisterDll("");
        results[1] = install.unregisterDll(nullptr);
        results[2] = install.unregisterDll(missing.c_str());
        seen = recorder.calls;
    }
    EXPECT_TRUE(results[0]);
    EXPECT_TRUE(results[1]);
    EXPECT_TRUE(results[2]);
    // Only the missing DLL is tried, once, and it is not found.
    EXPECT_EQ((std::vector<LoadCall>{{missing, searchFlags}}), seen);
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

struct InstallDirTypeRow
{
    const char* name;
    DWORD type;
    std::string data;      // the value's bytes
    std::string expected;  // out afterwards; it starts as "dir="
};

void PrintTo(const InstallDirTypeRow& row, std::ostream* out)
{
    *out << row.name;
}

// The text and its terminating NUL.
std::string withNul(const char* text)
{
    return std::string(text, strlen(text) + 1);
}

const std::string longName(300, 'x');

const InstallDirTypeRow installDirTypeRows[] = {
    {"Sz", REG_SZ, withNul("C:\\vt\\tests\\Typed"), "dir=C:\\vt\\tests\\Typed"},
    {"ExpandSz", REG_EXPAND_SZ, withNul("%VANTREL_TEST_ROOT%\\Typed"), "dir=C:\\vt\\tests\\Typed"},
    // Windows leaves a variable it does not know as it is; the text is then relative.
    {"ExpandSzUnknownVariable", REG_EXPAND_SZ, withNul("%VANTREL_NO_SUCH_VARIABLE%\\Typed"),
     "dir=%VANTREL_NO_SUCH_VARIABLE%\\Typed"},
    // Longer than MAX_PATH once expanded.
    {"ExpandSzLong", REG_EXPAND_SZ, withNul("C:\\%VANTREL_TEST_LONG%"), "dir=C:\\" + longName},
    // Four bytes that read as "C:\v", a folder, if the type were not looked at.
    {"Dword", REG_DWORD, std::string("C:\\v", 4), "dir="},
    {"Binary", REG_BINARY, withNul("C:\\vt\\tests\\Typed"), "dir="},
    {"MultiSz", REG_MULTI_SZ, withNul("C:\\vt\\tests\\Typed") + '\0', "dir="},
    {"None", REG_NONE, withNul("C:\\vt\\tests\\Typed"), "dir="},
};

class VantrelInstallDirTypeTest : public VantrelInstallTest, public ::testing::WithParamInterface<InstallDirTypeRow>
{
protected:
    void SetUp() override
    {
        VantrelInstallTest::SetUp();
        SetEnvironmentVariableA("VANTREL_TEST_ROOT", "C:\\vt\\tests");
        SetEnvironmentVariableA("VANTREL_TEST_LONG", longName.c_str());
    }

    void TearDown() override
    {
        SetEnvironmentVariableA("VANTREL_TEST_ROOT", nullptr);
        SetEnvironmentVariableA("VANTREL_TEST_LONG", nullptr);
        VantrelInstallTest::TearDown();
    }
};

TEST_P(VantrelInstallDirTypeTest, TakesStringsExpandsExpandableStringsAndIgnoresTheRest)
{
    const InstallDirTypeRow& row = GetParam();
    const std::string product = std::string("Vantrel Test Product Type ") + row.name;
    createEntry(product, Values{{"DisplayName", product}});
    HKEY key = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExA(HKEY_LOCAL_MACHINE, entryPath(product).c_str(), 0, KEY_SET_VALUE, &key));
    EXPECT_EQ(ERROR_SUCCESS, RegSetValueExA(key, "InstallDir", 0, row.type, reinterpret_cast<const BYTE*>(row.data.data()),
                                            static_cast<DWORD>(row.data.size())));
    RegCloseKey(key);

    VantrelInstall install;
    StringBuffer out;
    out.append("dir=");
    install.getInstallDir(product.c_str(), out);
    EXPECT_EQ(row.expected, out.getString());
}

INSTANTIATE_TEST_SUITE_P(Types, VantrelInstallDirTypeTest, ::testing::ValuesIn(installDirTypeRows),
                         [](const ::testing::TestParamInfo<InstallDirTypeRow>& info) {
                             return std::string(info.param.name);
                         });

// A component that needs a DLL beside it (SideDepComponent.dll as "VantrelMail.dll", with
// LoadRecorder.dll as VantrelSideDep.dll), laid down below C:\vt\tests or the working
// directory, and a planted VantrelSideDep.dll in the working directory, which a search
// beyond the component's folder and the system folder would find.
struct LoadingRow
{
    const char* name;
    bool dependencyBeside;       // the dependency lies beside the component
    bool relativePath;           // the component is named by a path relative to the working directory
    bool hideSearchFlags;        // the loader plays one without the LOAD_LIBRARY_SEARCH_ flags
    DWORD calls;                 // DllUnregisterServer calls
    std::vector<DWORD> flags;    // of each LoadLibraryExA call, in order
};

void PrintTo(const LoadingRow& row, std::ostream* out)
{
    *out << row.name;
}

const LoadingRow loadingRows[] = {
    {"DependencyBesideIt", true, false, false, 1, {searchFlags}},
    // Found only by a wider search; a retry with another search order would take it.
    {"DependencyOnlyPlanted", false, false, false, 0, {searchFlags}},
    // The loader rejects the flags for a relative path (ERROR_INVALID_PARAMETER, as for
    // missing flags): no second try, which would resolve it against the working directory.
    {"RelativePath", true, true, false, 0, {searchFlags}},
    {"LoaderWithoutSearchFlags", true, false, true, 1, {searchFlags, LOAD_WITH_ALTERED_SEARCH_PATH}},
};

class VantrelInstallLoadingTest : public VantrelInstallTest, public ::testing::WithParamInterface<LoadingRow>
{
protected:
    void SetUp() override
    {
        VantrelInstallTest::SetUp();
        forgetComponentRecords();
        const LoadingRow& row = GetParam();
        const std::string bin = SampleInstallation::programDirectory();
        work = currentDirectory();
        ASSERT_FALSE(work.empty());
        relativeFolder = std::string("VantrelInstallTest\\") + row.name;
        folder = (row.relativePath ? work : std::string("C:\\vt\\tests")) + "\\" + relativeFolder;
        SampleInstallation::removeTree(folder);
        ASSERT_TRUE(SampleInstallation::makeFolders(folder));
        ASSERT_TRUE(CopyFileA((bin + "\\SideDepComponent.dll").c_str(), (folder + "\\VantrelMail.dll").c_str(), FALSE));
        if (row.dependencyBeside) {
            ASSERT_TRUE(CopyFileA((bin + "\\LoadRecorder.dll").c_str(), dependencyPath().c_str(), FALSE));
        }
        planted = work + "\\" + sideDependencyName;
        ASSERT_TRUE(CopyFileA((bin + "\\LoadRecorder.dll").c_str(), planted.c_str(), FALSE));
    }

    void TearDown() override
    {
        // Wine keeps the file of a DLL whose imports could not be resolved open until the
        // process ends (Windows closes it at once); that tree goes at the next run's start.
        bool removed = SampleInstallation::removeTree(folder);
        if (GetParam().dependencyBeside) {
            EXPECT_TRUE(removed);
        }
        if (GetParam().relativePath) {
            EXPECT_TRUE(RemoveDirectoryA((work + "\\VantrelInstallTest").c_str()));
        }
        EXPECT_TRUE(DeleteFileA(planted.c_str()));
        forgetComponentRecords();
        VantrelInstallTest::TearDown();
    }

    std::string dependencyPath() const { return folder + "\\" + sideDependencyName; }

    std::string work;
    std::string relativeFolder;
    std::string folder;
    std::string planted;
};

TEST_P(VantrelInstallLoadingTest, TakesTheDependencyFromTheComponentsFolderOnly)
{
    const LoadingRow& row = GetParam();
    const std::string component = (row.relativePath ? relativeFolder : folder) + "\\VantrelMail.dll";
    std::vector<LoadCall> seen;
    {
        LoaderRecorder recorder(row.hideSearchFlags);
        ASSERT_TRUE(recorder.isInstalled());
        VantrelInstall install;
        EXPECT_TRUE(install.unregisterDll(component.c_str()));
        seen = recorder.calls;
    }

    std::vector<LoadCall> expectedCalls;
    for (DWORD flags : row.flags) {
        expectedCalls.push_back(LoadCall{component, flags});
    }
    EXPECT_EQ(expectedCalls, seen);
    EXPECT_EQ(row.calls, componentCallCount());
    LoadRecords expectedLoads;
    if (row.calls != 0) {
        expectedLoads[dependencyPath()] = {SampleInstallation::programDirectory() + "\\VantrelInstallTest.exe"};
        EXPECT_EQ(folder + "\\VantrelMail.dll", componentPath());
    }
    EXPECT_EQ(expectedLoads, readLoadRecords()) << "the planted " << planted << " must never load";
    // Both are released again.
    EXPECT_EQ(nullptr, GetModuleHandleA(sideDependencyName));
    EXPECT_EQ(nullptr, GetModuleHandleA("VantrelMail.dll"));
}

INSTANTIATE_TEST_SUITE_P(Loads, VantrelInstallLoadingTest, ::testing::ValuesIn(loadingRows),
                         [](const ::testing::TestParamInfo<LoadingRow>& info) {
                             return std::string(info.param.name);
                         });

// The COM state of the calling thread before unregisterDll, during its call of
// DllUnregisterServer and afterwards.
enum class CallerCom
{
    None,
    Sta,  // OleInitialize
    Mta,  // CoInitializeEx(COINIT_MULTITHREADED)
};

struct OleRow
{
    const char* name;
    CallerCom caller;
    DWORD during;  // the apartment the component saw
    DWORD after;   // the caller's apartment afterwards
};

void PrintTo(const OleRow& row, std::ostream* out)
{
    *out << row.name;
}

// The first single-threaded apartment of a process is its main one.
const OleRow oleRows[] = {
    {"CallerWithoutCom", CallerCom::None, APTTYPE_MAINSTA, componentNoApartment},
    {"CallerInSta", CallerCom::Sta, APTTYPE_MAINSTA, APTTYPE_MAINSTA},
    // OleInitialize fails with RPC_E_CHANGED_MODE: the caller's apartment is not ours to end.
    {"CallerInMta", CallerCom::Mta, APTTYPE_MTA, APTTYPE_MTA},
};

DWORD currentApartment()
{
    APTTYPE apartment = APTTYPE_CURRENT;
    APTTYPEQUALIFIER qualifier = APTTYPEQUALIFIER_NONE;
    return SUCCEEDED(CoGetApartmentType(&apartment, &qualifier)) ? static_cast<DWORD>(apartment)
                                                                  : componentNoApartment;
}

// Successful OleInitialize calls and OleUninitialize calls of the code under test. Wine
// ignores an OleUninitialize on a thread without a successful OleInitialize, so the
// caller's apartment alone would not show an unbalanced call under Wine.
int oleInitialized = 0;
int oleUninitialized = 0;
typedef HRESULT (WINAPI* OleInitializeProc)(LPVOID);
typedef void (WINAPI* OleUninitializeProc)(void);
OleInitializeProc platformOleInitialize = nullptr;
OleUninitializeProc platformOleUninitialize = nullptr;

HRESULT WINAPI countOleInitialize(LPVOID reserved)
{
    HRESULT result = platformOleInitialize(reserved);
    if (SUCCEEDED(result)) {
        ++oleInitialized;
    }
    return result;
}

void WINAPI countOleUninitialize()
{
    ++oleUninitialized;
    platformOleUninitialize();
}

class VantrelInstallOleTest : public VantrelInstallTest, public ::testing::WithParamInterface<OleRow>
{
protected:
    void SetUp() override
    {
        VantrelInstallTest::SetUp();
        forgetComponentRecords();
        const std::string bin = SampleInstallation::programDirectory();
        SampleInstallation::removeTree(folder);
        ASSERT_TRUE(SampleInstallation::makeFolders(folder));
        ASSERT_TRUE(CopyFileA((bin + "\\SideDepComponent.dll").c_str(), (folder + "\\VantrelMail.dll").c_str(), FALSE));
        ASSERT_TRUE(CopyFileA((bin + "\\LoadRecorder.dll").c_str(), (folder + "\\" + sideDependencyName).c_str(), FALSE));
        ASSERT_EQ(componentNoApartment, currentApartment());
    }

    void TearDown() override
    {
        EXPECT_TRUE(SampleInstallation::removeTree(folder));
        forgetComponentRecords();
        VantrelInstallTest::TearDown();
    }

    const std::string folder = "C:\\vt\\tests\\VantrelInstallTest\\Ole";
};

TEST_P(VantrelInstallOleTest, InitialisesOleAroundTheCallAndLeavesTheCallersApartment)
{
    const OleRow& row = GetParam();
    HRESULT callerInit = S_OK;
    if (row.caller == CallerCom::Sta) {
        callerInit = OleInitialize(nullptr);
    } else if (row.caller == CallerCom::Mta) {
        callerInit = CoInitializeEx(nullptr, COINIT_MULTITHREADED);
    }
    ASSERT_EQ(S_OK, callerInit);

    oleInitialized = 0;
    oleUninitialized = 0;
    {
        ImportHook initHook("ole32.dll", "OleInitialize", reinterpret_cast<void*>(&countOleInitialize));
        ImportHook uninitHook("ole32.dll", "OleUninitialize", reinterpret_cast<void*>(&countOleUninitialize));
        ASSERT_TRUE(initHook.isInstalled() && uninitHook.isInstalled());
        platformOleInitialize = reinterpret_cast<OleInitializeProc>(initHook.original());
        platformOleUninitialize = reinterpret_cast<OleUninitializeProc>(uninitHook.original());
        VantrelInstall install;
        EXPECT_TRUE(install.unregisterDll((folder + "\\VantrelMail.dll").c_str()));
    }
    EXPECT_EQ(1u, componentCallCount());
    EXPECT_EQ(row.during, componentApartment());
    EXPECT_EQ(row.after, currentApartment());
    EXPECT_EQ(row.caller == CallerCom::Mta ? 0 : 1, oleInitialized);
    EXPECT_EQ(oleInitialized, oleUninitialized);

    if (row.caller == CallerCom::Sta) {
        OleUninitialize();
    } else if (row.caller == CallerCom::Mta) {
        CoUninitialize();
    }
    EXPECT_EQ(componentNoApartment, currentApartment());
}

INSTANTIATE_TEST_SUITE_P(Callers, VantrelInstallOleTest, ::testing::ValuesIn(oleRows),
                         [](const ::testing::TestParamInfo<OleRow>& info) { return std::string(info.param.name); });

} // namespace
