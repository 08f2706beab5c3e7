// HeldDirectory.h: a directory proven to be a real one at its place, and held there.
#ifndef FOUNDATION_HELD_DIRECTORY_H
#define FOUNDATION_HELD_DIRECTORY_H

#include "DirectoryListing.h"
#include "WidePath.h"

#include <windows.h>

// A folder that a standard user may write can have any of its entries swapped for a link
// at any moment. A directory is therefore opened only when its parent's listing shows it
// as a directory and no link, the handle then opened on it shows the same, and its own
// listing's "." entry carries the file ID its parent reported for it. The handle is opened
// on the directory itself (FILE_FLAG_OPEN_REPARSE_POINT) and does not share delete access,
// so the directory can be neither renamed nor replaced while it is held.
class HeldDirectory
{
public:
    HeldDirectory();
    virtual ~HeldDirectory();

    HeldDirectory(const HeldDirectory&) = delete;
    HeldDirectory& operator=(const HeldDirectory&) = delete;

    // Opens and holds dir (8-bit, system code page), found in the listing of its parent,
    // which is held too and proven in its own parent's listing the same way. False, and
    // nothing held, when dir or its parent is missing, a link or not a directory.
    bool open(const char* dir);
    // Opens and holds the entry of parent's listing, which must show a directory.
    bool openEntry(const HeldDirectory& parent, const DirectoryEntry& entry);
    // Lets go of the directory and its parent.
    void close();
    // Lets go of the directory, removes it when empty, then lets go of its parent.
    void closeAndRemove();

    bool isOpen() const { return handle != INVALID_HANDLE_VALUE; }
    const WidePath& getPath() const { return path; }
    // The directory's entries, read when it was opened.
    const DirectoryListing& getListing() const { return listing; }

    // Deletes the file name (8-bit, a leading backslash allowed) in this directory.
    bool deleteFile(const char* name);

private:
    bool openChecked(const DirectoryEntry* listed);

    WidePath path;
    HANDLE handle;
    HANDLE parent;
    DirectoryListing listing;
};

#endif
