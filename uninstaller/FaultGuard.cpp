// FaultGuard.cpp: frame-based structured exception handling around one call.
#include "FaultGuard.h"

#include "FailFast.h"

#include <windows.h>

namespace {

// Codes that mean the process's own memory can no longer be trusted: a corrupted heap, a
// smashed stack (also what the system's fail-fast reports arrive as), and a fail-fast
// report raised as an exception (STATUS_FAIL_FAST_EXCEPTION, declared only in
// <ntstatus.h>). Catching one would go on composing paths to delete with that memory.
const DWORD fatalCodes[] = {
    STATUS_HEAP_CORRUPTION,
    STATUS_STACK_BUFFER_OVERRUN,
    0xC0000602u,
};

// Ends the process, with the code as its exit code, when the code is one of fatalCodes:
// no handler further out may resume it either.
void endOnFatalCode(DWORD code)
{
    for (DWORD fatal : fatalCodes) {
        if (code == fatal) {
            failFast(code);
        }
    }
}

} // namespace

#if defined(_MSC_VER)

bool runGuarded(void (*step)())
{
    __try {
        step();
    } __except (endOnFatalCode(GetExceptionCode()), EXCEPTION_EXECUTE_HANDLER) {
        return false;
    }
    return true;
}

#elif defined(__i386__)

namespace {

// An exception registration record on the thread's frame chain (fs:[0]), followed by
// the point to resume at. The system calls our handler only for exceptions that no
// record nearer the fault has handled, as it does for a compiler's __except block.
struct GuardRecord
{
    GuardRecord* next;
    void* handler;
    void* resume[5];
};

EXCEPTION_DISPOSITION __cdecl guardHandler(EXCEPTION_RECORD* exception, void* frame,
                                           CONTEXT*, void*)
{
    if (exception->ExceptionFlags & (EXCEPTION_UNWINDING | EXCEPTION_EXIT_UNWIND)) {
        return ExceptionContinueSearch;
    }
    endOnFatalCode(exception->ExceptionCode);
    // Unwind the records of the frames inside the step, then resume in runGuarded,
    // whose record is then the head of the chain again.
    RtlUnwind(frame, nullptr, exception, nullptr);
    __builtin_longjmp(static_cast<GuardRecord*>(frame)->resume, 1);
}

GuardRecord* chainHead()
{
    GuardRecord* head;
    __asm__ __volatile__("movl %%fs:0, %0" : "=r"(head));
    return head;
}

void setChainHead(GuardRecord* head)
{
    __asm__ __volatile__("movl %0, %%fs:0" : : "r"(head) : "memory");
}

} // namespace

__attribute__((noinline)) bool runGuarded(void (*step)())
{
    GuardRecord record;
    record.next = chainHead();
    record.handler = reinterpret_cast<void*>(guardHandler);
    volatile bool completed = false;
    if (__builtin_setjmp(record.resume) == 0) {
        setChainHead(&record);
        step();
        completed = true;
    }
    setChainHead(record.next);
    return completed;
}

#else

namespace {

// The 64-bit build has no frame chain to join: an unhandled-exception filter, in force
// only while the step runs, sees just what no frame inside the step handled.
void* resumePoint[5];

LONG WINAPI guardFilter(EXCEPTION_POINTERS* exception)
{
    endOnFatalCode(exception->ExceptionRecord->ExceptionCode);
    __builtin_longjmp(resumePoint, 1);
}

} // namespace

__attribute__((noinline)) bool runGuarded(void (*step)())
{
    LPTOP_LEVEL_EXCEPTION_FILTER previous = SetUnhandledExceptionFilter(guardFilter);
    volatile bool completed = false;
    if (__builtin_setjmp(resumePoint) == 0) {
        step();
        completed = true;
    }
    SetUnhandledExceptionFilter(previous);
    return completed;
}

#endif
