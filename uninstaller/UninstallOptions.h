// UninstallOptions.h: the five removals the user chose in the dialog.
#ifndef UNINSTALLER_UNINSTALL_OPTIONS_H
#define UNINSTALLER_UNINSTALL_OPTIONS_H

struct UninstallOptions
{
    bool unregisterProductDll;  // check box 1024, label 1029
    bool unregisterCommonDlls;  // check box 1025, label 1030
    bool removeStartMenu;       // check box 1027, label 1031
    bool deleteProductFiles;    // check box 1028, label 1032
    bool deleteCommonLibs;      // check box 1033, label 1034
};

// Process-wide; every flag is true until the dialog copies its check boxes in.
extern UninstallOptions uninstallOptions;

#endif
