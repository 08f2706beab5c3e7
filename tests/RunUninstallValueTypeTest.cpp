// RunUninstallValueTypeTest.cpp: the procedure with "InstallDir" recorded as an expandable string, a number or binary data.
#include "RunUninstall.h"

#include "SampleChecks.h"
#include "SampleInstallation.h"
#include "SampleLabelWindow.h"
#include "UninstallOptions.h"

#include <gtest/gtest.h>

#include <string.h>

#include <string>
#include <vector>

namespace {

typedef std::vector<std::string> Names;

const char* const testName = "RunUninstallValueTypeTest";
const char* const rootVariable = "VANTREL_TEST_ROOT";
// A folder whose name the four bytes of the REG_DWORD case spell.
const char* const dwordFolder = "C:\\v";

struct TypeCase
{
    const char* name;
    DWORD type;
    std::string data;  // the value's bytes; the sample's own install directory for Binary
    bool removes;      // the family's folders go, as with REG_SZ
};

void PrintTo(const TypeCase& row, std::ostream* out)
{
    *out << row.name;
}

const TypeCase typeCases[] = {
    // Names the install directory through the environment.
    { "ExpandSz", REG_EXPAND_SZ, std::string("%VANTREL_TEST_ROOT%\\ExpandSz", 29), true },
    { "Dword", REG_DWORD, std::string("C:\\v", 4), false },
    { "Binary", REG_BINARY, std::string(), false },
};

Names familyFolders()
{
    return Names(sampleFamilyFolders, sampleFamilyFolders + sampleFamilyFolderCount);
}

class RunUninstallValueTypeTest : public testing::TestWithParam<TypeCase>
{
protected:
    void SetUp() override
    {
        const TypeCase& row = GetParam();
        installDir = sampleCaseDir(testName, row.name);
        ASSERT_TRUE(sample.remove(installDir.c_str()));
        SampleOptions options;
        options.userFile = true;
        ASSERT_TRUE(sample.layDown(installDir.c_str(), options));
        ASSERT_TRUE(window.isComplete());
        const std::string root = std::string("C:\\vt\\tests\\") + testName;
        ASSERT_EQ(root + "\\" + row.name, installDir);
        ASSERT_TRUE(SetEnvironmentVariableA(rootVariable, root.c_str()));

        std::string data = row.data.empty() ? std::string(installDir.c_str(), installDir.size() + 1) : row.data;
        HKEY entry = nullptr;
        ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExA(HKEY_LOCAL_MACHINE, sampleEntryKey, 0, KEY_SET_VALUE, &entry));
        EXPECT_EQ(ERROR_SUCCESS, RegSetValueExA(entry, "InstallDir", 0, row.type,
                                                reinterpret_cast<const BYTE*>(data.data()),
                                                static_cast<DWORD>(data.size())));
        RegCloseKey(entry);

        // The family's folders, each with a file, and the two DLLs, at the folder the
        // REG_DWORD bytes would name.
        ASSERT_TRUE(makeSentinelFolder(dwordFolder));
        std::string bin = SampleInstallation::programDirectory();
        for (const std::string& folder : familyFolders()) {
            ASSERT_TRUE(makeSentinelFolder(std::string(dwordFolder) + "\\" + folder));
        }
        ASSERT_TRUE(CopyFileA((bin + "\\VantrelMail.dll").c_str(),
                              (std::string(dwordFolder) + "\\Vantrel Mail\\VantrelMail.dll").c_str(), FALSE));
        ASSERT_TRUE(CopyFileA((bin + "\\VantrelUtil.dll").c_str(),
                              (std::string(dwordFolder) + "\\Common\\VantrelUtil.dll").c_str(), FALSE));
    }

    void TearDown() override
    {
        SetEnvironmentVariableA(rootVariable, nullptr);
        EXPECT_TRUE(removeSentinelFolder(dwordFolder));
        EXPECT_TRUE(sample.remove(installDir.c_str()));
    }

    SampleInstallation sample;
    SampleLabelWindow window;
    std::string installDir;
};

TEST_P(RunUninstallValueTypeTest, RemovesOnlyBelowAStringValue)
{
    const TypeCase& row = GetParam();
    Names treeBefore = listTree(installDir);
    Names dwordFolderBefore = listTree(dwordFolder);
    ASSERT_FALSE(dwordFolderBefore.empty());

    uninstallOptions = { true, true, true, true, true };
    runUninstall(window.getWindow());

    DWORD expectedCalls = row.removes ? 1 : 0;
    EXPECT_EQ(expectedCalls, SampleInstallation::unregisterCount("VantrelMail.dll"));
    EXPECT_EQ(expectedCalls, SampleInstallation::unregisterCount("VantrelUtil.dll"));
    EXPECT_EQ(row.removes ? Names{ "My Notes.txt" } : treeBefore, listTree(installDir));
    EXPECT_EQ(dwordFolderBefore, listTree(dwordFolder));
    for (int id : { 1029, 1030, 1031, 1032, 1034 }) {
        EXPECT_EQ("DONE", window.labelText(id)) << "label " << id;
    }
    EXPECT_FALSE(keyExists(HKEY_LOCAL_MACHINE, sampleEntryKey));
}

INSTANTIATE_TEST_SUITE_P(Types, RunUninstallValueTypeTest, testing::ValuesIn(typeCases),
                         [](const testing::TestParamInfo<TypeCase>& info) { return info.param.name; });

} // namespace
