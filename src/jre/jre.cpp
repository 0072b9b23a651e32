#include "jre.h"

#include "launcher/util.h"

#include <cstdint>
#include <cstring>

const char* const javaRuntimeKey = "Software\\JavaSoft\\Java Runtime Environment";
const char* const laterRuntimeKeys[laterRuntimeKeyCount] = {"Software\\JavaSoft\\JRE",
                                                             "Software\\JavaSoft\\JDK"};

namespace {

const size_t probeSize = 260;
const size_t versionSize = 260;

// The directory part of path, in place: false when there is none.
bool cutToDirectory(char* path) {
    char* lastBackslash = strrchr(path, '\\');
    if (!lastBackslash) return false;
    *lastBackslash = '\0';
    return true;
}

void cutAtBin(char* path) {
    char* bin = strstr(path, "\\bin");
    if (bin) *bin = '\0';
}

// home\bin\java.dll: the application home is itself the runtime.
bool runtimeInBin(const char* home) {
    char probe[probeSize];
    if (!formatPath(probe, sizeof probe, "%s\\bin\\java.dll", home)) {
        writeErr("Path too long: %s\\bin\\java.dll\n", home);
        return false;
    }
    return pathExists(probe);
}

// home\jre\bin\java.dll: the runtime is home\jre, and home must take it.
bool runtimeInJre(const char* home, size_t homeSize) {
    char probe[probeSize];
    if (!formatPath(probe, sizeof probe, "%s\\jre\\bin\\java.dll", home) ||
        strlen(home) + sizeof "\\jre" > homeSize) {
        writeErr("Path too long: %s\\jre\\bin\\java.dll\n", home);
        return false;
    }
    return pathExists(probe);
}

void makeEmpty(char* buffer, size_t size) {
    if (size > 0) buffer[0] = '\0';
}

// The first runtime key that opens, with its name in rootName; each that
// does not open is reported. Java 8 and before register under
// javaRuntimeKey; the later keys are read only when it does not open.
bool openRuntimeKey(RegKey* rootKey, const char** rootName) {
    *rootName = javaRuntimeKey;
    for (size_t next = 0;; ++next) {
        if (regOpenKey(regLocalMachine, *rootName, keyRead, rootKey) == errorSuccess) return true;
        writeErr("Error opening registry key '%s'\n", *rootName);
        *rootKey = nullptr;
        if (next == laterRuntimeKeyCount) return false;
        *rootName = laterRuntimeKeys[next];
    }
}

// The version to look for: the registered current one when it is not older
// than the required one, else the required one. Writes the notices.
void chooseVersion(RegKey rootKey, const char* rootName, const char* requiredVersion,
                   char* version) {
    if (!readRegistryString(rootKey, "CurrentVersion", version, versionSize)) {
        writeErr("Failed reading value of registry key:\n\t%s\\CurrentVersion\n", rootName);
        writeErr("Trying version %s instead.\n", requiredVersion);
        strcpy(version, requiredVersion);
    }
    int order = strcmp(version, requiredVersion);
    if (order < 0) {
        writeErr("Registry key '%s\\CurrentVersion'\nhas value '%s', but '%s' or greater is "
                 "required.\n",
                 rootName, version, requiredVersion);
        strcpy(version, requiredVersion);
        writeErr("Trying to find %s nevertheless.\n", version);
    } else if (order > 0) {
        writeOut("Registry key '%s\\CurrentVersion'\nhas value '%s', but '%s' is expected.\n",
                 rootName, version, requiredVersion);
        writeOut("Trying to use '%s'.\n", version);
    }
}

} // namespace

bool getApplicationHome(char* buffer, size_t size) {
    uint32_t capacity = size > UINT32_MAX ? UINT32_MAX : static_cast<uint32_t>(size);
    uint32_t length = getModulePath(buffer, capacity);
    if (length == 0) {
        writeErr("Error: could not get the launcher's own path\n");
        return false;
    }
    // A cut path is not even terminated on every Windows: never read it.
    if (length >= capacity) {
        writeErr("Error: the launcher's own path is too long\n");
        return false;
    }
    if (!cutToDirectory(buffer)) {
        writeErr("Error: the launcher's own path '%s' names no directory\n", buffer);
        return false;
    }
    cutAtBin(buffer);
    return true;
}

bool readRegistryString(RegKey key, const char* valueName, char* buffer, size_t bufferSize) {
    uint32_t type = 0;
    uint32_t size = 0;
    if (regQueryValue(key, valueName, &type, nullptr, &size) != errorSuccess) return false;
    if (type != regTypeString) return false;
    if (size >= bufferSize) return false;
    unsigned char* data = reinterpret_cast<unsigned char*>(buffer);
    if (regQueryValue(key, valueName, nullptr, data, &size) != errorSuccess) return false;
    // The stored string need not carry its terminator; the read is never
    // longer than the size that was checked above.
    buffer[size < bufferSize ? size : bufferSize - 1] = '\0';
    return true;
}

bool findJREInRegistry(const char* requiredVersion, char* home, size_t homeSize,
                       RegKey* versionKey) {
    *versionKey = nullptr;
    if (strlen(requiredVersion) >= versionSize) {
        writeErr("Error: required version '%s' is too long\n", requiredVersion);
        return false;
    }
    RegKey rootKey = nullptr;
    const char* rootName = nullptr;
    if (!openRuntimeKey(&rootKey, &rootName)) return false;
    char version[versionSize];
    chooseVersion(rootKey, rootName, requiredVersion, version);

    if (regOpenKey(rootKey, version, keyRead, versionKey) != errorSuccess) {
        writeErr("Error opening registry key '%s\\%s'\n", rootName, version);
        *versionKey = nullptr;
        regCloseKey(rootKey);
        return false;
    }
    if (!readRegistryString(*versionKey, "JavaHome", home, homeSize)) {
        writeErr("Failed reading value of registry key:\n\t%s\\%s\\JavaHome\n", rootName,
                 version);
        regCloseKey(rootKey);
        regCloseKey(*versionKey);
        *versionKey = nullptr;
        return false;
    }
    char microVersion[versionSize];
    if (!readRegistryString(*versionKey, "MicroVersion", microVersion, sizeof microVersion)) {
        writeOut("Warning: Can't read MicroVersion\n");
        microVersion[0] = '\0';
    }
    writeOut("Version major.minor.micro = %s.%s\n", version, microVersion);
    regCloseKey(rootKey);
    return true;
}

bool findJRE(const char* requiredVersion, char* home, size_t homeSize, char* runtimeLib,
             size_t runtimeLibSize) {
    if (!getApplicationHome(home, homeSize)) return false;
    writeOut("Application Home is %s\n", home);

    if (runtimeInBin(home)) {
        makeEmpty(runtimeLib, runtimeLibSize);
    } else if (runtimeInJre(home, homeSize)) {
        strcat(home, "\\jre");
        makeEmpty(runtimeLib, runtimeLibSize);
    } else {
        RegKey versionKey = nullptr;
        if (!findJREInRegistry(requiredVersion, home, homeSize, &versionKey)) {
            writeErr("Error: could not find java.dll\n");
            return false;
        }
        if (readRegistryString(versionKey, "RuntimeLib", runtimeLib, runtimeLibSize))
            writeOut("Found RuntimeLib path in registry: %s\n", runtimeLib);
        else
            makeEmpty(runtimeLib, runtimeLibSize);
        if (versionKey) regCloseKey(versionKey);
    }
    writeOut("JRE found at %s\n", home);
    return true;
}
