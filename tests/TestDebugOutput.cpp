// TestDebugOutput.cpp: keeps GoogleTest's failure reports away from OutputDebugStringA.
// GoogleTest copies every failure to OutputDebugStringA. Wine raises an exception there,
// and unwinding it where 32-bit code runs through qemu-user sometimes kills the process,
// with any exit code, zero included: the first failure would end the run, maybe unseen.
// Linked into each Windows test program; the failures still go to standard output.
#include "TestImportHook.h"

#include <windows.h>

namespace {

void WINAPI ignoreDebugOutput(LPCSTR)
{
}

ImportHook quietDebugOutput("kernel32.dll", "OutputDebugStringA", reinterpret_cast<void*>(&ignoreDebugOutput));

} // namespace
