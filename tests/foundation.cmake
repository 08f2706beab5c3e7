# tests/foundation.cmake: the text buffer and owning list (native and Windows), registry and trees (Windows).

vt_test(StringBufferTest StringBufferTest.cpp LIBS vt_text)
vt_test(ExtPtrArrayTest ExtPtrArrayTest.cpp LIBS vt_text)

if(WIN32)
    vt_test(VT_RegistryTest VT_RegistryTest.cpp LIBS vt_foundation)
    vt_test(WidePathTest WidePathTest.cpp LIBS vt_foundation)
    vt_test(FileSysTest FileSysTest.cpp DirectoryHandleRecorder.cpp TestFileText.cpp LIBS vt_foundation)
    vt_test(FileSysHostileTest FileSysHostileTest.cpp DirectoryHandleRecorder.cpp WideTree.cpp
        UnixLinkRequest.cpp LIBS vt_foundation)
    set_tests_properties(FileSysHostileTest PROPERTIES FIXTURES_REQUIRED UnixHelper TIMEOUT 300)

    # Deleting code runs where the host's own files cannot be changed (scripts/sandbox).
    # scripts/test names the host file in VT_SANDBOX_SENTINEL.
    vt_test(SandboxTest SandboxTest.cpp TestFileText.cpp)

    # Wine's CreateSymbolicLinkA reports success and makes nothing, and a Windows program
    # under Wine cannot make a unix symbolic link itself: these two lay one down in the
    # prefix before FileSysTest and remove it afterwards.
    foreach(action setup cleanup)
        add_test(NAME FileSysLinks_${action} COMMAND ${CMAKE_COMMAND}
            -DPREFIX=${VT_WINEPREFIX} -DACTION=${action}
            -P ${CMAKE_CURRENT_SOURCE_DIR}/FoundationLinkFixture.cmake)
    endforeach()
    set_tests_properties(FileSysLinks_setup PROPERTIES FIXTURES_SETUP FileSysLinks)
    set_tests_properties(FileSysLinks_cleanup PROPERTIES FIXTURES_CLEANUP FileSysLinks)
    set_tests_properties(FileSysTest PROPERTIES FIXTURES_REQUIRED FileSysLinks)
else()
    # libFuzzer target, run for a bounded time as one CTest test. The foundation's
    # sources are compiled into it so that the fuzzer sees their coverage.
    set(foundationDir ${PROJECT_SOURCE_DIR}/foundation)
    add_executable(StringBufferFuzz
        fuzz/StringBufferFuzz.cpp
        ${foundationDir}/VantrelObject.cpp
        ${foundationDir}/StringBuffer.cpp
        ${foundationDir}/ExtPtrArray.cpp
        ${foundationDir}/FailFast.cpp
    )
    target_include_directories(StringBufferFuzz PRIVATE ${foundationDir})
    target_compile_options(StringBufferFuzz PRIVATE -fsanitize=fuzzer)
    target_link_options(StringBufferFuzz PRIVATE -fsanitize=fuzzer)
    vt_strict(StringBufferFuzz)
    add_test(NAME StringBufferFuzzRun
        COMMAND StringBufferFuzz -runs=200000 -max_total_time=60 -max_len=512 -seed=1
                -print_final_stats=1)
endif()
