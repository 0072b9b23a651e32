// The scriptable platform for tests: every answer can be set up, every call
// is recorded, and any single call can be made to fail.
#pragma once

#include "platform.h"

#include <map>
#include <string>
#include <vector>

namespace fake {

enum class Call {
    regOpenKey,
    regQueryValue,
    regCloseKey,
    getModulePath,
    pathExists,
    openTextFile,
    reopenStdout,
    reopenStderr,
    loadLibrary,
    findLoadedModule,
    findSymbol,
    addLibraryDirectory,    // detail: the folder
    removeLibraryDirectory,
    getPlatformId,
    wideToAnsi,
    createSnapshot,
    processWalk,
    closeSnapshot,
    showMessageBox,
    allocate,
    reallocate,
    release, // detail: the size the block was allocated with
};
const char* callName(Call call);

struct CallRecord {
    Call call;
    std::string detail; // the key, value, path or name the call was about
};

struct RegValue {
    uint32_t type;
    std::string data; // the stored bytes, terminator included where wanted
};

struct MessageBoxRecord {
    std::string text;
    std::string caption;
    unsigned style;
};

// HKEY_PERFORMANCE_DATA answers from this hook when it is set; otherwise
// with perfData, or 234 while the caller's buffer is smaller than it.
typedef int32_t (*PerfQuery)(const std::string& valueName, unsigned char* data, uint32_t* size);

struct State {
    // Registry below HKEY_LOCAL_MACHINE: key path (as opened, compared
    // without regard to case) -> values. A key exists when it or a key
    // below it is listed.
    std::map<std::string, std::map<std::string, RegValue>> registry;
    std::string perfData;
    PerfQuery perfQuery = nullptr;
    std::vector<uint32_t> perfQuerySizes; // the size passed in to each query
    std::vector<std::string> perfQueryNames;

    std::string modulePath = "C:\\App\\launcher.exe";
    std::vector<std::string> existingPaths; // what pathExists finds
    std::map<std::string, LibHandle> libraries;
    std::map<std::string, void*> symbols; // "<library path>!<name>" -> symbol
    uint32_t loadError = 126;
    // Library path -> the folder in which a library that it imports lies:
    // it loads only while that folder takes part in the search (else
    // error 126, as Windows and Wine give it).
    std::map<std::string, std::string> dependencyFolders;
    std::string libraryDirectory; // the folder added and not yet removed

    uint32_t platformId = platformWinNT;
    bool hasKernel32 = true;
    bool hasToolHelp = true;
    std::vector<std::string> processes; // szExeFile of each snapshot entry

    std::vector<MessageBoxRecord> messageBoxes;
    std::vector<CallRecord> calls;
    int keysOpened = 0;
    int keysClosed = 0;
    std::vector<std::string> openKeys; // paths of keys still open
    int snapshotsOpen = 0;

    long failAtCall = -1; // index into calls of the one call that fails
    std::map<Call, int> failNth; // fails the nth (from 0) call of a kind
    std::vector<Call> failAlways; // every call of these kinds fails
};

extern State state;

void reset();
// Forgets the calls made so far, so that failAtCall and failNth count from
// the next call on; the script stays.
void clearCalls();
// A path of the registry with a value; the key is created as needed.
void setRegValue(const std::string& keyPath, const std::string& name, uint32_t type,
                 const std::string& data);
void setRegString(const std::string& keyPath, const std::string& name, const std::string& text);
void addKey(const std::string& keyPath);

} // namespace fake
