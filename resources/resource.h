// resource.h: resource and control ids of the uninstaller; the numbers never change.
#ifndef RESOURCES_RESOURCE_H
#define RESOURCES_RESOURCE_H

#define IDS_APP_TITLE               103
#define IDS_WINDOW_CLASS            109

#define IDB_SIDE_BANNER             143
#define IDB_TOP_BANNER              154
#define IDI_APP                     165
#define IDB_HEADING                 166
#define IDD_UNINSTALL               167

#define IDC_CHK_PRODUCT_DLL         1024
#define IDC_CHK_COMMON_DLLS         1025
#define IDC_CHK_START_MENU          1027
#define IDC_CHK_PRODUCT_FILES       1028
#define IDC_STATUS_PRODUCT_DLL      1029
#define IDC_STATUS_COMMON_DLLS      1030
#define IDC_STATUS_START_MENU       1031
#define IDC_STATUS_PRODUCT_FILES    1032
#define IDC_CHK_COMMON_LIBS         1033
#define IDC_STATUS_COMMON_LIBS      1034

#ifndef IDC_STATIC
#define IDC_STATIC                  (-1)
#endif

#endif
