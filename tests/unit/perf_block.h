// Performance data blocks laid out byte for byte as the registry returns
// them (winperf.h, little-endian): a PERF_DATA_BLOCK with a system name,
// one PERF_OBJECT_TYPE with one PERF_COUNTER_DEFINITION, and for each
// instance a PERF_INSTANCE_DEFINITION, its UTF-16 name padded to 8 bytes and
// a PERF_COUNTER_BLOCK with one 32-bit counter.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace perf {

// Where the parts of a block lie, for tests that spoil one of them.
struct Block {
    std::string bytes;
    size_t object = 0;
    std::vector<size_t> instances;     // each PERF_INSTANCE_DEFINITION
    std::vector<size_t> names;         // each instance's name
    std::vector<size_t> counterBlocks; // each PERF_COUNTER_BLOCK
};

// Field offsets within their structures.
const size_t headerLengthAt = 24;
const size_t definitionLengthAt = 4;
const size_t numInstancesAt = 40;
const size_t instanceByteLengthAt = 0;
const size_t nameOffsetAt = 16;

inline void put32(std::string& bytes, size_t at, uint32_t value) {
    for (int i = 0; i < 4; ++i) bytes[at + i] = static_cast<char>((value >> (8 * i)) & 0xFF);
}

inline void put16(std::string& bytes, size_t at, uint16_t value) {
    bytes[at] = static_cast<char>(value & 0xFF);
    bytes[at + 1] = static_cast<char>(value >> 8);
}

inline std::u16string wide(const std::string& ascii) { return std::u16string(ascii.begin(), ascii.end()); }

inline size_t appendZeros(std::string& bytes, size_t count) {
    size_t at = bytes.size();
    bytes.append(count, '\0');
    return at;
}

// name with its 0 unit, padded to a multiple of 8 bytes; returns its start.
inline size_t appendName(std::string& bytes, const std::u16string& name) {
    size_t length = (name.size() + 1) * 2;
    size_t at = appendZeros(bytes, (length + 7) / 8 * 8);
    for (size_t i = 0; i < name.size(); ++i) put16(bytes, at + 2 * i, static_cast<uint16_t>(name[i]));
    return at;
}

inline Block buildWide(const std::vector<std::u16string>& names) {
    Block block;
    std::string& b = block.bytes;
    // PERF_DATA_BLOCK: 88 bytes, then the system name.
    appendZeros(b, 88);
    b.replace(0, 8, std::string("P\0E\0R\0F\0", 8));
    put32(b, 8, 1);   // LittleEndian
    put32(b, 12, 1);  // Version
    put32(b, 16, 1);  // Revision
    put32(b, 28, 1);  // NumObjectTypes
    put32(b, 32, 230); // DefaultObject
    size_t systemName = appendName(b, u"TESTBOX");
    put32(b, 80, 16); // SystemNameLength
    put32(b, 84, static_cast<uint32_t>(systemName));
    put32(b, headerLengthAt, static_cast<uint32_t>(b.size()));

    // PERF_OBJECT_TYPE (64 bytes) and one PERF_COUNTER_DEFINITION (40 bytes).
    block.object = appendZeros(b, 64 + 40);
    size_t at = block.object;
    put32(b, at + definitionLengthAt, 104);
    put32(b, at + 8, 64);      // HeaderLength
    put32(b, at + 12, 230);    // ObjectNameTitleIndex
    put32(b, at + 32, 1);      // NumCounters
    put32(b, at + numInstancesAt, static_cast<uint32_t>(names.size()));
    put32(b, at + 64, 40);     // the counter's ByteLength
    put32(b, at + 64 + 36, 4); // its CounterOffset in the counter block

    for (const auto& name : names) {
        size_t instance = appendZeros(b, 24);
        size_t nameAt = appendName(b, name);
        put32(b, instance + instanceByteLengthAt, static_cast<uint32_t>(b.size() - instance));
        put32(b, instance + nameOffsetAt, 24);
        put32(b, instance + 20, static_cast<uint32_t>((name.size() + 1) * 2)); // NameLength
        size_t counters = appendZeros(b, 8);
        put32(b, counters, 8);
        put32(b, counters + 4, 42);
        block.instances.push_back(instance);
        block.names.push_back(nameAt);
        block.counterBlocks.push_back(counters);
    }
    put32(b, block.object, static_cast<uint32_t>(b.size() - block.object)); // TotalByteLength
    put32(b, 20, static_cast<uint32_t>(b.size()));                           // TotalByteLength
    return block;
}

inline Block build(const std::vector<std::string>& asciiNames) {
    std::vector<std::u16string> names;
    for (const auto& name : asciiNames) names.push_back(wide(name));
    return buildWide(names);
}

// A counter-name list from its strings, ended by the empty string.
inline std::string counterList(const std::vector<std::string>& strings) {
    std::string list;
    for (const auto& s : strings) list += s + '\0';
    return list + '\0';
}

} // namespace perf
