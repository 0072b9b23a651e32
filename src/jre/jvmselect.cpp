#include "jvmselect.h"

bool selectJVMLibrary(const char*, const char*, char*) { return false; }
