# tests/uninstaller.cmake: the Start Menu step, fault guard, install-dir check and the uninstall procedure.
vt_test(InstallDirCheckTest InstallDirCheckTest.cpp LIBS vt_uninstaller)
vt_test(FaultGuardTest FaultGuardTest.cpp LIBS vt_uninstaller)

vt_test(StartMenuCleanupTest StartMenuCleanupTest.cpp SampleChecks.cpp
    LIBS vt_sample_install)

# The uninstall procedure on the real entry, group and counters: its cases run one after
# another in one program. The second program links a faulting Start Menu step in place of
# the real one.
vt_test(RunUninstallTest RunUninstallTest.cpp SampleChecks.cpp SampleLabelWindow.cpp
    LIBS vt_sample_install)
vt_test(RunUninstallFaultTest FaultingStartMenu.cpp SampleChecks.cpp SampleLabelWindow.cpp
    LIBS vt_sample_install)

# Links put in the place of the folders the procedure empties and of the Start Menu group.
vt_test(RunUninstallLinkTest RunUninstallLinkTest.cpp SampleChecks.cpp SampleLabelWindow.cpp
    UnixLinkRequest.cpp LIBS vt_sample_install)
set_tests_properties(RunUninstallLinkTest PROPERTIES FIXTURES_REQUIRED UnixHelper)

# They copy the component DLLs from their own folder, where the build puts them.
foreach(test StartMenuCleanupTest RunUninstallTest RunUninstallFaultTest RunUninstallLinkTest)
    add_dependencies(${test} VantrelMail VantrelUtil SampleInstall)
endforeach()
# The same uninstall entry, Start Menu group, counters and drive-root folders.
set_tests_properties(StartMenuCleanupTest RunUninstallTest RunUninstallFaultTest RunUninstallLinkTest
    PROPERTIES RESOURCE_LOCK VantrelInstallation)
# A fault that nothing catches would end the program; fail within minutes at worst.
set_tests_properties(FaultGuardTest StartMenuCleanupTest RunUninstallTest RunUninstallFaultTest
    RunUninstallLinkTest PROPERTIES TIMEOUT 300)
