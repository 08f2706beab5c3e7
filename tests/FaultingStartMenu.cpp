// FaultingStartMenu.cpp: a Start Menu step that faults, linked in place of the real one, and the uninstall past it.
#include "StartMenuCleanup.h"

#include "RunUninstall.h"
#include "SampleChecks.h"
#include "SampleInstallation.h"
#include "SampleLabelWindow.h"
#include "UninstallOptions.h"

#include <gtest/gtest.h>

#include <string>

namespace {

volatile bool stepEntered = false;
volatile bool stepFinished = false;

} // namespace

void removeStartMenuEntries()
{
    stepEntered = true;
    volatile int* target = nullptr;
    *target = 0x5A;
    stepFinished = true;
}

namespace {

TEST(RunUninstallFaultTest, StepsAfterAFaultingStartMenuStepStillRun)
{
    std::string installDir = sampleCaseDir("RunUninstallFaultTest", "AllOn");
    SampleInstallation sample;
    ASSERT_TRUE(sample.remove(installDir.c_str()));
    SampleOptions options;
    options.userFile = true;
    ASSERT_TRUE(sample.layDown(installDir.c_str(), options));
    std::string group = SampleInstallation::startMenuGroupPath();
    std::vector<std::string> groupBefore = listTree(group);
    ASSERT_EQ(13u, groupBefore.size());
    SampleLabelWindow window;
    ASSERT_TRUE(window.isComplete());

    uninstallOptions = { true, true, true, true, true };
    runUninstall(window.getWindow());

    EXPECT_TRUE(stepEntered);
    EXPECT_FALSE(stepFinished);
    for (int id : { 1029, 1030, 1031, 1032, 1034 }) {
        EXPECT_EQ("DONE", window.labelText(id)) << "label " << id;
    }
    EXPECT_EQ(sampleLabelInitialText, window.labelText(1033));
    for (int i = 0; i < sampleFamilyFolderCount; ++i) {
        EXPECT_FALSE(pathExists(installDir + "\\" + sampleFamilyFolders[i])) << sampleFamilyFolders[i];
    }
    EXPECT_EQ(std::vector<std::string>({ "My Notes.txt" }), listTree(installDir));
    EXPECT_EQ(1u, SampleInstallation::unregisterCount("VantrelMail.dll"));
    EXPECT_EQ(1u, SampleInstallation::unregisterCount("VantrelUtil.dll"));
    // Only the real step deletes shortcuts.
    EXPECT_EQ(groupBefore, listTree(group));
    EXPECT_FALSE(keyExists(HKEY_LOCAL_MACHINE, sampleEntryKey));

    EXPECT_TRUE(sample.remove(installDir.c_str()));
}

} // namespace
