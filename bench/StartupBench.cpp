// StartupBench.cpp: times the product's start until its dialog is up, against the bench's minimal dialog program.
// A start is timed from just before CreateProcessA until the dialog, found by its caption
// among the new process's top-level windows, is visible and has answered a sent WM_NULL,
// i.e. its thread is back in its message loop. The dialog is then closed with the
// Cancel command (never "Uninstall") and the process is waited for.
#include "MinimalDialogIds.h"

#include "BenchTiming.h"

#include <windows.h>

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

struct Program {
    const char* label;
    const char* exeName;
    const char* caption;
};

const Program programs[] = {
    {"product", "VantrelUninstall.exe", "Vantrel Uninstaller"},
    {"minimal", "MinimalDialog.exe", MINIMAL_DIALOG_CAPTION},
};
const int programCount = sizeof(programs) / sizeof(programs[0]);

// The directory of this exe, with its trailing backslash: the programs sit beside it.
std::string ownDirectory()
{
    char path[MAX_PATH];
    DWORD length = GetModuleFileNameA(nullptr, path, sizeof(path));
    std::string text(path, length);
    size_t slash = text.find_last_of('\\');
    return slash == std::string::npos ? std::string() : text.substr(0, slash + 1);
}

HWND findDialog(DWORD processId, const char* caption)
{
    HWND window = nullptr;
    while ((window = FindWindowExA(nullptr, window, nullptr, caption)) != nullptr) {
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        if (owner == processId) {
            return window;
        }
    }
    return nullptr;
}

// Starts the program once; on success stores the start-up time in *ms. On failure
// *why says what went wrong and the process, if it was started, has been ended.
bool startOnce(const std::string& exePath, const Program& program, DWORD timeoutMs, double* ms,
               std::string* why)
{
    if (GetFileAttributesA(exePath.c_str()) == INVALID_FILE_ATTRIBUTES) {
        *why = exePath + " does not exist";
        return false;
    }
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process = {};
    std::vector<char> commandLine(exePath.begin(), exePath.end());
    commandLine.push_back('\0');

    double start = nowMs();
    if (!CreateProcessA(exePath.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        nullptr, &startup, &process)) {
        *why = "CreateProcessA failed for " + exePath;
        return false;
    }
    double deadline = start + timeoutMs;
    WaitForInputIdle(process.hProcess, timeoutMs);

    bool ok = false;
    HWND dialog = nullptr;
    char text[160];
    for (;;) {
        dialog = findDialog(process.dwProcessId, program.caption);
        if (dialog != nullptr && IsWindowVisible(dialog)) {
            DWORD_PTR answer = 0;
            double left = deadline - nowMs();
            if (left > 0 && SendMessageTimeoutA(dialog, WM_NULL, 0, 0, SMTO_NORMAL,
                                                static_cast<UINT>(left), &answer)) {
                *ms = nowMs() - start;
                ok = true;
            } else {
                *why = "the dialog did not answer within the time-out";
            }
            break;
        }
        if (WaitForSingleObject(process.hProcess, 0) == WAIT_OBJECT_0) {
            DWORD code = 0;
            GetExitCodeProcess(process.hProcess, &code);
            snprintf(text, sizeof(text), "exited with code %lu before a visible \"%s\" window appeared",
                     code, program.caption);
            *why = text;
            break;
        }
        if (nowMs() > deadline) {
            snprintf(text, sizeof(text), "no visible \"%s\" window within %lu ms%s", program.caption,
                     timeoutMs, dialog != nullptr ? " (it exists but stays hidden)" : "");
            *why = text;
            break;
        }
        Sleep(1);
    }

    if (ok) {
        // Cancel, as the dialog's own button sends it: ends the dialog and the process.
        PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
        if (WaitForSingleObject(process.hProcess, timeoutMs) != WAIT_OBJECT_0) {
            *why = "did not exit after Cancel";
            ok = false;
        } else {
            DWORD code = 0;
            GetExitCodeProcess(process.hProcess, &code);
            if (code != 0) {
                snprintf(text, sizeof(text), "exited with code %lu after Cancel", code);
                *why = text;
                ok = false;
            }
        }
    }
    if (WaitForSingleObject(process.hProcess, 0) != WAIT_OBJECT_0) {
        TerminateProcess(process.hProcess, 1);
        WaitForSingleObject(process.hProcess, 10000);
    }
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return ok;
}

void usage()
{
    fprintf(stderr,
            "usage: StartupBench [--rounds N] [--timeout-ms N]\n"
            "  Starts VantrelUninstall.exe and MinimalDialog.exe (beside this exe) in turn,\n"
            "  N rounds (default 7) after one unmeasured start of each; closes each with Cancel.\n");
}

} // namespace

int main(int argc, char** argv)
{
    int rounds = 7;
    DWORD timeoutMs = 30000;
    for (int i = 1; i < argc; ++i) {
        if (strcmp(argv[i], "--rounds") == 0 && i + 1 < argc) {
            rounds = atoi(argv[++i]);
        } else if (strcmp(argv[i], "--timeout-ms") == 0 && i + 1 < argc) {
            timeoutMs = static_cast<DWORD>(atoi(argv[++i]));
        } else {
            usage();
            return 2;
        }
    }
    if (rounds < 1 || timeoutMs == 0) {
        usage();
        return 2;
    }

    std::string dir = ownDirectory();
    std::vector<double> times[programCount];
    bool usable[programCount];
    std::string why;
    // The unmeasured first start of each program also tells whether it shows its dialog
    // at all; one that does not is left out of the rounds instead of timing out in each.
    for (int p = 0; p < programCount; ++p) {
        double ignored = 0;
        usable[p] = startOnce(dir + programs[p].exeName, programs[p], timeoutMs, &ignored, &why);
        if (!usable[p]) {
            printf("startup: %s (%s): %s; ended it, and it is left out of the rounds\n",
                   programs[p].label, programs[p].exeName, why.c_str());
        }
    }
    for (int round = 0; round < rounds; ++round) {
        printf("round n=%d", round + 1);
        // The order alternates, so neither program always follows the other.
        for (int k = 0; k < programCount; ++k) {
            int p = (k + round) % programCount;
            if (!usable[p]) {
                continue;
            }
            double ms = 0;
            if (startOnce(dir + programs[p].exeName, programs[p], timeoutMs, &ms, &why)) {
                times[p].push_back(ms);
                printf(" %s_ms=%.1f", programs[p].label, ms);
            } else {
                printf(" %s=failed", programs[p].label);
                fprintf(stderr, "startup: %s round %d: %s\n", programs[p].label, round + 1, why.c_str());
            }
        }
        printf("\n");
        fflush(stdout);
    }

    char result[programCount][32];
    for (int p = 0; p < programCount; ++p) {
        if (times[p].empty()) {
            snprintf(result[p], sizeof(result[p]), "%s", usable[p] ? "failed" : "no_dialog");
        } else {
            snprintf(result[p], sizeof(result[p]), "%.1f", median(times[p]));
        }
    }
    bool complete = !times[0].empty() && !times[1].empty();
    char ratio[32] = "none";
    if (complete) {
        snprintf(ratio, sizeof(ratio), "%.2f", median(times[0]) / median(times[1]));
    }
    printf("startup product_ms=%s minimal_ms=%s ratio=%s\n", result[0], result[1], ratio);
    fflush(stdout);
    return complete ? 0 : 1;
}
