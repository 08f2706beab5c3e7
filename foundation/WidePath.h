// WidePath.h: a path in the platform's own wide characters, in the "\\?\" long form.
#ifndef FOUNDATION_WIDE_PATH_H
#define FOUNDATION_WIDE_PATH_H

#include <stddef.h>

// The tree walk hands names from a listing back to the platform unchanged: they never pass
// through the 8-bit code page, where best fit could turn a name into "..\" or "?".
// "\\?\" also lifts the MAX_PATH limit and turns the platform's own normalisation off, so
// setLongForm does that normalisation once, up front.
class WidePath
{
public:
    WidePath();
    virtual ~WidePath();

    WidePath(const WidePath&) = delete;
    WidePath& operator=(const WidePath&) = delete;

    // Replaces the text with the 8-bit path (system code page) made absolute, doubled
    // separators collapsed, no trailing separator but a root's, as "\\?\X:\..." or
    // "\\?\UNC\server\share\...". False, and empty, for an empty path, one the code page
    // cannot convert, and a device path ("\\.\", "\\?\" other than a drive or UNC).
    bool setLongForm(const char* path);
    // Replaces the text with the first length characters of other.
    void setPrefix(const WidePath& other, size_t length);
    // Adds a separator (unless the text ends in one already) and then name.
    void appendComponent(const wchar_t* name, size_t nameLength);
    // As appendComponent, for a name in the system code page; false when it does not convert.
    bool appendComponent(const char* name);
    // Cuts the text back to length characters.
    void truncate(size_t length);

    const wchar_t* getString() const { return text; }
    size_t getLength() const { return length; }
    // Where the last component starts; 0 when the text is a root, which has no parent.
    size_t lastComponentStart() const;
    // The length of the parent's path ("\\?\C:\" keeps its backslash); 0 for a root.
    size_t parentLength() const;

private:
    void reserve(size_t characters);
    // Replaces the text with prefix followed by rest.
    void assign(const wchar_t* prefix, size_t prefixLength, const wchar_t* rest, size_t restLength);
    // Replaces the text with the long form of path made absolute; false for a path that
    // names no drive or share.
    bool assignFullPath(const wchar_t* path);
    void collapseSeparators();
    size_t rootLength() const;

    wchar_t* text;
    size_t length;
    size_t capacity;
};

#endif
