// InstallTestDll.h: what the test DLLs record, shared by them and VantrelInstallTest.
#ifndef TESTS_INSTALL_TEST_DLL_H
#define TESTS_INSTALL_TEST_DLL_H

// Key below HKEY_CURRENT_USER and REG_DWORD value in which DllUnregisterServer counts its calls.
const char* const unregisterCountKey = "Software\\VantrelTest";
const char* const unregisterCountValue = "UnregisterCount";

// Each DLL counts its process attaches and detaches in environment variables named
// after it: "<dll name>_ATTACHES" and "<dll name>_DETACHES".
const char* const attachSuffix = "_ATTACHES";
const char* const detachSuffix = "_DETACHES";

#endif
