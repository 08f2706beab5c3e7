// SampleChecks.cpp: listings and look-ups done with plain Win32 calls, independent of the foundation.
#include "SampleChecks.h"

#include "SampleInstallation.h"

#include <algorithm>

#include <string.h>

const char* const sampleFamilyFolders[] = {
    "Vantrel Mail",
    "Common",
    "Other Examples",
    "C++ Builder 5 Libs",
    "IDL",
    "Include",
    "Type Libraries",
    "Visual C++ 6 Libs",
};
const int sampleFamilyFolderCount = sizeof(sampleFamilyFolders) / sizeof(sampleFamilyFolders[0]);

namespace {

const char* const sentinelMark = "\\vt-sentinel.txt";

void collect(const std::string& dir, const std::string& relative, std::vector<std::string>& out)
{
    WIN32_FIND_DATAA entry = {};
    HANDLE listing = FindFirstFileA((dir + "\\*").c_str(), &entry);
    if (listing == INVALID_HANDLE_VALUE) {
        return;
    }
    do {
        if (strcmp(entry.cFileName, ".") == 0 || strcmp(entry.cFileName, "..") == 0) {
            continue;
        }
        std::string name = relative + entry.cFileName;
        if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            out.push_back(name + "\\");
            collect(dir + "\\" + entry.cFileName, name + "\\", out);
        } else {
            out.push_back(name);
        }
    } while (FindNextFileA(listing, &entry));
    FindClose(listing);
}

} // namespace

std::string sampleCaseDir(const char* testName, const char* caseName)
{
    return std::string("C:\\vt\\tests\\") + testName + "\\" + caseName;
}

std::vector<std::string> listTree(const std::string& dir)
{
    std::vector<std::string> entries;
    collect(dir, std::string(), entries);
    std::sort(entries.begin(), entries.end());
    return entries;
}

bool pathExists(const std::string& path)
{
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool keyExists(HKEY root, const char* path)
{
    HKEY key = nullptr;
    if (RegOpenKeyExA(root, path, 0, KEY_READ, &key) != ERROR_SUCCESS) {
        return false;
    }
    RegCloseKey(key);
    return true;
}

std::string currentDirectory()
{
    char dir[MAX_PATH];
    DWORD length = GetCurrentDirectoryA(sizeof(dir), dir);
    if (length == 0 || length >= sizeof(dir)) {
        return std::string();
    }
    std::string text(dir, length);
    while (!text.empty() && text.back() == '\\') {
        text.pop_back();
    }
    return text;
}

bool makeSentinelFolder(const std::string& dir)
{
    if (pathExists(dir) && !removeSentinelFolder(dir)) {
        return false;
    }
    return SampleInstallation::makeFolders(dir) &&
           SampleInstallation::writeFile(dir + sentinelMark, "left by the uninstaller tests");
}

bool removeSentinelFolder(const std::string& dir)
{
    if (!pathExists(dir)) {
        return true;
    }
    if (!pathExists(dir + sentinelMark)) {
        return false;
    }
    return SampleInstallation::removeTree(dir);
}
