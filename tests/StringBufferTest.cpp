// StringBufferTest.cpp: growth policy, text operations and split of the text buffer.
#include "StringBuffer.h"

#include <gtest/gtest.h>

TEST(StringBufferTest, NewBufferIsEmpty)
{
    StringBuffer text;
    EXPECT_STREQ("", text.getString());
    EXPECT_EQ(200, text.getCapacity());
}
