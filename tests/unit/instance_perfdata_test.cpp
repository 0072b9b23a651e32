// The pure walks of the NT family's count over laid-out buffers. Every
// buffer is handed over in a heap block of exactly its size, so a read past
// its end shows under a memory checker.
#include "perf_block.h"
#include "instance/perfdata.h"
#include "platform/fake.h"

#include <gtest/gtest.h>

#include <cctype>
#include <cstring>
#include <ostream>

namespace {

int count(const std::string& bytes, const char* fileName) {
    std::vector<unsigned char> exact(bytes.begin(), bytes.end());
    return countNamedInstances(exact.data(), exact.size(), fileName);
}

struct IndexResult {
    bool found;
    std::string text;
};

IndexResult index(const std::string& list, const char* name = "process") {
    std::vector<char> exact(list.begin(), list.end());
    char text[indexTextSize];
    memset(text, 'x', sizeof text);
    bool found = findCounterIndex(exact.data(), exact.size(), name, text);
    return {found, text};
}

struct InstanceCase {
    const char* what;
    std::vector<std::string> names;
    std::string fileName;
    int expected;
};

// Test names from the cases' descriptions.
template <typename Case> std::string caseName(const testing::TestParamInfo<Case>& info) {
    std::string name;
    for (const char* c = info.param.what; *c; ++c)
        name += isalnum(static_cast<unsigned char>(*c)) ? *c : '_';
    return name;
}

// A failing case shows its description, not its bytes.
template <typename Case> void printCase(const Case& c, std::ostream* os) { *os << c.what; }

void PrintTo(const InstanceCase& c, std::ostream* os) { printCase(c, os); }

class NamedInstances : public testing::TestWithParam<InstanceCase> {};

TEST_P(NamedInstances, Count) {
    fake::reset();
    const InstanceCase& c = GetParam();
    EXPECT_EQ(count(perf::build(c.names).bytes, c.fileName.c_str()), c.expected) << c.what;
}

const std::string name256(256, 'n');
const std::string name257(257, 'n');
const std::string name259(259, 'n');
const std::string name260(260, 'n');

INSTANTIATE_TEST_SUITE_P(
    Walk, NamedInstances,
    testing::Values(
        InstanceCase{"one among others", {"System", "launcher", "explorer"}, "LAUNCHER.EXE", 1},
        InstanceCase{"two", {"launcher", "svchost", "Launcher"}, "launcher.exe", 2},
        InstanceCase{"file name without extension", {"launcher"}, "launcher", 0},
        InstanceCase{"name already ending in .exe", {"launcher.exe"}, "launcher.exe", 0},
        InstanceCase{"name ending in .exe gets a second", {"launcher.exe"}, "launcher.exe.exe", 1},
        InstanceCase{"first and last compared", {"launcher", "a", "b", "launcher"}, "launcher.exe", 2},
        InstanceCase{"no instances", {}, "launcher.exe", 0},
        InstanceCase{"256 bytes get .exe", {name256}, name256 + ".exe", 1},
        InstanceCase{"256 bytes are not matched bare", {name256}, name256, 0},
        InstanceCase{"257 bytes compared as they stand", {name257}, name257, 1},
        InstanceCase{"257 bytes get no .exe", {name257}, name257 + ".exe", 0},
        InstanceCase{"259 bytes compared as they stand", {name259}, name259, 1},
        InstanceCase{"260 bytes do not convert", {name260}, "unknown", 1}),
    caseName<InstanceCase>);

TEST(NamedInstances, NameThatCannotBeConvertedIsUnknown) {
    fake::reset();
    perf::Block block = perf::buildWide({u"launcher", u"caf\u00e9", u"\u30c6"});
    EXPECT_EQ(count(block.bytes, "UNKNOWN"), 2);
    EXPECT_EQ(count(block.bytes, "caf.exe"), 0);
}

TEST(NamedInstances, NoInstancesMarkerCountsZero) {
    fake::reset();
    perf::Block block = perf::build({});
    perf::put32(block.bytes, block.object + perf::numInstancesAt, 0xFFFFFFFF); // PERF_NO_INSTANCES
    EXPECT_EQ(count(block.bytes, "launcher.exe"), 0);
}

TEST(NamedInstances, OnlyTheFirstObjectIsExamined) {
    fake::reset();
    perf::Block first = perf::build({"other"});
    perf::Block second = perf::build({"launcher"});
    std::string both = first.bytes + second.bytes.substr(second.object);
    perf::put32(both, 28, 2); // NumObjectTypes
    EXPECT_EQ(count(both, "launcher.exe"), 0);
}

// A block spoiled in one place; every one of them gives -1.
struct MalformedCase {
    const char* what;
    void (*spoil)(perf::Block& block);
};

void PrintTo(const MalformedCase& c, std::ostream* os) { printCase(c, os); }

class MalformedBlock : public testing::TestWithParam<MalformedCase> {};

TEST_P(MalformedBlock, GivesMinusOne) {
    fake::reset();
    perf::Block block = perf::build({"launcher", "launcher"});
    ASSERT_EQ(count(block.bytes, "launcher.exe"), 2);
    GetParam().spoil(block);
    EXPECT_EQ(count(block.bytes, "launcher.exe"), -1) << GetParam().what;
}

void putAt(perf::Block& b, size_t at, uint32_t value) { perf::put32(b.bytes, at, value); }

INSTANTIATE_TEST_SUITE_P(
    Bounds, MalformedBlock,
    testing::Values(
        MalformedCase{"shorter than the header", [](perf::Block& b) { b.bytes.resize(27); }},
        MalformedCase{"header length past the end",
                      [](perf::Block& b) {
                          putAt(b, perf::headerLengthAt, static_cast<uint32_t>(b.bytes.size()));
                      }},
        MalformedCase{"object cut before its instance count",
                      [](perf::Block& b) { b.bytes.resize(b.object + 43); }},
        MalformedCase{"header length wraps around",
                      [](perf::Block& b) { putAt(b, perf::headerLengthAt, 0xFFFFFFF0); }},
        MalformedCase{"definition length past the end",
                      [](perf::Block& b) {
                          putAt(b, b.object + perf::definitionLengthAt, 0x7FFFFFF0);
                      }},
        MalformedCase{"more instances than the block holds",
                      [](perf::Block& b) { putAt(b, b.object + perf::numInstancesAt, 3); }},
        MalformedCase{"block cut inside the last instance's name",
                      [](perf::Block& b) { b.bytes.resize(b.names[1] + 6); }},
        MalformedCase{"block cut before the last counter block",
                      [](perf::Block& b) { b.bytes.resize(b.counterBlocks[1] + 2); }},
        MalformedCase{"name offset past the end",
                      [](perf::Block& b) {
                          putAt(b, b.instances[1] + perf::nameOffsetAt, 0x10000);
                      }},
        MalformedCase{"name offset not on a 16-bit unit",
                      [](perf::Block& b) { putAt(b, b.instances[0] + perf::nameOffsetAt, 25); }},
        MalformedCase{"name without its 0 unit",
                      [](perf::Block& b) {
                          // The last name runs up to the block's end.
                          size_t from = b.names[1];
                          for (size_t at = from; at < b.bytes.size(); at += 2)
                              perf::put16(b.bytes, at, 'x');
                          putAt(b, b.instances[1] + perf::nameOffsetAt,
                                static_cast<uint32_t>(from - b.instances[1]));
                      }},
        MalformedCase{"instance length past the end",
                      [](perf::Block& b) {
                          putAt(b, b.instances[1] + perf::instanceByteLengthAt, 0x1000);
                      }},
        MalformedCase{"instance length shorter than its definition",
                      [](perf::Block& b) {
                          putAt(b, b.instances[0] + perf::instanceByteLengthAt, 0);
                      }},
        MalformedCase{"counter block length past the end",
                      [](perf::Block& b) { putAt(b, b.counterBlocks[0], 0xFFFFFFFF); }},
        MalformedCase{"counter block length of 0",
                      [](perf::Block& b) { putAt(b, b.counterBlocks[0], 0); }}),
    caseName<MalformedCase>);

TEST(PerfSignature, FourUnitsPERF) {
    std::string good = perf::build({}).bytes;
    std::vector<unsigned char> bytes(good.begin(), good.end());
    EXPECT_TRUE(hasPerfSignature(bytes.data(), bytes.size()));
    EXPECT_FALSE(hasPerfSignature(bytes.data(), 7));
    bytes[6] = 'X';
    EXPECT_FALSE(hasPerfSignature(bytes.data(), bytes.size()));
    bytes[6] = 'F';
    bytes[7] = 1; // F as the low byte of another unit
    EXPECT_FALSE(hasPerfSignature(bytes.data(), bytes.size()));
}

struct ListCase {
    const char* what;
    std::string list;
    bool found;
    std::string text;
};

void PrintTo(const ListCase& c, std::ostream* os) { printCase(c, os); }

class CounterIndex : public testing::TestWithParam<ListCase> {};

TEST_P(CounterIndex, Walk) {
    const ListCase& c = GetParam();
    IndexResult result = index(c.list);
    EXPECT_EQ(result.found, c.found) << c.what;
    EXPECT_EQ(result.text, c.text) << c.what;
}

using perf::counterList;
const std::string raw(const char* bytes, size_t size) { return std::string(bytes, size); }

INSTANTIATE_TEST_SUITE_P(
    Lists, CounterIndex,
    testing::Values(
        ListCase{"pairs", counterList({"1", "1847", "2", "System", "230", "Process", "232", "Thread"}),
                 true, "230"},
        ListCase{"any case", counterList({"230", "PROCESS"}), true, "230"},
        ListCase{"last match wins", counterList({"230", "process", "240", "Process", "9", "x"}),
                 true, "240"},
        ListCase{"digits kept as text", counterList({"0230", "process"}), true, "0230"},
        ListCase{"digits at the end of the string before", counterList({"a12", "process"}), true,
                 "12"},
        ListCase{"string before ends in a letter", counterList({"ab", "process"}), true, ""},
        ListCase{"whole strings only",
                 counterList({"1", "Processor", "2", "ID Process", "3", "processes"}), false, ""},
        ListCase{"no process entry", counterList({"1", "System"}), false, ""},
        ListCase{"match on the first string", counterList({"process", "1", "x"}), false, ""},
        ListCase{"first string, then a later match", counterList({"process", "7", "process"}), true,
                 "7"},
        ListCase{"empty list", raw("\0", 1), false, ""},
        ListCase{"no bytes at all", "", false, ""},
        ListCase{"no ending empty string", raw("230\0process\0", 12), false, ""},
        ListCase{"last string without terminator", raw("230\0process", 11), false, ""},
        ListCase{"cut off after a later string", raw("230\0process\0" "5\0x", 15), false, ""},
        ListCase{"1023 digits", counterList({std::string(1023, '7'), "process"}), true,
                 std::string(1023, '7')},
        ListCase{"1024 digits", counterList({std::string(1024, '7'), "process"}), false, ""}),
    caseName<ListCase>);

TEST(CounterIndex, NothingAfterTheEndingEmptyStringIsRead) {
    IndexResult result = index(counterList({"230", "process"}) + std::string("240\0process\0\0", 14));
    EXPECT_TRUE(result.found);
    EXPECT_EQ(result.text, "230");
}

} // namespace
