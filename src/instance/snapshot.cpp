#include "instance.h"

#include "launcher/util.h"
#include "platform/platform.h"

#include <cstring>

// One record serves the whole walk, and the 95 family takes it only with
// the size it was made for.
static_assert(sizeof(void*) != 4 || sizeof(ProcessEntry) == 296,
              "PROCESSENTRY32 is 296 bytes in a 32-bit program");

namespace {

const size_t exePathSize = sizeof(ProcessEntry::szExeFile);

// szExeFile of the record, terminated within its 260 bytes whatever the
// record holds.
bool entryMatches(const ProcessEntry& entry, const char* fileName) {
    char path[exePathSize + 1];
    memcpy(path, entry.szExeFile, exePathSize);
    path[exePathSize] = '\0';
    return equalsIgnoringAsciiCase(afterLastBackslash(path), fileName);
}

} // namespace

int countRunning95(const char* fileName) {
    LibHandle kernel = findLoadedModule("KERNEL32.DLL");
    if (!kernel) return 0;
    void* createSnapshot = findSymbol(kernel, "CreateToolhelp32Snapshot");
    void* processFirst = findSymbol(kernel, "Process32First");
    void* processNext = findSymbol(kernel, "Process32Next");
    if (!createSnapshot || !processFirst || !processNext) return 0;
    SnapshotHandle snapshot = callCreateSnapshot(createSnapshot, snapProcess, 0);
    if (snapshot == invalidSnapshot) return 0;

    ProcessEntry entry;
    memset(&entry, 0, sizeof entry);
    entry.dwSize = sizeof entry;
    int count = 0;
    for (int more = callProcessWalk(processFirst, snapshot, &entry); more;
         more = callProcessWalk(processNext, snapshot, &entry))
        if (entryMatches(entry, fileName)) ++count;
    closeSnapshot(snapshot);
    return count;
}
