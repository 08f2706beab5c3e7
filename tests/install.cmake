# tests/install.cmake: filled in with the install tests.
