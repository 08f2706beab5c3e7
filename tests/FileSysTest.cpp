// FileSysTest.cpp: emptying real directory trees in the Wine prefix's drive C.
#include "FileSys.h"

#include "DirectoryHandleRecorder.h"
#include "FoundationTestName.h"
#include "TestFileText.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

namespace {

const char* const testsFolder = "C:\\vt\\tests";

bool isDirectoryLink(DWORD attributes)
{
    return (attributes & FILE_ATTRIBUTE_DIRECTORY) && (attributes & FILE_ATTRIBUTE_REPARSE_POINT);
}

// Removes a test's tree without the code under test; read-only files go too. Directory
// links are left alone: under Wine, removing one removes an empty folder it points to.
void removeTree(const std::string& dir)
{
    WIN32_FIND_DATAA entry;
    HANDLE listing = FindFirstFileA((dir + "\\*").c_str(), &entry);
    if (listing != INVALID_HANDLE_VALUE) {
        do {
            std::string name = entry.cFileName;
            if (name == "." || name == "..") {
                continue;
            }
            std::string path = dir + "\\" + name;
            if (isDirectoryLink(entry.dwFileAttributes)) {
                continue;
            }
            if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                removeTree(path);
            } else {
                SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
                DeleteFileA(path.c_str());
            }
        } while (FindNextFileA(listing, &entry));
        FindClose(listing);
    }
    RemoveDirectoryA(dir.c_str());
}

// Every entry below dir as a path relative to it, sorted; links are listed, not entered.
void listTree(const std::string& dir, const std::string& relative, std::vector<std::string>& out)
{
    WIN32_FIND_DATAA entry;
    HANDLE listing = FindFirstFileA((dir + "\\*").c_str(), &entry);
    if (listing == INVALID_HANDLE_VALUE) {
        return;
    }
    do {
        std::string name = entry.cFileName;
        if (name == "." || name == "..") {
            continue;
        }
        std::string path = relative.empty() ? name : relative + "\\" + name;
        out.push_back(path);
        if ((entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && !isDirectoryLink(entry.dwFileAttributes)) {
            listTree(dir + "\\" + name, path, out);
        }
    } while (FindNextFileA(listing, &entry));
    FindClose(listing);
}

std::vector<std::string> treeBelow(const std::string& dir)
{
    std::vector<std::string> entries;
    listTree(dir, "", entries);
    std::sort(entries.begin(), entries.end());
    return entries;
}

bool isDirectory(const std::string& path)
{
    DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

void makeDirectory(const std::string& path)
{
    ASSERT_TRUE(CreateDirectoryA(path.c_str(), nullptr) || GetLastError() == ERROR_ALREADY_EXISTS) << path;
}

void makeFile(const std::string& path, DWORD attributes = FILE_ATTRIBUTE_NORMAL)
{
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, attributes, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, file) << path << " error " << GetLastError();
    DWORD written = 0;
    WriteFile(file, "data", 4, &written, nullptr);
    CloseHandle(file);
}

// Each test builds its tree in C:\vt\tests\<its name> and removes it afterwards.
class FileSysTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        root = std::string(testsFolder) + "\\" + currentTestName();
        removeTree(root);
        makeDirectory(testsFolder);
        makeDirectory(root);
    }

    void TearDown() override { removeTree(root); }

    // Lays down the relative paths below the test's folder; a path ending in a backslash
    // is a directory, any other a file. Parents come before their entries.
    void lay(const std::vector<std::string>& paths)
    {
        for (const std::string& path : paths) {
            if (path.back() == '\\') {
                makeDirectory(root + "\\" + path.substr(0, path.size() - 1));
            } else {
                makeFile(root + "\\" + path);
            }
        }
    }

    std::string root;
};

const std::vector<std::string> threeLevels = {
    "top.txt",
    "L1\\",
    "L1\\one.txt",
    "L1\\L2\\",
    "L1\\L2\\two.txt",
    "L1\\L2\\L3\\",
    "L1\\L2\\L3\\three.txt",
    "L1\\L2\\L3\\Empty\\",
    "L1\\Side\\",
    "Other\\",
    "Other\\L2\\",
    "Other\\L2\\deep.bin",
};

class FileSysTreeTest : public FileSysTest, public ::testing::WithParamInterface<const char*>
{
};

TEST_P(FileSysTreeTest, EmptiesThreeLevelsAndKeepsTheDirectory)
{
    lay(threeLevels);
    ASSERT_EQ(threeLevels.size(), treeBelow(root).size());

    std::string dir = root + GetParam();
    std::vector<std::string> opened;
    {
        DirectoryHandleRecorder recorder;
        ASSERT_TRUE(recorder.isInstalled());
        FileSys files;
        files.deleteDirectoryContents(dir.c_str());
        opened = recorder.opened;
        // Every directory handle is released, the held ones included.
        EXPECT_EQ(std::set<HANDLE>(), recorder.held);
    }
    EXPECT_TRUE(isDirectory(root));
    EXPECT_EQ(std::vector<std::string>(), treeBelow(root));

    // The directory is found in its parent's listing and the parent in its own parent's;
    // then each directory of the tree once, in the long form with single separators,
    // whichever way dir ended.
    std::vector<std::string> expected = {"\\\\?\\C:\\vt", "\\\\?\\C:\\vt\\tests", "\\\\?\\" + root};
    for (const std::string& entry : threeLevels) {
        if (entry.back() == '\\') {
            expected.push_back("\\\\?\\" + root + "\\" + entry.substr(0, entry.size() - 1));
        }
    }
    std::sort(expected.begin(), expected.end());
    std::sort(opened.begin(), opened.end());
    EXPECT_EQ(expected, opened);
}

INSTANTIATE_TEST_SUITE_P(Endings, FileSysTreeTest, ::testing::Values("", "\\"),
                         [](const ::testing::TestParamInfo<const char*>& info) {
                             return std::string(info.param[0] == '\0' ? "NoTrailingBackslash"
                                                                      : "TrailingBackslash");
                         });

TEST_F(FileSysTest, ReadOnlyFileKeepsItselfAndTheFoldersAboveIt)
{
    lay({"top.txt", "A\\", "A\\y.txt", "A\\C\\", "A\\C\\z.txt", "A\\B\\", "A\\B\\x.txt",
         "D\\", "D\\E\\", "D\\E\\w.txt"});
    makeFile(root + "\\A\\B\\ro.txt", FILE_ATTRIBUTE_READONLY);
    ASSERT_TRUE(GetFileAttributesA((root + "\\A\\B\\ro.txt").c_str()) & FILE_ATTRIBUTE_READONLY);

    FileSys files;
    files.deleteDirectoryContents(root.c_str());

    EXPECT_EQ((std::vector<std::string>{"A", "A\\B", "A\\B\\ro.txt"}), treeBelow(root));
    EXPECT_TRUE(GetFileAttributesA((root + "\\A\\B\\ro.txt").c_str()) & FILE_ATTRIBUTE_READONLY);
}

TEST_F(FileSysTest, PathsThatAreNoDirectoryChangeNothing)
{
    lay({"Sibling\\", "Sibling\\file.txt", "Sibling\\Inner\\", "Sibling\\Inner\\f.txt"});
    const std::vector<std::string> before = treeBelow(root);
    const std::string paths[] = {
        root + "\\Missing",
        root + "\\Missing\\",
        root + "\\Missing\\Deeper",
        root + "\\Sibling\\file.txt",
        root + "\\Sibling\\file.txt\\",
    };
    FileSys files;
    for (const std::string& path : paths) {
        files.deleteDirectoryContents(path.c_str());
        EXPECT_EQ(before, treeBelow(root)) << path;
    }
}

TEST_F(FileSysTest, EmptyAndNullDirectoryDoNothing)
{
    // An empty text would name "\*.*", the root of the current drive.
    const std::string sentinel = "C:\\vt\\work\\FileSysSentinel";
    removeTree(sentinel);
    makeDirectory(sentinel);
    makeFile(sentinel + "\\keep.txt");
    lay({"keep.txt"});

    FileSys files;
    files.deleteDirectoryContents("");
    files.deleteDirectoryContents(nullptr);

    EXPECT_EQ("data", fileText(sentinel + "\\keep.txt"));
    EXPECT_EQ("data", fileText(root + "\\keep.txt"));
    removeTree(sentinel);
}

TEST_F(FileSysTest, FolderListedInSeveralBatchesIsEmptied)
{
    // More entries than one listing call returns (a batch holds a few hundred records at
    // the most), in the folder itself and in a sub-folder.
    std::vector<std::string> paths = {"Many\\"};
    for (int i = 0; i < 700; ++i) {
        char name[64];
        snprintf(name, sizeof(name), "%s%04d-with-a-name-long-enough-to-fill-the-batch.txt",
                 i % 2 == 0 ? "" : "Many\\", i);
        paths.push_back(name);
    }
    lay(paths);
    ASSERT_EQ(paths.size(), treeBelow(root).size());

    FileSys files;
    files.deleteDirectoryContents(root.c_str());

    EXPECT_EQ(std::vector<std::string>(), treeBelow(root));
}

TEST_F(FileSysTest, UnusualNamesAreDeleted)
{
    // Full paths of up to MAX_PATH - 1 characters, and a folder whose "*.*" pattern just fits.
    const size_t rootLength = root.size() + 1;
    const std::string longFile(MAX_PATH - 1 - rootLength, 'f');
    const std::string longFolder(MAX_PATH - 1 - 4 - rootLength, 'd');
    const std::string longInner(MAX_PATH - 1 - rootLength - 12 - 1, 'i');
    lay({
        "name with spaces.txt",
        "several.dots.in.the.name.tar.gz",
        "NOEXTENSION",
        ".leadingdot",
        "x",
        "folder with spaces\\",
        "folder with spaces\\file with spaces",
        "folder.with.dots\\",
        "folder.with.dots\\a.b.c",
        "folder.with.dots\\plain",
        longFile,
        longFolder + "\\",
        "short.folder\\",
        "short.folder\\" + longInner,
    });
    ASSERT_EQ(MAX_PATH - 1, static_cast<int>((root + "\\" + longFile).size()));
    ASSERT_EQ(MAX_PATH - 1, static_cast<int>((root + "\\" + longFolder + "\\*.*").size()));
    ASSERT_EQ(MAX_PATH - 1, static_cast<int>((root + "\\short.folder\\" + longInner).size()));
    ASSERT_EQ(14u, treeBelow(root).size());

    FileSys files;
    files.deleteDirectoryContents(root.c_str());

    EXPECT_EQ(std::vector<std::string>(), treeBelow(root));
    EXPECT_TRUE(isDirectory(root));
}

// Laid down by the FileSysLinks_setup CTest test: Tree\Link is a unix symbolic link to the
// folder Outside next to Tree, which holds keep.txt.
const char* const linkTree = "C:\\vt\\tests\\FileSysLinks";

TEST(FileSysLinkTest, DirectoryLinkIsNotFollowedOutOfTheTree)
{
    const std::string tree = std::string(linkTree) + "\\Tree";
    const std::string outside = std::string(linkTree) + "\\Outside";
    const DWORD linkAttributes = GetFileAttributesA((tree + "\\Link").c_str());
    ASSERT_NE(INVALID_FILE_ATTRIBUTES, linkAttributes)
        << "the link is laid down by the CTest test FileSysLinks_setup";
    // Wine shows a unix symbolic link to a directory as a directory reparse point.
    ASSERT_EQ(static_cast<DWORD>(FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT), linkAttributes);
    ASSERT_EQ("keep", fileText(tree + "\\Link\\keep.txt").substr(0, 4));

    makeFile(tree + "\\sibling.txt");
    makeDirectory(tree + "\\Sub");
    makeFile(tree + "\\Sub\\inner.txt");

    FileSys files;
    files.deleteDirectoryContents(tree.c_str());

    EXPECT_TRUE(isDirectory(outside));
    EXPECT_EQ("keep", fileText(outside + "\\keep.txt").substr(0, 4));
    EXPECT_EQ((std::vector<std::string>{"keep.txt"}), treeBelow(outside));
    EXPECT_TRUE(isDirectory(tree));
    // The link itself may stay: Wine's RemoveDirectoryA acts on the folder it points to,
    // which is not empty.
    std::vector<std::string> left = treeBelow(tree);
    left.erase(std::remove(left.begin(), left.end(), std::string("Link")), left.end());
    EXPECT_EQ(std::vector<std::string>(), left);
}

} // namespace
