// WidePath.cpp: long-form wide paths, composed without the platform's normalisation.
#include "WidePath.h"

#include "FailFast.h"

#include <windows.h>

#include <string.h>
#include <wchar.h>

namespace {

const wchar_t longPrefix[] = L"\\\\?\\";
const size_t longPrefixLength = 4;
const wchar_t uncPrefix[] = L"\\\\?\\UNC\\";
const size_t uncPrefixLength = 8;

bool isSeparator(wchar_t c)
{
    return c == L'\\' || c == L'/';
}

bool isLetter(wchar_t c)
{
    return (c >= L'A' && c <= L'Z') || (c >= L'a' && c <= L'z');
}

// "X:\" at text.
bool isDriveRoot(const wchar_t* text)
{
    return isLetter(text[0]) && text[1] == L':' && text[2] == L'\\';
}

// Converts an 8-bit text of the system code page; null when it does not convert.
wchar_t* toWide(const char* text, int* length)
{
    int size = MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, text, -1, nullptr, 0);
    if (size <= 0) {
        return nullptr;
    }
    wchar_t* wide = new wchar_t[size];
    if (MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, text, -1, wide, size) != size) {
        delete[] wide;
        return nullptr;
    }
    *length = size - 1;
    return wide;
}

} // namespace

WidePath::WidePath()
    : text(nullptr), length(0), capacity(0)
{
    reserve(MAX_PATH);
}

WidePath::~WidePath()
{
    delete[] text;
}

void WidePath::reserve(size_t characters)
{
    if (characters + 1 <= capacity) {
        return;
    }
    // The platform's own limit for a path is 32767 characters; a longer text is a fault.
    if (characters > 0x100000) {
        failFast();
    }
    size_t grown = capacity * 2 > characters + 1 ? capacity * 2 : characters + 1;
    wchar_t* block = new wchar_t[grown];
    if (length > 0) {
        memcpy(block, text, length * sizeof(wchar_t));
    }
    block[length] = L'\0';
    delete[] text;
    text = block;
    capacity = grown;
}

bool WidePath::setLongForm(const char* path)
{
    truncate(0);
    if (path == nullptr || path[0] == '\0') {
        return false;
    }
    int wideLength = 0;
    wchar_t* wide = toWide(path, &wideLength);
    if (wide == nullptr) {
        return false;
    }
    bool usable = false;
    if (wcsncmp(wide, longPrefix, longPrefixLength) == 0) {
        // Already in the long form: only a drive or a share, never a device or another
        // name space of the platform's.
        const wchar_t* rest = wide + longPrefixLength;
        usable = isDriveRoot(rest) ||
                 (_wcsnicmp(rest, L"UNC\\", 4) == 0 && rest[4] != L'\0' && !isSeparator(rest[4]));
        if (usable) {
            assign(L"", 0, wide, wideLength);
        }
    } else if (!(isSeparator(wide[0]) && isSeparator(wide[1]) && (wide[2] == L'.' || wide[2] == L'?'))) {
        usable = assignFullPath(wide);
    }
    delete[] wide;
    if (!usable) {
        truncate(0);
        return false;
    }
    collapseSeparators();
    return true;
}

bool WidePath::assignFullPath(const wchar_t* path)
{
    DWORD size = GetFullPathNameW(path, 0, nullptr, nullptr);
    if (size == 0) {
        return false;
    }
    wchar_t* full = new wchar_t[size];
    DWORD fullLength = GetFullPathNameW(path, size, full, nullptr);
    bool usable = false;
    if (fullLength > 0 && fullLength < size) {
        if (isDriveRoot(full)) {
            assign(longPrefix, longPrefixLength, full, fullLength);
            usable = true;
        } else if (full[0] == L'\\' && full[1] == L'\\' && full[2] != L'\0' && !isSeparator(full[2])) {
            // "\\server\share\..." becomes "\\?\UNC\server\share\...".
            assign(uncPrefix, uncPrefixLength, full + 2, fullLength - 2);
            usable = true;
        }
    }
    delete[] full;
    return usable;
}

void WidePath::assign(const wchar_t* prefix, size_t prefixLength, const wchar_t* rest, size_t restLength)
{
    reserve(prefixLength + restLength);
    memcpy(text, prefix, prefixLength * sizeof(wchar_t));
    memcpy(text + prefixLength, rest, restLength * sizeof(wchar_t));
    length = prefixLength + restLength;
    text[length] = L'\0';
}

void WidePath::collapseSeparators()
{
    // After the prefix, every run of separators becomes one backslash; the platform's
    // normalisation, which would have done this, is off for "\\?\" paths.
    size_t out = longPrefixLength;
    bool previousSeparator = false;
    for (size_t in = longPrefixLength; in < length; ++in) {
        wchar_t c = text[in];
        if (isSeparator(c)) {
            if (previousSeparator) {
                continue;
            }
            c = L'\\';
            previousSeparator = true;
        } else {
            previousSeparator = false;
        }
        text[out++] = c;
    }
    length = out;
    text[length] = L'\0';
    if (length > rootLength() && text[length - 1] == L'\\') {
        truncate(length - 1);
    }
}

size_t WidePath::rootLength() const
{
    if (length >= longPrefixLength + 3 && isDriveRoot(text + longPrefixLength)) {
        return longPrefixLength + 3;
    }
    if (length >= uncPrefixLength && _wcsnicmp(text, uncPrefix, uncPrefixLength) == 0) {
        // "\\?\UNC\server\share" is the root of a share.
        size_t at = uncPrefixLength;
        for (int components = 0; components < 2; ++components) {
            while (at < length && text[at] != L'\\') {
                ++at;
            }
            if (components == 0 && at < length) {
                ++at;
            }
        }
        return at;
    }
    return length;
}

size_t WidePath::lastComponentStart() const
{
    size_t root = rootLength();
    if (length <= root) {
        return 0;
    }
    size_t at = length;
    while (at > root && text[at - 1] != L'\\') {
        --at;
    }
    return at;
}

size_t WidePath::parentLength() const
{
    size_t start = lastComponentStart();
    if (start == 0) {
        return 0;
    }
    return start - 1 >= rootLength() ? start - 1 : start;
}

void WidePath::setPrefix(const WidePath& other, size_t prefixLength)
{
    if (prefixLength > other.length) {
        prefixLength = other.length;
    }
    reserve(prefixLength);
    memmove(text, other.text, prefixLength * sizeof(wchar_t));
    length = prefixLength;
    text[length] = L'\0';
}

void WidePath::appendComponent(const wchar_t* name, size_t nameLength)
{
    bool separator = length > 0 && text[length - 1] != L'\\';
    reserve(length + (separator ? 1 : 0) + nameLength);
    if (separator) {
        text[length++] = L'\\';
    }
    memcpy(text + length, name, nameLength * sizeof(wchar_t));
    length += nameLength;
    text[length] = L'\0';
}

bool WidePath::appendComponent(const char* name)
{
    int wideLength = 0;
    wchar_t* wide = toWide(name, &wideLength);
    if (wide == nullptr) {
        return false;
    }
    appendComponent(wide, wideLength);
    delete[] wide;
    return true;
}

void WidePath::truncate(size_t newLength)
{
    if (newLength < length) {
        length = newLength;
        text[length] = L'\0';
    }
}
