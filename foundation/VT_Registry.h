// VT_Registry.h: opens registry keys named by slash-separated paths and reads string values.
#ifndef FOUNDATION_VT_REGISTRY_H
#define FOUNDATION_VT_REGISTRY_H

#include <windows.h>

class StringBuffer;

class VT_Registry
{
public:
    VT_Registry();
    virtual ~VT_Registry();

    VT_Registry(const VT_Registry&) = delete;
    VT_Registry& operator=(const VT_Registry&) = delete;

    // Opens the key at path below root, one component at a time, for KEY_READ or for
    // the write access mask; null on failure. The caller closes the key with closeKey.
    HKEY openKeyPath(HKEY root, const char* path, bool readOnly);
    // openKeyPath below HKEY_LOCAL_MACHINE.
    HKEY openLocalMachinePath(const char* path, bool readOnly);
    // Closes key unless it is null or one of the five predefined roots.
    static void closeKey(HKEY key);
    // The value's data followed by one NUL, so it always reads as a bounded text;
    // null when the value is missing, empty or cannot be read. A non-null type receives
    // the value's type (REG_SZ, REG_BINARY, ...) when a block is returned. Caller
    // delete[]s the block.
    char* queryValue(HKEY key, const char* valueName, DWORD* type = nullptr);
    // Appends the value valueName of the key at path below HKEY_LOCAL_MACHINE to out as
    // text, whatever its type; false when nothing was read. Never clears out. A non-null
    // type receives the value's type when the result is true.
    bool readString(const char* path, const char* valueName, StringBuffer& out, DWORD* type = nullptr);

private:
    DWORD accessMask;
};

#endif
