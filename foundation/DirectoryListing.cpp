// DirectoryListing.cpp: a directory's entries, read through its handle and packed in one block.
#include "DirectoryListing.h"

#include "FailFast.h"

#include <string.h>

namespace {

// Bytes a listing call may fill; the platform returns as many whole records as fit. On
// the stack: a heap block this size per folder costs more than the listing itself.
const DWORD fetchSize = 16 * 1024;
// The first block of packed entries; it doubles as needed.
const size_t firstBlockSize = 2 * 1024;

size_t entrySize(size_t nameLength)
{
    size_t size = offsetof(DirectoryEntry, name) + nameLength * sizeof(wchar_t);
    return (size + 7) & ~static_cast<size_t>(7);
}

bool isDotName(const FILE_ID_BOTH_DIR_INFO& record, int dots)
{
    if (record.FileNameLength != dots * sizeof(wchar_t)) {
        return false;
    }
    for (int i = 0; i < dots; ++i) {
        if (record.FileName[i] != L'.') {
            return false;
        }
    }
    return true;
}

bool sameName(const wchar_t* a, size_t aLength, const wchar_t* b, size_t bLength, bool ignoreCase)
{
    return CompareStringOrdinal(a, static_cast<int>(aLength), b, static_cast<int>(bLength),
                                ignoreCase ? TRUE : FALSE) == CSTR_EQUAL;
}

} // namespace

DirectoryListing::DirectoryListing()
    : block(nullptr), used(0), capacity(0), selfId(0)
{
}

DirectoryListing::~DirectoryListing()
{
    delete[] block;
}

void DirectoryListing::clear()
{
    used = 0;
    selfId = 0;
}

bool DirectoryListing::read(HANDLE directory)
{
    clear();
    alignas(8) BYTE buffer[fetchSize];
    FILE_INFO_BY_HANDLE_CLASS infoClass = FileIdBothDirectoryRestartInfo;
    bool listed = false;
    for (;;) {
        if (!GetFileInformationByHandleEx(directory, infoClass, buffer, fetchSize)) {
            // The end of the listing; any other error ends it too, with what was read.
            listed = listed || GetLastError() == ERROR_NO_MORE_FILES;
            break;
        }
        listed = true;
        infoClass = FileIdBothDirectoryInfo;
        const BYTE* at = buffer;
        for (;;) {
            const FILE_ID_BOTH_DIR_INFO& record = *reinterpret_cast<const FILE_ID_BOTH_DIR_INFO*>(at);
            if (isDotName(record, 1)) {
                selfId = static_cast<ULONGLONG>(record.FileId.QuadPart);
            } else if (!isDotName(record, 2)) {
                add(record);
            }
            if (record.NextEntryOffset == 0) {
                break;
            }
            at += record.NextEntryOffset;
        }
    }
    return listed;
}

void DirectoryListing::add(const FILE_ID_BOTH_DIR_INFO& record)
{
    size_t nameLength = record.FileNameLength / sizeof(wchar_t);
    size_t size = entrySize(nameLength);
    if (used + size > capacity) {
        size_t grown = capacity == 0 ? firstBlockSize : capacity * 2;
        if (grown < used + size) {
            grown = used + size;
        }
        if (grown > 0x40000000) {
            failFast();
        }
        BYTE* bigger = new BYTE[grown];
        if (used > 0) {
            memcpy(bigger, block, used);
        }
        delete[] block;
        block = bigger;
        capacity = grown;
    }
    DirectoryEntry* entry = reinterpret_cast<DirectoryEntry*>(block + used);
    entry->fileId = static_cast<ULONGLONG>(record.FileId.QuadPart);
    entry->attributes = record.FileAttributes;
    entry->nameLength = static_cast<DWORD>(nameLength);
    entry->shortNameLength = record.ShortNameLength / sizeof(wchar_t);
    if (entry->shortNameLength > 12) {
        entry->shortNameLength = 12;
    }
    memcpy(entry->shortName, record.ShortName, entry->shortNameLength * sizeof(wchar_t));
    memcpy(entry->name, record.FileName, nameLength * sizeof(wchar_t));
    used += size;
}

const DirectoryEntry* DirectoryListing::first() const
{
    return used > 0 ? reinterpret_cast<const DirectoryEntry*>(block) : nullptr;
}

const DirectoryEntry* DirectoryListing::next(const DirectoryEntry* entry) const
{
    const BYTE* at = reinterpret_cast<const BYTE*>(entry) + entrySize(entry->nameLength);
    return at < block + used ? reinterpret_cast<const DirectoryEntry*>(at) : nullptr;
}

const DirectoryEntry* DirectoryListing::find(const wchar_t* name, size_t nameLength) const
{
    const DirectoryEntry* match = nullptr;
    for (const DirectoryEntry* entry = first(); entry != nullptr; entry = next(entry)) {
        if (sameName(entry->name, entry->nameLength, name, nameLength, false)) {
            return entry;
        }
        if (match == nullptr &&
            (sameName(entry->name, entry->nameLength, name, nameLength, true) ||
             (entry->shortNameLength > 0 &&
              sameName(entry->shortName, entry->shortNameLength, name, nameLength, true)))) {
            match = entry;
        }
    }
    return match;
}

bool DirectoryListing::isPlainDirectory(const DirectoryEntry& entry)
{
    return (entry.attributes & FILE_ATTRIBUTE_DIRECTORY) && !(entry.attributes & FILE_ATTRIBUTE_REPARSE_POINT);
}
