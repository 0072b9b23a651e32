// The Java runtime: a private copy beside the application, or the one in
// the registry.
#pragma once

#include <cstddef>

// Fills home (the runtime's home directory) and runtimeLib (the registry's
// RuntimeLib value, or empty); false when no runtime is found.
bool findJRE(const char* requiredVersion, char* home, size_t homeSize, char* runtimeLib,
             size_t runtimeLibSize);
