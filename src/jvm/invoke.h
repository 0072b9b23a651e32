// Runs the Java application inside the launcher's process.
#pragma once

#include "launcher/report.h"

// Loads the library, creates the virtual machine, calls main, destroys it.
Outcome runJavaMain(const char* jvmPath);
