// UninstallConstants.h: the product's names and the family's install layout, defined once.
#ifndef UNINSTALLER_UNINSTALL_CONSTANTS_H
#define UNINSTALLER_UNINSTALL_CONSTANTS_H

// "Vantrel Mail": the name of the product's uninstall entry and of its folder.
extern const char* const productName;
// The product DLL, in the product folder.
extern const char* const productDllName;
// The shared DLL, relative to the install directory.
extern const char* const commonDllPath;
// Folders relative to the install directory.
extern const char* const commonFolder;
extern const char* const examplesFolder;
extern const char* const sharedFolders[];
extern const int sharedFolderCount;
// Text of a status label once its step has run.
extern const char* const statusDone;

// The family's Start Menu group, relative to the Programs folder.
extern const char* const startMenuGroup;

struct ShortcutRow
{
    const char* fileName;  // "\<name>.url", relative to the group; null ends the table
    const char* url;       // the address the shortcut opens
};
// The family's shortcuts, ending with a row whose name is null.
extern const ShortcutRow shortcutTable[];

#endif
