// FoundationTestName.h: the running test's name, for the key or folder that only it uses.
#ifndef TESTS_FOUNDATION_TEST_NAME_H
#define TESTS_FOUNDATION_TEST_NAME_H

#include <gtest/gtest.h>

#include <string>

// "Suite.Test", with the slashes of parameterised names replaced: one path component.
inline std::string currentTestName()
{
    const ::testing::TestInfo* info = ::testing::UnitTest::GetInstance()->current_test_info();
    std::string name = std::string(info->test_suite_name()) + "." + info->name();
    for (char& c : name) {
        if (c == '/' || c == '\\') {
            c = '_';
        }
    }
    return name;
}

#endif
