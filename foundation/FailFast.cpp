// FailFast.cpp: immediate termination, without unwinding, handlers or message boxes.
#include "FailFast.h"

#include <stdlib.h>

#ifdef _WIN32
#include <windows.h>
#endif

void failFast()
{
    // 0xC0000017 is STATUS_NO_MEMORY, the code the platform itself ends processes with.
    failFast(0xC0000017u);
}

void failFast(unsigned long status)
{
#ifdef _WIN32
    TerminateProcess(GetCurrentProcess(), static_cast<UINT>(status));
#else
    (void)status;
#endif
    abort();
}
