// FailFast.h: ends the process at once when the foundation cannot go on safely.
#ifndef FOUNDATION_FAIL_FAST_H
#define FOUNDATION_FAIL_FAST_H

// Never returns. Used when memory runs out or a size would overflow: carrying on with
// a truncated path could name a folder the uninstaller must never delete.
[[noreturn]] void failFast();

#endif
