# tests/gui.cmake: filled in with the gui tests.
