#include "fake.h"
#include "host_files.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace fake {

State state;

const char* callName(Call call) {
    switch (call) {
    case Call::regOpenKey: return "regOpenKey";
    case Call::regQueryValue: return "regQueryValue";
    case Call::regCloseKey: return "regCloseKey";
    case Call::getModulePath: return "getModulePath";
    case Call::pathExists: return "pathExists";
    case Call::openTextFile: return "openTextFile";
    case Call::reopenStdout: return "reopenStdout";
    case Call::reopenStderr: return "reopenStderr";
    case Call::loadLibrary: return "loadLibrary";
    case Call::findLoadedModule: return "findLoadedModule";
    case Call::findSymbol: return "findSymbol";
    case Call::addLibraryDirectory: return "addLibraryDirectory";
    case Call::removeLibraryDirectory: return "removeLibraryDirectory";
    case Call::getPlatformId: return "getPlatformId";
    case Call::wideToAnsi: return "wideToAnsi";
    case Call::createSnapshot: return "createSnapshot";
    case Call::processWalk: return "processWalk";
    case Call::closeSnapshot: return "closeSnapshot";
    case Call::showMessageBox: return "showMessageBox";
    case Call::allocate: return "allocate";
    case Call::reallocate: return "reallocate";
    case Call::release: return "release";
    }
    return "?";
}

namespace {
struct OpenKey {
    std::string path;
    bool performanceData;
};
std::vector<OpenKey*> liveKeys;
int snapshotToken;
char kernelToken, createToken, firstToken, nextToken;
size_t snapshotCursor;
std::map<Call, int> callCounts;
std::map<void*, size_t> blockSizes; // the live blocks of allocate and reallocate

std::string lower(std::string text) {
    for (char& c : text)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return text;
}

// Records the call; true when the script says this one fails.
bool record(Call call, const std::string& detail) {
    long index = static_cast<long>(state.calls.size());
    state.calls.push_back({call, detail});
    int seen = callCounts[call]++;
    auto nth = state.failNth.find(call);
    if (nth != state.failNth.end() && nth->second == seen) return true;
    if (std::find(state.failAlways.begin(), state.failAlways.end(), call) != state.failAlways.end())
        return true;
    return index == state.failAtCall;
}

bool keyExists(const std::string& path) {
    std::string wanted = lower(path);
    for (const auto& entry : state.registry) {
        std::string have = lower(entry.first);
        if (have == wanted) return true;
        if (have.size() > wanted.size() && have.compare(0, wanted.size(), wanted) == 0 &&
            have[wanted.size()] == '\\')
            return true;
    }
    return false;
}

const std::map<std::string, RegValue>* valuesOf(const std::string& path) {
    std::string wanted = lower(path);
    for (const auto& entry : state.registry)
        if (lower(entry.first) == wanted) return &entry.second;
    return nullptr;
}

int32_t answerPerfQuery(const char* valueName, unsigned char* data, uint32_t* size) {
    std::string name = valueName ? valueName : "";
    state.perfQueryNames.push_back(name);
    state.perfQuerySizes.push_back(size ? *size : 0);
    if (state.perfQuery) return state.perfQuery(name, data, size);
    if (!size) return 87;
    if (*size < state.perfData.size()) return errorMoreData;
    if (data) memcpy(data, state.perfData.data(), state.perfData.size());
    *size = static_cast<uint32_t>(state.perfData.size());
    return errorSuccess;
}
} // namespace

void reset() {
    for (OpenKey* key : liveKeys) delete key;
    liveKeys.clear();
    callCounts.clear();
    state = State();
}

void clearCalls() {
    state.calls.clear();
    callCounts.clear();
}

void addKey(const std::string& keyPath) { state.registry[keyPath]; }

void setRegValue(const std::string& keyPath, const std::string& name, uint32_t type,
                 const std::string& data) {
    state.registry[keyPath][name] = RegValue{type, data};
}

void setRegString(const std::string& keyPath, const std::string& name, const std::string& text) {
    setRegValue(keyPath, name, regTypeString, std::string(text.c_str(), text.size() + 1));
}

} // namespace fake

using namespace fake;

const RegKey regLocalMachine = reinterpret_cast<RegKey>(static_cast<uintptr_t>(0x80000002));
const RegKey regPerformanceData = reinterpret_cast<RegKey>(static_cast<uintptr_t>(0x80000004));
const SnapshotHandle invalidSnapshot = reinterpret_cast<SnapshotHandle>(~static_cast<uintptr_t>(0));

static std::string keyPathOf(RegKey key) {
    if (key == regLocalMachine) return "HKLM";
    if (key == regPerformanceData) return "HKPD";
    return static_cast<OpenKey*>(key)->path;
}

int32_t regOpenKey(RegKey parent, const char* subKey, uint32_t, RegKey* result) {
    *result = nullptr;
    std::string path = keyPathOf(parent);
    if (path == "HKLM") path.clear();
    if (subKey && *subKey) path = path.empty() ? subKey : path + "\\" + subKey;
    if (record(Call::regOpenKey, path)) return 5;
    if (!keyExists(path)) return errorFileNotFound;
    OpenKey* key = new OpenKey{path, false};
    liveKeys.push_back(key);
    state.keysOpened++;
    state.openKeys.push_back(path);
    *result = key;
    return errorSuccess;
}

int32_t regQueryValue(RegKey key, const char* valueName, uint32_t* type, unsigned char* data,
                      uint32_t* size) {
    std::string name = valueName ? valueName : "";
    if (record(Call::regQueryValue, keyPathOf(key) + ":" + name)) return 5;
    if (key == regPerformanceData) return answerPerfQuery(valueName, data, size);
    if (key == regLocalMachine) return errorFileNotFound;
    const auto* values = valuesOf(static_cast<OpenKey*>(key)->path);
    if (!values) return errorFileNotFound;
    auto found = values->find(name);
    if (found == values->end()) return errorFileNotFound;
    const RegValue& value = found->second;
    if (type) *type = value.type;
    uint32_t stored = static_cast<uint32_t>(value.data.size());
    if (!data) {
        if (size) *size = stored;
        return errorSuccess;
    }
    if (!size) return 87;
    if (*size < stored) {
        *size = stored;
        return errorMoreData;
    }
    memcpy(data, value.data.data(), stored);
    *size = stored;
    return errorSuccess;
}

int32_t regCloseKey(RegKey key) {
    bool fail = record(Call::regCloseKey, keyPathOf(key));
    if (key == regLocalMachine) return errorSuccess;
    if (key == regPerformanceData) {
        state.keysClosed++;
        return fail ? 6 : errorSuccess;
    }
    auto live = std::find(liveKeys.begin(), liveKeys.end(), static_cast<OpenKey*>(key));
    if (live == liveKeys.end()) return 6; // not open: a double close or a stray handle
    auto open = std::find(state.openKeys.begin(), state.openKeys.end(), (*live)->path);
    if (open != state.openKeys.end()) state.openKeys.erase(open);
    delete *live;
    liveKeys.erase(live);
    state.keysClosed++;
    return fail ? 6 : errorSuccess;
}

uint32_t getModulePath(char* buffer, uint32_t size) {
    if (record(Call::getModulePath, "")) return 0;
    if (size == 0) return 0;
    const std::string& path = state.modulePath;
    if (path.size() >= size) {
        memcpy(buffer, path.data(), size - 1);
        buffer[size - 1] = '\0';
        return size;
    }
    memcpy(buffer, path.c_str(), path.size() + 1);
    return static_cast<uint32_t>(path.size());
}

bool pathExists(const char* path) {
    if (record(Call::pathExists, path)) return false;
    return std::find(state.existingPaths.begin(), state.existingPaths.end(), path) !=
           state.existingPaths.end();
}

FILE* openTextFile(const char* path) {
    if (record(Call::openTextFile, path)) return nullptr;
    return openHostTextFile(path);
}

bool reopenStdout(const char* path) {
    if (record(Call::reopenStdout, path)) return false;
    return reopenHostStream(path, "w", stdout);
}

bool reopenStderr(const char* path) {
    if (record(Call::reopenStderr, path)) return false;
    return reopenHostStream(path, "a+", stderr);
}

static uint32_t lastError;

LibHandle loadLibrary(const char* path) {
    if (!record(Call::loadLibrary, path)) {
        auto found = state.libraries.find(path);
        auto needs = state.dependencyFolders.find(path);
        if (needs != state.dependencyFolders.end() && needs->second != state.libraryDirectory) {
            lastError = 126;
            return nullptr;
        }
        if (found != state.libraries.end()) return found->second;
    }
    lastError = state.loadError;
    return nullptr;
}

bool addLibraryDirectory(const char* directory) {
    if (record(Call::addLibraryDirectory, directory)) return false;
    state.libraryDirectory = directory;
    return true;
}

void removeLibraryDirectory() {
    if (record(Call::removeLibraryDirectory, "")) return;
    state.libraryDirectory.clear();
}

LibHandle findLoadedModule(const char* name) {
    if (record(Call::findLoadedModule, name) || !state.hasKernel32 ||
        strcmp(name, "KERNEL32.DLL") != 0)
        return nullptr;
    return &kernelToken;
}

void* findSymbol(LibHandle library, const char* name) {
    if (record(Call::findSymbol, name)) return nullptr;
    if (library == &kernelToken) {
        if (!state.hasToolHelp) return nullptr;
        if (strcmp(name, "CreateToolhelp32Snapshot") == 0) return &createToken;
        if (strcmp(name, "Process32First") == 0) return &firstToken;
        if (strcmp(name, "Process32Next") == 0) return &nextToken;
        return nullptr;
    }
    for (const auto& lib : state.libraries) {
        if (lib.second != library) continue;
        auto found = state.symbols.find(lib.first + "!" + name);
        if (found != state.symbols.end()) return found->second;
    }
    lastError = 127;
    return nullptr;
}

uint32_t lastErrorCode() { return lastError; }

// 1157's text breaks its line, as some of the system's texts do.
bool describeError(uint32_t code, char* text, size_t size) {
    const char* message = code == 126   ? "The specified module could not be found."
                          : code == 127 ? "The specified procedure could not be found."
                          : code == 193 ? "%1 is not a valid Win32 application."
                          : code == 1157 ? "One of the library files needed to run this\r\n"
                                           "application cannot be found."
                                        : nullptr;
    if (!message || strlen(message) >= size) return false;
    strcpy(text, message);
    return true;
}

uint32_t getPlatformId() {
    if (record(Call::getPlatformId, "")) return 0;
    return state.platformId;
}

// The captured blocks hold ASCII names; anything else does not convert.
int wideToAnsi(const uint16_t* wide, char* out, int outSize) {
    std::string name;
    for (size_t i = 0; wide[i]; ++i) {
        if (wide[i] >= 0x80) return 0;
        name += static_cast<char>(wide[i]);
    }
    if (record(Call::wideToAnsi, name)) return 0;
    if (static_cast<int>(name.size()) + 1 > outSize) return 0;
    memcpy(out, name.c_str(), name.size() + 1);
    return static_cast<int>(name.size()) + 1;
}

SnapshotHandle callCreateSnapshot(void* createSnapshot, uint32_t flags, uint32_t) {
    if (record(Call::createSnapshot, "") || createSnapshot != &createToken || flags != snapProcess)
        return invalidSnapshot;
    state.snapshotsOpen++;
    snapshotCursor = 0;
    return &snapshotToken;
}

int callProcessWalk(void* walk, SnapshotHandle snapshot, ProcessEntry* entry) {
    if (record(Call::processWalk, walk == &firstToken ? "first" : "next")) return 0;
    if (snapshot != &snapshotToken || entry->dwSize != sizeof(ProcessEntry)) return 0;
    if (walk == &firstToken) snapshotCursor = 0;
    else if (walk != &nextToken) return 0;
    if (snapshotCursor >= state.processes.size()) return 0;
    const std::string& name = state.processes[snapshotCursor++];
    size_t n = std::min(name.size(), sizeof entry->szExeFile - 1);
    memcpy(entry->szExeFile, name.data(), n);
    entry->szExeFile[n] = '\0';
    return 1;
}

void closeSnapshot(SnapshotHandle snapshot) {
    record(Call::closeSnapshot, "");
    if (snapshot == &snapshotToken) state.snapshotsOpen--;
}

int showMessageBox(const char* text, const char* caption, unsigned style) {
    fflush(stdout);
    if (record(Call::showMessageBox, text)) return 0;
    state.messageBoxes.push_back({text, caption, style});
    return 1;
}

void* allocate(size_t size) {
    if (record(Call::allocate, std::to_string(size))) return nullptr;
    void* block = malloc(size ? size : 1);
    if (block) blockSizes[block] = size;
    return block;
}

void* reallocate(void* block, size_t size) {
    if (record(Call::reallocate, std::to_string(size))) return nullptr;
    auto known = blockSizes.find(block);
    size_t oldSize = known != blockSizes.end() ? known->second : 0;
    if (known != blockSizes.end()) blockSizes.erase(known);
    void* grown = realloc(block, size ? size : 1);
    if (grown) blockSizes[grown] = size;
    else if (block) blockSizes[block] = oldSize;
    return grown;
}

void release(void* block) {
    auto known = blockSizes.find(block);
    record(Call::release, !block                     ? "null"
                          : known != blockSizes.end() ? std::to_string(known->second)
                                                      : "?");
    if (known != blockSizes.end()) blockSizes.erase(known);
    free(block);
}

void prepareProcess(int, char**) {}
