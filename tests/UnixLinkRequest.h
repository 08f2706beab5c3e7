// UnixLinkRequest.h: asks tests/unix-helper.sh, on the host, to put a link in a folder's place.
#ifndef TESTS_UNIX_LINK_REQUEST_H
#define TESTS_UNIX_LINK_REQUEST_H

#include <string>

// Renames folder (a "C:\..." path) to "<folder>.moved" and puts a unix symbolic link to
// target (a "C:\..." folder) in its place, through the helper that the UnixHelper CTest
// fixture runs. Waits for the answer; empty on success, else what went wrong.
std::string swapFolderForLink(const std::string& folder, const std::string& target);
// Removes path (a "C:\..." path) when it is a link, else every link below it: a Windows
// program under Wine can remove none. Empty on success, else what went wrong.
std::string removeLinks(const std::string& path);

#endif
