// RunUninstallTest.cpp: the uninstall procedure on laid-down installations, for choices of removals and bad install dirs.
#include "RunUninstall.h"

#include "SampleChecks.h"
#include "SampleInstallation.h"
#include "SampleLabelWindow.h"
#include "UninstallOptions.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

typedef std::vector<std::string> Names;

const char* const testName = "RunUninstallTest";
const char* const mailDll = "VantrelMail.dll";
const char* const utilDll = "VantrelUtil.dll";

bool contains(const Names& names, const std::string& name)
{
    return std::find(names.begin(), names.end(), name) != names.end();
}

const Names everyFolder(sampleFamilyFolders, sampleFamilyFolders + sampleFamilyFolderCount);
const Names sharedFolders = { "C++ Builder 5 Libs", "IDL", "Include", "Type Libraries", "Visual C++ 6 Libs" };

Names plus(Names names, const Names& more)
{
    names.insert(names.end(), more.begin(), more.end());
    return names;
}

// What the read-only file keeps of the product folder.
const Names readOnlySurvivors = {
    "Vantrel Mail\\",
    "Vantrel Mail\\Samples\\",
    "Vantrel Mail\\Samples\\Deep\\",
    "Vantrel Mail\\Samples\\Deep\\locked.txt",
};

// The listing of the install directory once the folders not in foldersLeft are gone:
// entries outside the family's folders (the user's file) stay, and so do survivors.
Names expectedTree(const Names& before, const Names& foldersLeft, const Names& survivors)
{
    Names left;
    for (const std::string& entry : before) {
        std::string top = entry.substr(0, entry.find('\\'));
        if (!contains(everyFolder, top) || contains(foldersLeft, top) || contains(survivors, entry)) {
            left.push_back(entry);
        }
    }
    return left;
}

void expectLabels(const SampleLabelWindow& window, const std::vector<int>& done)
{
    for (int id = sampleLabelFirstId; id <= sampleLabelLastId; ++id) {
        bool isDone = std::find(done.begin(), done.end(), id) != done.end();
        EXPECT_EQ(isDone ? "DONE" : sampleLabelInitialText, window.labelText(id)) << "label " << id;
    }
}

enum class Layout
{
    Plain,              // "InstallDir" is the install directory
    TrailingBackslash,  // "InstallDir" ends in a backslash
    ReadOnlyFile,       // a read-only file deep in the product folder
};

struct OptionsCase
{
    const char* name;
    UninstallOptions options;  // product DLL, common DLLs, Start Menu, product files, common libs
    Layout layout;
    DWORD mailUnregistered;
    DWORD utilUnregistered;
    Names foldersLeft;
    bool groupLeft;
    std::vector<int> labelsDone;
};

void PrintTo(const OptionsCase& row, std::ostream* out)
{
    *out << row.name;
}

const OptionsCase optionsCases[] = {
    { "AllOff", { false, false, false, false, false }, Layout::Plain, 0, 0, everyFolder, true, {} },
    { "OnlyProductDll", { true, false, false, false, false }, Layout::Plain, 1, 0, everyFolder, true, { 1029 } },
    { "OnlyCommonDlls", { false, true, false, false, false }, Layout::Plain, 0, 1,
      plus({ "Vantrel Mail", "Other Examples" }, sharedFolders), true, { 1030 } },
    { "OnlyStartMenu", { false, false, true, false, false }, Layout::Plain, 0, 0, everyFolder, false, { 1031 } },
    { "OnlyProductFiles", { false, false, false, true, false }, Layout::Plain, 0, 0,
      plus({ "Common" }, sharedFolders), true, { 1032 } },
    { "OnlyCommonLibs", { false, false, false, false, true }, Layout::Plain, 0, 0,
      { "Vantrel Mail", "Common", "Other Examples" }, true, { 1034 } },
    { "DialogDefaults", { true, false, true, true, true }, Layout::Plain, 1, 0, { "Common" }, false,
      { 1029, 1031, 1032, 1034 } },
    { "AllOn", { true, true, true, true, true }, Layout::Plain, 1, 1, {}, false,
      { 1029, 1030, 1031, 1032, 1034 } },
    { "AllOnTrailingBackslash", { true, true, true, true, true }, Layout::TrailingBackslash, 1, 1, {}, false,
      { 1029, 1030, 1031, 1032, 1034 } },
    { "AllOnReadOnlyFile", { true, true, true, true, true }, Layout::ReadOnlyFile, 1, 1, {}, false,
      { 1029, 1030, 1031, 1032, 1034 } },
};

class RunUninstallTest : public testing::TestWithParam<OptionsCase>
{
protected:
    void SetUp() override
    {
        const OptionsCase& row = GetParam();
        installDir = sampleCaseDir(testName, row.name);
        // Clears what an earlier run that ended early left behind.
        ASSERT_TRUE(sample.remove(installDir.c_str()));
        std::string installDirValue = installDir;
        if (row.layout == Layout::TrailingBackslash) {
            installDirValue += "\\";
        }
        SampleOptions options;
        options.userFile = true;
        options.readOnlyFile = row.layout == Layout::ReadOnlyFile;
        options.installDirValue = installDirValue.c_str();
        ASSERT_TRUE(sample.layDown(installDir.c_str(), options));
        ASSERT_TRUE(window.isComplete());
        group = SampleInstallation::startMenuGroupPath();
        ASSERT_FALSE(group.empty());
    }

    void TearDown() override
    {
        EXPECT_TRUE(sample.remove(installDir.c_str()));
    }

    SampleInstallation sample;
    SampleLabelWindow window;
    std::string installDir;
    std::string group;
};

TEST_P(RunUninstallTest, RemovesWhatWasChosenAndTheEntry)
{
    const OptionsCase& row = GetParam();
    Names treeBefore = listTree(installDir);
    Names groupBefore = listTree(group);
    ASSERT_EQ(13u, groupBefore.size());
    ASSERT_TRUE(keyExists(HKEY_LOCAL_MACHINE, sampleEntryKey));
    ASSERT_EQ(0u, SampleInstallation::unregisterCount(mailDll));
    ASSERT_EQ(0u, SampleInstallation::unregisterCount(utilDll));

    uninstallOptions = row.options;
    runUninstall(window.getWindow());

    EXPECT_EQ(row.mailUnregistered, SampleInstallation::unregisterCount(mailDll));
    EXPECT_EQ(row.utilUnregistered, SampleInstallation::unregisterCount(utilDll));
    EXPECT_EQ(row.mailUnregistered == 0, SampleInstallation::isClassRegistered(sampleComponents[0].clsid));
    EXPECT_EQ(row.utilUnregistered == 0, SampleInstallation::isClassRegistered(sampleComponents[1].clsid));

    Names survivors = row.layout == Layout::ReadOnlyFile ? readOnlySurvivors : Names();
    EXPECT_TRUE(pathExists(installDir));
    EXPECT_EQ(expectedTree(treeBefore, row.foldersLeft, survivors), listTree(installDir));
    EXPECT_TRUE(pathExists(installDir + sampleUserFile));

    EXPECT_EQ(row.groupLeft, pathExists(group));
    EXPECT_EQ(row.groupLeft ? groupBefore : Names(), listTree(group));

    expectLabels(window, row.labelsDone);
    EXPECT_FALSE(keyExists(HKEY_LOCAL_MACHINE, sampleEntryKey));
}

INSTANTIATE_TEST_SUITE_P(Options, RunUninstallTest, testing::ValuesIn(optionsCases),
                         [](const testing::TestParamInfo<OptionsCase>& info) { return info.param.name; });

struct UnusableCase
{
    const char* name;
    bool entry;
    const char* installDirValue;
};

void PrintTo(const UnusableCase& row, std::ostream* out)
{
    *out << row.name;
}

const UnusableCase unusableCases[] = {
    { "NoEntry", false, nullptr },
    { "EmptyInstallDir", true, "" },
    { "RelativeInstallDir", true, "Vantrel" },
};

// Folders named like the family's, each with a file and (the two DLL folders) a copy of
// the DLL the uninstaller would load from there, at the three places an install directory
// that names no folder would lead to: the drive's root, the working directory, and
// "Vantrel" below it.
class RunUninstallUnusableDirTest : public testing::TestWithParam<UnusableCase>
{
protected:
    void SetUp() override
    {
        installDir = sampleCaseDir(testName, GetParam().name);
        ASSERT_TRUE(sample.remove(installDir.c_str()));
        SampleOptions options;
        options.userFile = true;
        options.entry = GetParam().entry;
        options.installDirValue = GetParam().installDirValue;
        ASSERT_TRUE(sample.layDown(installDir.c_str(), options));
        ASSERT_TRUE(window.isComplete());

        std::string work = currentDirectory();
        ASSERT_FALSE(work.empty());
        relativeRoot = work + "\\Vantrel";
        ASSERT_TRUE(makeSentinelFolder(relativeRoot));
        roots = { work.substr(0, 2), work, relativeRoot };
        std::string bin = SampleInstallation::programDirectory();
        for (const std::string& root : roots) {
            for (const std::string& folder : everyFolder) {
                std::string dir = root + "\\" + folder;
                ASSERT_TRUE(makeSentinelFolder(dir)) << dir;
                sentinels.push_back(dir);
            }
            ASSERT_TRUE(CopyFileA((bin + "\\" + mailDll).c_str(), (root + "\\Vantrel Mail\\" + mailDll).c_str(), FALSE));
            ASSERT_TRUE(CopyFileA((bin + "\\" + utilDll).c_str(), (root + "\\Common\\" + utilDll).c_str(), FALSE));
        }
    }

    void TearDown() override
    {
        for (const std::string& dir : sentinels) {
            EXPECT_TRUE(removeSentinelFolder(dir)) << dir;
        }
        EXPECT_TRUE(removeSentinelFolder(relativeRoot));
        EXPECT_TRUE(sample.remove(installDir.c_str()));
    }

    Names listSentinels() const
    {
        Names entries;
        for (const std::string& dir : sentinels) {
            entries.push_back(dir);
            for (const std::string& entry : listTree(dir)) {
                entries.push_back(dir + "\\" + entry);
            }
        }
        return entries;
    }

    SampleInstallation sample;
    SampleLabelWindow window;
    std::string installDir;
    std::string relativeRoot;
    Names roots;
    Names sentinels;
};

TEST_P(RunUninstallUnusableDirTest, TouchesNoFolderAndStillRemovesTheEntry)
{
    Names treeBefore = listTree(installDir);
    Names sentinelsBefore = listSentinels();
    ASSERT_EQ(GetParam().entry, keyExists(HKEY_LOCAL_MACHINE, sampleEntryKey));

    uninstallOptions = { true, true, true, true, true };
    runUninstall(window.getWindow());

    EXPECT_EQ(0u, SampleInstallation::unregisterCount(mailDll));
    EXPECT_EQ(0u, SampleInstallation::unregisterCount(utilDll));
    EXPECT_EQ(treeBefore, listTree(installDir));
    EXPECT_EQ(sentinelsBefore, listSentinels());
    // The Start Menu step does not depend on the install directory.
    EXPECT_FALSE(pathExists(SampleInstallation::startMenuGroupPath()));
    expectLabels(window, { 1029, 1030, 1031, 1032, 1034 });
    EXPECT_FALSE(keyExists(HKEY_LOCAL_MACHINE, sampleEntryKey));
}

INSTANTIATE_TEST_SUITE_P(InstallDirs, RunUninstallUnusableDirTest, testing::ValuesIn(unusableCases),
                         [](const testing::TestParamInfo<UnusableCase>& info) { return info.param.name; });

} // namespace
