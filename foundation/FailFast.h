// FailFast.h: ends the process at once when the foundation cannot go on safely.
#ifndef FOUNDATION_FAIL_FAST_H
#define FOUNDATION_FAIL_FAST_H

// Never returns. Used when memory runs out or a size would overflow: carrying on with
// a truncated path could name a folder the uninstaller must never delete.
[[noreturn]] void failFast();
// Never returns; the process ends with status as its exit code (on Windows), without
// unwinding, handlers or message boxes.
[[noreturn]] void failFast(unsigned long status);

#endif
