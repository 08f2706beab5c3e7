# FoundationLinkFixture.cmake: lays down (ACTION=setup) or removes (ACTION=cleanup) the
# directory link tree of FileSysTest in the Wine prefix PREFIX.
# The link is relative and names a sibling folder, so it never reaches outside the tree.
if(NOT EXISTS "${PREFIX}/.vt-ready" OR NOT IS_DIRECTORY "${PREFIX}/drive_c/windows")
    message(FATAL_ERROR "${PREFIX} is not a booted Wine prefix of the build")
endif()
set(tree "${PREFIX}/drive_c/vt/tests/FileSysLinks")

# Links are removed as entries, never followed.
file(REMOVE_RECURSE "${tree}")
if(ACTION STREQUAL "setup")
    file(MAKE_DIRECTORY "${tree}/Tree" "${tree}/Outside")
    file(WRITE "${tree}/Outside/keep.txt" "keep\n")
    file(CREATE_LINK "../Outside" "${tree}/Tree/Link" SYMBOLIC)
elseif(NOT ACTION STREQUAL "cleanup")
    message(FATAL_ERROR "ACTION must be setup or cleanup")
endif()
