#include "jvmselect.h"

#include "launcher/util.h"
#include "platform/platform.h"

#include <cstring>

namespace {

// Only the first ".dll" counts, and only in lower case: a base with
// "x.dll" earlier on the way, or ending in ".DLL", is a directory.
bool namesLibrary(const char* base) {
    size_t length = strlen(base);
    const char* dll = strstr(base, ".dll");
    return length > 4 && dll == base + length - 4;
}

// The candidate's path in jvmPath; false, with a line on standard error,
// when it does not fit.
bool buildCandidate(const char* base, const char* flavour, char* jvmPath) {
    if (namesLibrary(base)) {
        if (formatPath(jvmPath, jvmPathSize, "%s", base)) return true;
        writeErr("Path too long: %s\n", base);
    } else if (*flavour == '\0') {
        if (formatPath(jvmPath, jvmPathSize, "%s\\bin\\jvm.dll", base)) return true;
        writeErr("Path too long: %s\\bin\\jvm.dll\n", base);
    } else {
        if (formatPath(jvmPath, jvmPathSize, "%s\\bin\\%s\\jvm.dll", base, flavour)) return true;
        writeErr("Path too long: %s\\bin\\%s\\jvm.dll\n", base, flavour);
    }
    return false;
}

} // namespace

bool probeJVM(const char* base, const char* flavour, char* jvmPath) {
    if (!buildCandidate(base, flavour, jvmPath)) return false;
    if (pathExists(jvmPath)) {
        writeOut("JVM found at %s\n", jvmPath);
        return true;
    }
    writeOut("no JVM found at %s\n", jvmPath);
    return false;
}

// bin\server comes after every older layout, so that a runtime found
// before keeps the library it had; the runtimes that have only bin\server
// (the 64-bit ones, and all from Java 9 on) are found by it.
bool selectJVMLibrary(const char* home, const char* runtimeLib, char* jvmPath) {
    if (runtimeLib[0] != '\0' && probeJVM(runtimeLib, "", jvmPath)) return true;
    return probeJVM(home, "hotspot", jvmPath) || probeJVM(home, "classic", jvmPath) ||
           probeJVM(home, "client", jvmPath) || probeJVM(home, "", jvmPath) ||
           probeJVM(home, "server", jvmPath);
}
