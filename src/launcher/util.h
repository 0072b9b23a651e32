// Small helpers that every subsystem shares: the two diagnostic streams,
// heap copies of strings, and path formatting that never overruns.
#pragma once

#include <cstddef>

#if defined(__GNUC__)
#define LAUNCHER_PRINTF(f, a) __attribute__((format(printf, f, a)))
#else
#define LAUNCHER_PRINTF(f, a)
#endif

// One diagnostic line on standard output (progress) or standard error
// (problems). Standard output is flushed before anything goes to standard
// error, so that the two keep their order when they end in the same place.
void writeOut(const char* format, ...) LAUNCHER_PRINTF(1, 2);
void writeErr(const char* format, ...) LAUNCHER_PRINTF(1, 2);
// Flushes both streams before someone else (the message box, the Java
// virtual machine) may write to the same places.
void flushOutput();

// A heap copy that lives until the process ends. Memory that cannot be had
// ends the launch (see outOfMemory).
char* copyString(const char* text);
// The same for the length bytes at start, terminated.
char* copyPart(const char* start, size_t length);
// The launch cannot go on without memory: one line on standard error, the
// report for an unexpected failure, exit status 1.
[[noreturn]] void outOfMemory();

// snprintf into a path buffer; false, with the buffer left empty, when the
// result would not fit.
bool formatPath(char* buffer, size_t size, const char* format, ...) LAUNCHER_PRINTF(3, 4);

// The text after the last backslash of path, the whole path when it has
// none, the empty text when it ends in one. Only the backslash separates.
const char* afterLastBackslash(const char* path);

// Case-insensitive for the ASCII letters A to Z only.
bool equalsIgnoringAsciiCase(const char* a, const char* b);
