// The real Windows calls behind platform.h, nothing more.
#include "platform.h"

#include <windows.h>
#include <tlhelp32.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <cstddef>
#include <io.h>
#include <sys/stat.h>

static_assert(sizeof(ProcessEntry) == sizeof(PROCESSENTRY32), "ProcessEntry mirrors PROCESSENTRY32");
static_assert(offsetof(ProcessEntry, szExeFile) == offsetof(PROCESSENTRY32, szExeFile),
              "ProcessEntry mirrors PROCESSENTRY32");
static_assert(sizeof(OSVERSIONINFOA) == 148, "OSVERSIONINFOA is 148 bytes");

const RegKey regLocalMachine = reinterpret_cast<RegKey>(HKEY_LOCAL_MACHINE);
const RegKey regPerformanceData = reinterpret_cast<RegKey>(HKEY_PERFORMANCE_DATA);
const SnapshotHandle invalidSnapshot = INVALID_HANDLE_VALUE;

static HKEY toHkey(RegKey key) { return reinterpret_cast<HKEY>(key); }

int32_t regOpenKey(RegKey parent, const char* subKey, uint32_t access, RegKey* result) {
    HKEY opened = nullptr;
    LONG rc = RegOpenKeyExA(toHkey(parent), subKey, 0, access, &opened);
    *result = reinterpret_cast<RegKey>(opened);
    return rc;
}

int32_t regQueryValue(RegKey key, const char* valueName, uint32_t* type, unsigned char* data,
                      uint32_t* size) {
    DWORD t = 0;
    DWORD s = size ? *size : 0;
    LONG rc = RegQueryValueExA(toHkey(key), valueName, nullptr, type ? &t : nullptr, data,
                               size ? &s : nullptr);
    if (type) *type = t;
    if (size) *size = s;
    return rc;
}

int32_t regCloseKey(RegKey key) { return RegCloseKey(toHkey(key)); }

uint32_t getModulePath(char* buffer, uint32_t size) {
    return GetModuleFileNameA(nullptr, buffer, size);
}

bool pathExists(const char* path) {
    struct _stat info;
    return _stat(path, &info) == 0;
}

FILE* openTextFile(const char* path) { return fopen(path, "r"); }

// A windowed program's runtime does not hand a reopened stream to the
// process's standard handle, which the Java runtime writes through.
static void publishHandle(FILE* stream, DWORD handleId) {
    SetStdHandle(handleId, reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(stream))));
}

// The file that standard output was last moved to.
static char stdoutFile[MAX_PATH];

// freopen closes the stream before it opens the file, so a file that will
// not open would leave the stream closed. Trying the file first (which also
// creates or empties it) keeps the stream where it was in that case.
bool reopenStdout(const char* path) {
    FILE* probe = fopen(path, "w");
    if (!probe) return false;
    fclose(probe);
    if (!freopen(path, "a+", stdout)) return false;
    publishHandle(stdout, STD_OUTPUT_HANDLE);
    snprintf(stdoutFile, sizeof stdoutFile, "%s", path);
    return true;
}

// Standard error on the file of standard output shares its handle, and so
// its position: the Java runtime writes through both handles without
// seeking, so with two handles of their own each would overwrite what the
// other had written.
bool reopenStderr(const char* path) {
    if (strcmp(path, stdoutFile) == 0) {
        if (_dup2(_fileno(stdout), _fileno(stderr)) != 0) return false;
        clearerr(stderr);
    } else {
        FILE* probe = fopen(path, "a+");
        if (!probe) return false;
        fclose(probe);
        if (!freopen(path, "a+", stderr)) return false;
    }
    publishHandle(stderr, STD_ERROR_HANDLE);
    return true;
}

LibHandle loadLibrary(const char* path) { return LoadLibraryA(path); }
LibHandle findLoadedModule(const char* name) { return GetModuleHandleA(name); }
void* findSymbol(LibHandle library, const char* name) {
    return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(library), name));
}

uint32_t lastErrorCode() { return GetLastError(); }

bool describeError(uint32_t code, char* text, size_t size) {
    if (size == 0) return false;
    DWORD n = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                             code, 0, text, static_cast<DWORD>(size), nullptr);
    if (n == 0 || n >= size) return false;
    while (n > 0 && (text[n - 1] == '\n' || text[n - 1] == '\r' || text[n - 1] == ' ')) --n;
    text[n] = '\0';
    return n > 0;
}

// Windows XP SP1 and later have SetDllDirectoryA; importing it would keep
// the launcher from starting on the systems before.
typedef BOOL(WINAPI* SetDllDirectoryFn)(LPCSTR);

static SetDllDirectoryFn findSetDllDirectory() {
    HMODULE kernel = GetModuleHandleA("KERNEL32.DLL");
    if (!kernel) return nullptr;
    return reinterpret_cast<SetDllDirectoryFn>(
        reinterpret_cast<void*>(GetProcAddress(kernel, "SetDllDirectoryA")));
}

static bool joinPath(char* buffer, size_t size, const char* directory, const char* name) {
    int n = snprintf(buffer, size, "%s\\%s", directory, name);
    return n > 0 && static_cast<size_t>(n) < size;
}

// Each file of the folder that matches the pattern, loaded by its full path;
// msvcrt.dll is the system's own, which the launcher itself runs on.
static bool loadMatchingLibraries(const char* directory, const char* pattern) {
    char query[MAX_PATH];
    if (!joinPath(query, sizeof query, directory, pattern)) return false;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA(query, &found);
    if (search == INVALID_HANDLE_VALUE) return true;
    bool allLoaded = true;
    do {
        if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) ||
            lstrcmpiA(found.cFileName, "msvcrt.dll") == 0)
            continue;
        char path[MAX_PATH];
        if (!joinPath(path, sizeof path, directory, found.cFileName) || !LoadLibraryA(path))
            allLoaded = false;
    } while (FindNextFileA(search, &found));
    FindClose(search);
    return allLoaded;
}

bool addLibraryDirectory(const char* directory) {
    SetDllDirectoryFn setDllDirectory = findSetDllDirectory();
    if (setDllDirectory) return setDllDirectory(directory) != 0;
    bool loaded = loadMatchingLibraries(directory, "msvcr*.dll");
    return loadMatchingLibraries(directory, "vcruntime*.dll") && loaded;
}

void removeLibraryDirectory() {
    SetDllDirectoryFn setDllDirectory = findSetDllDirectory();
    if (setDllDirectory) setDllDirectory(nullptr);
}

uint32_t getPlatformId() {
    OSVERSIONINFOA info;
    memset(&info, 0, sizeof info);
    info.dwOSVersionInfoSize = 148;
    GetVersionExA(&info);
    return info.dwPlatformId;
}

int wideToAnsi(const uint16_t* wide, char* out, int outSize) {
    return WideCharToMultiByte(CP_ACP, 0, reinterpret_cast<LPCWCH>(wide), -1, out, outSize,
                               nullptr, nullptr);
}

typedef HANDLE(WINAPI* CreateSnapshotFn)(DWORD, DWORD);
typedef BOOL(WINAPI* ProcessWalkFn)(HANDLE, LPPROCESSENTRY32);

SnapshotHandle callCreateSnapshot(void* createSnapshot, uint32_t flags, uint32_t processId) {
    return reinterpret_cast<CreateSnapshotFn>(createSnapshot)(flags, processId);
}

int callProcessWalk(void* process32FirstOrNext, SnapshotHandle snapshot, ProcessEntry* entry) {
    return reinterpret_cast<ProcessWalkFn>(process32FirstOrNext)(
        snapshot, reinterpret_cast<LPPROCESSENTRY32>(entry));
}

void closeSnapshot(SnapshotHandle snapshot) { CloseHandle(snapshot); }

int showMessageBox(const char* text, const char* caption, unsigned style) {
    return MessageBoxA(nullptr, text, caption, style);
}

void* allocate(size_t size) { return malloc(size); }
void* reallocate(void* block, size_t size) { return realloc(block, size); }
void release(void* block) { free(block); }

void prepareProcess(int, char**) {}
