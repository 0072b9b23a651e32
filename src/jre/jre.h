// The Java runtime: a private copy beside the application, or the one in
// the registry.
#pragma once

#include "platform/platform.h"

#include <cstddef>

// The registry key below HKEY_LOCAL_MACHINE that registered runtimes use,
// and the keys of Java 9 and later, tried in turn when it does not open.
extern const char* const javaRuntimeKey;
const size_t laterRuntimeKeyCount = 2;
extern const char* const laterRuntimeKeys[laterRuntimeKeyCount];

// Fills home (the runtime's home directory) and runtimeLib (the registry's
// RuntimeLib value, or empty); false, with a line on standard error, when
// no runtime is found.
bool findJRE(const char* requiredVersion, char* home, size_t homeSize, char* runtimeLib,
             size_t runtimeLibSize);

// The launcher's own directory with the first "\bin" and all after it cut
// off. False, with a line on standard error, when the launcher's path cannot
// be had whole or names no directory.
bool getApplicationHome(char* buffer, size_t size);

// The registered runtime that fits requiredVersion, below the first of the
// runtime keys that opens. True: home holds its JavaHome and *versionKey is
// its open version key, for the caller to close. False: no key is left open.
bool findJREInRegistry(const char* requiredVersion, char* home, size_t homeSize,
                       RegKey* versionKey);

// A REG_SZ value that fits the buffer with a terminator, read and
// terminated; false leaves the buffer untouched unless the final read fails.
bool readRegistryString(RegKey key, const char* valueName, char* buffer, size_t bufferSize);
