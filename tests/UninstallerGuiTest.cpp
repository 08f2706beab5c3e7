// UninstallerGuiTest.cpp: the real uninstaller, started as a process of its own and driven through its dialog.
#include "DialogDriver.h"
#include "GuiInstallationState.h"
#include "PngWriter.h"
#include "SampleInstallation.h"
#include "WindowImage.h"
#include "resource.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

const char* const installDir = "C:\\vt\\tests\\Gui\\Install";
const char* const screenshotDir = "C:\\vt\\screenshots";

const DWORD appearTimeout = 30000;
const DWORD answerTimeout = 10000;
const DWORD uninstallTimeout = 120000;
const DWORD exitTimeout = 30000;

// The five choices, in the dialog's order.
enum Step { productDll, commonDlls, startMenu, productFiles, commonLibs, stepCount };

struct CheckBox
{
    int id;
    const char* label;
    bool checkedAtStart;
    int statusLabel;
};

const CheckBox checkBoxes[stepCount] = {
    { IDC_CHK_PRODUCT_DLL, "Unregister Vantrel Mail DLL", true, IDC_STATUS_PRODUCT_DLL },
    { IDC_CHK_COMMON_DLLS, "Unregister Vantrel Common DLLs", false, IDC_STATUS_COMMON_DLLS },
    { IDC_CHK_START_MENU, "Remove Start Menu Entries", true, IDC_STATUS_START_MENU },
    { IDC_CHK_PRODUCT_FILES, "Delete Vantrel Mail Files", true, IDC_STATUS_PRODUCT_FILES },
    { IDC_CHK_COMMON_LIBS, "Delete Common C++ Libs/Includes", true, IDC_STATUS_COMMON_LIBS },
};

enum class WayOut { exitButton, cancelButton, closeBox };

struct Scenario
{
    const char* name;
    std::vector<int> clicks;  // check boxes clicked, in this order
    bool choice[stepCount];   // the check boxes' states afterwards
    bool uninstall;           // "Uninstall" pressed before the way out
    WayOut wayOut;
};

void PrintTo(const Scenario& scenario, std::ostream* out)
{
    *out << scenario.name;
}

// Every step is on in some scenarios and off in others, and no two steps are on in the
// same set of scenarios, so a check box wired to the wrong step shows.
const Scenario scenarios[] = {
    { "DefaultsThenExit", {}, { true, false, true, true, true }, true, WayOut::exitButton },
    { "EverythingThenCancel", { IDC_CHK_COMMON_DLLS }, { true, true, true, true, true }, true,
      WayOut::cancelButton },
    { "NothingThenCloseBox",
      { IDC_CHK_PRODUCT_DLL, IDC_CHK_START_MENU, IDC_CHK_PRODUCT_FILES, IDC_CHK_COMMON_LIBS },
      { false, false, false, false, false }, true, WayOut::closeBox },
    { "CommonDllsProductFilesLibsThenExit", { IDC_CHK_PRODUCT_DLL, IDC_CHK_COMMON_DLLS, IDC_CHK_START_MENU },
      { false, true, false, true, true }, true, WayOut::exitButton },
    { "StartMenuAndLibsThenCancel", { IDC_CHK_PRODUCT_DLL, IDC_CHK_PRODUCT_FILES },
      { false, false, true, false, true }, true, WayOut::cancelButton },
    { "CancelBeforeUninstall", { IDC_CHK_COMMON_DLLS, IDC_CHK_PRODUCT_FILES },
      { true, true, true, false, true }, false, WayOut::cancelButton },
    { "CloseBoxBeforeUninstall", {}, { true, false, true, true, true }, false, WayOut::closeBox },
};

// A program beside this test, in C:\vt\bin.
std::string programPath(const char* name)
{
    char path[MAX_PATH] = "";
    GetModuleFileNameA(nullptr, path, sizeof(path));
    char* slash = strrchr(path, '\\');
    if (slash != nullptr) {
        slash[1] = '\0';
    }
    return std::string(path) + name;
}

// This process's environment with Wine's diagnostics about window creation on, as a block
// for CreateProcessA.
std::string environmentWithWindowDiagnostics()
{
    std::string block;
    char* strings = GetEnvironmentStringsA();
    for (const char* entry = strings; *entry != '\0'; entry += strlen(entry) + 1) {
        if (_strnicmp(entry, "WINEDEBUG=", 10) != 0) {
            block.append(entry);
            block.push_back('\0');
        }
    }
    FreeEnvironmentStringsA(strings);
    block.append("WINEDEBUG=-all,err+winediag");
    block.push_back('\0');
    block.push_back('\0');
    return block;
}

std::string screenshotPath(const char* scenario, const char* when)
{
    return std::string(screenshotDir) + "\\" + scenario + "-" + when + ".png";
}

void expectSameState(const GuiInstallationState& expected, const GuiInstallationState& actual)
{
    EXPECT_EQ(expected.installDir, actual.installDir) << "install directory";
    EXPECT_EQ(expected.productFolder, actual.productFolder) << "Vantrel Mail folder";
    EXPECT_EQ(expected.productDll, actual.productDll) << "VantrelMail.dll";
    EXPECT_EQ(expected.commonFolder, actual.commonFolder) << "Common folder";
    EXPECT_EQ(expected.commonDll, actual.commonDll) << "VantrelUtil.dll";
    EXPECT_EQ(expected.examplesFolder, actual.examplesFolder) << "Other Examples folder";
    EXPECT_EQ(expected.sharedFolders, actual.sharedFolders) << "shared library and include folders";
    EXPECT_EQ(expected.group, actual.group) << "Start Menu group";
    EXPECT_EQ(expected.shortcuts, actual.shortcuts) << "shortcuts in the group";
    EXPECT_EQ(expected.entry, actual.entry) << "uninstall entry";
    EXPECT_EQ(expected.installDirValue, actual.installDirValue) << "InstallDir";
    EXPECT_EQ(expected.productUnregistered, actual.productUnregistered) << "VantrelMail.dll unregistrations";
    EXPECT_EQ(expected.commonUnregistered, actual.commonUnregistered) << "VantrelUtil.dll unregistrations";
}

// What an uninstall with choice leaves of the installation before.
GuiInstallationState stateAfterUninstall(const GuiInstallationState& before, const bool* choice)
{
    GuiInstallationState expected = before;
    if (choice[productDll]) {
        ++expected.productUnregistered;
    }
    if (choice[commonDlls]) {
        ++expected.commonUnregistered;
        expected.commonFolder = false;
        expected.commonDll = false;
    }
    if (choice[startMenu]) {
        expected.group = false;
        expected.shortcuts = 0;
    }
    if (choice[productFiles]) {
        expected.productFolder = false;
        expected.productDll = false;
        expected.examplesFolder = false;
    }
    if (choice[commonLibs]) {
        expected.sharedFolders = 0;
    }
    expected.entry = false;
    expected.installDirValue.clear();
    return expected;
}

void expectStartState(const DialogDriver& driver)
{
    EXPECT_EQ("Vantrel Uninstaller", driver.getText(0));
    for (const CheckBox& box : checkBoxes) {
        EXPECT_EQ(box.label, driver.getText(box.id));
        EXPECT_EQ(box.checkedAtStart, driver.isChecked(box.id)) << box.label;
        EXPECT_EQ("", driver.getText(box.statusLabel)) << "status of " << box.label;
    }
    EXPECT_EQ("Uninstall", driver.getText(IDOK));
    EXPECT_EQ("Cancel", driver.getText(IDCANCEL));

    RECT own = driver.getWindowRect();
    POINT centred = driver.getCentredPosition();
    EXPECT_NEAR(centred.x, own.left, 1) << "the dialog is not centred on the desktop";
    EXPECT_NEAR(centred.y, own.top, 1) << "the dialog is not centred on the desktop";

    // The owner is the uninstaller's hidden window of class string 109.
    HWND owner = GetWindow(driver.getDialog(), GW_OWNER);
    ASSERT_NE(nullptr, owner);
    char className[100] = "";
    GetClassNameA(owner, className, sizeof(className));
    EXPECT_STREQ("SELFEXTRACT", className);
    EXPECT_FALSE(IsWindowVisible(owner));
    DWORD ownerProcess = 0;
    GetWindowThreadProcessId(owner, &ownerProcess);
    EXPECT_EQ(driver.getProcessId(), ownerProcess);
}

void saveScreenshot(DialogDriver& driver, WindowImage& image, const std::string& path)
{
    ASSERT_TRUE(driver.settle(answerTimeout)) << "the dialog does not answer";
    ASSERT_TRUE(image.capture(driver.getDialog()));
    RECT own = driver.getWindowRect();
    EXPECT_EQ(own.right - own.left, image.getWidth());
    EXPECT_EQ(own.bottom - own.top, image.getHeight());
    // The banners alone bring dozens of colours; an empty or black capture has one.
    EXPECT_GE(image.countColours(64), 16) << "the screenshot does not show the dialog: " << path;
    ASSERT_TRUE(image.savePng(path.c_str())) << path;
}

DWORD runProbe(const char* environment)
{
    DialogDriver probe;
    DWORD exitCode = 1234;
    if (!probe.launch(programPath("GuiWindowProbe.exe").c_str(), environment)
        || !probe.waitForExit(exitTimeout, &exitCode)) {
        return 1234;
    }
    return exitCode;
}

// Xvfb runs no window manager to draw the dialog's caption and frame; Wine draws them
// itself for a program it is told to leave undecorated.
const char* const wineDriverKey = "Software\\Wine\\AppDefaults\\VantrelUninstall.exe\\X11 Driver";
const char* const wineAppKey = "Software\\Wine\\AppDefaults\\VantrelUninstall.exe";

bool letWineDrawFrames()
{
    HKEY key = nullptr;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, wineDriverKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr)
            != ERROR_SUCCESS) {
        return false;
    }
    bool written = RegSetValueExA(key, "Decorated", 0, REG_SZ, reinterpret_cast<const BYTE*>("N"), 2)
        == ERROR_SUCCESS;
    RegCloseKey(key);
    return written;
}

class UninstallDialogTest : public testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(letWineDrawFrames());
        CreateDirectoryA(screenshotDir, nullptr);
        sample.remove(installDir);
        ASSERT_TRUE(sample.layDown(installDir, SampleOptions()));
        before.read(installDir);
        ASSERT_TRUE(before.productDll && before.commonDll && before.examplesFolder);
        ASSERT_EQ(guiSharedFolderCount, before.sharedFolders);
        ASSERT_EQ(13, before.shortcuts);
        ASSERT_EQ(installDir, before.installDirValue);
        ASSERT_EQ(0u, before.productUnregistered);
        ASSERT_EQ(0u, before.commonUnregistered);
    }

    void TearDown() override
    {
        RegDeleteTreeA(HKEY_CURRENT_USER, wineAppKey);
        EXPECT_TRUE(sample.remove(installDir));
    }

    SampleInstallation sample;
    GuiInstallationState before;
};

class UninstallDialogScenarioTest : public UninstallDialogTest, public testing::WithParamInterface<Scenario>
{
};

TEST_P(UninstallDialogScenarioTest, RunsTheChosenStepsAndEndsWithCodeZero)
{
    const Scenario& scenario = GetParam();
    DialogDriver driver;
    ASSERT_TRUE(driver.launch(programPath("VantrelUninstall.exe").c_str(), nullptr));
    ASSERT_NE(nullptr, driver.waitForDialog(appearTimeout)) << "no dialog within 30 s";
    expectStartState(driver);

    for (int id : scenario.clicks) {
        ASSERT_TRUE(driver.click(id, answerTimeout));
    }
    for (int step = 0; step < stepCount; ++step) {
        EXPECT_EQ(scenario.choice[step], driver.isChecked(checkBoxes[step].id)) << checkBoxes[step].label;
    }
    WindowImage shotBefore;
    saveScreenshot(driver, shotBefore, screenshotPath(scenario.name, "before"));

    if (scenario.uninstall) {
        ASSERT_TRUE(driver.postClick(IDOK));
        ASSERT_TRUE(driver.waitForText(IDOK, "Exit", uninstallTimeout)) << "the button never read \"Exit\"";
        for (int step = 0; step < stepCount; ++step) {
            EXPECT_EQ(scenario.choice[step] ? "DONE" : "", driver.getText(checkBoxes[step].statusLabel))
                << "status of " << checkBoxes[step].label;
        }
        WindowImage shotAfter;
        saveScreenshot(driver, shotAfter, screenshotPath(scenario.name, "after"));
        EXPECT_NE(shotBefore.getPixels(), shotAfter.getPixels()) << "the screenshots do not follow the dialog";
    }

    switch (scenario.wayOut) {
    case WayOut::exitButton:
        ASSERT_TRUE(driver.postClick(IDOK));
        break;
    case WayOut::cancelButton:
        ASSERT_TRUE(driver.postClick(IDCANCEL));
        break;
    case WayOut::closeBox:
        ASSERT_TRUE(driver.pressCloseBox(answerTimeout));
        break;
    }
    DWORD exitCode = 1234;
    ASSERT_TRUE(driver.waitForExit(exitTimeout, &exitCode)) << "the uninstaller did not end";
    EXPECT_EQ(0u, exitCode);

    GuiInstallationState after;
    after.read(installDir);
    expectSameState(scenario.uninstall ? stateAfterUninstall(before, scenario.choice) : before, after);
}

INSTANTIATE_TEST_SUITE_P(Scenarios, UninstallDialogScenarioTest, testing::ValuesIn(scenarios),
                         [](const testing::TestParamInfo<Scenario>& info) { return std::string(info.param.name); });

bool hasDisplay()
{
    char display[100] = "";
    return GetEnvironmentVariableA("DISPLAY", display, sizeof(display)) != 0;
}

TEST(GuiWindowProbeTest, CreatesItsWindowWithADisplay)
{
    ASSERT_TRUE(hasDisplay());
    EXPECT_EQ(0u, runProbe(nullptr));
}

// A Wine process hands its own unix environment to the processes it starts, whatever
// block CreateProcessA is given (only WINEDEBUG is taken from the block), so CTest runs
// this test alone, as UninstallerGuiNoDisplayTest, with DISPLAY removed from the start.
// Without it the display driver cannot start, and CreateWindowExA of a top-level window,
// the owner window first of all, returns null.
class UninstallerWithoutDisplayTest : public UninstallDialogTest
{
};

TEST_F(UninstallerWithoutDisplayTest, ShowsNoDialogAndExitsWithZero)
{
    ASSERT_FALSE(hasDisplay()) << "runs without DISPLAY, as UninstallerGuiNoDisplayTest";
    // The owner window's kind of CreateWindowExA fails here.
    EXPECT_EQ(3u, runProbe(nullptr));

    // Wine's own note of the failed window creation goes to the test's output.
    DialogDriver driver;
    std::string environment = environmentWithWindowDiagnostics();
    ASSERT_TRUE(driver.launch(programPath("VantrelUninstall.exe").c_str(), environment.c_str()));
    // Null either way: at once when the process has ended, after 30 s when a dialog never came.
    EXPECT_EQ(nullptr, driver.waitForDialog(appearTimeout));
    DWORD exitCode = 1234;
    // Carrying on without the owner would leave the process waiting for a quit message.
    ASSERT_TRUE(driver.waitForExit(exitTimeout, &exitCode)) << "the uninstaller did not end";
    EXPECT_EQ(0u, exitCode);

    GuiInstallationState after;
    after.read(installDir);
    expectSameState(before, after);
}

TEST(ScreenshotPngTest, ChecksumsMatchTheirKnownValues)
{
    EXPECT_EQ(0xAE426082u, PngWriter::crc32(reinterpret_cast<const unsigned char*>("IEND"), 4));
    EXPECT_EQ(0x11E60398u, PngWriter::adler32(reinterpret_cast<const unsigned char*>("Wikipedia"), 9));
    EXPECT_EQ(1u, PngWriter::adler32(nullptr, 0));
}

TEST(ScreenshotPngTest, OnePixelImageIsExact)
{
    const unsigned char pixel[3] = { 0x10, 0x20, 0x30 };
    const unsigned char expected[] = {
        0x89, 0x50, 0x4E, 0x47, 0x0D, 0x0A, 0x1A, 0x0A,
        0x00, 0x00, 0x00, 0x0D, 0x49, 0x48, 0x44, 0x52, 0x00, 0x00, 0x00, 0x01, 0x00, 0x00, 0x00, 0x01,
        0x08, 0x02, 0x00, 0x00, 0x00, 0x90, 0x77, 0x53, 0xDE,
        0x00, 0x00, 0x00, 0x0F, 0x49, 0x44, 0x41, 0x54, 0x78, 0x01, 0x01, 0x04, 0x00, 0xFB, 0xFF,
        0x00, 0x10, 0x20, 0x30, 0x00, 0xA4, 0x00, 0x61, 0x30, 0xD0, 0xDE, 0x26,
        0x00, 0x00, 0x00, 0x00, 0x49, 0x45, 0x4E, 0x44, 0xAE, 0x42, 0x60, 0x82,
    };
    PngWriter writer;
    std::vector<unsigned char> png;
    writer.encode(1, 1, pixel, png);
    EXPECT_EQ(std::vector<unsigned char>(expected, expected + sizeof(expected)), png);
}

TEST(ScreenshotPngTest, LargeImageSplitsIntoStoredBlocksOf65535Bytes)
{
    // 110 rows of 1 + 600 bytes: 66110 bytes, one full block and one of 575.
    std::vector<unsigned char> pixels(200 * 110 * 3, 0x7F);
    PngWriter writer;
    std::vector<unsigned char> png;
    writer.encode(200, 110, pixels.data(), png);
    const size_t idat = 8 + 25;
    const size_t data = idat + 8;
    ASSERT_EQ(idat + 12 + (2 + 5 + 65535 + 5 + 575 + 4) + 12, png.size());
    EXPECT_EQ(0x00, png[data + 2]);
    EXPECT_EQ(0xFF, png[data + 3]);
    EXPECT_EQ(0xFF, png[data + 4]);
    EXPECT_EQ(0x00, png[data + 5]);
    EXPECT_EQ(0x00, png[data + 6]);
    const size_t second = data + 2 + 5 + 65535;
    EXPECT_EQ(0x01, png[second]);
    EXPECT_EQ(0x3F, png[second + 1]);
    EXPECT_EQ(0x02, png[second + 2]);
    EXPECT_EQ(0xC0, png[second + 3]);
    EXPECT_EQ(0xFD, png[second + 4]);
}

} // namespace
