#include "perfdata.h"

#include "launcher/util.h"
#include "platform/platform.h"

#include <cstdint>
#include <cstring>

namespace {

// What the walk reads of each structure, in bytes from its start.
const size_t headerLengthAt = 24;     // PERF_DATA_BLOCK.HeaderLength
const size_t definitionLengthAt = 4;  // PERF_OBJECT_TYPE.DefinitionLength
const size_t numInstancesAt = 40;     // PERF_OBJECT_TYPE.NumInstances
const size_t nameOffsetAt = 16;       // PERF_INSTANCE_DEFINITION.NameOffset
const size_t instanceDefinitionSize = 24;
const size_t counterBlockSize = 4;    // PERF_COUNTER_BLOCK: ByteLength alone

const size_t convertedNameSize = 260;
const char* const unknownName = "unknown";

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// The digits at the end of the string whose terminator is at terminator.
bool copyIndexText(const char* list, const char* terminator, char* indexText) {
    const char* start = terminator;
    while (start > list && isDigit(start[-1])) --start;
    size_t length = static_cast<size_t>(terminator - start);
    if (length >= indexTextSize) return false;
    memcpy(indexText, start, length);
    indexText[length] = '\0';
    return true;
}

// The block is little-endian whatever the host.
uint32_t readUnsigned(const unsigned char* at) {
    return static_cast<uint32_t>(at[0]) | static_cast<uint32_t>(at[1]) << 8 |
           static_cast<uint32_t>(at[2]) << 16 | static_cast<uint32_t>(at[3]) << 24;
}

int32_t readSigned(const unsigned char* at) { return static_cast<int32_t>(readUnsigned(at)); }

bool fits(size_t size, size_t offset, size_t length) {
    return offset <= size && length <= size - offset;
}

// offset + distance, when that still lies inside the block.
bool advance(size_t size, size_t* offset, uint32_t distance) {
    if (*offset > size || distance > size - *offset) return false;
    *offset += distance;
    return true;
}

// The candidate for an instance's name: the converted name with ".exe"
// when there is room for it, the converted name as it stands when there is
// not (257 to 259 bytes), "unknown" when it does not convert.
void makeCandidate(const uint16_t* name, char* candidate) {
    char converted[convertedNameSize];
    int written = wideToAnsi(name, converted, static_cast<int>(sizeof converted));
    if (written <= 0 || static_cast<size_t>(written) > sizeof converted) {
        strcpy(candidate, unknownName);
        return;
    }
    size_t length = static_cast<size_t>(written) - 1;
    memcpy(candidate, converted, length);
    candidate[length] = '\0';
    if (length + 4 <= convertedNameSize) memcpy(candidate + length, ".exe", 5);
}

// Whether the instance at instance matches (1 or 0), and where the next
// one starts; -1 when the instance does not lie inside the block.
int matchInstance(const unsigned char* block, size_t size, size_t* instance,
                  const char* fileName) {
    if (!fits(size, *instance, instanceDefinitionSize)) return -1;
    const unsigned char* definition = block + *instance;
    uint32_t byteLength = readUnsigned(definition);
    size_t name = *instance;
    if (!advance(size, &name, readUnsigned(definition + nameOffsetAt))) return -1;
    // The name is read in 16-bit units, so it must start on one.
    if (reinterpret_cast<uintptr_t>(block + name) % alignof(uint16_t) != 0) return -1;
    size_t end = name;
    for (;; end += 2) {
        if (!fits(size, end, 2)) return -1;
        if (block[end] == 0 && block[end + 1] == 0) break;
    }
    size_t counters = *instance;
    if (byteLength < instanceDefinitionSize || !advance(size, &counters, byteLength) ||
        !fits(size, counters, counterBlockSize))
        return -1;
    uint32_t countersLength = readUnsigned(block + counters);
    if (countersLength < counterBlockSize) return -1;
    // The next instance may lie beyond the block; it is checked when read.
    *instance = counters + countersLength;
    if (*instance < counters) return -1;

    char candidate[convertedNameSize + 1];
    makeCandidate(reinterpret_cast<const uint16_t*>(block + name), candidate);
    return equalsIgnoringAsciiCase(candidate, fileName) ? 1 : 0;
}

} // namespace

bool findCounterIndex(const char* list, size_t size, const char* name, char* indexText) {
    indexText[0] = '\0';
    const char* lastMatch = nullptr;
    size_t at = 0;
    for (;;) {
        if (at >= size) return false; // no empty string ends the list
        if (list[at] == '\0') break;
        const char* terminator = static_cast<const char*>(memchr(list + at, '\0', size - at));
        if (!terminator) return false;
        if (equalsIgnoringAsciiCase(list + at, name)) lastMatch = list + at;
        at = static_cast<size_t>(terminator - list) + 1;
    }
    // A match on the first string has no string before it to give an index.
    if (!lastMatch || lastMatch == list) return false;
    return copyIndexText(list, lastMatch - 1, indexText);
}

bool hasPerfSignature(const unsigned char* block, size_t size) {
    static const unsigned char signature[8] = {'P', 0, 'E', 0, 'R', 0, 'F', 0};
    return size >= sizeof signature && memcmp(block, signature, sizeof signature) == 0;
}

int countNamedInstances(const unsigned char* block, size_t size, const char* fileName) {
    if (!fits(size, headerLengthAt, 4)) return -1;
    size_t object = readUnsigned(block + headerLengthAt);
    if (!fits(size, object, numInstancesAt + 4)) return -1;
    int32_t instances = readSigned(block + object + numInstancesAt);
    if (instances <= 0) return 0;
    size_t instance = object;
    if (!advance(size, &instance, readUnsigned(block + object + definitionLengthAt))) return -1;
    int count = 0;
    for (int32_t i = 0; i < instances; ++i) {
        int match = matchInstance(block, size, &instance, fileName);
        if (match < 0) return -1;
        count += match;
    }
    return count;
}
