// StringBuffer.cpp: the text buffer and its growth policy.
#include "StringBuffer.h"

#include "ExtPtrArray.h"
#include "FailFast.h"

#include <limits.h>
#include <string.h>

namespace {

const int initialSize = 200;
const int growByLimit = 500000;

} // namespace

StringBuffer::StringBuffer()
    : storage(new char[initialSize]), capacity(initialSize), length(0), growBy(initialSize)
{
    storage[0] = '\0';
}

StringBuffer::~StringBuffer()
{
    delete[] storage;
    storage = nullptr;
    capacity = 0;
    length = 0;
    growBy = 0;
}

char* StringBuffer::growFor(long long n)
{
    if (length + n < capacity) {
        return nullptr;
    }
    // The sizes are signed 32-bit; a text that would not fit them is not carried on
    // with in a truncated form.
    long long size = length + n + growBy + 1;
    if (size > INT_MAX) {
        failFast();
    }
    char* old = storage;
    storage = new char[size];
    memcpy(storage, old, length);
    capacity = static_cast<int>(size);
    if (growBy < capacity && growBy < growByLimit) {
        growBy = capacity / 2;
        if (growBy > growByLimit) {
            growBy = growByLimit;
        }
    }
    return old;
}

void StringBuffer::appendChars(const char* text, long long n)
{
    // The old block is released only after the added text is copied, so that text
    // may even lie in it.
    char* old = growFor(n);
    memcpy(storage + length, text, n);
    length += static_cast<int>(n);
    storage[length] = '\0';
    delete[] old;
}

void StringBuffer::append(const char* text)
{
    if (text == nullptr || text[0] == '\0') {
        return;
    }
    appendChars(text, static_cast<long long>(strlen(text)));
}

void StringBuffer::appendChar(char ch)
{
    if (ch == '\0') {
        return;
    }
    appendChars(&ch, 1);
}

void StringBuffer::clear()
{
    length = 0;
    storage[0] = '\0';
}

void StringBuffer::setString(const char* text)
{
    // Copied first: text may point into our own storage, which clear() overwrites.
    StringBuffer copy;
    copy.append(text);
    clear();
    append(copy.getString());
}

void StringBuffer::setFrom(const StringBuffer& other)
{
    clear();
    append(other.getString());
}

char StringBuffer::lastChar() const
{
    return length > 0 ? storage[length - 1] : '\0';
}

void StringBuffer::shorten(unsigned int n)
{
    while (n > 0 && length > 0) {
        --length;
        storage[length] = '\0';
        --n;
    }
}

void StringBuffer::shrinkToFit()
{
    if (capacity <= length + 4) {
        return;
    }
    char* block = new char[length + 1];
    memcpy(block, storage, length + 1);
    delete[] storage;
    storage = block;
    capacity = length + 1;
}

void StringBuffer::split(ExtPtrArray& list, char separator, bool honorQuotes, bool honorEscapes) const
{
    if (length == 0) {
        return;
    }
    StringBuffer* piece = new StringBuffer;
    bool escapePending = false;
    bool inQuotes = false;
    for (int i = 0; i < length; ++i) {
        char c = storage[i];
        if (honorEscapes && escapePending) {
            piece->appendChar(c);
            escapePending = false;
        } else if (honorEscapes && c == '\\') {
            piece->appendChar(c);
            escapePending = true;
        } else if (honorQuotes && c == '"') {
            piece->appendChar(c);
            inQuotes = !inQuotes;
        } else if (honorQuotes && inQuotes) {
            piece->appendChar(c);
        } else if (c == separator) {
            piece->shrinkToFit();
            list.appendPtr(piece);
            piece = new StringBuffer;
        } else {
            piece->appendChar(c);
        }
    }
    piece->shrinkToFit();
    list.appendPtr(piece);
}
