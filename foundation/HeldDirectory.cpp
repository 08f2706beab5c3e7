// HeldDirectory.cpp: opening a directory only where its parent's listing shows it, and holding it.
#include "HeldDirectory.h"

namespace {

// Read and write sharing, never delete: while the handle is open nobody can rename the
// directory, put a link in its place or remove it. Opened on a link itself unless
// followLinks, which only a listing of what lies above the folders the walk checks asks for.
HANDLE openDirectoryHandle(const wchar_t* path, bool followLinks)
{
    return CreateFileW(path, FILE_LIST_DIRECTORY | FILE_READ_ATTRIBUTES | SYNCHRONIZE,
                       FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                       FILE_FLAG_BACKUP_SEMANTICS | (followLinks ? 0 : FILE_FLAG_OPEN_REPARSE_POINT), nullptr);
}

void closeHandle(HANDLE& handle)
{
    if (handle != INVALID_HANDLE_VALUE) {
        CloseHandle(handle);
        handle = INVALID_HANDLE_VALUE;
    }
}

} // namespace

HeldDirectory::HeldDirectory()
    : handle(INVALID_HANDLE_VALUE), parent(INVALID_HANDLE_VALUE)
{
}

HeldDirectory::~HeldDirectory()
{
    close();
}

void HeldDirectory::close()
{
    closeHandle(handle);
    closeHandle(parent);
    listing.clear();
}

void HeldDirectory::closeAndRemove()
{
    closeHandle(handle);
    if (path.getLength() > 0) {
        RemoveDirectoryW(path.getString());
    }
    close();
}

// Opens path, which the caller has set, and checks the handle: a directory and no link
// (on Windows a handle opened on a link describes the link), whose own "." entry carries
// the file ID that listed reports. A file system that reports no ID (FAT, some shares)
// keeps the attribute check alone.
bool HeldDirectory::openChecked(const DirectoryEntry* listed)
{
    handle = openDirectoryHandle(path.getString(), false);
    if (handle == INVALID_HANDLE_VALUE) {
        return false;
    }
    FILE_ATTRIBUTE_TAG_INFO tag = {};
    bool plain = GetFileInformationByHandleEx(handle, FileAttributeTagInfo, &tag, sizeof(tag)) &&
                 (tag.FileAttributes & FILE_ATTRIBUTE_DIRECTORY) &&
                 !(tag.FileAttributes & FILE_ATTRIBUTE_REPARSE_POINT);
    if (!plain || !listing.read(handle)) {
        close();
        return false;
    }
    // Under Wine the handle describes a link's target: the ID tells a swapped entry.
    if (listed != nullptr && listed->fileId != 0 && listing.getSelfId() != 0 &&
        listed->fileId != listing.getSelfId()) {
        close();
        return false;
    }
    return true;
}

bool HeldDirectory::open(const char* dir)
{
    close();
    if (!path.setLongForm(dir)) {
        return false;
    }
    size_t parentLength = path.parentLength();
    if (parentLength == 0) {
        // A drive or share root: nothing above it can be swapped.
        return openChecked(nullptr);
    }
    // The parent, proven in its own parent's listing where it has one.
    HeldDirectory up;
    up.path.setPrefix(path, parentLength);
    size_t upParentLength = up.path.parentLength();
    if (upParentLength == 0) {
        if (!up.openChecked(nullptr)) {
            return false;
        }
    } else {
        HeldDirectory top;
        top.path.setPrefix(path, upParentLength);
        // Listed, not proven: what lies above the parent is the administrator's, who may
        // have made it a link (a relocated "Program Files", say).
        top.handle = openDirectoryHandle(top.path.getString(), true);
        if (top.handle == INVALID_HANDLE_VALUE || !top.listing.read(top.handle)) {
            return false;
        }
        size_t nameStart = up.path.lastComponentStart();
        const DirectoryEntry* upEntry =
            top.listing.find(up.path.getString() + nameStart, up.path.getLength() - nameStart);
        if (upEntry == nullptr || !DirectoryListing::isPlainDirectory(*upEntry) || !up.openChecked(upEntry)) {
            return false;
        }
    }
    size_t nameStart = path.lastComponentStart();
    const DirectoryEntry* entry = up.listing.find(path.getString() + nameStart, path.getLength() - nameStart);
    if (entry == nullptr || !DirectoryListing::isPlainDirectory(*entry) || !openChecked(entry)) {
        return false;
    }
    // The parent stays held as long as this directory is.
    parent = up.handle;
    up.handle = INVALID_HANDLE_VALUE;
    return true;
}

bool HeldDirectory::openEntry(const HeldDirectory& from, const DirectoryEntry& entry)
{
    close();
    if (!DirectoryListing::isPlainDirectory(entry)) {
        return false;
    }
    path.setPrefix(from.path, from.path.getLength());
    path.appendComponent(entry.name, entry.nameLength);
    return openChecked(&entry);
}

bool HeldDirectory::deleteFile(const char* name)
{
    if (!isOpen() || name == nullptr) {
        return false;
    }
    while (*name == '\\') {
        ++name;
    }
    size_t length = path.getLength();
    bool deleted = name[0] != '\0' && path.appendComponent(name) && DeleteFileW(path.getString());
    path.truncate(length);
    return deleted;
}
