// The choice of the virtual machine library within a runtime.
#pragma once

// jvmPath is a 260-byte buffer; true when a candidate exists, with its path.
bool selectJVMLibrary(const char* home, const char* runtimeLib, char* jvmPath);
