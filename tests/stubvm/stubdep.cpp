// A small library that jvm_withdep.dll imports, as a real jvm.dll imports
// the C runtime library of its runtime's bin folder.
extern "C" __declspec(dllexport) const char* stubdepName() { return "stubdep.dll"; }
