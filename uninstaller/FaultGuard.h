// FaultGuard.h: runs one step so that a fault inside it cannot end the uninstall.
#ifndef UNINSTALLER_FAULT_GUARD_H
#define UNINSTALLER_FAULT_GUARD_H

// Runs step; true when it returned normally, false when a structured exception (an
// access violation, a divide by zero, a RaiseException) that nothing inside the step
// handled ended it. Faults that code inside the step handles itself stay with that code.
// A corrupted heap, a stack buffer overrun or a fail-fast report is not caught: it ends
// the process, with its code as the exit code.
bool runGuarded(void (*step)());

#endif
