// The Linux host build's stand-in for Windows.
//
// It takes the same backslash paths as the Windows build and turns them into
// slash paths where it touches the file system. It has no registry (every
// open fails), shows no message box, and answers the Windows-family question
// with neither family, so the instance guard lets every start go on.
#include "platform.h"
#include "host_files.h"

#include <dlfcn.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>

const RegKey regLocalMachine = reinterpret_cast<RegKey>(static_cast<uintptr_t>(0x80000002));
const RegKey regPerformanceData = reinterpret_cast<RegKey>(static_cast<uintptr_t>(0x80000004));
const SnapshotHandle invalidSnapshot = reinterpret_cast<SnapshotHandle>(~static_cast<uintptr_t>(0));

int32_t regOpenKey(RegKey, const char*, uint32_t, RegKey* result) {
    *result = nullptr;
    return errorFileNotFound;
}

int32_t regQueryValue(RegKey, const char*, uint32_t*, unsigned char*, uint32_t*) {
    return errorFileNotFound;
}

int32_t regCloseKey(RegKey) { return errorSuccess; }

// Behaves like GetModuleFileNameA on Windows XP and later: a path that does
// not fit is cut, terminated, and size comes back.
uint32_t getModulePath(char* buffer, uint32_t size) {
    if (size == 0) return 0;
    char path[4096];
    ssize_t n = readlink("/proc/self/exe", path, sizeof path - 1);
    if (n <= 0) return 0;
    path[n] = '\0';
    for (ssize_t i = 0; i < n; ++i)
        if (path[i] == '/') path[i] = '\\';
    size_t length = static_cast<size_t>(n);
    if (length >= size) {
        memcpy(buffer, path, size - 1);
        buffer[size - 1] = '\0';
        return size;
    }
    memcpy(buffer, path, length + 1);
    return static_cast<uint32_t>(length);
}

bool pathExists(const char* path) {
    struct stat info;
    return stat(hostPath(path).c_str(), &info) == 0;
}

FILE* openTextFile(const char* path) { return openHostTextFile(path); }
bool reopenStdout(const char* path) { return reopenHostStream(path, "w", stdout); }
bool reopenStderr(const char* path) { return reopenHostStream(path, "a+", stderr); }

// dlerror's text stands in for FormatMessageA's; 126 is ERROR_MOD_NOT_FOUND
// and 127 ERROR_PROC_NOT_FOUND.
static uint32_t lastError;
static char lastErrorText[512];

static void rememberError(uint32_t code) {
    lastError = code;
    const char* text = dlerror();
    snprintf(lastErrorText, sizeof lastErrorText, "%s", text ? text : "");
}

LibHandle loadLibrary(const char* path) {
    void* library = dlopen(hostPath(path).c_str(), RTLD_NOW);
    if (!library) rememberError(126);
    return library;
}

LibHandle findLoadedModule(const char* name) {
    void* library = dlopen(hostPath(name).c_str(), RTLD_NOW | RTLD_NOLOAD);
    if (!library) rememberError(126);
    return library;
}

void* findSymbol(LibHandle library, const char* name) {
    void* symbol = dlsym(library, name);
    if (!symbol) rememberError(127);
    return symbol;
}

uint32_t lastErrorCode() { return lastError; }

// dlopen finds a library's dependencies through the library's own run path.
bool addLibraryDirectory(const char*) { return true; }
void removeLibraryDirectory() {}

bool describeError(uint32_t code, char* text, size_t size) {
    if (code != lastError || lastErrorText[0] == '\0' || size == 0) return false;
    int n = snprintf(text, size, "%s", lastErrorText);
    return n > 0 && static_cast<size_t>(n) < size;
}

uint32_t getPlatformId() { return 0; }

// UTF-8 is the host's code page.
int wideToAnsi(const uint16_t* wide, char* out, int outSize) {
    int n = 0;
    for (size_t i = 0;; ++i) {
        uint32_t c = wide[i];
        if (c >= 0xD800 && c <= 0xDBFF && wide[i + 1] >= 0xDC00 && wide[i + 1] <= 0xDFFF) {
            c = 0x10000 + ((c - 0xD800) << 10) + (wide[i + 1] - 0xDC00);
            ++i;
        } else if (c >= 0xD800 && c <= 0xDFFF) {
            c = '?';
        }
        unsigned char bytes[4];
        int count;
        if (c < 0x80) {
            bytes[0] = static_cast<unsigned char>(c);
            count = 1;
        } else if (c < 0x800) {
            bytes[0] = static_cast<unsigned char>(0xC0 | (c >> 6));
            bytes[1] = static_cast<unsigned char>(0x80 | (c & 0x3F));
            count = 2;
        } else if (c < 0x10000) {
            bytes[0] = static_cast<unsigned char>(0xE0 | (c >> 12));
            bytes[1] = static_cast<unsigned char>(0x80 | ((c >> 6) & 0x3F));
            bytes[2] = static_cast<unsigned char>(0x80 | (c & 0x3F));
            count = 3;
        } else {
            bytes[0] = static_cast<unsigned char>(0xF0 | (c >> 18));
            bytes[1] = static_cast<unsigned char>(0x80 | ((c >> 12) & 0x3F));
            bytes[2] = static_cast<unsigned char>(0x80 | ((c >> 6) & 0x3F));
            bytes[3] = static_cast<unsigned char>(0x80 | (c & 0x3F));
            count = 4;
        }
        if (n + count > outSize) return 0;
        memcpy(out + n, bytes, static_cast<size_t>(count));
        n += count;
        if (c == 0) return n;
    }
}

SnapshotHandle callCreateSnapshot(void*, uint32_t, uint32_t) { return invalidSnapshot; }
int callProcessWalk(void*, SnapshotHandle, ProcessEntry*) { return 0; }
void closeSnapshot(SnapshotHandle) {}

int showMessageBox(const char*, const char*, unsigned) { return 0; }

void* allocate(size_t size) { return malloc(size); }
void* reallocate(void* block, size_t size) { return realloc(block, size); }
void release(void* block) { free(block); }

void prepareProcess(int argc, char** argv) {
    if (argc < 1 || !argv[0]) return;
    for (char* c = argv[0]; *c; ++c)
        if (*c == '/') *c = '\\';
}
