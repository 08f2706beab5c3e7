// WideTree.cpp: the tests' own tree helpers on the wide functions, independent of the foundation.
#include "WideTree.h"

#include <windows.h>

#include <algorithm>

namespace {

bool isDots(const wchar_t* name)
{
    return wcscmp(name, L".") == 0 || wcscmp(name, L"..") == 0;
}

bool isLink(DWORD attributes)
{
    return (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
}

void collect(const std::wstring& dir, const std::wstring& relative, std::vector<std::wstring>& out)
{
    WIN32_FIND_DATAW entry = {};
    HANDLE listing = FindFirstFileW(longForm(dir + L"\\*").c_str(), &entry);
    if (listing == INVALID_HANDLE_VALUE) {
        return;
    }
    do {
        if (isDots(entry.cFileName)) {
            continue;
        }
        std::wstring name = relative + entry.cFileName;
        if ((entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && !isLink(entry.dwFileAttributes)) {
            out.push_back(name + L"\\");
            collect(dir + L"\\" + entry.cFileName, name + L"\\", out);
        } else {
            out.push_back(name);
        }
    } while (FindNextFileW(listing, &entry));
    FindClose(listing);
}

} // namespace

std::wstring longForm(const std::wstring& dir)
{
    return L"\\\\?\\" + dir;
}

std::wstring widen(const std::string& text)
{
    int size = MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, nullptr, 0);
    std::wstring wide(size > 0 ? size : 1, L'\0');
    MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, &wide[0], size);
    wide.resize(wcslen(wide.c_str()));
    return wide;
}

bool makeWideFolders(const std::wstring& dir)
{
    DWORD attributes = GetFileAttributesW(longForm(dir).c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES) {
        return (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    }
    size_t cut = dir.find_last_of(L'\\');
    if (cut != std::wstring::npos && cut > 2 && !makeWideFolders(dir.substr(0, cut))) {
        return false;
    }
    return CreateDirectoryW(longForm(dir).c_str(), nullptr) || GetLastError() == ERROR_ALREADY_EXISTS;
}

bool writeWideFile(const std::wstring& path, const std::string& text)
{
    HANDLE file = CreateFileW(longForm(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return false;
    }
    DWORD written = 0;
    bool ok = WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr) &&
              written == text.size();
    CloseHandle(file);
    return ok;
}

std::vector<std::wstring> listWideTree(const std::wstring& dir)
{
    std::vector<std::wstring> entries;
    collect(dir, std::wstring(), entries);
    std::sort(entries.begin(), entries.end());
    return entries;
}

bool removeWideTree(const std::wstring& dir)
{
    WIN32_FIND_DATAW entry = {};
    HANDLE listing = FindFirstFileW(longForm(dir + L"\\*").c_str(), &entry);
    if (listing != INVALID_HANDLE_VALUE) {
        do {
            if (isDots(entry.cFileName)) {
                continue;
            }
            std::wstring path = dir + L"\\" + entry.cFileName;
            if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                if (isLink(entry.dwFileAttributes)) {
                    // Under Wine this removes the folder a link points to when that is
                    // empty; the tests' links point into their own trees.
                    RemoveDirectoryW(longForm(path).c_str());
                } else {
                    removeWideTree(path);
                }
            } else {
                SetFileAttributesW(longForm(path).c_str(), FILE_ATTRIBUTE_NORMAL);
                DeleteFileW(longForm(path).c_str());
            }
        } while (FindNextFileW(listing, &entry));
        FindClose(listing);
    }
    RemoveDirectoryW(longForm(dir).c_str());
    return GetFileAttributesW(longForm(dir).c_str()) == INVALID_FILE_ATTRIBUTES;
}

std::string narrow(const std::wstring& text)
{
    int size = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string out(size > 0 ? size : 1, '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, &out[0], size, nullptr, nullptr);
    out.resize(strlen(out.c_str()));
    return out;
}

std::string narrow(const std::vector<std::wstring>& entries)
{
    std::string out;
    for (const std::wstring& entry : entries) {
        out += "\n  " + narrow(entry);
    }
    return out.empty() ? " (none)" : out;
}
