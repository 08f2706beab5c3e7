// InstallDirCheck.cpp: the install directory must name a folder, not a root or a relative path.
#include "InstallDirCheck.h"

namespace {

bool isSeparator(char c)
{
    return c == '\\' || c == '/';
}

bool isLetter(char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

// Counts the components of rest (separators repeated or trailing are allowed) and
// rejects "." and "..". Returns -1 for a rejected component.
int countComponents(const char* rest)
{
    int count = 0;
    const char* p = rest;
    while (*p != '\0') {
        while (isSeparator(*p)) {
            ++p;
        }
        if (*p == '\0') {
            break;
        }
        const char* start = p;
        while (*p != '\0' && !isSeparator(*p)) {
            ++p;
        }
        int n = static_cast<int>(p - start);
        if ((n == 1 && start[0] == '.') || (n == 2 && start[0] == '.' && start[1] == '.')) {
            return -1;
        }
        ++count;
    }
    return count;
}

} // namespace

bool isUsableInstallDir(const char* dir)
{
    if (dir == nullptr) {
        return false;
    }
    if (isLetter(dir[0]) && dir[1] == ':' && isSeparator(dir[2])) {
        // "C:\" itself, however many separators follow, is the drive's root.
        return countComponents(dir + 3) >= 1;
    }
    if (isSeparator(dir[0]) && isSeparator(dir[1])) {
        if (dir[2] == '?' || dir[2] == '.') {
            return false;
        }
        // "\\server\share" is the share's root; a folder needs one more component.
        return countComponents(dir + 2) >= 3;
    }
    return false;
}
