#include "jre.h"

// No runtime search yet: no runtime is ever found.
bool findJRE(const char*, char*, size_t, char*, size_t) { return false; }
