// ProcessHardening.h: process-wide defences that WinMain sets before anything else runs.
#ifndef UNINSTALLER_PROCESS_HARDENING_H
#define UNINSTALLER_PROCESS_HARDENING_H

// Takes the uninstaller's folder and the working directory out of the search for DLLs
// loaded by name (only the working directory where the system cannot do more), and has
// the heap end the process when it finds itself corrupted. Failures are passed over.
void hardenProcess();

#endif
