// InstallDirCheck.h: decides whether an install directory text may have folders removed below it.
#ifndef UNINSTALLER_INSTALL_DIR_CHECK_H
#define UNINSTALLER_INSTALL_DIR_CHECK_H

// True for an absolute path below a drive or share: "X:\dir..." or "\\server\share\dir...".
// False for an empty or relative text, a drive or share root, a device path ("\\?\",
// "\\.\"), or any "." or ".." component: composing "\Common" onto those could name a
// folder that is not the product's.
bool isUsableInstallDir(const char* dir);

#endif
