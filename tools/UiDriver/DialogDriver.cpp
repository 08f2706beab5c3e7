// DialogDriver.cpp: FindWindowA, GetDlgItem and messages with time-outs, never a hang.
#include "DialogDriver.h"

const char* const dialogCaption = "Vantrel Uninstaller";

namespace {

const DWORD pollInterval = 100;

// The dialog of processId (any process when 0) that is visible, or null.
HWND findDialog(DWORD processId)
{
    HWND found = nullptr;
    while ((found = FindWindowExA(nullptr, found, "#32770", dialogCaption)) != nullptr) {
        DWORD owner = 0;
        GetWindowThreadProcessId(found, &owner);
        if ((processId == 0 || owner == processId) && IsWindowVisible(found)) {
            return found;
        }
    }
    return nullptr;
}

} // namespace

DialogDriver::DialogDriver()
    : process(), job(nullptr), dialog(nullptr)
{
}

DialogDriver::~DialogDriver()
{
    terminate();
    if (job != nullptr) {
        CloseHandle(job);
    }
    if (process.hThread != nullptr) {
        CloseHandle(process.hThread);
    }
    if (process.hProcess != nullptr) {
        CloseHandle(process.hProcess);
    }
}

bool DialogDriver::launch(const char* program, const char* environment, const char* workingDirectory)
{
    if (process.hProcess != nullptr) {
        return false;
    }
    // The program runs in a job that ends it when the job's last handle closes, so even a
    // driver that dies leaves no program of its own behind.
    job = CreateJobObjectA(nullptr, nullptr);
    JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits = {};
    limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
    if (job == nullptr
        || !SetInformationJobObject(job, JobObjectExtendedLimitInformation, &limits, sizeof(limits))) {
        return false;
    }
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    // CreateProcessA may write into the command line, so it gets a copy.
    std::string commandLine = std::string("\"") + program + "\"";
    if (!CreateProcessA(program, &commandLine[0], nullptr, nullptr, FALSE, CREATE_SUSPENDED,
                        const_cast<char*>(environment), workingDirectory, &startup, &process)) {
        process = PROCESS_INFORMATION();
        return false;
    }
    if (!AssignProcessToJobObject(job, process.hProcess)) {
        TerminateProcess(process.hProcess, 1);
        return false;
    }
    ResumeThread(process.hThread);
    return true;
}

HWND DialogDriver::waitForDialog(DWORD timeoutMs)
{
    DWORD start = GetTickCount();
    for (;;) {
        dialog = findDialog(process.dwProcessId);
        if (dialog != nullptr) {
            return dialog;
        }
        if (process.hProcess != nullptr && WaitForSingleObject(process.hProcess, 0) == WAIT_OBJECT_0) {
            return nullptr;
        }
        if (GetTickCount() - start >= timeoutMs) {
            return nullptr;
        }
        Sleep(pollInterval);
    }
}

HWND DialogDriver::getDialog() const
{
    return dialog;
}

HWND DialogDriver::getControl(int id) const
{
    if (dialog == nullptr) {
        return nullptr;
    }
    return id == 0 ? dialog : GetDlgItem(dialog, id);
}

std::string DialogDriver::getText(int id) const
{
    HWND control = getControl(id);
    if (control == nullptr) {
        return std::string();
    }
    // For another process's window GetWindowTextA reads the text the window manager
    // keeps, without sending a message, so a dialog that is busy cannot block it.
    char text[256] = "";
    GetWindowTextA(control, text, sizeof(text));
    return text;
}

bool DialogDriver::isChecked(int id) const
{
    HWND control = getControl(id);
    DWORD_PTR state = 0;
    if (control == nullptr
        || !SendMessageTimeoutA(control, BM_GETCHECK, 0, 0, SMTO_NORMAL, 10000, &state)) {
        return false;
    }
    return state == BST_CHECKED;
}

bool DialogDriver::click(int id, DWORD timeoutMs)
{
    HWND control = getControl(id);
    DWORD_PTR result = 0;
    return control != nullptr
        && SendMessageTimeoutA(control, BM_CLICK, 0, 0, SMTO_NORMAL, timeoutMs, &result) != 0;
}

bool DialogDriver::postClick(int id)
{
    HWND control = getControl(id);
    return control != nullptr && PostMessageA(control, BM_CLICK, 0, 0) != FALSE;
}

bool DialogDriver::pressCloseBox(DWORD timeoutMs)
{
    DWORD_PTR result = 0;
    return dialog != nullptr
        && SendMessageTimeoutA(dialog, WM_SYSCOMMAND, SC_CLOSE, 0, SMTO_NORMAL, timeoutMs, &result) != 0;
}

bool DialogDriver::waitForText(int id, const char* text, DWORD timeoutMs)
{
    DWORD start = GetTickCount();
    while (getText(id) != text) {
        if (GetTickCount() - start >= timeoutMs) {
            return false;
        }
        Sleep(pollInterval);
    }
    return true;
}

bool DialogDriver::settle(DWORD timeoutMs)
{
    DWORD_PTR result = 0;
    if (dialog == nullptr
        || !SendMessageTimeoutA(dialog, WM_NULL, 0, 0, SMTO_NORMAL, timeoutMs, &result)) {
        return false;
    }
    // WM_PAINT comes after sent messages; the window's surface reaches the screen once
    // the dialog's thread has painted and gone idle.
    Sleep(1000);
    return SendMessageTimeoutA(dialog, WM_NULL, 0, 0, SMTO_NORMAL, timeoutMs, &result) != 0;
}

RECT DialogDriver::getWindowRect() const
{
    RECT rect = {};
    if (dialog != nullptr) {
        GetWindowRect(dialog, &rect);
    }
    return rect;
}

RECT DialogDriver::getDesktopRect()
{
    RECT rect = {};
    GetWindowRect(GetDesktopWindow(), &rect);
    return rect;
}

POINT DialogDriver::getCentredPosition() const
{
    RECT desktop = getDesktopRect();
    RECT own = getWindowRect();
    POINT centred;
    centred.x = desktop.left + ((desktop.right - desktop.left) - (own.right - own.left)) / 2;
    centred.y = desktop.top + ((desktop.bottom - desktop.top) - (own.bottom - own.top)) / 2;
    return centred;
}

bool DialogDriver::waitForExit(DWORD timeoutMs, DWORD* exitCode)
{
    if (process.hProcess == nullptr || WaitForSingleObject(process.hProcess, timeoutMs) != WAIT_OBJECT_0) {
        return false;
    }
    return GetExitCodeProcess(process.hProcess, exitCode) != FALSE;
}

bool DialogDriver::waitForDialogGone(DWORD timeoutMs)
{
    DWORD start = GetTickCount();
    while (findDialog(process.dwProcessId) != nullptr) {
        if (GetTickCount() - start >= timeoutMs) {
            return false;
        }
        Sleep(pollInterval);
    }
    return true;
}

bool DialogDriver::terminate()
{
    if (process.hProcess == nullptr || WaitForSingleObject(process.hProcess, 0) == WAIT_OBJECT_0) {
        return false;
    }
    TerminateProcess(process.hProcess, 1);
    WaitForSingleObject(process.hProcess, 10000);
    return true;
}

DWORD DialogDriver::getProcessId() const
{
    return process.dwProcessId;
}
