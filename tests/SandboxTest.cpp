// SandboxTest.cpp: a Windows program of the tests cannot change the host's files, whatever
// path it takes to them.
#include "TestFileText.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <stdlib.h>
#include <string.h>

#include <string>

namespace {

// Wine maps "\\?\unix\..." onto the host's / whatever drives the prefix has; this is the
// one place the project composes such a path, to show that the sandbox holds.
std::string unixPath(const char* hostPath)
{
    std::string path = std::string("\\\\?\\unix") + hostPath;
    for (char& c : path) {
        if (c == '/') {
            c = '\\';
        }
    }
    return path;
}

TEST(SandboxTest, HostFilesOutsideBuildCannotBeDeletedOrWritten)
{
    const char* sandbox = getenv("VT_SANDBOX");
    if (sandbox == nullptr || strcmp(sandbox, "1") != 0) {
        GTEST_SKIP() << "not in the sandbox (scripts/sandbox): the kernel refused a mount namespace";
    }
    const char* sentinel = getenv("VT_SANDBOX_SENTINEL");
    if (sentinel == nullptr) {
        GTEST_SKIP() << "scripts/test names the host file to try in VT_SANDBOX_SENTINEL";
    }
    const std::string path = unixPath(sentinel);
    const std::string text = fileText(path);
    // The path does reach the host's file: the test is not passing on a path that leads nowhere.
    ASSERT_EQ(0u, text.find("The sandbox test reads this file")) << path << ": " << text;

    // Wine's DeleteFileA reports success here: it marks the file for deletion and the
    // server's unlink, which the read-only mount refuses, comes at the close, unchecked.
    // What counts is that the file is still there.
    DeleteFileA(path.c_str());
    EXPECT_EQ(text, fileText(path));
    EXPECT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(path.c_str()));

    const std::string created = path.substr(0, path.rfind('\\')) + "\\sandbox-escape.txt";
    HANDLE file = CreateFileA(created.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
    EXPECT_EQ(INVALID_HANDLE_VALUE, file) << created;
    if (file != INVALID_HANDLE_VALUE) {
        CloseHandle(file);
        DeleteFileA(created.c_str());
    }
}

} // namespace
