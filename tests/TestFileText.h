// TestFileText.h: what a small file holds, read with the plain Win32 calls.
#ifndef TESTS_TEST_FILE_TEXT_H
#define TESTS_TEST_FILE_TEXT_H

#include <string>

// The first bytes (up to 255) of the file at path; "(missing)" when it cannot be opened.
std::string fileText(const std::string& path);

#endif
