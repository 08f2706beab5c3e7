// DirectoryHandleRecorder.h: which directories the code under test opened, and which of
// those handles it still holds.
#ifndef TESTS_DIRECTORY_HANDLE_RECORDER_H
#define TESTS_DIRECTORY_HANDLE_RECORDER_H

#include "TestImportHook.h"

#include <windows.h>

#include <set>
#include <string>
#include <vector>

// While it lives, the program's CreateFileW and CloseHandle pass through it: every
// CreateFileW with FILE_FLAG_BACKUP_SEMANTICS (a directory, as the walk opens them) is
// recorded by its path (in the system code page), and its handle kept until closed.
// One at a time.
class DirectoryHandleRecorder
{
public:
    DirectoryHandleRecorder();
    virtual ~DirectoryHandleRecorder();

    DirectoryHandleRecorder(const DirectoryHandleRecorder&) = delete;
    DirectoryHandleRecorder& operator=(const DirectoryHandleRecorder&) = delete;

    bool isInstalled() const { return createFileHook.isInstalled() && closeHandleHook.isInstalled(); }

    // Every directory opened, in order, whether the open succeeded or not.
    std::vector<std::string> opened;
    // The directory handles not closed yet.
    std::set<HANDLE> held;

private:
    ImportHook createFileHook;
    ImportHook closeHandleHook;
};

#endif
