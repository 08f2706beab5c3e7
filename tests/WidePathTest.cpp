// WidePathTest.cpp: 8-bit paths into the long form, and where their parents end.
#include "WidePath.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <string>

namespace {

std::string narrow(const wchar_t* text)
{
    char out[1024] = {};
    WideCharToMultiByte(CP_UTF8, 0, text, -1, out, sizeof(out) - 1, nullptr, nullptr);
    return out;
}

struct LongFormCase
{
    const char* path;
    const char* longForm;  // null: refused
};

// The tests run with the working directory C:\vt\work.
const LongFormCase longFormCases[] = {
    { "C:\\Vantrel\\Include", "\\\\?\\C:\\Vantrel\\Include" },
    // A trailing-backslash install directory composes a doubled separator.
    { "C:\\Vantrel\\\\Include", "\\\\?\\C:\\Vantrel\\Include" },
    { "C:\\Vantrel\\Include\\", "\\\\?\\C:\\Vantrel\\Include" },
    { "C:/Vantrel//Include/", "\\\\?\\C:\\Vantrel\\Include" },
    { "C:\\", "\\\\?\\C:\\" },
    { "Vantrel\\Include", "\\\\?\\C:\\vt\\work\\Vantrel\\Include" },
    { "\\\\server\\share\\Vantrel\\\\Include", "\\\\?\\UNC\\server\\share\\Vantrel\\Include" },
    { "\\\\?\\C:\\Vantrel\\\\Include\\", "\\\\?\\C:\\Vantrel\\Include" },
    { "\\\\?\\UNC\\server\\share\\Vantrel", "\\\\?\\UNC\\server\\share\\Vantrel" },
    // Wine's way to the host's own files, devices and other name spaces are never ours.
    { "\\\\?\\unix\\etc\\passwd", nullptr },
    { "\\\\?\\GLOBALROOT\\Device", nullptr },
    { "\\\\.\\C:", nullptr },
    { "\\\\.\\PhysicalDrive0", nullptr },
    { "", nullptr },
    { nullptr, nullptr },
};

TEST(WidePathTest, LongFormIsAbsoluteWithSingleSeparators)
{
    for (const LongFormCase& row : longFormCases) {
        WidePath path;
        const char* shown = row.path == nullptr ? "(null)" : row.path;
        EXPECT_EQ(row.longForm != nullptr, path.setLongForm(row.path)) << shown;
        EXPECT_EQ(row.longForm != nullptr ? row.longForm : "", narrow(path.getString())) << shown;
    }
}

struct ParentCase
{
    const char* path;
    const char* parent;  // "": a root, which has no parent
};

const ParentCase parentCases[] = {
    { "C:\\Vantrel\\Include", "\\\\?\\C:\\Vantrel" },
    { "C:\\Vantrel", "\\\\?\\C:\\" },
    { "C:\\", "" },
    { "\\\\server\\share\\Vantrel", "\\\\?\\UNC\\server\\share" },
    { "\\\\server\\share", "" },
};

TEST(WidePathTest, ParentEndsBeforeTheLastComponent)
{
    for (const ParentCase& row : parentCases) {
        WidePath path;
        ASSERT_TRUE(path.setLongForm(row.path)) << row.path;
        WidePath parent;
        parent.setPrefix(path, path.parentLength());
        EXPECT_EQ(row.parent, narrow(parent.getString())) << row.path;
        EXPECT_EQ(row.parent[0] == '\0', path.lastComponentStart() == 0) << row.path;
    }
}

TEST(WidePathTest, NamesOutsideTheCodePageAreAppendedUnchanged)
{
    WidePath path;
    ASSERT_TRUE(path.setLongForm("C:\\Vantrel"));
    const wchar_t name[] = L"\uFF0E\uFF0E\uFF3C\U0001F600";
    path.appendComponent(name, wcslen(name));
    EXPECT_EQ(std::wstring(L"\\\\?\\C:\\Vantrel\\") + name, path.getString());
    path.truncate(path.parentLength());
    EXPECT_EQ(std::wstring(L"\\\\?\\C:\\Vantrel"), path.getString());
}

} // namespace
