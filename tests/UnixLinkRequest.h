// UnixLinkRequest.h: asks tests/unix-helper.sh, on the host, to put a link in a folder's place.
#ifndef TESTS_UNIX_LINK_REQUEST_H
#define TESTS_UNIX_LINK_REQUEST_H

#include <string>

// Renames folder (a "C:\..." path) to "<folder>.moved" and puts a unix symbolic link to
// target (a "C:\..." folder) in its place, through the helper that the UnixHelper CTest
// fixture runs. Waits for the answer; empty on success, else what went wrong.
std::string swapFolderForLink(const std::string& folder, const std::string& target);
// Removes every link below folder (a "C:\..." path), none of which a Windows program under
// Wine can remove. Empty on success, else what went wrong.
std::string removeLinksBelow(const std::string& folder);

#endif
