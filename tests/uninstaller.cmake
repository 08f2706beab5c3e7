# tests/uninstaller.cmake: filled in with the uninstaller tests.
