// Java strings made by the virtual machine from the launcher's bytes, so
// that the virtual machine's default character set decodes them.
#pragma once

#include <jni.h>

// A new String from the bytes of text, or null on any failure (with the
// virtual machine's exception left pending).
jstring newPlatformString(JNIEnv* env, const char* text);
// A new String[count] holding a string for each entry in order, or null on
// any failure.
jobjectArray newPlatformStringArray(JNIEnv* env, const char* const* strings, int count);
