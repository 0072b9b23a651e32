// The one boundary between the launcher's logic and the operating system.
//
// Every call that touches Windows (or stands in for it) is declared here and
// implemented once per target: platform_windows.cpp (the real calls),
// platform_posix.cpp (the Linux host build) and platform_fake.cpp (tests).
// Nothing outside src/platform includes a system header for these services.
//
// The functions mirror the Windows calls they wrap closely on purpose, so that
// the logic above reads like the Windows program it is, and so that the fake
// can answer or fail each call exactly where Windows would.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>

// ---- Registry -------------------------------------------------------------
typedef void* RegKey;

extern const RegKey regLocalMachine;    // HKEY_LOCAL_MACHINE
extern const RegKey regPerformanceData; // HKEY_PERFORMANCE_DATA

const int32_t errorSuccess = 0;
const int32_t errorFileNotFound = 2;
const int32_t errorMoreData = 234; // ERROR_MORE_DATA
const uint32_t regTypeString = 1;  // REG_SZ
const uint32_t regTypeExpandString = 2;
const uint32_t regTypeBinary = 3;
const uint32_t keyRead = 0x20019; // KEY_READ

// RegOpenKeyExA(parent, subKey, 0, access, result): 0 or a Windows error code.
int32_t regOpenKey(RegKey parent, const char* subKey, uint32_t access, RegKey* result);
// RegQueryValueExA: type and data may be null; size is passed in and out.
int32_t regQueryValue(RegKey key, const char* valueName, uint32_t* type, unsigned char* data,
                      uint32_t* size);
int32_t regCloseKey(RegKey key);

// ---- The executable and its files ------------------------------------------
// GetModuleFileNameA(NULL, buffer, size): the number of bytes stored without
// the terminator; size when the path was cut short; 0 on failure.
uint32_t getModulePath(char* buffer, uint32_t size);
// _stat(path) == 0: true for files and directories alike.
bool pathExists(const char* path);
// fopen(path, "r"): text mode, a CR before an LF is dropped on reading.
// Null when the file cannot be opened, and for a directory.
FILE* openTextFile(const char* path);
// Moves standard output (the file created or emptied first) or standard
// error (the file kept) to the file at path; both then append, so neither
// overwrites the other's lines. Either the stream is moved, or it is left
// as it was and false comes back.
bool reopenStdout(const char* path);
bool reopenStderr(const char* path);

// ---- Libraries ---------------------------------------------------------------
typedef void* LibHandle;
LibHandle loadLibrary(const char* path);              // LoadLibraryA
LibHandle findLoadedModule(const char* name);         // GetModuleHandleA
void* findSymbol(LibHandle library, const char* name); // GetProcAddress
// GetLastError() of the last failing call above, and the system's text for a
// code (FormatMessageA) without a trailing line end; false when it has none.
uint32_t lastErrorCode();
bool describeError(uint32_t code, char* text, size_t size);
// Until removeLibraryDirectory, the folder takes part in the search for the
// libraries that a loaded library depends on (SetDllDirectoryA, looked up
// at run time).
// Where the system lacks that call, the folder's own C runtime libraries
// (msvcr*.dll, vcruntime*.dll) are loaded by their full paths instead, so
// that a library needing them finds them loaded. False when neither works.
bool addLibraryDirectory(const char* directory);
// The system's own search again (SetDllDirectoryA(NULL)); libraries loaded
// on the way stay loaded.
void removeLibraryDirectory();

// ---- System information --------------------------------------------------------
const uint32_t platformWin95 = 1; // VER_PLATFORM_WIN32_WINDOWS
const uint32_t platformWinNT = 2; // VER_PLATFORM_WIN32_NT
// dwPlatformId from GetVersionExA on a zeroed OSVERSIONINFOA of 148 bytes;
// 0 when the call fails.
uint32_t getPlatformId();

// WideCharToMultiByte(CP_ACP, 0, wide, -1, out, outSize, NULL, NULL): bytes
// written with the terminator, or 0 when the name cannot be delivered whole.
int wideToAnsi(const uint16_t* wide, char* out, int outSize);

// ---- Tool help (looked up at run time, never imported) -------------------------
// The layout of PROCESSENTRY32 (296 bytes in a 32-bit program).
struct ProcessEntry {
    uint32_t dwSize;
    uint32_t cntUsage;
    uint32_t th32ProcessID;
    uintptr_t th32DefaultHeapID;
    uint32_t th32ModuleID;
    uint32_t cntThreads;
    uint32_t th32ParentProcessID;
    int32_t pcPriClassBase;
    uint32_t dwFlags;
    char szExeFile[260];
};
typedef void* SnapshotHandle;
extern const SnapshotHandle invalidSnapshot; // INVALID_HANDLE_VALUE
const uint32_t snapProcess = 2;              // TH32CS_SNAPPROCESS

// Calls through entry points that findSymbol gave, with their own convention.
SnapshotHandle callCreateSnapshot(void* createSnapshot, uint32_t flags, uint32_t processId);
int callProcessWalk(void* process32FirstOrNext, SnapshotHandle snapshot, ProcessEntry* entry);
void closeSnapshot(SnapshotHandle snapshot); // CloseHandle

// ---- User interface ------------------------------------------------------------------
// MessageBoxA(NULL, text, caption, style); the result of the box.
int showMessageBox(const char* text, const char* caption, unsigned style);

// ---- Memory ------------------------------------------------------------------------------
// malloc, realloc and free; the fake can refuse any single allocation.
void* allocate(size_t size);
void* reallocate(void* block, size_t size);
void release(void* block);

// ---- Start-up --------------------------------------------------------------------------
// Called first thing in main: the host build turns argv[0] into the
// backslash form that Windows gives; Windows changes nothing.
void prepareProcess(int argc, char** argv);
