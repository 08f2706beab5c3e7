// UiDriver.cpp: the demo's hands on the uninstall dialog: screenshots, "Uninstall", "Exit".
// Usage: UiDriver.exe uninstall BEFORE.png AFTER.png   presses "Uninstall" with the choices
//                                                      shown, then "Exit"
//        UiDriver.exe watch BEFORE.png AFTER.png       only watches while a person uses it
#include "DialogDriver.h"
#include "WindowImage.h"
#include "resource.h"

#include <cstdio>
#include <cstring>

namespace {

struct Row
{
    int checkBox;
    int statusLabel;
};

const Row rows[] = {
    { IDC_CHK_PRODUCT_DLL, IDC_STATUS_PRODUCT_DLL },
    { IDC_CHK_COMMON_DLLS, IDC_STATUS_COMMON_DLLS },
    { IDC_CHK_START_MENU, IDC_STATUS_START_MENU },
    { IDC_CHK_PRODUCT_FILES, IDC_STATUS_PRODUCT_FILES },
    { IDC_CHK_COMMON_LIBS, IDC_STATUS_COMMON_LIBS },
};

const DWORD appearTimeout = 60000;
const DWORD uninstallTimeout = 120000;
const DWORD answerTimeout = 30000;

void printDialog(const DialogDriver& driver)
{
    RECT own = driver.getWindowRect();
    RECT desktop = DialogDriver::getDesktopRect();
    POINT centred = driver.getCentredPosition();
    bool isCentred = own.left - centred.x >= -1 && own.left - centred.x <= 1
        && own.top - centred.y >= -1 && own.top - centred.y <= 1;
    printf("dialog \"%s\": %ld x %ld at (%ld, %ld), %s on the %ld x %ld desktop\n",
           driver.getText(0).c_str(), own.right - own.left, own.bottom - own.top, own.left, own.top,
           isCentred ? "centred" : "NOT centred", desktop.right - desktop.left, desktop.bottom - desktop.top);
}

void printRows(const DialogDriver& driver)
{
    for (const Row& row : rows) {
        std::string status = driver.getText(row.statusLabel);
        printf("  [%c] %-34s %s\n", driver.isChecked(row.checkBox) ? 'x' : ' ',
               driver.getText(row.checkBox).c_str(), status.empty() ? "-" : status.c_str());
    }
    printf("  button: \"%s\"\n", driver.getText(IDOK).c_str());
}

bool shoot(DialogDriver& driver, const char* path, const char* when)
{
    WindowImage image;
    driver.settle(answerTimeout);
    if (!image.capture(driver.getDialog()) || !image.savePng(path)) {
        fprintf(stderr, "UiDriver: cannot save the screenshot %s\n", path);
        return false;
    }
    printf("screenshot %s: %s (%d x %d)\n", when, path, image.getWidth(), image.getHeight());
    return true;
}

int run(bool press, const char* beforePath, const char* afterPath)
{
    DialogDriver driver;
    if (driver.waitForDialog(appearTimeout) == nullptr) {
        fprintf(stderr, "UiDriver: no \"%s\" dialog appeared\n", dialogCaption);
        return 1;
    }
    printDialog(driver);
    printf("before the uninstall:\n");
    printRows(driver);
    bool ok = shoot(driver, beforePath, "before");
    fflush(stdout);

    if (press) {
        printf("pressing \"Uninstall\"\n");
        fflush(stdout);
        if (!driver.postClick(IDOK)) {
            fprintf(stderr, "UiDriver: no \"Uninstall\" button\n");
            return 1;
        }
    } else {
        printf("waiting for the uninstall in the dialog (close it to stop)\n");
        fflush(stdout);
    }
    DWORD timeout = press ? uninstallTimeout : INFINITE;
    DWORD start = GetTickCount();
    while (driver.getText(IDOK) != "Exit") {
        if (!IsWindow(driver.getDialog())) {
            printf("the dialog was closed before the uninstall\n");
            return ok ? 0 : 1;
        }
        if (timeout != INFINITE && GetTickCount() - start >= timeout) {
            fprintf(stderr, "UiDriver: the uninstall did not finish in %lu s\n", timeout / 1000);
            return 1;
        }
        Sleep(100);
    }
    printf("after the uninstall:\n");
    printRows(driver);
    if (!shoot(driver, afterPath, "after")) {
        // A person may close the dialog before it could be taken.
        ok = ok && !press && !IsWindow(driver.getDialog());
    }
    fflush(stdout);

    if (press) {
        printf("pressing \"Exit\"\n");
        driver.postClick(IDOK);
    }
    if (!driver.waitForDialogGone(press ? answerTimeout : INFINITE)) {
        fprintf(stderr, "UiDriver: the dialog stayed after \"Exit\"\n");
        return 1;
    }
    printf("the dialog is gone\n");
    return ok ? 0 : 1;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc == 4 && (strcmp(argv[1], "uninstall") == 0 || strcmp(argv[1], "watch") == 0)) {
        return run(strcmp(argv[1], "uninstall") == 0, argv[2], argv[3]);
    }
    fprintf(stderr, "usage: UiDriver.exe uninstall|watch BEFORE.png AFTER.png\n");
    return 2;
}
