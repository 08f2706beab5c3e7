// StringBufferTest.cpp: growth policy, text operations and split of the text buffer.
#include "ExtPtrArray.h"
#include "StringBuffer.h"

#include <gtest/gtest.h>

#include <limits.h>
#include <string.h>

#include <string>
#include <vector>

namespace {

// Capacity, growth step and size of a buffer or list after a sequence of operations.
struct Figures
{
    int capacity;
    int growBy;
    int size;
};

Figures figuresOf(const StringBuffer& text)
{
    return Figures{text.getCapacity(), text.getGrowBy(), text.getSize()};
}

Figures appendedTo(StringBuffer& text, int n)
{
    text.append(std::string(n, 'x').c_str());
    return figuresOf(text);
}

Figures listAfterAppends(int n)
{
    ExtPtrArray list;
    for (int i = 0; i < n; ++i) {
        list.appendPtr(new StringBuffer);
    }
    Figures figures{list.getCapacity(), list.getGrowBy(), list.getSize()};
    list.removeAllObjects();
    return figures;
}

struct GrowthRow
{
    const char* name;
    Figures (*run)();
    Figures expected;
};

// The growth of both the text buffer and the list that split fills, as exact figures.
const GrowthRow growthRows[] = {
    {"NewBuffer", [] { StringBuffer t; return figuresOf(t); }, {200, 200, 0}},
    {"Append199Fits", [] { StringBuffer t; return appendedTo(t, 199); }, {200, 200, 199}},
    {"Append200thGrowsTo401",
     [] { StringBuffer t; appendedTo(t, 199); return appendedTo(t, 1); }, {401, 200, 200}},
    {"AppendChar200thGrowsTo401",
     [] { StringBuffer t; appendedTo(t, 199); t.appendChar('y'); return figuresOf(t); }, {401, 200, 200}},
    {"OneAppendOfAMillion",
     [] { StringBuffer t; return appendedTo(t, 1000000); }, {1000201, 500000, 1000000}},
    {"GrowByStaysAtLimitThroughLaterGrowth",
     [] { StringBuffer t; appendedTo(t, 1000000); appendedTo(t, 201); return appendedTo(t, 600000); },
     {2100202, 500000, 1600201}},
    {"ShrunkNewBufferThenAppendChar",
     [] { StringBuffer t; t.shrinkToFit(); t.appendChar('a'); return figuresOf(t); }, {202, 101, 1}},
    {"NewList", [] { return listAfterAppends(0); }, {0, 5, 0}},
    {"ListFifthAppendFits", [] { return listAfterAppends(5); }, {5, 5, 5}},
    {"ListSixthAppendGrowsTo10", [] { return listAfterAppends(6); }, {10, 10, 6}},
    {"ListTenthAppendFits", [] { return listAfterAppends(10); }, {10, 10, 10}},
    {"ListEleventhAppendGrowsTo20", [] { return listAfterAppends(11); }, {20, 20, 11}},
};

class GrowthTest : public ::testing::TestWithParam<GrowthRow>
{
};

TEST_P(GrowthTest, HasExactFigures)
{
    const GrowthRow& row = GetParam();
    Figures actual = row.run();
    EXPECT_EQ(row.expected.capacity, actual.capacity);
    EXPECT_EQ(row.expected.growBy, actual.growBy);
    EXPECT_EQ(row.expected.size, actual.size);
}

INSTANTIATE_TEST_SUITE_P(Figures, GrowthTest, ::testing::ValuesIn(growthRows),
                         [](const ::testing::TestParamInfo<GrowthRow>& info) {
                             return std::string(info.param.name);
                         });

// Length, terminator and characters as the invariants require.
void expectText(const char* expected, const StringBuffer& text)
{
    EXPECT_STREQ(expected, text.getString());
    EXPECT_EQ(static_cast<int>(strlen(expected)), text.getSize());
    EXPECT_LT(text.getSize(), text.getCapacity());
}

TEST(StringBufferTest, AppendGrowsAcrossSeveralBlocksKeepingTheText)
{
    StringBuffer text;
    std::string expected;
    for (int i = 0; i < 1000; ++i) {
        char piece[8];
        piece[0] = static_cast<char>('a' + i % 26);
        piece[1] = static_cast<char>('0' + i % 10);
        piece[2] = '\0';
        text.append(piece);
        text.appendChar('.');
        expected += piece;
        expected += '.';
    }
    expectText(expected.c_str(), text);
}

TEST(StringBufferTest, NullEmptyAndNulAdditionsChangeNothing)
{
    StringBuffer text;
    text.append("abc");
    text.append(nullptr);
    text.append("");
    text.appendChar('\0');
    expectText("abc", text);
    EXPECT_EQ(200, text.getCapacity());
    EXPECT_EQ(200, text.getGrowBy());
}

TEST(StringBufferTest, SetStringFromItsOwnTextKeepsIt)
{
    StringBuffer text;
    text.append("C:\\Program Files\\Vantrel");
    text.setString(text.getString());
    expectText("C:\\Program Files\\Vantrel", text);

    text.setString(text.getString() + 2);
    expectText("\\Program Files\\Vantrel", text);
}

TEST(StringBufferTest, SetStringReplacesAndNullEmpties)
{
    StringBuffer text;
    text.append("old text");
    text.setString("new");
    expectText("new", text);
    text.setString(nullptr);
    expectText("", text);
}

TEST(StringBufferTest, AppendOfItsOwnTextAcrossGrowthIsSafe)
{
    // 150 + 150 characters do not fit 200 bytes: the block is replaced while the added
    // text still lies in the old one.
    std::string half(150, 'q');
    half[0] = 'A';
    half[149] = 'Z';
    StringBuffer text;
    text.append(half.c_str());
    text.append(text.getString());
    EXPECT_EQ(501, text.getCapacity());
    expectText((half + half).c_str(), text);

    // The same with a pointer to the tail: 199 + 49 characters do not fit 200 bytes.
    std::string full(199, 'r');
    full[150] = 'T';
    StringBuffer tail;
    tail.append(full.c_str());
    tail.append(tail.getString() + 150);
    EXPECT_EQ(449, tail.getCapacity());
    expectText((full + full.substr(150)).c_str(), tail);
}

TEST(StringBufferTest, SetFromCopiesAnotherAndEmptiesFromItself)
{
    StringBuffer source;
    source.append("source");
    StringBuffer text;
    text.append("before");
    text.setFrom(source);
    expectText("source", text);
    expectText("source", source);

    text.setFrom(text);
    expectText("", text);
}

TEST(StringBufferTest, ClearKeepsCapacityAndGrowBy)
{
    StringBuffer text;
    text.append(std::string(300, 'c').c_str());
    ASSERT_EQ(501, text.getCapacity());
    ASSERT_EQ(250, text.getGrowBy());
    text.clear();
    expectText("", text);
    EXPECT_EQ(501, text.getCapacity());
    EXPECT_EQ(250, text.getGrowBy());
}

TEST(StringBufferTest, LastCharFollowsTheText)
{
    StringBuffer text;
    EXPECT_EQ('\0', text.lastChar());
    text.append("dir\\");
    EXPECT_EQ('\\', text.lastChar());
    text.shorten(1);
    EXPECT_EQ('r', text.lastChar());
    text.clear();
    EXPECT_EQ('\0', text.lastChar());
}

struct ShortenRow
{
    unsigned int n;
    const char* expected;
};

TEST(StringBufferTest, ShortenRemovesUpToNCharacters)
{
    const ShortenRow rows[] = {
        {0, "abc"}, {1, "ab"}, {3, ""}, {10, ""}, {UINT_MAX, ""},
    };
    for (const ShortenRow& row : rows) {
        SCOPED_TRACE(row.n);
        StringBuffer text;
        text.append("abc");
        text.shorten(row.n);
        expectText(row.expected, text);
        EXPECT_EQ(200, text.getCapacity());
    }
}

struct ShrinkRow
{
    int length;
    int capacityAfter;
};

TEST(StringBufferTest, ShrinkToFitOnlyWhenMoreThanFourBytesAreSpare)
{
    // A new buffer has 200 bytes: 196 characters leave exactly four spare.
    const ShrinkRow rows[] = {
        {0, 1}, {1, 2}, {195, 196}, {196, 200}, {199, 200},
    };
    for (const ShrinkRow& row : rows) {
        SCOPED_TRACE(row.length);
        StringBuffer text;
        std::string content(row.length, 's');
        text.append(content.c_str());
        text.shrinkToFit();
        EXPECT_EQ(row.capacityAfter, text.getCapacity());
        EXPECT_EQ(200, text.getGrowBy());
        expectText(content.c_str(), text);
    }
}

TEST(StringBufferTest, ShrunkBufferGrowsAgainByThePolicy)
{
    StringBuffer text;
    text.append("abc");
    text.shrinkToFit();
    ASSERT_EQ(4, text.getCapacity());
    text.appendChar('d');
    // 3 + 1 + 200 + 1 bytes; growBy becomes half of that.
    EXPECT_EQ(205, text.getCapacity());
    EXPECT_EQ(102, text.getGrowBy());
    expectText("abcd", text);
}

struct SplitRow
{
    const char* name;
    const char* text;
    char separator;
    bool honorQuotes;
    bool honorEscapes;
    std::vector<std::string> pieces;
};

const SplitRow splitRows[] = {
    {"EmptyPiecesKept", "a/b//c/", '/', false, false, {"a", "b", "", "c", ""}},
    {"OnlySeparator", "/", '/', false, false, {"", ""}},
    {"OneCharNoSeparator", "x", '/', false, false, {"x"}},
    {"EmptyTextGivesNone", "", '/', false, false, {}},
    {"QuotesOnKeepQuotedSeparator", "\"a,b\",c", ',', true, false, {"\"a,b\"", "c"}},
    {"QuotesOffSplitInsideQuotes", "\"a,b\",c", ',', false, false, {"\"a", "b\"", "c"}},
    {"UnclosedQuoteRunsToTheEnd", "a,\"b,c", ',', true, false, {"a", "\"b,c"}},
    {"EscapedSeparatorKeepsBackslash", "a\\,b,c", ',', false, true, {"a\\,b", "c"}},
    {"EscapesOffBackslashIsPlain", "a\\,b,c", ',', false, false, {"a\\", "b", "c"}},
    {"EscapedBackslashDoesNotEscape", "a\\\\,b", ',', false, true, {"a\\\\", "b"}},
    {"EscapedQuoteDoesNotOpenQuotes", "\\\"a,b", ',', true, true, {"\\\"a", "b"}},
    {"QuoteWithoutEscapesOpensQuotes", "\\\"a,b", ',', true, false, {"\\\"a,b"}},
    {"EscapedQuoteInsideQuotesDoesNotClose", "\"a\\\",b\",c", ',', true, true, {"\"a\\\",b\"", "c"}},
    {"TrailingBackslash", "a,b\\", ',', false, true, {"a", "b\\"}},
    {"SlashPath", "Software/Microsoft/Windows/", '/', false, false, {"Software", "Microsoft", "Windows", ""}},
};

class SplitTest : public ::testing::TestWithParam<SplitRow>
{
};

TEST_P(SplitTest, GivesThePieces)
{
    const SplitRow& row = GetParam();
    StringBuffer text;
    text.append(row.text);
    ExtPtrArray list;
    text.split(list, row.separator, row.honorQuotes, row.honorEscapes);

    EXPECT_STREQ(row.text, text.getString());
    ASSERT_EQ(static_cast<int>(row.pieces.size()), list.getSize());
    for (int i = 0; i < list.getSize(); ++i) {
        SCOPED_TRACE(i);
        const StringBuffer* piece = static_cast<const StringBuffer*>(list.elementAt(i));
        ASSERT_NE(nullptr, piece);
        expectText(row.pieces[i].c_str(), *piece);
        // Every piece is shrunk before it goes into the list.
        EXPECT_EQ(piece->getSize() + 1, piece->getCapacity());
    }
    list.removeAllObjects();
}

INSTANTIATE_TEST_SUITE_P(Cases, SplitTest, ::testing::ValuesIn(splitRows),
                         [](const ::testing::TestParamInfo<SplitRow>& info) {
                             return std::string(info.param.name);
                         });

TEST(StringBufferTest, SplitAppendsAfterExistingEntries)
{
    ExtPtrArray list;
    StringBuffer* existing = new StringBuffer;
    existing->append("kept");
    list.appendPtr(existing);

    StringBuffer text;
    text.append("p,q");
    text.split(list, ',', false, false);
    text.split(list, ',', false, false);

    ASSERT_EQ(5, list.getSize());
    EXPECT_EQ(existing, list.elementAt(0));
    const char* expected[] = {"kept", "p", "q", "p", "q"};
    for (int i = 0; i < 5; ++i) {
        EXPECT_STREQ(expected[i], static_cast<const StringBuffer*>(list.elementAt(i))->getString());
    }
    list.removeAllObjects();
}

TEST(StringBufferTest, SplitOfLongPiecesKeepsThemWhole)
{
    // Pieces long enough to grow while they are built.
    std::string first(450, 'f');
    std::string second(1000, 's');
    StringBuffer text;
    text.append((first + ";" + second).c_str());
    ExtPtrArray list;
    text.split(list, ';', false, false);
    ASSERT_EQ(2, list.getSize());
    expectText(first.c_str(), *static_cast<const StringBuffer*>(list.elementAt(0)));
    expectText(second.c_str(), *static_cast<const StringBuffer*>(list.elementAt(1)));
    list.removeAllObjects();
}

} // namespace
