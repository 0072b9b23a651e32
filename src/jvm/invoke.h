// Runs the Java application inside the launcher's process.
#pragma once

#include "launcher/report.h"
#include "platform/platform.h"

#include <jni.h>

// Set once by runJavaMain and kept until the process ends; the library is
// never unloaded.
extern LibHandle jvmLibrary;
extern JavaVMInitArgs vmInitArgs;
extern JavaVM* javaVM;
extern JNIEnv* jniEnv;

// Loads the library (with runtimeHome\bin in the search for what it
// needs), creates the virtual machine from vmOptions, calls the main
// class's main with appArgs and destroys the virtual machine. Frees the
// arrays of both lists (not their strings) on the way.
Outcome runJavaMain(const char* jvmPath, const char* runtimeHome);

// The class for a dotted name (dots become slashes, nothing else changes),
// or null with the virtual machine's exception pending.
jclass findMainClass(JNIEnv* env, const char* className);
