// InstallDirCheckTest.cpp: which install directory texts may have the product's folders removed below them.
#include "InstallDirCheck.h"

#include <gtest/gtest.h>

namespace {

struct DirCase
{
    const char* text;
    bool usable;
};

void PrintTo(const DirCase& row, std::ostream* out)
{
    *out << '"' << row.text << '"';
}

const DirCase dirCases[] = {
    { "C:\\Program Files\\Vantrel", true },
    { "C:\\Program Files\\Vantrel\\", true },
    { "C:\\", false },
    { "C:", false },
    { "C:\\\\", false },
    { "C:\\\\\\\\", false },
    { "", false },
    { "Vantrel", false },
    { "\\Vantrel", false },
    { "..\\x", false },
    { "C:\\a\\..\\", false },
    { "\\\\server\\share", false },
    { "\\\\server\\share\\dir", true },
    { "\\\\?\\C:\\x", false },
    { "C:/x", true },
    { "c:x", false },
};

class InstallDirCheckTest : public testing::TestWithParam<DirCase>
{
};

TEST_P(InstallDirCheckTest, DecidesUsability)
{
    EXPECT_EQ(GetParam().usable, isUsableInstallDir(GetParam().text)) << '"' << GetParam().text << '"';
}

INSTANTIATE_TEST_SUITE_P(Texts, InstallDirCheckTest, testing::ValuesIn(dirCases));

TEST(InstallDirCheckNullTest, NullIsNotUsable)
{
    EXPECT_FALSE(isUsableInstallDir(nullptr));
}

} // namespace
