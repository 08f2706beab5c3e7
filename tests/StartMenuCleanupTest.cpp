// StartMenuCleanupTest.cpp: the family's shortcuts and group leave the real Programs folder; nothing else does.
#include "StartMenuCleanup.h"

#include "SampleChecks.h"
#include "SampleInstallation.h"
#include "UninstallConstants.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

const char* const testName = "StartMenuCleanupTest";
const char* const internetShortcut = "[InternetShortcut]\r\nURL=https://www.vantrel.example/\r\n";

// Rows 1, 2 and 4 of the family's table, by the names the installation gives them.
const std::vector<std::string> rowsOneTwoFour = {
    "Vantrel website.url",
    "How to order.url",
    "Vantrel Mail.url",
};

std::vector<std::string> everyTableRow()
{
    std::vector<std::string> names;
    for (const ShortcutRow* row = shortcutTable; row->fileName != nullptr; ++row) {
        names.push_back(row->fileName + 1);
    }
    return names;
}

std::vector<std::string> plus(std::vector<std::string> names, const std::string& more)
{
    names.push_back(more);
    return names;
}

struct GroupCase
{
    const char* name;
    bool makeGroup;
    std::vector<std::string> shortcuts;  // laid into the group
    bool groupLeft;
    std::vector<std::string> left;       // the group's listing afterwards
};

void PrintTo(const GroupCase& row, std::ostream* out)
{
    *out << row.name;
}

const GroupCase groupCases[] = {
    { "RowsOneTwoFour", true, rowsOneTwoFour, false, {} },
    { "ForeignShortcutStays", true, plus(rowsOneTwoFour, "My Own Link.url"), true, { "My Own Link.url" } },
    { "ForeignFolderStays", true, plus(rowsOneTwoFour, "Old Links\\"), true, { "Old Links\\" } },
    { "NoGroup", false, {}, false, {} },
    { "EveryTableRow", true, everyTableRow(), false, {} },
};

// Lays each name into dir: a folder when it ends in a backslash, else a shortcut.
bool layDownShortcuts(const std::string& dir, const std::vector<std::string>& names)
{
    if (!SampleInstallation::makeFolders(dir)) {
        return false;
    }
    for (const std::string& name : names) {
        std::string path = dir + "\\" + name;
        bool made = name.back() == '\\' ? SampleInstallation::makeFolders(path.substr(0, path.size() - 1))
                                        : SampleInstallation::writeFile(path, internetShortcut);
        if (!made) {
            return false;
        }
    }
    return true;
}

// The current user's Programs folder comes from this value; pointing it at a missing
// folder makes the shell's look-up fail. The value is saved below programsBackupKey while
// it points elsewhere, so the next run repairs a run that ended in between.
const char* const userShellFolders = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders";
const char* const programsBackupKey = "Software\\Vantrel Test\\Saved User Shell Folders";

bool copyProgramsValue(const char* from, const char* to)
{
    char data[MAX_PATH * 2];
    DWORD size = sizeof(data);
    DWORD type = 0;
    if (RegGetValueA(HKEY_CURRENT_USER, from, "Programs",
                     RRF_RT_REG_SZ | RRF_RT_REG_EXPAND_SZ | RRF_NOEXPAND, &type, data, &size) != ERROR_SUCCESS) {
        return false;
    }
    HKEY key = nullptr;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, to, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr) !=
        ERROR_SUCCESS) {
        return false;
    }
    bool copied = RegSetValueExA(key, "Programs", 0, type, reinterpret_cast<const BYTE*>(data), size) ==
                  ERROR_SUCCESS;
    RegCloseKey(key);
    return copied;
}

bool restoreProgramsValue()
{
    if (!keyExists(HKEY_CURRENT_USER, programsBackupKey)) {
        return true;
    }
    return copyProgramsValue(programsBackupKey, userShellFolders) &&
           RegDeleteKeyA(HKEY_CURRENT_USER, programsBackupKey) == ERROR_SUCCESS;
}

// "\Vantrel Components" at the root of the current drive, holding the names of rows 1,
// 2 and 4: the step must never take the group's name without the Programs folder.
class StartMenuCleanupBase : public testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(restoreProgramsValue());
        group = SampleInstallation::startMenuGroupPath();
        ASSERT_FALSE(group.empty());
        ASSERT_TRUE(SampleInstallation::removeTree(group));
        rootGroup = currentDirectory().substr(0, 2) + startMenuGroup;
        ASSERT_EQ(":\\Vantrel Components", rootGroup.substr(1));
        ASSERT_TRUE(makeSentinelFolder(rootGroup));
        ASSERT_TRUE(layDownShortcuts(rootGroup, rowsOneTwoFour));
        rootGroupBefore = listTree(rootGroup);
    }

    void TearDown() override
    {
        EXPECT_TRUE(SampleInstallation::removeTree(group));
        EXPECT_TRUE(removeSentinelFolder(rootGroup));
    }

    void expectRootGroupUntouched()
    {
        EXPECT_EQ(rootGroupBefore, listTree(rootGroup));
    }

    std::string group;
    std::string rootGroup;
    std::vector<std::string> rootGroupBefore;
};

class StartMenuCleanupTest : public StartMenuCleanupBase, public testing::WithParamInterface<GroupCase>
{
};

TEST_P(StartMenuCleanupTest, RemovesTheFamilysShortcutsOnly)
{
    const GroupCase& row = GetParam();
    if (row.makeGroup) {
        ASSERT_TRUE(layDownShortcuts(group, row.shortcuts));
    }
    std::vector<std::string> programsBefore = listTree(group.substr(0, group.find_last_of('\\')));

    removeStartMenuEntries();

    EXPECT_EQ(row.groupLeft, pathExists(group));
    EXPECT_EQ(row.left, listTree(group));
    if (!row.makeGroup) {
        EXPECT_EQ(programsBefore, listTree(group.substr(0, group.find_last_of('\\'))));
    }
    expectRootGroupUntouched();
}

INSTANTIATE_TEST_SUITE_P(Groups, StartMenuCleanupTest, testing::ValuesIn(groupCases),
                         [](const testing::TestParamInfo<GroupCase>& info) { return info.param.name; });

TEST(StartMenuTableTest, HoldsThirteenRows)
{
    EXPECT_EQ(13u, everyTableRow().size());
}

class StartMenuWithoutProgramsTest : public StartMenuCleanupBase
{
protected:
    void SetUp() override
    {
        StartMenuCleanupBase::SetUp();
        if (HasFatalFailure()) {
            return;
        }
        std::string missing = sampleCaseDir(testName, "Missing Programs");
        ASSERT_FALSE(pathExists(missing));
        ASSERT_TRUE(copyProgramsValue(userShellFolders, programsBackupKey));
        ASSERT_EQ(ERROR_SUCCESS, RegSetKeyValueA(HKEY_CURRENT_USER, userShellFolders, "Programs", REG_SZ,
                                                 missing.c_str(), static_cast<DWORD>(missing.size() + 1)));
    }

    void TearDown() override
    {
        EXPECT_TRUE(restoreProgramsValue());
        EXPECT_EQ(group, SampleInstallation::startMenuGroupPath());
        StartMenuCleanupBase::TearDown();
    }
};

TEST_F(StartMenuWithoutProgramsTest, LeavesTheDriveRootAlone)
{
    ASSERT_TRUE(SampleInstallation::startMenuGroupPath().empty());
    removeStartMenuEntries();
    expectRootGroupUntouched();
}

} // namespace
