// DirectoryHandleRecorder.cpp: CreateFileW and CloseHandle, recorded on their way to the platform.
#include "DirectoryHandleRecorder.h"

namespace {

typedef HANDLE (WINAPI* CreateFileWProc)(LPCWSTR, DWORD, DWORD, LPSECURITY_ATTRIBUTES, DWORD, DWORD, HANDLE);
typedef BOOL (WINAPI* CloseHandleProc)(HANDLE);

DirectoryHandleRecorder* recorder = nullptr;
CreateFileWProc platformCreateFile = nullptr;
CloseHandleProc platformCloseHandle = nullptr;

HANDLE WINAPI recordCreateFile(LPCWSTR path, DWORD access, DWORD share, LPSECURITY_ATTRIBUTES security,
                               DWORD disposition, DWORD flags, HANDLE templateFile)
{
    HANDLE handle = platformCreateFile(path, access, share, security, disposition, flags, templateFile);
    if (recorder != nullptr && (flags & FILE_FLAG_BACKUP_SEMANTICS)) {
        char narrow[1024] = {};
        WideCharToMultiByte(CP_ACP, 0, path, -1, narrow, sizeof(narrow) - 1, nullptr, nullptr);
        recorder->opened.push_back(narrow);
        if (handle != INVALID_HANDLE_VALUE) {
            recorder->held.insert(handle);
        }
    }
    return handle;
}

BOOL WINAPI recordCloseHandle(HANDLE handle)
{
    if (recorder != nullptr) {
        recorder->held.erase(handle);
    }
    return platformCloseHandle(handle);
}

} // namespace

DirectoryHandleRecorder::DirectoryHandleRecorder()
    : createFileHook("kernel32.dll", "CreateFileW", reinterpret_cast<void*>(&recordCreateFile)),
      closeHandleHook("kernel32.dll", "CloseHandle", reinterpret_cast<void*>(&recordCloseHandle))
{
    platformCreateFile = reinterpret_cast<CreateFileWProc>(createFileHook.original());
    platformCloseHandle = reinterpret_cast<CloseHandleProc>(closeHandleHook.original());
    recorder = this;
}

DirectoryHandleRecorder::~DirectoryHandleRecorder()
{
    recorder = nullptr;
}
