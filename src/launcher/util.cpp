#include "util.h"

#include "report.h"
#include "platform/platform.h"

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>

void writeOut(const char* format, ...) {
    va_list args;
    va_start(args, format);
    vfprintf(stdout, format, args);
    va_end(args);
}

void writeErr(const char* format, ...) {
    fflush(stdout);
    va_list args;
    va_start(args, format);
    vfprintf(stderr, format, args);
    va_end(args);
    fflush(stderr);
}

void flushOutput() {
    fflush(stdout);
    fflush(stderr);
}

char* copyString(const char* text) { return copyPart(text, strlen(text)); }

char* copyPart(const char* start, size_t length) {
    char* copy = static_cast<char*>(allocate(length + 1));
    if (!copy) outOfMemory();
    memcpy(copy, start, length);
    copy[length] = '\0';
    return copy;
}

void outOfMemory() {
    writeErr("Out of memory.\n");
    reportFailure(0, 1);
    flushOutput();
    exit(1);
}

bool formatPath(char* buffer, size_t size, const char* format, ...) {
    va_list args;
    va_start(args, format);
    int n = vsnprintf(buffer, size, format, args);
    va_end(args);
    if (n < 0 || static_cast<size_t>(n) >= size) {
        if (size > 0) buffer[0] = '\0';
        return false;
    }
    return true;
}

const char* afterLastBackslash(const char* path) {
    const char* name = path;
    for (const char* c = path; *c; ++c)
        if (*c == '\\') name = c + 1;
    return name;
}

static char foldAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool equalsIgnoringAsciiCase(const char* a, const char* b) {
    for (;; ++a, ++b) {
        if (foldAscii(*a) != foldAscii(*b)) return false;
        if (*a == '\0') return true;
    }
}
