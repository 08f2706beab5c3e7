# tests/gui.cmake: the real uninstaller driven through its dialog under Wine and Xvfb.
vt_test(UninstallerGuiTest UninstallerGuiTest.cpp GuiInstallationState.cpp
    LIBS vt_dialog_driver vt_sample_install)

# Started by the test to tell whether its process can create a window.
add_executable(GuiWindowProbe WIN32 GuiWindowProbe.cpp)
vt_strict(GuiWindowProbe)

# The test starts these from its own folder (C:\vt\bin, where wine-run copies the build's
# programs and DLLs); the DLLs come through vt_sample_install.
add_dependencies(UninstallerGuiTest VantrelUninstall GuiWindowProbe)

# The test that needs a process without a display, in which no window can be created,
# the owner window first, runs on its own without DISPLAY.
set_tests_properties(UninstallerGuiTest PROPERTIES ENVIRONMENT "GTEST_FILTER=-UninstallerWithoutDisplayTest.*")
add_test(NAME UninstallerGuiNoDisplayTest
    COMMAND UninstallerGuiTest --gtest_filter=UninstallerWithoutDisplayTest.*)
set_tests_properties(UninstallerGuiNoDisplayTest PROPERTIES ENVIRONMENT_MODIFICATION "DISPLAY=unset:")

# One display, one Start Menu and one uninstall entry: nothing else may run beside them.
set_tests_properties(UninstallerGuiTest UninstallerGuiNoDisplayTest PROPERTIES RUN_SERIAL TRUE TIMEOUT 1200)
