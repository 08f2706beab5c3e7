// RunUninstallLinkTest.cpp: the uninstall procedure where a folder it empties, the install
// directory or the Start Menu group has been replaced by a link to somebody else's folder.
#include "RunUninstall.h"
#include "StartMenuCleanup.h"

#include "SampleChecks.h"
#include "SampleInstallation.h"
#include "SampleLabelWindow.h"
#include "UninstallConstants.h"
#include "UninstallOptions.h"
#include "UnixLinkRequest.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

typedef std::vector<std::string> Names;

const char* const testName = "RunUninstallLinkTest";

// "Outside": somebody else's folder, laid out like an installation (each of the family's
// folders with a file of its own), which a followed link would empty.
bool layDownOutside(const std::string& outside)
{
    for (int i = 0; i < sampleFamilyFolderCount; ++i) {
        if (!makeSentinelFolder(outside + "\\" + sampleFamilyFolders[i]) ||
            !SampleInstallation::writeFile(outside + "\\" + sampleFamilyFolders[i] + "\\theirs.txt", "theirs")) {
            return false;
        }
    }
    return true;
}

struct LinkCase
{
    const char* name;
    const char* swapped;  // relative to the install directory; "" swaps the install directory
    Names foldersLeft;    // the family's folders left in the install directory
};

void PrintTo(const LinkCase& row, std::ostream* out)
{
    *out << row.name;
}

const LinkCase linkCases[] = {
    { "IncludeIsLink", "\\Include", { "Include", "Include.moved" } },
    { "ProductFolderIsLink", "\\Vantrel Mail", { "Vantrel Mail", "Vantrel Mail.moved" } },
    { "CommonIsLink", "\\Common", { "Common", "Common.moved" } },
    { "InstallDirIsLink", "", {} },
};

class RunUninstallLinkTest : public testing::TestWithParam<LinkCase>
{
protected:
    void SetUp() override
    {
        caseDir = sampleCaseDir(testName, GetParam().name);
        installDir = caseDir + "\\Vantrel";
        outside = caseDir + "\\Outside";
        ASSERT_EQ("", removeLinks(caseDir));
        ASSERT_TRUE(SampleInstallation::removeTree(caseDir));
        ASSERT_TRUE(sample.remove(installDir.c_str()));
        ASSERT_TRUE(sample.layDown(installDir.c_str(), SampleOptions()));
        ASSERT_TRUE(layDownOutside(outside));
        ASSERT_TRUE(window.isComplete());
    }

    void TearDown() override
    {
        EXPECT_EQ("", removeLinks(caseDir));
        EXPECT_TRUE(sample.remove(installDir.c_str()));
        EXPECT_TRUE(SampleInstallation::removeTree(caseDir));
    }

    SampleInstallation sample;
    SampleLabelWindow window;
    std::string caseDir;
    std::string installDir;
    std::string outside;
};

TEST_P(RunUninstallLinkTest, WhatALinkPointsToKeepsEveryFile)
{
    const LinkCase& row = GetParam();
    const std::string swapped = installDir + row.swapped;
    const std::string target = row.swapped[0] == '\0' ? outside : outside + row.swapped;
    ASSERT_EQ("", swapFolderForLink(swapped, target));
    const Names outsideBefore = listTree(outside);
    // Through the link, the procedure's path leads into Outside.
    ASSERT_TRUE(pathExists(swapped + "\\theirs.txt") || pathExists(swapped + "\\Include\\theirs.txt"));

    uninstallOptions = { true, true, true, true, true };
    runUninstall(window.getWindow());

    EXPECT_EQ(outsideBefore, listTree(outside));
    if (row.swapped[0] != '\0') {
        // The other folders go as ever; the swapped one and the real folder moved aside stay.
        Names left;
        for (const std::string& entry : listTree(installDir)) {
            if (entry.find('\\') == entry.size() - 1) {
                left.push_back(entry.substr(0, entry.size() - 1));
            }
        }
        Names expected = row.foldersLeft;
        std::sort(expected.begin(), expected.end());
        std::sort(left.begin(), left.end());
        EXPECT_EQ(expected, left);
    }
    EXPECT_FALSE(keyExists(HKEY_LOCAL_MACHINE, sampleEntryKey));
}

INSTANTIATE_TEST_SUITE_P(Links, RunUninstallLinkTest, testing::ValuesIn(linkCases),
                         [](const testing::TestParamInfo<LinkCase>& info) { return info.param.name; });

// The group lives in the user's own profile, where the user may put a link in its place:
// the folder it points to keeps the family's shortcut names it holds.
TEST(StartMenuLinkTest, GroupThatIsALinkIsLeftAlone)
{
    const std::string group = SampleInstallation::startMenuGroupPath();
    ASSERT_FALSE(group.empty());
    const std::string outside = sampleCaseDir(testName, "GroupOutside");
    ASSERT_EQ("", removeLinks(group));
    ASSERT_TRUE(SampleInstallation::removeTree(group));
    ASSERT_TRUE(makeSentinelFolder(outside));
    ASSERT_TRUE(SampleInstallation::makeFolders(group));
    for (const ShortcutRow* row = shortcutTable; row->fileName != nullptr; ++row) {
        ASSERT_TRUE(SampleInstallation::writeFile(outside + row->fileName, "theirs"));
        ASSERT_TRUE(SampleInstallation::writeFile(group + row->fileName, "[InternetShortcut]\r\n"));
    }
    ASSERT_EQ("", swapFolderForLink(group, outside));
    const Names outsideBefore = listTree(outside);
    ASSERT_TRUE(pathExists(group + shortcutTable[0].fileName));

    removeStartMenuEntries();

    EXPECT_EQ(outsideBefore, listTree(outside));
    EXPECT_EQ("", removeLinks(group));
    EXPECT_TRUE(SampleInstallation::removeTree(group + ".moved"));
    EXPECT_TRUE(removeSentinelFolder(outside));
}

} // namespace
