// TestFileText.cpp: reads the start of a file for a test's comparison.
#include "TestFileText.h"

#include <windows.h>

std::string fileText(const std::string& path)
{
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return "(missing)";
    }
    char text[256] = {};
    DWORD read = 0;
    ReadFile(file, text, sizeof(text) - 1, &read, nullptr);
    CloseHandle(file);
    return std::string(text, read);
}
