// The two lists that carry what the launch collects to the Java side.
#pragma once

#include <jni.h>

// JVM options, in the order of their addition. The list keeps the caller's
// text pointers; the texts live until the process ends.
extern JavaVMOption* vmOptions;
extern int vmOptionCount;
extern int vmOptionCapacity;

void addOption(char* optionString, void* extraInfo);

// Application arguments, each a heap copy. The array has room for
// appArgLimit entries and never grows.
const int appArgLimit = 500;
extern char** appArgs;
extern int appArgCount;
// Set once an argument could not be stored because the list was full.
extern bool appArgsOverflowed;

void createAppArgs();
// Appends a copy; past the limit it stores nothing, writes one line about
// it on standard error and marks the list as overflowed.
void addAppArg(const char* text);

// The JVM invocation frees the two arrays (not their strings) once the
// virtual machine has taken what it needs; nothing is added afterwards.
void releaseOptionArray();
void releaseAppArgArray();
