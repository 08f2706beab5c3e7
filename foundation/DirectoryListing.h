// DirectoryListing.h: the entries of one directory, read through a handle held on it.
#ifndef FOUNDATION_DIRECTORY_LISTING_H
#define FOUNDATION_DIRECTORY_LISTING_H

#include <windows.h>

#include <stddef.h>

// One entry as the listing reported it. The name is not NUL-terminated.
struct DirectoryEntry
{
    ULONGLONG fileId;        // 0 where the file system reports none
    DWORD attributes;
    DWORD nameLength;        // in characters
    DWORD shortNameLength;   // in characters; 0 when there is no 8.3 name
    wchar_t shortName[12];
    wchar_t name[1];         // nameLength characters follow
};

// Reading the whole listing before anything below it changes keeps the walk independent
// of how a file system continues a listing whose entries are being deleted.
class DirectoryListing
{
public:
    DirectoryListing();
    virtual ~DirectoryListing();

    DirectoryListing(const DirectoryListing&) = delete;
    DirectoryListing& operator=(const DirectoryListing&) = delete;

    // Replaces the entries with the listing of the directory held by handle (opened with
    // FILE_LIST_DIRECTORY). "." and ".." are not kept; "."'s file ID is. False when the
    // listing cannot be read at all.
    bool read(HANDLE directory);
    void clear();

    // The file ID of the directory itself, from its "." entry; 0 when there was none.
    ULONGLONG getSelfId() const { return selfId; }
    // Entries in the order the listing gave them: first() then next(entry); null at the end.
    const DirectoryEntry* first() const;
    const DirectoryEntry* next(const DirectoryEntry* entry) const;
    // The entry named name (long or 8.3 name, case as the file system ignores it; an exact
    // match wins); null when there is none.
    const DirectoryEntry* find(const wchar_t* name, size_t nameLength) const;

    // True for an entry that is a directory and no link (junction, symbolic link).
    static bool isPlainDirectory(const DirectoryEntry& entry);

private:
    void add(const FILE_ID_BOTH_DIR_INFO& record);

    BYTE* block;
    size_t used;
    size_t capacity;
    ULONGLONG selfId;
};

#endif
