// UninstallerHardeningGuiTest.cpp: the real uninstaller against planted DLLs, a dialog it cannot create and a component that pumps messages.
#include "ComponentRecords.h"
#include "DialogDriver.h"
#include "GuiInstallationState.h"
#include "SampleInstallation.h"
#include "resource.h"

#include <gtest/gtest.h>

#include <string>

namespace {

const char* const baseDir = "C:\\vt\\tests\\HardenedUninstaller";
const char* const installDir = "C:\\vt\\tests\\HardenedUninstaller\\Install";
const char* const productFolder = "C:\\vt\\tests\\HardenedUninstaller\\Install\\Vantrel Mail";
// Where the uninstaller is started from, and its working directory: both its own, so that
// planted DLLs can lie beside it.
const char* const appDir = "C:\\vt\\tests\\HardenedUninstaller\\App";
const char* const workDir = "C:\\vt\\tests\\HardenedUninstaller\\Work";

const DWORD appearTimeout = 30000;
const DWORD answerTimeout = 10000;
const DWORD uninstallTimeout = 120000;
const DWORD exitTimeout = 30000;

std::string binPath(const char* name)
{
    return SampleInstallation::programDirectory() + "\\" + name;
}

bool copyFrom(const char* binName, const std::string& to)
{
    return CopyFileA(binPath(binName).c_str(), to.c_str(), FALSE) != FALSE;
}

// The sample installation with the product DLL replaced by one of the test components, and
// a copy of the uninstaller in a folder of its own.
class HardenedUninstallerTest : public testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(sample.remove(installDir));
        ASSERT_TRUE(SampleInstallation::removeTree(baseDir));
        ASSERT_TRUE(sample.layDown(installDir, SampleOptions()));
        ASSERT_TRUE(SampleInstallation::makeFolders(appDir));
        ASSERT_TRUE(SampleInstallation::makeFolders(workDir));
        ASSERT_TRUE(copyFrom("VantrelUninstall.exe", uninstaller));
    }

    void TearDown() override
    {
        driver.terminate();
        EXPECT_TRUE(sample.remove(installDir));
        EXPECT_TRUE(SampleInstallation::removeTree(baseDir));
    }

    // Presses "Uninstall" with the dialog's defaults and waits until the button reads "Exit".
    void startAndUninstall()
    {
        ASSERT_TRUE(driver.launch(uninstaller.c_str(), nullptr, workDir));
        ASSERT_NE(nullptr, driver.waitForDialog(appearTimeout)) << "no dialog within 30 s";
        ASSERT_TRUE(driver.postClick(IDOK));
        ASSERT_TRUE(driver.waitForText(IDOK, "Exit", uninstallTimeout)) << "the button never read \"Exit\"";
    }

    void exitWithCodeZero()
    {
        ASSERT_TRUE(driver.postClick(IDOK));
        DWORD exitCode = 1234;
        ASSERT_TRUE(driver.waitForExit(exitTimeout, &exitCode)) << "the uninstaller did not end";
        EXPECT_EQ(0u, exitCode);
    }

    SampleInstallation sample;
    DialogDriver driver;
    const std::string uninstaller = std::string(appDir) + "\\VantrelUninstall.exe";
};

bool isSingleThreadedApartment(DWORD apartment)
{
    return apartment == APTTYPE_STA || apartment == APTTYPE_MAINSTA;
}

class HardenedUninstallerPlantingTest : public HardenedUninstallerTest, public testing::WithParamInterface<bool>
{
};

// The component imports VantrelSideDep.dll, which lies beside it, and loads
// VantrelLateLoad.dll by bare name while it unregisters. With planted copies of both in
// the uninstaller's folder and its working directory, only the one beside the component
// may load; without them the component must still find its neighbour.
TEST_P(HardenedUninstallerPlantingTest, UnregistersTheComponentFromItsFolderAndLoadsNothingPlanted)
{
    const std::string component = std::string(productFolder) + "\\VantrelMail.dll";
    const std::string dependency = std::string(productFolder) + "\\" + sideDependencyName;
    ASSERT_TRUE(copyFrom("SideDepComponent.dll", component));
    ASSERT_TRUE(copyFrom("LoadRecorder.dll", dependency));
    if (GetParam()) {
        for (const char* dir : { appDir, workDir }) {
            for (const char* name : { sideDependencyName, lateLoadName }) {
                ASSERT_TRUE(copyFrom("LoadRecorder.dll", std::string(dir) + "\\" + name));
            }
        }
    }

    startAndUninstall();
    EXPECT_EQ("DONE", driver.getText(IDC_STATUS_PRODUCT_DLL));
    exitWithCodeZero();

    EXPECT_EQ(1u, componentCallCount());
    EXPECT_EQ(component, componentPath());
    EXPECT_TRUE(isSingleThreadedApartment(componentApartment())) << componentApartment();
    // Every load of every copy, planted or not, is recorded.
    LoadRecords expected;
    expected[dependency] = { uninstaller };
    EXPECT_EQ(expected, readLoadRecords());
}

INSTANTIATE_TEST_SUITE_P(Plants, HardenedUninstallerPlantingTest, testing::Bool(),
                         [](const testing::TestParamInfo<bool>& info) {
                             return std::string(info.param ? "Planted" : "NothingPlanted");
                         });

HWND findPumpWindow(DWORD processId)
{
    HWND found = nullptr;
    while ((found = FindWindowExA(nullptr, found, pumpWindowClass, pumpWindowCaption)) != nullptr) {
        DWORD owner = 0;
        GetWindowThreadProcessId(found, &owner);
        if (owner == processId) {
            return found;
        }
    }
    return nullptr;
}

// The component shows a window and pumps messages inside DllUnregisterServer; "Uninstall"
// pressed again meanwhile reaches the dialog through that loop and must not start the
// procedure a second time.
TEST_F(HardenedUninstallerTest, UninstallPressedAgainWhileAComponentPumpsRunsTheProcedureOnce)
{
    ASSERT_TRUE(copyFrom("PumpingComponent.dll", std::string(productFolder) + "\\VantrelMail.dll"));
    ASSERT_TRUE(driver.launch(uninstaller.c_str(), nullptr, workDir));
    ASSERT_NE(nullptr, driver.waitForDialog(appearTimeout)) << "no dialog within 30 s";
    ASSERT_TRUE(driver.postClick(IDOK));

    DWORD start = GetTickCount();
    while (findPumpWindow(driver.getProcessId()) == nullptr) {
        ASSERT_LT(GetTickCount() - start, uninstallTimeout) << "the component's window never came";
        Sleep(100);
    }
    // Sent, not posted: it returns once the pumping loop has handed the click to the
    // dialog and the dialog has answered. A nested run would pump in a window of its own
    // and not answer before that window closes.
    EXPECT_TRUE(driver.click(IDOK, answerTimeout)) << "the second press was not answered";
    EXPECT_EQ("Uninstall", driver.getText(IDOK));

    // Closes the component's windows (one, or more if the procedure ran again) until the
    // procedure has finished.
    start = GetTickCount();
    while (driver.getText(IDOK) != "Exit") {
        ASSERT_LT(GetTickCount() - start, uninstallTimeout) << "the button never read \"Exit\"";
        HWND pump = findPumpWindow(driver.getProcessId());
        if (pump != nullptr) {
            PostMessageA(pump, WM_CLOSE, 0, 0);
        }
        Sleep(100);
    }
    exitWithCodeZero();

    EXPECT_EQ(1u, componentCallCount());
    GuiInstallationState after;
    after.read(installDir);
    EXPECT_FALSE(after.entry);
    EXPECT_FALSE(after.productFolder);
}

// An exe built without dialog 167: DialogBoxParamA fails, and the process must end at once
// rather than wait, hidden, for a quit message that never comes.
TEST_F(HardenedUninstallerTest, EndsWithCodeZeroWhenTheDialogCannotBeCreated)
{
    GuiInstallationState before;
    before.read(installDir);
    const std::string noDialog = std::string(appDir) + "\\VantrelUninstallNoDialog.exe";
    ASSERT_TRUE(copyFrom("VantrelUninstallNoDialog.exe", noDialog));

    ASSERT_TRUE(driver.launch(noDialog.c_str(), nullptr, workDir));
    DWORD exitCode = 1234;
    ASSERT_TRUE(driver.waitForExit(exitTimeout, &exitCode)) << "the uninstaller did not end";
    EXPECT_EQ(0u, exitCode);

    GuiInstallationState after;
    after.read(installDir);
    EXPECT_TRUE(after.entry);
    EXPECT_TRUE(after.productDll);
    EXPECT_EQ(before.shortcuts, after.shortcuts);
    EXPECT_EQ(0u, after.productUnregistered);
}

} // namespace
