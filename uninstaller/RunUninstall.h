// RunUninstall.h: the uninstall procedure.
#ifndef UNINSTALLER_RUN_UNINSTALL_H
#define UNINSTALLER_RUN_UNINSTALL_H

#include <windows.h>

// Performs the removals chosen in uninstallOptions in their fixed order, sets the status
// label of each finished step in dialog to "DONE", and last deletes the product's
// uninstall entry, whatever the options. Nothing below an install directory that is not
// a usable absolute folder (see isUsableInstallDir) is touched.
void runUninstall(HWND dialog);

#endif
