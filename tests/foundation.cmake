# tests/foundation.cmake: the text buffer and owning list (native and Windows), registry and trees (Windows).
vt_test(StringBufferTest StringBufferTest.cpp LIBS vt_text)
