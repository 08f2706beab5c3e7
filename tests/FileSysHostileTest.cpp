// FileSysHostileTest.cpp: trees arranged to steer the walk out of the folder it empties.
#include "FileSys.h"

#include "DirectoryHandleRecorder.h"
#include "FoundationTestName.h"
#include "TestImportHook.h"
#include "UnixLinkRequest.h"
#include "WideTree.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <set>
#include <string>
#include <vector>

namespace {

typedef std::vector<std::wstring> Entries;

// Each test works in C:\vt\tests\<its name>: the tree it empties, "Tree", and beside it
// "Sentinel", which no walk of Tree may touch.
class FileSysHostileTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        root = L"C:\\vt\\tests\\" + widen(currentTestName());
        ASSERT_TRUE(removeWideTree(root));
        ASSERT_TRUE(makeWideFolders(root));
        tree = root + L"\\Tree";
        sentinel = root + L"\\Sentinel";
        ASSERT_TRUE(makeWideFolders(tree));
        ASSERT_TRUE(makeWideFolders(sentinel + L"\\Sub"));
        ASSERT_TRUE(writeWideFile(sentinel + L"\\keep.txt", "keep"));
        ASSERT_TRUE(writeWideFile(sentinel + L"\\Sub\\keep.txt", "keep"));
        sentinelBefore = listWideTree(sentinel);
    }

    void TearDown() override
    {
        EXPECT_EQ("", removeLinks(narrow(root)));
        EXPECT_TRUE(removeWideTree(root));
    }

    void expectSentinelKept()
    {
        EXPECT_EQ(sentinelBefore, listWideTree(sentinel)) << "Sentinel holds:" << narrow(listWideTree(sentinel));
    }

    std::wstring root;
    std::wstring tree;
    std::wstring sentinel;
    Entries sentinelBefore;
};

struct HostileName
{
    const char* why;
    std::wstring path;  // relative to Tree; a trailing backslash makes a folder
};

// The A functions would hand these names back through the code page: outside it they
// come back with "?", which no function accepts; by best fit, U+FF0E, U+FF3C, U+2216 and
// U+FF0F become ".", "\", "\" and "/", so "Tree\" + name climbs to Sentinel; U+FF1A and
// U+FF1F become ":" and "?".
const HostileName hostileNames[] = {
    { "CJK folder and file", L"\u4E2D\u6587\\" },
    { "CJK file in it", L"\u4E2D\u6587\\\u6587\u4EF6.txt" },
    { "Cyrillic", L"\u0424\u0430\u0439\u043B.txt" },
    { "Greek folder", L"\u03B1\u03C1\u03C7\u03B5\u03AF\u03BF\\" },
    { "Greek file", L"\u03B1\u03C1\u03C7\u03B5\u03AF\u03BF\\\u03B1.txt" },
    { "outside the BMP", L"\U0001F600.txt" },
    { "best fit ..\\Sentinel (folder)", L"\uFF0E\uFF0E\uFF3CSentinel\\" },
    { "a file in it", L"\uFF0E\uFF0E\uFF3CSentinel\\keep.txt" },
    { "best fit ..\\Sentinel\\keep.txt (file)", L"\uFF0E\uFF0E\u2216Sentinel\u2216keep.txt" },
    { "best fit ../Sentinel (folder)", L"\uFF0E\uFF0E\uFF0FSentinel\\" },
    { "a folder in it", L"\uFF0E\uFF0E\uFF0FSentinel\\Sub\\" },
    { "a file in that", L"\uFF0E\uFF0E\uFF0FSentinel\\Sub\\keep.txt" },
    { "best fit a:b (a stream name)", L"a\uFF1Ab" },
    { "best fit what? (a wildcard)", L"what\uFF1F.txt" },
    { "best fit .. alone (folder)", L"\uFF0E\uFF0E\\" },
    { "a file in it", L"\uFF0E\uFF0E\\x.txt" },
};

TEST_F(FileSysHostileTest, NamesReachThePlatformUnchangedAndPathsPassMaxPath)
{
    std::vector<std::wstring> laid;
    for (const HostileName& name : hostileNames) {
        std::wstring path = tree + L"\\" + name.path;
        bool made = path.back() == L'\\' ? makeWideFolders(path.substr(0, path.size() - 1))
                                         : writeWideFile(path, "data");
        ASSERT_TRUE(made) << name.why;
    }
    // A chain of folders, each holding a file, that runs well past MAX_PATH.
    std::wstring chain = tree;
    for (int level = 0; level < 8; ++level) {
        chain += L"\\" + std::wstring(60, static_cast<wchar_t>(L'a' + level));
        ASSERT_TRUE(makeWideFolders(chain));
        ASSERT_TRUE(writeWideFile(chain + L"\\file.txt", "data"));
    }
    ASSERT_GT(chain.size() + 10, static_cast<size_t>(2 * MAX_PATH));
    ASSERT_EQ(sizeof(hostileNames) / sizeof(hostileNames[0]) + 16, listWideTree(tree).size());

    FileSys files;
    files.deleteDirectoryContents((narrow(tree)).c_str());

    EXPECT_EQ(Entries(), listWideTree(tree)) << "Tree still holds:" << narrow(listWideTree(tree));
    EXPECT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesW(longForm(tree).c_str()));
    expectSentinelKept();
}

// Where the walk is told to work: the folder it empties, or the folder's parent, is a link
// to Sentinel. Nothing below Sentinel may go.
struct LinkCase
{
    const char* name;
    const wchar_t* swapped;  // relative to Tree: the folder that becomes a link to Sentinel
    const wchar_t* emptied;  // relative to Tree: what the walk is given
    bool removeToo;          // removeDirectory rather than deleteDirectoryContents
};

void PrintTo(const LinkCase& row, std::ostream* out)
{
    *out << row.name;
}

const LinkCase linkCases[] = {
    { "FolderIsLink", L"Folder", L"Folder", false },
    { "FolderIsLinkRemoved", L"Folder", L"Folder", true },
    { "FolderIsLinkTrailingBackslash", L"Folder", L"Folder\\", false },
    { "ParentIsLink", L"Parent", L"Parent\\Sub", false },
    { "ParentIsLinkRemoved", L"Parent", L"Parent\\Sub", true },
};

class FileSysLinkedFolderTest : public FileSysHostileTest, public ::testing::WithParamInterface<LinkCase>
{
};

TEST_P(FileSysLinkedFolderTest, WhatTheLinkPointsToKeepsEveryFile)
{
    const LinkCase& row = GetParam();
    ASSERT_TRUE(makeWideFolders(tree + L"\\" + row.swapped));
    ASSERT_EQ("", swapFolderForLink(narrow(tree + L"\\" + row.swapped), narrow(sentinel)));
    // The link leads to Sentinel: without the checks, the walk would empty it.
    std::wstring emptied = tree + L"\\" + row.emptied;
    std::wstring through = emptied.back() == L'\\' ? emptied : emptied + L"\\";
    ASSERT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesW(longForm(through + L"keep.txt").c_str()));

    DirectoryHandleRecorder recorder;
    ASSERT_TRUE(recorder.isInstalled());
    FileSys files;
    if (row.removeToo) {
        files.removeDirectory(narrow(emptied).c_str());
    } else {
        files.deleteDirectoryContents(narrow(emptied).c_str());
    }
    // Every handle the walk took is released where it refuses too.
    EXPECT_FALSE(recorder.opened.empty());
    EXPECT_EQ(std::set<HANDLE>(), recorder.held);

    expectSentinelKept();
}

INSTANTIATE_TEST_SUITE_P(Links, FileSysLinkedFolderTest, ::testing::ValuesIn(linkCases),
                         [](const ::testing::TestParamInfo<LinkCase>& info) { return info.param.name; });

// The race: the walk has listed Tree and seen "Victim" as a real folder; before it opens
// Victim, Victim is swapped for a link to Sentinel. The hook on the walk's CreateFileW
// makes that moment happen every time.
typedef HANDLE (WINAPI* CreateFileWProc)(LPCWSTR, DWORD, DWORD, LPSECURITY_ATTRIBUTES, DWORD, DWORD, HANDLE);
CreateFileWProc platformCreateFile = nullptr;
std::wstring swapWhenOpened;
std::wstring swapTarget;
std::string swapError = "never asked";

bool endsWith(const std::wstring& text, const std::wstring& end)
{
    return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

HANDLE WINAPI swappingCreateFile(LPCWSTR path, DWORD access, DWORD share, LPSECURITY_ATTRIBUTES security,
                                 DWORD disposition, DWORD flags, HANDLE templateFile)
{
    if (!swapWhenOpened.empty() && endsWith(path, L"\\" + swapWhenOpened.substr(swapWhenOpened.rfind(L'\\') + 1))) {
        std::wstring folder;
        folder.swap(swapWhenOpened);
        swapError = swapFolderForLink(narrow(folder), narrow(swapTarget));
    }
    return platformCreateFile(path, access, share, security, disposition, flags, templateFile);
}

TEST_F(FileSysHostileTest, FolderSwappedForALinkAfterTheListingIsNotEntered)
{
    ASSERT_TRUE(makeWideFolders(tree + L"\\Victim\\Inner"));
    ASSERT_TRUE(writeWideFile(tree + L"\\Victim\\Inner\\v.txt", "data"));
    ASSERT_TRUE(writeWideFile(tree + L"\\other.txt", "data"));

    swapWhenOpened = tree + L"\\Victim";
    swapTarget = sentinel;
    std::set<HANDLE> held;
    {
        DirectoryHandleRecorder recorder;
        ASSERT_TRUE(recorder.isInstalled());
        ImportHook hook("kernel32.dll", "CreateFileW", reinterpret_cast<void*>(&swappingCreateFile));
        ASSERT_TRUE(hook.isInstalled());
        platformCreateFile = reinterpret_cast<CreateFileWProc>(hook.original());
        FileSys files;
        files.deleteDirectoryContents(narrow(tree).c_str());
        held = recorder.held;
    }
    EXPECT_EQ(std::set<HANDLE>(), held) << "the refused descent releases its handle";
    ASSERT_EQ("", swapError) << "the swap must happen between the listing and the descent";

    // Under Wine the handle opened on the link describes Sentinel itself (on Windows it
    // describes the link): the file ID that Tree's listing gave for Victim tells them apart.
    expectSentinelKept();
    // The walk carried on with the rest; the real Victim, moved aside, was never listed.
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesW(longForm(tree + L"\\other.txt").c_str()));
    EXPECT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesW(longForm(tree + L"\\Victim.moved\\Inner\\v.txt").c_str()));
}

// While a folder is emptied, it and every folder above it up to the one the walk was given
// are held: none of them can be renamed, so none can be replaced by a link.
typedef BOOL (WINAPI* DeleteFileWProc)(LPCWSTR);
DeleteFileWProc platformDeleteFile = nullptr;
std::vector<std::wstring> renameWhileDeleting;
std::vector<DWORD> renameResults;

BOOL WINAPI renamingDeleteFile(LPCWSTR path)
{
    if (!renameWhileDeleting.empty() && endsWith(path, L"\\deep.txt")) {
        for (const std::wstring& folder : renameWhileDeleting) {
            BOOL moved = MoveFileW(longForm(folder).c_str(), longForm(folder + L".renamed").c_str());
            renameResults.push_back(moved ? ERROR_SUCCESS : GetLastError());
        }
        renameWhileDeleting.clear();
    }
    return platformDeleteFile(path);
}

TEST_F(FileSysHostileTest, FoldersBeingEmptiedCannotBeRenamed)
{
    ASSERT_TRUE(makeWideFolders(tree + L"\\Held\\Deeper"));
    ASSERT_TRUE(writeWideFile(tree + L"\\Held\\Deeper\\deep.txt", "data"));

    renameWhileDeleting = { tree + L"\\Held\\Deeper", tree + L"\\Held", tree };
    renameResults.clear();
    {
        ImportHook hook("kernel32.dll", "DeleteFileW", reinterpret_cast<void*>(&renamingDeleteFile));
        ASSERT_TRUE(hook.isInstalled());
        platformDeleteFile = reinterpret_cast<DeleteFileWProc>(hook.original());
        FileSys files;
        files.deleteDirectoryContents(narrow(tree).c_str());
    }
    ASSERT_EQ(3u, renameResults.size()) << "the walk never deleted deep.txt";
    for (size_t i = 0; i < renameResults.size(); ++i) {
        // Wine answers ERROR_SHARING_VIOLATION; Windows may answer ERROR_ACCESS_DENIED.
        EXPECT_TRUE(renameResults[i] == ERROR_SHARING_VIOLATION || renameResults[i] == ERROR_ACCESS_DENIED)
            << "renaming level " << i << " gave " << renameResults[i];
    }
    EXPECT_EQ(Entries(), listWideTree(tree));
}

} // namespace
