// VT_RegistryTest.cpp: slash paths, string reads and key closing against the Wine registry.
#include "VT_Registry.h"

#include "TestImportHook.h"
#include "FoundationTestName.h"
#include "StringBuffer.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <string.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

const char* const testRoot = "Software\\VantrelTest";

// One call the code under test made to RegOpenKeyExA or RegCloseKey.
struct RegistryCall
{
    bool isOpen;
    HKEY key;      // the opened key (null when the open failed), or the key closed
    REGSAM access; // for opens
};

typedef LONG (WINAPI* RegOpenKeyExAProc)(HKEY, LPCSTR, DWORD, REGSAM, PHKEY);
typedef LONG (WINAPI* RegCloseKeyProc)(HKEY);

std::vector<RegistryCall>* recordedCalls = nullptr;
RegOpenKeyExAProc platformOpen = nullptr;
RegCloseKeyProc platformClose = nullptr;

LONG WINAPI recordOpen(HKEY parent, LPCSTR name, DWORD options, REGSAM access, PHKEY result)
{
    LONG status = platformOpen(parent, name, options, access, result);
    recordedCalls->push_back(RegistryCall{true, status == ERROR_SUCCESS ? *result : nullptr, access});
    return status;
}

LONG WINAPI recordClose(HKEY key)
{
    recordedCalls->push_back(RegistryCall{false, key, 0});
    return platformClose(key);
}

// While it lives, the opens and closes of the code under test are recorded (and done).
class RegistryRecorder
{
public:
    RegistryRecorder()
        : openHook("advapi32.dll", "RegOpenKeyExA", reinterpret_cast<void*>(&recordOpen)),
          closeHook("advapi32.dll", "RegCloseKey", reinterpret_cast<void*>(&recordClose))
    {
        platformOpen = reinterpret_cast<RegOpenKeyExAProc>(openHook.original());
        platformClose = reinterpret_cast<RegCloseKeyProc>(closeHook.original());
        recordedCalls = &calls;
    }
    ~RegistryRecorder() { recordedCalls = nullptr; }

    bool isInstalled() const { return openHook.isInstalled() && closeHook.isInstalled(); }

    std::vector<RegistryCall> calls;

private:
    ImportHook openHook;
    ImportHook closeHook;
};

bool isPredefinedRoot(HKEY key)
{
    return key == HKEY_CLASSES_ROOT || key == HKEY_CURRENT_USER || key == HKEY_LOCAL_MACHINE ||
           key == HKEY_USERS || key == HKEY_CURRENT_CONFIG;
}

// Each test works below HKLM\Software\VantrelTest\<its name>, which it creates with a
// key Outer holding a key Inner, each with a "Marker" value naming it.
class VT_RegistryFixture : public ::testing::Test
{
protected:
    void SetUp() override
    {
        name = currentTestName();
        ownPath = std::string(testRoot) + "\\" + name;
        RegDeleteTreeA(HKEY_LOCAL_MACHINE, ownPath.c_str());
        setString("", "Marker", "own");
        setString("Outer", "Marker", "outer");
        setString("Outer\\Inner", "Marker", "inner");
    }

    void TearDown() override
    {
        RegDeleteTreeA(HKEY_LOCAL_MACHINE, ownPath.c_str());
        // Goes only once no other test's key is left below it.
        RegDeleteKeyA(HKEY_LOCAL_MACHINE, testRoot);
    }

    // Sets a value below the test's own key (subPath in backslash form, "" for the key).
    void setValue(const char* subPath, const char* valueName, DWORD type, const void* data, DWORD size)
    {
        std::string path = ownPath;
        if (subPath[0] != '\0') {
            path += std::string("\\") + subPath;
        }
        HKEY key = nullptr;
        ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, nullptr, 0,
                                                 KEY_ALL_ACCESS, nullptr, &key, nullptr));
        EXPECT_EQ(ERROR_SUCCESS, RegSetValueExA(key, valueName, 0, type,
                                                static_cast<const BYTE*>(data), size));
        RegCloseKey(key);
    }

    void setString(const char* subPath, const char* valueName, const char* text)
    {
        setValue(subPath, valueName, REG_SZ, text, static_cast<DWORD>(strlen(text) + 1));
    }

    // The test's own key in slash form followed by rest.
    std::string slashPath(const char* rest) const
    {
        return "Software/VantrelTest/" + name + rest;
    }

    // The "Marker" text of key, or "(none)".
    static std::string markerOf(HKEY key)
    {
        char text[64] = {};
        DWORD size = sizeof(text) - 1;
        if (RegQueryValueExA(key, "Marker", nullptr, nullptr, reinterpret_cast<BYTE*>(text), &size) !=
            ERROR_SUCCESS) {
            return "(none)";
        }
        return text;
    }

    std::string name;
    std::string ownPath;
};

struct PathRow
{
    const char* name;
    const char* before; // path text before the test's own key name
    const char* after;  // and after it
    const char* marker; // of the key it names
};

const PathRow pathRows[] = {
    {"Plain", "Software/VantrelTest/", "/Outer/Inner", "inner"},
    {"TrailingSlash", "Software/VantrelTest/", "/Outer/Inner/", "inner"},
    {"DoubledSlashes", "Software//VantrelTest/", "//Outer/Inner", "inner"},
    {"LeadingSlash", "/Software/VantrelTest/", "/Outer/Inner", "inner"},
    {"AllAtOnce", "//Software///VantrelTest/", "/Outer//Inner//", "inner"},
    {"OuterWithTrailingSlash", "Software/VantrelTest/", "/Outer/", "outer"},
    {"OwnKey", "Software/VantrelTest/", "", "own"},
};

class VT_RegistryPathTest : public VT_RegistryFixture, public ::testing::WithParamInterface<PathRow>
{
};

TEST_P(VT_RegistryPathTest, OpensTheKeyItNames)
{
    const PathRow& row = GetParam();
    std::string path = row.before + name + row.after;
    VT_Registry registry;
    HKEY key = registry.openKeyPath(HKEY_LOCAL_MACHINE, path.c_str(), true);
    ASSERT_NE(nullptr, key) << path;
    EXPECT_FALSE(isPredefinedRoot(key));
    EXPECT_EQ(row.marker, markerOf(key));
    VT_Registry::closeKey(key);

    key = registry.openLocalMachinePath(path.c_str(), true);
    ASSERT_NE(nullptr, key) << path;
    EXPECT_EQ(row.marker, markerOf(key));
    VT_Registry::closeKey(key);

    StringBuffer out;
    EXPECT_TRUE(registry.readString(path.c_str(), "Marker", out));
    EXPECT_STREQ(row.marker, out.getString());
}

INSTANTIATE_TEST_SUITE_P(Forms, VT_RegistryPathTest, ::testing::ValuesIn(pathRows),
                         [](const ::testing::TestParamInfo<PathRow>& info) {
                             return std::string(info.param.name);
                         });

using VT_RegistryTest = VT_RegistryFixture;

TEST_F(VT_RegistryTest, PathOfOnlySlashesGivesTheRootItself)
{
    VT_Registry registry;
    EXPECT_EQ(HKEY_LOCAL_MACHINE, registry.openKeyPath(HKEY_LOCAL_MACHINE, "/", true));
    EXPECT_EQ(HKEY_LOCAL_MACHINE, registry.openKeyPath(HKEY_LOCAL_MACHINE, "///", false));
    EXPECT_EQ(HKEY_LOCAL_MACHINE, registry.openLocalMachinePath("//", true));
    EXPECT_EQ(HKEY_CURRENT_USER, registry.openKeyPath(HKEY_CURRENT_USER, "/", true));
}

TEST_F(VT_RegistryTest, EmptyNullAndMissingPathsGiveNull)
{
    std::string missing[] = {
        "NoSuchVantrelKey",
        "Software/VantrelTest/NoSuchVantrelKey/Outer",
        slashPath("/Outer/NoSuchVantrelKey"),
        slashPath("/Outer/Inner/NoSuchVantrelKey/"),
    };
    VT_Registry registry;
    EXPECT_EQ(nullptr, registry.openKeyPath(HKEY_LOCAL_MACHINE, "", true));
    EXPECT_EQ(nullptr, registry.openKeyPath(HKEY_LOCAL_MACHINE, nullptr, true));
    EXPECT_EQ(nullptr, registry.openLocalMachinePath("", false));
    EXPECT_EQ(nullptr, registry.openLocalMachinePath(nullptr, false));
    for (const std::string& path : missing) {
        EXPECT_EQ(nullptr, registry.openKeyPath(HKEY_LOCAL_MACHINE, path.c_str(), true)) << path;
        EXPECT_EQ(nullptr, registry.openKeyPath(HKEY_LOCAL_MACHINE, path.c_str(), false)) << path;
    }
}

// Expects the calls of one openKeyPath: the components opened in turn with access, and
// each parent closed right after its child was opened (or failed to open), the root never:
// open 0, open 1, close 0, open 2, close 1, ... Returns the last key opened (null when the
// last open failed).
HKEY expectStepwiseOpens(const std::vector<RegistryCall>& calls, size_t opens, REGSAM access)
{
    const size_t expectedCalls = 2 * opens - 1;
    EXPECT_EQ(expectedCalls, calls.size());
    if (calls.size() != expectedCalls) {
        return nullptr;
    }
    std::vector<HKEY> opened;
    for (size_t i = 0; i < opens; ++i) {
        const RegistryCall& open = calls[i == 0 ? 0 : 2 * i - 1];
        EXPECT_TRUE(open.isOpen) << "open " << i;
        EXPECT_EQ(access, open.access) << "open " << i;
        if (i + 1 < opens) {
            EXPECT_NE(nullptr, open.key) << "open " << i;
        }
        if (i > 0) {
            const RegistryCall& close = calls[2 * i];
            EXPECT_FALSE(close.isOpen) << "close after open " << i;
            EXPECT_EQ(opened[i - 1], close.key) << "close after open " << i;
        }
        opened.push_back(open.key);
    }
    return opened.back();
}

struct OpenCallsRow
{
    const char* name;
    const char* before;
    const char* after;
    bool readOnly;
    size_t opens;
    bool found;
};

const OpenCallsRow openCallsRows[] = {
    {"ReadOnly", "Software/VantrelTest/", "/Outer/Inner", true, 5, true},
    {"ForWriting", "Software/VantrelTest/", "/Outer/Inner", false, 5, true},
    {"EmptyPiecesOpenNothing", "//Software//VantrelTest/", "//Outer/", true, 4, true},
    {"ThirdComponentMissing", "Software/VantrelTest/NoSuchVantrelKey", "/Outer", true, 3, false},
    {"LastComponentMissing", "Software/VantrelTest/", "/Outer/NoSuchVantrelKey", false, 5, false},
    {"FirstComponentMissing", "NoSuchVantrelKey", "/Outer", true, 1, false},
};

class VT_RegistryOpenCallsTest : public VT_RegistryFixture,
                                 public ::testing::WithParamInterface<OpenCallsRow>
{
};

TEST_P(VT_RegistryOpenCallsTest, ClosesEachParentOnceItsChildIsOpen)
{
    const OpenCallsRow& row = GetParam();
    // The row's "before" part names a missing key itself when it ends without a slash.
    std::string before = row.before;
    std::string path = before.back() == '/' ? before + name + row.after : before + row.after;
    VT_Registry registry;
    HKEY key = nullptr;
    std::vector<RegistryCall> calls;
    {
        RegistryRecorder recorder;
        ASSERT_TRUE(recorder.isInstalled());
        key = registry.openKeyPath(HKEY_LOCAL_MACHINE, path.c_str(), row.readOnly);
        calls = recorder.calls;
    }
    HKEY last = expectStepwiseOpens(calls, row.opens, row.readOnly ? KEY_READ : KEY_ALL_ACCESS);
    if (row.found) {
        ASSERT_NE(nullptr, key);
        EXPECT_EQ(last, key);
    } else {
        EXPECT_EQ(nullptr, key);
        EXPECT_EQ(nullptr, last);
    }
    VT_Registry::closeKey(key);
}

INSTANTIATE_TEST_SUITE_P(Paths, VT_RegistryOpenCallsTest, ::testing::ValuesIn(openCallsRows),
                         [](const ::testing::TestParamInfo<OpenCallsRow>& info) {
                             return std::string(info.param.name);
                         });

TEST_F(VT_RegistryTest, ReadStringClosesEveryKeyItOpens)
{
    struct Read
    {
        std::string path;
        const char* valueName;
        bool found;
    };
    const Read reads[] = {
        {slashPath("/Outer/Inner"), "Marker", true},
        {slashPath("/Outer/Inner"), "NoSuchValue", false},
        {slashPath("/Outer/NoSuchVantrelKey"), "Marker", false},
    };
    for (const Read& read : reads) {
        SCOPED_TRACE(read.path + " " + read.valueName);
        VT_Registry registry;
        StringBuffer out;
        std::vector<HKEY> opened;
        std::vector<HKEY> closed;
        {
            RegistryRecorder recorder;
            ASSERT_TRUE(recorder.isInstalled());
            EXPECT_EQ(read.found, registry.readString(read.path.c_str(), read.valueName, out));
            for (const RegistryCall& call : recorder.calls) {
                if (call.isOpen && call.key != nullptr) {
                    opened.push_back(call.key);
                } else if (!call.isOpen) {
                    closed.push_back(call.key);
                }
            }
        }
        EXPECT_FALSE(opened.empty());
        std::sort(opened.begin(), opened.end());
        std::sort(closed.begin(), closed.end());
        EXPECT_EQ(opened, closed);
    }
}

TEST_F(VT_RegistryTest, ReadStringAppendsAndNeverClears)
{
    VT_Registry registry;
    StringBuffer out;
    out.append("before:");
    std::string path = slashPath("/Outer");
    EXPECT_TRUE(registry.readString(path.c_str(), "Marker", out));
    EXPECT_STREQ("before:outer", out.getString());
    EXPECT_TRUE(registry.readString(path.c_str(), "Marker", out));
    EXPECT_STREQ("before:outerouter", out.getString());
}

TEST_F(VT_RegistryTest, FailedReadStringLeavesOutAsItWas)
{
    setValue("Outer", "EmptyBinary", REG_BINARY, "", 0);
    struct Failure
    {
        std::string path;
        const char* valueName;
    };
    const Failure failures[] = {
        {slashPath("/Outer"), "NoSuchValue"},
        {slashPath("/Outer"), "EmptyBinary"},
        {slashPath("/NoSuchVantrelKey"), "Marker"},
        {"", "Marker"},
    };
    VT_Registry registry;
    StringBuffer out;
    out.append("kept");
    for (const Failure& failure : failures) {
        EXPECT_FALSE(registry.readString(failure.path.c_str(), failure.valueName, out)) << failure.path;
        EXPECT_STREQ("kept", out.getString());
    }
    EXPECT_FALSE(registry.readString(nullptr, "Marker", out));
    std::string path = slashPath("/Outer");
    EXPECT_FALSE(registry.readString(path.c_str(), nullptr, out));
    EXPECT_STREQ("kept", out.getString());
}

TEST_F(VT_RegistryTest, ValueWithoutNulBecomesExactlyItsBytes)
{
    // Sizes around the heap's granularity, so that a missing terminator would meet
    // whatever lies after the block.
    const DWORD sizes[] = {1, 3, 7, 8, 13, 16, 31, 64};
    std::string bytes = "0123456789abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ!?";
    for (DWORD size : sizes) {
        SCOPED_TRACE(size);
        setValue("Outer", "Binary", REG_BINARY, bytes.data(), size);
        setValue("Outer", "Unterminated", REG_SZ, bytes.data(), size);
        std::string path = slashPath("/Outer");
        VT_Registry registry;
        const char* valueNames[] = {"Binary", "Unterminated"};
        for (const char* valueName : valueNames) {
            StringBuffer out;
            out.append(">");
            EXPECT_TRUE(registry.readString(path.c_str(), valueName, out)) << valueName;
            EXPECT_EQ(">" + bytes.substr(0, size), out.getString()) << valueName;
        }

        HKEY key = registry.openLocalMachinePath(path.c_str(), true);
        ASSERT_NE(nullptr, key);
        char* block = registry.queryValue(key, "Binary");
        ASSERT_NE(nullptr, block);
        EXPECT_EQ(0, memcmp(bytes.data(), block, size));
        EXPECT_EQ('\0', block[size]);
        delete[] block;
        EXPECT_EQ(nullptr, registry.queryValue(key, "NoSuchValue"));
        VT_Registry::closeKey(key);
    }
}

TEST_F(VT_RegistryTest, ReportsTheTypeOfWhatItReads)
{
    struct TypedValue
    {
        const char* name;
        DWORD type;
        const char* data;
        DWORD size;
        const char* text;  // what readString appends
    };
    const TypedValue values[] = {
        {"Sz", REG_SZ, "C:\\dir", 7, "C:\\dir"},
        {"ExpandSz", REG_EXPAND_SZ, "%TEMP%\\dir", 11, "%TEMP%\\dir"},
        {"Dword", REG_DWORD, "C:\\d", 4, "C:\\d"},
        {"Binary", REG_BINARY, "C:\\dir", 7, "C:\\dir"},
        {"MultiSz", REG_MULTI_SZ, "C:\\dir\0D:\\\0", 12, "C:\\dir"},
    };
    std::string path = slashPath("/Outer");
    VT_Registry registry;
    for (const TypedValue& value : values) {
        SCOPED_TRACE(value.name);
        setValue("Outer", value.name, value.type, value.data, value.size);
        StringBuffer out;
        DWORD type = REG_NONE;
        EXPECT_TRUE(registry.readString(path.c_str(), value.name, out, &type));
        EXPECT_EQ(value.type, type);
        EXPECT_STREQ(value.text, out.getString());

        HKEY key = registry.openLocalMachinePath(path.c_str(), true);
        ASSERT_NE(nullptr, key);
        type = REG_NONE;
        char* block = registry.queryValue(key, value.name, &type);
        ASSERT_NE(nullptr, block);
        EXPECT_EQ(value.type, type);
        delete[] block;
        VT_Registry::closeKey(key);
    }

    // Nothing read: the type is left as it was.
    StringBuffer out;
    DWORD type = 0xDEADu;
    EXPECT_FALSE(registry.readString(path.c_str(), "NoSuchValue", out, &type));
    EXPECT_EQ(0xDEADu, type);
}

TEST_F(VT_RegistryTest, CloseKeyClosesAKeyTheTestOpened)
{
    HKEY key = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExA(HKEY_LOCAL_MACHINE, ownPath.c_str(), 0, KEY_READ, &key));
    ASSERT_EQ("own", markerOf(key));
    VT_Registry::closeKey(key);
    DWORD size = 0;
    EXPECT_EQ(ERROR_INVALID_HANDLE, RegQueryValueExA(key, "Marker", nullptr, nullptr, nullptr, &size));
}

TEST_F(VT_RegistryTest, CloseKeyLeavesThePredefinedRootsOpen)
{
    const HKEY roots[] = {
        HKEY_CLASSES_ROOT, HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE, HKEY_USERS, HKEY_CURRENT_CONFIG,
    };
    // Wine ignores RegCloseKey on a predefined root, so whether closeKey passes one on
    // shows only in the calls it makes.
    std::vector<RegistryCall> calls;
    {
        RegistryRecorder recorder;
        ASSERT_TRUE(recorder.isInstalled());
        for (HKEY root : roots) {
            VT_Registry::closeKey(root);
        }
        VT_Registry::closeKey(nullptr);
        calls = recorder.calls;
    }
    EXPECT_TRUE(calls.empty());
    for (HKEY root : roots) {
        HKEY key = nullptr;
        EXPECT_EQ(ERROR_SUCCESS, RegOpenKeyExA(root, "", 0, KEY_READ, &key)) << root;
        if (key != nullptr) {
            RegCloseKey(key);
        }
    }
}

TEST_F(VT_RegistryTest, CloseKeyHandsEveryOtherKeyToRegCloseKey)
{
    HKEY key = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExA(HKEY_LOCAL_MACHINE, ownPath.c_str(), 0, KEY_READ, &key));
    std::vector<RegistryCall> calls;
    {
        RegistryRecorder recorder;
        ASSERT_TRUE(recorder.isInstalled());
        VT_Registry::closeKey(HKEY_PERFORMANCE_DATA);
        VT_Registry::closeKey(key);
        calls = recorder.calls;
    }
    ASSERT_EQ(2u, calls.size());
    EXPECT_FALSE(calls[0].isOpen);
    EXPECT_EQ(HKEY_PERFORMANCE_DATA, calls[0].key);
    EXPECT_FALSE(calls[1].isOpen);
    EXPECT_EQ(key, calls[1].key);
}

TEST_F(VT_RegistryTest, OpenForWritingAllowsWritesAndReadOnlyRefusesThem)
{
    std::string path = slashPath("/Outer");
    VT_Registry registry;
    const BYTE text[] = "written";

    HKEY readOnly = registry.openKeyPath(HKEY_LOCAL_MACHINE, path.c_str(), true);
    ASSERT_NE(nullptr, readOnly);
    EXPECT_EQ(ERROR_ACCESS_DENIED, RegSetValueExA(readOnly, "Written", 0, REG_SZ, text, sizeof(text)));
    VT_Registry::closeKey(readOnly);

    HKEY writable = registry.openKeyPath(HKEY_LOCAL_MACHINE, path.c_str(), false);
    ASSERT_NE(nullptr, writable);
    EXPECT_EQ(ERROR_SUCCESS, RegSetValueExA(writable, "Written", 0, REG_SZ, text, sizeof(text)));
    HKEY created = nullptr;
    EXPECT_EQ(ERROR_SUCCESS, RegCreateKeyExA(writable, "Created", 0, nullptr, 0, KEY_READ, nullptr,
                                             &created, nullptr));
    RegCloseKey(created);
    VT_Registry::closeKey(writable);

    StringBuffer out;
    EXPECT_TRUE(registry.readString(path.c_str(), "Written", out));
    EXPECT_STREQ("written", out.getString());
}

} // namespace
