// The choice of the virtual machine library within a runtime.
#pragma once

#include <cstddef>

// The size of the caller's jvmPath buffer.
const size_t jvmPathSize = 260;

// jvmPath is a jvmPathSize-byte buffer; true when a candidate exists, with
// its path. The candidates: runtimeLib (when not empty), then below home
// bin\hotspot, bin\classic, bin\client, bin and bin\server. One line per
// candidate tried.
bool selectJVMLibrary(const char* home, const char* runtimeLib, char* jvmPath);

// One candidate: base itself when it names a library (ends in its only
// ".dll"), else base\bin\flavour\jvm.dll, or base\bin\jvm.dll for an empty
// flavour. True when it exists. A candidate that does not fit jvmPath is
// reported on standard error and counts as missing.
bool probeJVM(const char* base, const char* flavour, char* jvmPath);
