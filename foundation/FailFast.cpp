// FailFast.cpp: immediate termination, without unwinding, handlers or message boxes.
#include "FailFast.h"

#include <stdlib.h>

#ifdef _WIN32
#include <windows.h>
#endif

void failFast()
{
#ifdef _WIN32
    // 0xC0000017 is STATUS_NO_MEMORY, the code the platform itself ends processes with.
    TerminateProcess(GetCurrentProcess(), 0xC0000017u);
#endif
    abort();
}
