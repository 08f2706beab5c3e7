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

# Writes down every program that loads it; its importers know it as VantrelSideDep.dll.
add_library(LoadRecorder SHARED LoadRecorderDll.cpp LoadRecorderDll.def)
set_target_properties(LoadRecorder PROPERTIES PREFIX "")
target_link_libraries(LoadRecorder PRIVATE advapi32)
vt_strict(LoadRecorder)

# Stand-ins for the product DLL: one that needs LoadRecorder.dll beside it, one that
# pumps messages inside DllUnregisterServer (see TestComponentDll.cpp).
foreach(dll SideDepComponent PumpingComponent)
    add_library(${dll} SHARED TestComponentDll.cpp)
    set_target_properties(${dll} PROPERTIES PREFIX "")
    target_link_libraries(${dll} PRIVATE advapi32 ole32 user32)
    target_link_options(${dll} PRIVATE -Wl,--kill-at)
    vt_strict(${dll})
endforeach()
target_compile_definitions(SideDepComponent PRIVATE TEST_COMPONENT_SIDE_DEPENDENCY)
target_link_libraries(SideDepComponent PRIVATE LoadRecorder)
target_compile_definitions(PumpingComponent PRIVATE TEST_COMPONENT_PUMPS)

vt_test(VantrelInstallTest VantrelInstallTest.cpp ComponentRecords.cpp SampleChecks.cpp
    LIBS vt_sample_install)
add_dependencies(VantrelInstallTest InstallTestDll InstallTestNoExportDll LoadRecorder SideDepComponent)
# The components count in the sample installation's counter key.
set_tests_properties(VantrelInstallTest PROPERTIES RESOURCE_LOCK VantrelInstallation)
