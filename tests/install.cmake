# tests/install.cmake: the install services against the Wine registry, shell and loader.

# Stand-in component DLLs, one with an undecorated DllUnregisterServer and one without it.
foreach(dll InstallTestDll InstallTestNoExportDll)
    add_library(${dll} SHARED InstallTestDll.cpp)
    set_target_properties(${dll} PROPERTIES PREFIX "")
    target_compile_definitions(${dll} PRIVATE INSTALL_TEST_DLL_NAME="${dll}")
    target_link_libraries(${dll} PRIVATE advapi32)
    vt_strict(${dll})
endforeach()
target_compile_definitions(InstallTestDll PRIVATE INSTALL_TEST_WITH_UNREGISTER)
# i686 decorates the stdcall export as DllUnregisterServer@0 unless told not to.
target_link_options(InstallTestDll PRIVATE -Wl,--kill-at)

vt_test(VantrelInstallTest VantrelInstallTest.cpp
    LIBS vt_install)
add_dependencies(VantrelInstallTest InstallTestDll InstallTestNoExportDll)
