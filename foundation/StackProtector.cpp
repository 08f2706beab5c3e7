// StackProtector.cpp: the stack protector's guard value and its failure report, in place of the runtime's.
// Linking this keeps the runtime's own support (libssp) out: its report traps with an
// illegal instruction, which a fault handler can catch and resume past. A smashed stack
// ends the process at once instead, with STATUS_STACK_BUFFER_OVERRUN, as the platform's
// own compilers' checks do.
#include "FailFast.h"

#include <windows.h>
#include <ntsecapi.h>

#include <stdint.h>

extern "C" {

// Compared by every protected function on its way out. Set before any of them runs.
uintptr_t __stack_chk_guard = 0;

[[noreturn]] void __stack_chk_fail(void)
{
    failFast(STATUS_STACK_BUFFER_OVERRUN);
}

} // extern "C"

namespace {

// Runs among the static constructors, before WinMain or main and before DllMain, from the
// runtime's unprotected start-up code: no protected frame is live while the value changes,
// and this function itself must not be protected for the same reason.
__attribute__((constructor, no_stack_protector)) void setStackGuard()
{
    uintptr_t value = 0;
    if (!RtlGenRandom(&value, sizeof(value)) || value == 0) {
        LARGE_INTEGER counter = {};
        QueryPerformanceCounter(&counter);
        value = static_cast<uintptr_t>(counter.QuadPart) ^ (GetCurrentProcessId() << 16) ^
                GetCurrentThreadId() ^ GetTickCount() ^ reinterpret_cast<uintptr_t>(&value);
    }
    __stack_chk_guard = value;
}

} // namespace
