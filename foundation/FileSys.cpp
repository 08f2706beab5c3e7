// FileSys.cpp: bottom-up removal of a directory's contents.
#include "FileSys.h"

#include "StringBuffer.h"

#include <windows.h>

#include <string.h>

FileSys::FileSys()
{
}

FileSys::~FileSys()
{
}

void FileSys::deleteDirectoryContents(const char* dir)
{
    // An empty text would make the pattern "\*.*": the root of the current drive.
    if (dir == nullptr || dir[0] == '\0') {
        return;
    }
    StringBuffer prefix;
    prefix.append(dir);
    if (prefix.lastChar() != '\\') {
        prefix.appendChar('\\');
    }
    prefix.append("*.*");

    WIN32_FIND_DATAA entry;
    HANDLE listing = FindFirstFileA(prefix.getString(), &entry);
    prefix.shorten(3);
    if (listing == INVALID_HANDLE_VALUE) {
        return;
    }

    StringBuffer path;
    do {
        if (strcmp(entry.cFileName, ".") == 0 || strcmp(entry.cFileName, "..") == 0) {
            continue;
        }
        path.setFrom(prefix);
        path.append(entry.cFileName);
        if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            // A directory link (junction or symbolic link) is removed as an entry: what
            // it points to lies outside this tree and is never walked.
            if (!(entry.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT)) {
                deleteDirectoryContents(path.getString());
            }
            RemoveDirectoryA(path.getString());
        } else {
            // A file link is deleted as a file: on Windows DeleteFileA removes the link,
            // not its target.
            DeleteFileA(path.getString());
        }
    } while (FindNextFileA(listing, &entry));
    FindClose(listing);
}
