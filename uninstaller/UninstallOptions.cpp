// UninstallOptions.cpp: the process-wide choice of removals.
#include "UninstallOptions.h"

UninstallOptions uninstallOptions = { true, true, true, true, true };
