#include "instance.h"

// The count is not taken yet: a lone launcher.
int countRunning(const char*) { return 1; }
