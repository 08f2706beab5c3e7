# ProjectDefaults.cmake: warnings, static linking and the product's lean build flags.

# Every target of the project's own: strict warnings, treated as errors.
function(vt_strict target)
    target_compile_options(${target} PRIVATE -Wall -Wextra -Werror)
    if(WIN32)
        # Each exe and DLL imports only system DLLs: no libstdc++, libgcc or winpthread DLL.
        get_target_property(kind ${target} TYPE)
        if(kind STREQUAL "EXECUTABLE" OR kind STREQUAL "SHARED_LIBRARY" OR kind STREQUAL "MODULE_LIBRARY")
            target_link_options(${target} PRIVATE -static -static-libgcc -static-libstdc++)
        endif()
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
