// StringBuffer.h: growable, NUL-terminated 8-bit text in which every path and label is built.
#ifndef FOUNDATION_STRING_BUFFER_H
#define FOUNDATION_STRING_BUFFER_H

#include "VantrelObject.h"

class ExtPtrArray;

class StringBuffer : public VantrelObject
{
public:
    StringBuffer();
    ~StringBuffer() override;

    // The text, NUL-terminated; valid until the next change of the buffer.
    const char* getString() const { return storage; }
    // Characters before the terminating NUL.
    int getSize() const { return length; }
    // Bytes allocated for the text and its NUL.
    int getCapacity() const { return capacity; }
    // Bytes the next growth adds beyond what is needed.
    int getGrowBy() const { return growBy; }

    // Adds text at the end; a null or empty text changes nothing.
    void append(const char* text);
    // Adds one character; a NUL would end the text early and is ignored.
    void appendChar(char ch);
    // Empties the text; capacity and growBy stay.
    void clear();
    // Replaces the text; text may point into this buffer. A null text empties it.
    void setString(const char* text);
    // clear() then append(other's text): setting a buffer from itself leaves it empty.
    void setFrom(const StringBuffer& other);
    // The last character, or NUL when empty.
    char lastChar() const;
    // Removes up to n characters from the end.
    void shorten(unsigned int n);
    // Moves the text into a block of exactly length + 1 bytes when over 4 bytes are spare.
    void shrinkToFit();
    // Appends the pieces between separators to list, as new StringBuffers that the list
    // owns from then on; never clears list. This buffer's text is unchanged.
    void split(ExtPtrArray& list, char separator, bool honorQuotes, bool honorEscapes) const;

private:
    // Makes room for n more characters and their NUL by the growth policy; returns the
    // replaced block, which the caller delete[]s, or null when the text already fits.
    char* growFor(long long n);
    void appendChars(const char* text, long long n);

    char* storage;
    int capacity;
    int length;
    int growBy;
};

#endif
