# tests/hardening.cmake: the start-up defences, the component loading and the dialog under Wine; the
# images' headers, the reproducible build and signing on the host.

# The uninstaller without dialog 167: DialogBoxParamA fails in it.
add_executable(VantrelUninstallNoDialog WIN32 ${PROJECT_SOURCE_DIR}/uninstaller/WinMain.cpp UninstallerWithoutDialog.rc)
target_link_libraries(VantrelUninstallNoDialog PRIVATE vt_uninstaller)
vt_product(VantrelUninstallNoDialog)

vt_test(ProcessHardeningTest ProcessHardeningTest.cpp ComponentRecords.cpp SampleChecks.cpp
    LIBS vt_sample_install)
add_dependencies(ProcessHardeningTest LoadRecorder)

vt_test(RunUninstallValueTypeTest RunUninstallValueTypeTest.cpp SampleChecks.cpp SampleLabelWindow.cpp
    LIBS vt_sample_install)
add_dependencies(RunUninstallValueTypeTest VantrelMail VantrelUtil)

vt_test(UninstallerHardeningGuiTest UninstallerHardeningGuiTest.cpp ComponentRecords.cpp GuiInstallationState.cpp
    LIBS vt_dialog_driver vt_sample_install)
add_dependencies(UninstallerHardeningGuiTest VantrelUninstall VantrelUninstallNoDialog LoadRecorder
    SideDepComponent PumpingComponent)

# The uninstall entry, the counters and the records of the components are shared; the GUI
# test also needs the display to itself.
set_tests_properties(ProcessHardeningTest RunUninstallValueTypeTest PROPERTIES
    RESOURCE_LOCK VantrelInstallation TIMEOUT 300)
set_tests_properties(UninstallerHardeningGuiTest PROPERTIES RUN_SERIAL TRUE TIMEOUT 900)

# Host checks: their commands are no targets of the build, so they run on the host, not
# under Wine.
find_program(VT_PYTHON3 python3 REQUIRED)
# Every DLL the project builds (the family's components and the test DLLs).
set(vt_dlls "")
foreach(dir ${PROJECT_SOURCE_DIR}/tools ${CMAKE_CURRENT_SOURCE_DIR})
    get_property(targets DIRECTORY ${dir} PROPERTY BUILDSYSTEM_TARGETS)
    foreach(target ${targets})
        get_target_property(kind ${target} TYPE)
        if(kind STREQUAL "SHARED_LIBRARY")
            list(APPEND vt_dlls ${target})
        endif()
    endforeach()
endforeach()
set(vt_dll_files "")
foreach(dll ${vt_dlls})
    list(APPEND vt_dll_files $<TARGET_FILE:${dll}>)
endforeach()

add_test(NAME ImageHeaderCheck
    COMMAND ${VT_PYTHON3} ${CMAKE_CURRENT_SOURCE_DIR}/PeHeaderCheck.py $<TARGET_FILE:VantrelUninstall> ${vt_dll_files})

# Builds the commit twice more, beside this build (<build>-repro), which takes a minute or two.
add_test(NAME ReproducibleBuild
    COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/ReproducibleBuild.sh ${PROJECT_SOURCE_DIR} ${CMAKE_BINARY_DIR}-repro
            VantrelUninstall ${vt_dlls})
set_tests_properties(ReproducibleBuild PROPERTIES TIMEOUT 1200)

add_test(NAME SignRoundTrip
    COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/SignRoundTrip.sh $<TARGET_FILE:VantrelUninstall> ${CMAKE_BINARY_DIR}/sign-test)
