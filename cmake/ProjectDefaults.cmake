# ProjectDefaults.cmake: warnings, static linking and the product's lean build flags.

# Every target of the project's own: strict warnings, treated as errors.
function(vt_strict target)
    target_compile_options(${target} PRIVATE -Wall -Wextra -Werror)
    if(WIN32)
        # Each exe and DLL imports only system DLLs: no libstdc++, libgcc or winpthread DLL.
        get_target_property(kind ${target} TYPE)
        if(kind STREQUAL "EXECUTABLE" OR kind STREQUAL "SHARED_LIBRARY" OR kind STREQUAL "MODULE_LIBRARY")
            target_link_options(${target} PRIVATE -static -static-libgcc -static-libstdc++)
            # Hardened and reproducible images: no time stamp in the header, marked
            # terminal-server aware (the loader then never applies the old INI and
            # registry shims of Terminal Services), ASLR and DEP as ld gives them by default.
            target_link_options(${target} PRIVATE
                -fstack-protector-strong -Wl,--tsaware -Wl,--no-insert-timestamp)
        endif()
        # A smashed stack ends the process: foundation/StackProtector.cpp for what links the
        # foundation, the runtime's libssp for the rest.
        target_compile_options(${target} PRIVATE -fstack-protector-strong)
    endif()
endfunction()

# Code that ends up in the product: no C++ exceptions (nothing in it throws, and the
# runtime support for them would triple the size of the exe), unused sections dropped.
function(vt_product target)
    vt_strict(${target})
    target_compile_options(${target} PRIVATE -fno-exceptions -ffunction-sections -fdata-sections)
    get_target_property(kind ${target} TYPE)
    if(kind STREQUAL "EXECUTABLE")
        target_link_options(${target} PRIVATE -Wl,--gc-sections -s)
    endif()
endfunction()

# Host builds run the portable foundation under AddressSanitizer and UBSan.
if(NOT WIN32)
    add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=all)
    add_link_options(-fsanitize=address,undefined)
endif()

# Two builds of one commit give the same bytes. Nothing in the images carries a date
# (see --no-insert-timestamp above); every compile and link, the resource compiler and
# its preprocessor included, still sees one fixed SOURCE_DATE_EPOCH: the environment's
# when set, else the time of the commit built, else 0.
if(WIN32)
    if(DEFINED ENV{SOURCE_DATE_EPOCH})
        set(VT_SOURCE_DATE_EPOCH "$ENV{SOURCE_DATE_EPOCH}")
    else()
        execute_process(COMMAND git -C "${CMAKE_SOURCE_DIR}" log -1 --format=%ct
                        OUTPUT_VARIABLE VT_SOURCE_DATE_EPOCH OUTPUT_STRIP_TRAILING_WHITESPACE
                        RESULT_VARIABLE gitResult ERROR_QUIET)
        if(NOT gitResult EQUAL 0 OR VT_SOURCE_DATE_EPOCH STREQUAL "")
            set(VT_SOURCE_DATE_EPOCH 0)
        endif()
    endif()
    set_property(GLOBAL PROPERTY RULE_LAUNCH_COMPILE
        "${CMAKE_COMMAND} -E env SOURCE_DATE_EPOCH=${VT_SOURCE_DATE_EPOCH}")
    set_property(GLOBAL PROPERTY RULE_LAUNCH_LINK
        "${CMAKE_COMMAND} -E env SOURCE_DATE_EPOCH=${VT_SOURCE_DATE_EPOCH}")
endif()
