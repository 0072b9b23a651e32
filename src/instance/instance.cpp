#include "instance.h"

#include "perfdata.h"
#include "launcher/util.h"
#include "platform/platform.h"

#include <cstdint>
#include <cstring>

namespace {

const char* const perflibPath = "software\\microsoft\\windows nt\\currentversion\\perflib";
const unsigned englishLanguage = 9;
const char* const countersValue = "Counters";
const char* const processObjectName = "process";
const uint32_t firstDataSize = 51200;
const uint32_t dataGrowth = 25600;
// Beyond this the data is not worth a launcher's start-up.
const uint32_t dataSizeCap = 64u * 1024 * 1024;

// What countRunningNT holds at a given moment; all of it goes on return.
struct Holdings {
    RegKey counterKey = nullptr;
    unsigned char* buffer = nullptr;
};

void releaseHoldings(Holdings* held) {
    if (held->buffer) release(held->buffer);
    held->buffer = nullptr;
    if (held->counterKey) regCloseKey(held->counterKey);
    regCloseKey(regPerformanceData);
}

unsigned char* allocateZeroed(uint32_t size) {
    unsigned char* block = static_cast<unsigned char*>(allocate(size));
    if (block) memset(block, 0, size);
    return block;
}

// The index text of the process object, from the English counter names.
bool readProcessIndex(Holdings* held, char* indexText) {
    char keyPath[128];
    if (!formatPath(keyPath, sizeof keyPath, "%s\\%03x", perflibPath, englishLanguage))
        return false;
    if (regOpenKey(regLocalMachine, keyPath, keyRead, &held->counterKey) != errorSuccess) {
        held->counterKey = nullptr;
        return false;
    }
    uint32_t size = 0;
    if (regQueryValue(held->counterKey, countersValue, nullptr, nullptr, &size) != errorSuccess)
        return false;
    uint32_t capacity = size;
    held->buffer = allocateZeroed(capacity);
    if (!held->buffer) return false;
    if (regQueryValue(held->counterKey, countersValue, nullptr, held->buffer, &size) !=
            errorSuccess ||
        size > capacity)
        return false;
    bool found = findCounterIndex(reinterpret_cast<const char*>(held->buffer), size,
                                  processObjectName, indexText);
    release(held->buffer);
    held->buffer = nullptr;
    return found;
}

// Queries the performance data of the object, growing the buffer while
// the answer is 234; the size of the data, or 0 when there is none.
uint32_t queryPerformanceData(Holdings* held, const char* indexText) {
    uint32_t capacity = firstDataSize;
    held->buffer = allocateZeroed(capacity);
    if (!held->buffer) return 0;
    uint32_t size = capacity;
    for (;;) {
        int32_t answer = regQueryValue(regPerformanceData, indexText, nullptr, held->buffer, &size);
        if (answer == errorSuccess) return size <= capacity ? size : 0;
        if (answer != errorMoreData || size > dataSizeCap - dataGrowth) return 0;
        size += dataGrowth;
        void* grown = reallocate(held->buffer, size);
        if (!grown) return 0; // the old buffer is still held and released
        held->buffer = static_cast<unsigned char*>(grown);
        capacity = size;
        memset(held->buffer, 0, capacity);
    }
}

int countFromPerformanceData(Holdings* held, const char* fileName) {
    char indexText[indexTextSize];
    if (!readProcessIndex(held, indexText)) return -1;
    uint32_t size = queryPerformanceData(held, indexText);
    if (size == 0 || !hasPerfSignature(held->buffer, size)) return -1;
    return countNamedInstances(held->buffer, size, fileName);
}

} // namespace

int countRunningNT(const char* fileName) {
    Holdings held;
    int count = countFromPerformanceData(&held, fileName);
    releaseHoldings(&held);
    return count;
}

int countRunning(const char* fileName) {
    uint32_t platform = getPlatformId();
    if (platform == platformWinNT) return countRunningNT(fileName);
    if (platform == platformWin95) return countRunning95(fileName);
    writeOut("countRunning requires Windows NT or Windows 95\n");
    return 1;
}
