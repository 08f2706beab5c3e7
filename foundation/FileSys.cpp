// FileSys.cpp: bottom-up removal of a directory's contents, through held directories.
#include "FileSys.h"

#include "HeldDirectory.h"

#include <windows.h>

#include <string.h>

namespace {

// The directories being emptied, from the top down, each with the next entry of its
// listing to take. The walk keeps them here rather than on the call stack, so a chain of
// folders as deep as paths allow cannot exhaust the stack.
class WalkStack
{
public:
    WalkStack() : levels(nullptr), count(0), capacity(0) {}
    ~WalkStack()
    {
        // The top one is the caller's.
        while (count > 1) {
            pop();
        }
        delete[] levels;
    }

    WalkStack(const WalkStack&) = delete;
    WalkStack& operator=(const WalkStack&) = delete;

    void push(HeldDirectory* dir)
    {
        if (count == capacity) {
            int grown = capacity == 0 ? 16 : capacity * 2;
            Level* more = new Level[grown];
            if (count > 0) {
                memcpy(more, levels, count * sizeof(*levels));
            }
            delete[] levels;
            levels = more;
            capacity = grown;
        }
        levels[count].dir = dir;
        levels[count].nextEntry = dir->getListing().first();
        ++count;
    }

    // Releases the innermost directory (the top one stays the caller's).
    void pop()
    {
        --count;
        if (count > 0) {
            delete levels[count].dir;
        }
    }

    bool isEmpty() const { return count == 0; }
    bool isInnermostTop() const { return count == 1; }
    HeldDirectory& innermost() const { return *levels[count - 1].dir; }

    // The innermost directory's next entry, or null when its listing is done.
    const DirectoryEntry* takeEntry()
    {
        Level& level = levels[count - 1];
        const DirectoryEntry* entry = level.nextEntry;
        if (entry != nullptr) {
            level.nextEntry = level.dir->getListing().next(entry);
        }
        return entry;
    }

private:
    struct Level
    {
        HeldDirectory* dir;
        const DirectoryEntry* nextEntry;
    };

    Level* levels;
    int count;
    int capacity;
};

} // namespace

FileSys::FileSys()
{
}

FileSys::~FileSys()
{
}

void FileSys::deleteDirectoryContents(const char* dir)
{
    HeldDirectory top;
    if (top.open(dir)) {
        emptyHeld(top);
    }
}

void FileSys::removeDirectory(const char* dir)
{
    HeldDirectory top;
    if (top.open(dir)) {
        emptyHeld(top);
        top.closeAndRemove();
    }
}

void FileSys::emptyHeld(HeldDirectory& top)
{
    WalkStack stack;
    stack.push(&top);
    WidePath entryPath;
    while (!stack.isEmpty()) {
        HeldDirectory& dir = stack.innermost();
        const DirectoryEntry* entry = stack.takeEntry();
        if (entry == nullptr) {
            // Emptied as far as it goes: let go of it, then remove it unless it is the top.
            if (!stack.isInnermostTop()) {
                dir.closeAndRemove();
            }
            stack.pop();
            continue;
        }
        if (DirectoryListing::isPlainDirectory(*entry)) {
            HeldDirectory* inner = new HeldDirectory;
            if (inner->openEntry(dir, *entry)) {
                stack.push(inner);
            } else {
                // Swapped, vanished or unreadable since the listing: left alone.
                delete inner;
            }
            continue;
        }
        entryPath.setPrefix(dir.getPath(), dir.getPath().getLength());
        entryPath.appendComponent(entry->name, entry->nameLength);
        if (entry->attributes & FILE_ATTRIBUTE_DIRECTORY) {
            // A directory link (junction, symbolic link) is removed as an entry: what it
            // points to lies outside this tree and is never walked.
            RemoveDirectoryW(entryPath.getString());
        } else {
            // A file, or a link to one: on Windows DeleteFileW removes the link itself.
            DeleteFileW(entryPath.getString());
        }
    }
}
