// SampleChecks.h: what the uninstaller tests look at: their own folders, trees, paths and keys.
#ifndef TESTS_SAMPLE_CHECKS_H
#define TESTS_SAMPLE_CHECKS_H

#include <windows.h>

#include <string>
#include <vector>

// The folders an installation of Vantrel Mail has below its install directory, by name:
// the product folder, "Common", "Other Examples" and the five shared folders.
extern const char* const sampleFamilyFolders[];
extern const int sampleFamilyFolderCount;

// "C:\vt\tests\<testName>\<caseName>": where a test case lays down its trees. Not created.
std::string sampleCaseDir(const char* testName, const char* caseName);
// Every entry below dir as a path relative to it, sorted; folders end in a backslash.
// Empty when dir does not exist or is empty.
std::vector<std::string> listTree(const std::string& dir);
// True when a file or folder exists at path.
bool pathExists(const std::string& path);
// True when path (backslash form) can be opened for reading below root.
bool keyExists(HKEY root, const char* path);
// The working directory, without a trailing backslash.
std::string currentDirectory();

// Creates dir as a sentinel of the tests, marked by a file of its own; false when dir
// exists and is not an earlier sentinel (which is removed first), or cannot be made.
bool makeSentinelFolder(const std::string& dir);
// Removes dir and everything below it when it is a sentinel; true when it is gone.
// A folder without the mark is left alone (false).
bool removeSentinelFolder(const std::string& dir);

#endif
