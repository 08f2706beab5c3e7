// DialogDriver.h: drives the uninstall dialog of another process through its window handle only.
#ifndef UIDRIVER_DIALOG_DRIVER_H
#define UIDRIVER_DIALOG_DRIVER_H

#include <windows.h>

#include <string>

// The dialog's caption, as its template gives it.
extern const char* const dialogCaption;

class DialogDriver
{
public:
    DialogDriver();
    // Terminates a program that launch started and that is still running.
    virtual ~DialogDriver();

    DialogDriver(const DialogDriver&) = delete;
    DialogDriver& operator=(const DialogDriver&) = delete;

    // Starts program (no arguments) with environment, a block of "NAME=value\0" strings
    // ending in an empty one, or the caller's own when null, in workingDirectory, or the
    // caller's own when null; false when it cannot start. The program ends at the latest
    // when this driver, or its process, does.
    bool launch(const char* program, const char* environment, const char* workingDirectory = nullptr);
    // Waits for a visible dialog with dialogCaption, of the launched process when there
    // is one; null after timeoutMs or once the launched process has ended.
    HWND waitForDialog(DWORD timeoutMs);
    HWND getDialog() const;

    // The text of control id (0: the dialog's caption); empty when there is no such control.
    std::string getText(int id) const;
    // True when the check box id answers BM_GETCHECK with BST_CHECKED.
    bool isChecked(int id) const;
    // Clicks button id with BM_CLICK and waits until the dialog has handled it; false on
    // a missing control or when the dialog does not answer within timeoutMs.
    bool click(int id, DWORD timeoutMs);
    // Posts BM_CLICK to button id and returns at once; false on a missing control.
    bool postClick(int id);
    // Sends the close box's WM_SYSCOMMAND SC_CLOSE; false when the dialog does not answer.
    bool pressCloseBox(DWORD timeoutMs);
    // Polls until control id reads text; false after timeoutMs.
    bool waitForText(int id, const char* text, DWORD timeoutMs);
    // Waits until the dialog has handled everything sent so far and had time to repaint.
    bool settle(DWORD timeoutMs);

    // The dialog's window rectangle, and the desktop window's.
    RECT getWindowRect() const;
    static RECT getDesktopRect();
    // Where the dialog's left-top corner belongs when centred on the desktop.
    POINT getCentredPosition() const;

    // Waits for the launched process to end and stores its exit code; false on time-out.
    bool waitForExit(DWORD timeoutMs, DWORD* exitCode);
    // Waits until no dialog with dialogCaption is left; false on time-out.
    bool waitForDialogGone(DWORD timeoutMs);
    // Ends the launched process if it still runs; true when it had to.
    bool terminate();
    DWORD getProcessId() const;

private:
    HWND getControl(int id) const;

    PROCESS_INFORMATION process;
    HANDLE job;
    HWND dialog;
};

#endif
