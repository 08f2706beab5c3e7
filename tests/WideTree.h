// WideTree.h: test trees laid down, listed and removed with the wide functions in the long form.
#ifndef TESTS_WIDE_TREE_H
#define TESTS_WIDE_TREE_H

#include <string>
#include <vector>

// dir (a plain "C:\..." path) in the "\\?\" form, so that names outside the code page and
// paths longer than MAX_PATH reach the platform unchanged.
std::wstring longForm(const std::wstring& dir);
// The 8-bit path (system code page) as a wide one.
std::wstring widen(const std::string& text);
// Creates dir and its missing parents; true when it is a directory afterwards.
bool makeWideFolders(const std::wstring& dir);
// Creates or replaces the file path with text.
bool writeWideFile(const std::wstring& path, const std::string& text);
// Every entry below dir, relative to it, sorted; folders end in a backslash. Links are
// listed, not entered.
std::vector<std::wstring> listWideTree(const std::wstring& dir);
// Removes dir and everything below it, clearing read-only attributes; links are removed as
// entries. True when dir is gone.
bool removeWideTree(const std::wstring& dir);
// Readable for failure messages (UTF-8).
std::string narrow(const std::wstring& text);
std::string narrow(const std::vector<std::wstring>& entries);

#endif
