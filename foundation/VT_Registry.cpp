// VT_Registry.cpp: registry paths are opened component by component, never as one backslash path.
#include "VT_Registry.h"

#include "ExtPtrArray.h"
#include "StringBuffer.h"

VT_Registry::VT_Registry()
    : accessMask(KEY_ALL_ACCESS)
{
}

VT_Registry::~VT_Registry()
{
}

HKEY VT_Registry::openKeyPath(HKEY root, const char* path, bool readOnly)
{
    if (path == nullptr) {
        return nullptr;
    }
    StringBuffer text;
    text.append(path);
    ExtPtrArray pieces;
    text.split(pieces, '/', false, false);
    if (pieces.getSize() == 0) {
        return nullptr;
    }

    HKEY current = root;
    for (int i = 0; i < pieces.getSize(); ++i) {
        const StringBuffer* piece = static_cast<const StringBuffer*>(pieces.elementAt(i));
        if (piece->getSize() == 0) {
            continue;
        }
        HKEY child = nullptr;
        LONG status = RegOpenKeyExA(current, piece->getString(), 0,
                                    readOnly ? KEY_READ : accessMask, &child);
        // The parent is closed as soon as its child is open (or failed to open); the
        // root passes through closeKey too, which leaves predefined roots open.
        closeKey(current);
        if (status != ERROR_SUCCESS) {
            pieces.removeAllObjects();
            return nullptr;
        }
        current = child;
    }
    pieces.removeAllObjects();
    return current;
}

HKEY VT_Registry::openLocalMachinePath(const char* path, bool readOnly)
{
    return openKeyPath(HKEY_LOCAL_MACHINE, path, readOnly);
}

void VT_Registry::closeKey(HKEY key)
{
    if (key == nullptr || key == HKEY_CLASSES_ROOT || key == HKEY_CURRENT_USER ||
        key == HKEY_LOCAL_MACHINE || key == HKEY_USERS || key == HKEY_CURRENT_CONFIG) {
        return;
    }
    RegCloseKey(key);
}

char* VT_Registry::queryValue(HKEY key, const char* valueName, DWORD* type)
{
    DWORD size = 0;
    if (RegQueryValueExA(key, valueName, nullptr, nullptr, nullptr, &size) != ERROR_SUCCESS ||
        size == 0) {
        return nullptr;
    }
    // One byte more than the data, always NUL: data without a terminator (binary data,
    // or a string stored without one) then never reads past its end.
    char* block = new char[size + 1];
    DWORD filled = size;
    // The type comes from the read that gives the data, so the two always belong together.
    DWORD filledType = REG_NONE;
    if (RegQueryValueExA(key, valueName, nullptr, &filledType,
                         reinterpret_cast<BYTE*>(block), &filled) != ERROR_SUCCESS ||
        filled > size) {
        // The value changed between the two reads (it grew, or went away).
        delete[] block;
        return nullptr;
    }
    block[filled] = '\0';
    if (type != nullptr) {
        *type = filledType;
    }
    return block;
}

bool VT_Registry::readString(const char* path, const char* valueName, StringBuffer& out, DWORD* type)
{
    if (path == nullptr || valueName == nullptr) {
        return false;
    }
    HKEY key = openLocalMachinePath(path, true);
    if (key == nullptr) {
        return false;
    }
    char* block = queryValue(key, valueName, type);
    if (block == nullptr) {
        closeKey(key);
        return false;
    }
    out.append(block);
    delete[] block;
    closeKey(key);
    return true;
}
