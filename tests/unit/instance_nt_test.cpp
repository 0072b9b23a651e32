// The NT family's count against the fake registry and performance data:
// the order of its platform calls, the growing data query, and that every
// path gives back what it took, in the right order.
#include "perf_block.h"
#include "instance/instance.h"
#include "platform/fake.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <ostream>

namespace {

const std::string counterKey = "software\\microsoft\\windows nt\\currentversion\\perflib\\009";
const std::string standardList =
    perf::counterList({"1", "1847", "2", "System", "230", "Process", "232", "Thread"});
const std::string listSize = std::to_string(standardList.size());

void setCounters(const std::string& list) {
    fake::setRegValue(counterKey, "Counters", regTypeBinary, list);
}

void prepare(const std::vector<std::string>& instances) {
    fake::reset();
    setCounters(standardList);
    fake::state.perfData = perf::build(instances).bytes;
}

// The registry and memory calls of the run, one line each.
std::vector<std::string> resourceCalls() {
    std::vector<std::string> lines;
    for (const auto& call : fake::state.calls) {
        switch (call.call) {
        case fake::Call::regOpenKey:
        case fake::Call::regQueryValue:
        case fake::Call::regCloseKey:
        case fake::Call::allocate:
        case fake::Call::reallocate:
        case fake::Call::release:
            lines.push_back(std::string(fake::callName(call.call)) + " " + call.detail);
            break;
        default:
            break;
        }
    }
    return lines;
}

const std::string openKey = "regOpenKey " + counterKey;
const std::string queryCounters = "regQueryValue " + counterKey + ":Counters";
const std::string allocateList = "allocate " + listSize;
const std::string releaseList = "release " + listSize;
const std::string allocateData = "allocate 51200";
const std::string queryData = "regQueryValue HKPD:230";
const std::string releaseData = "release 51200";
const std::string closeKey = "regCloseKey " + counterKey;
const std::string closePerformanceData = "regCloseKey HKPD";

// A scripted performance data query: each answer is a code and the size it
// leaves; a success with sizeLeft writeBlock copies the block in.
const uint32_t writeBlock = 0xFFFFFFFE;
struct Answer {
    int32_t code;
    uint32_t sizeLeft;
};
std::vector<Answer> answers;
size_t nextAnswer;
std::string scriptedBlock;
bool buffersZeroed;

int32_t scriptedQuery(const std::string&, unsigned char* data, uint32_t* size) {
    if (std::any_of(data, data + *size, [](unsigned char b) { return b != 0; }))
        buffersZeroed = false;
    if (nextAnswer >= answers.size()) return 5;
    Answer answer = answers[nextAnswer++];
    if (answer.code == errorSuccess && answer.sizeLeft == writeBlock) {
        if (*size < scriptedBlock.size()) return 5;
        memcpy(data, scriptedBlock.data(), scriptedBlock.size());
        *size = static_cast<uint32_t>(scriptedBlock.size());
    } else {
        *size = answer.sizeLeft;
    }
    return answer.code;
}

void script(const std::vector<Answer>& list) {
    answers = list;
    nextAnswer = 0;
    buffersZeroed = true;
    scriptedBlock = perf::build({"launcher", "other", "LAUNCHER"}).bytes;
    fake::state.perfQuery = scriptedQuery;
}

TEST(CountRunningNT, CountsFromTheProcessObjectAndGivesAllBackInOrder) {
    prepare({"System", "launcher", "explorer", "Launcher"});
    EXPECT_EQ(countRunningNT("launcher.exe"), 2);
    EXPECT_EQ(fake::state.perfQueryNames, std::vector<std::string>{"230"});
    EXPECT_EQ(fake::state.perfQuerySizes, std::vector<uint32_t>{51200});
    EXPECT_EQ(resourceCalls(),
              (std::vector<std::string>{openKey, queryCounters, allocateList, queryCounters,
                                        releaseList, allocateData, queryData, releaseData,
                                        closeKey, closePerformanceData}));
    EXPECT_TRUE(fake::state.openKeys.empty());
}

TEST(CountRunningNT, EveryAnswer234GrowsFromTheSizeTheQueryLeft) {
    prepare({});
    script({{errorMoreData, 51200}, {errorMoreData, 100000}, {errorSuccess, writeBlock}});
    EXPECT_EQ(countRunningNT("launcher.exe"), 2);
    EXPECT_EQ(fake::state.perfQuerySizes, (std::vector<uint32_t>{51200, 76800, 125600}));
    EXPECT_TRUE(buffersZeroed);
    std::vector<std::string> calls = resourceCalls();
    std::vector<std::string> tail(calls.end() - 9, calls.end());
    EXPECT_EQ(tail, (std::vector<std::string>{allocateData, queryData, "reallocate 76800", queryData,
                                              "reallocate 125600", queryData, "release 125600",
                                              closeKey, closePerformanceData}));
}

TEST(CountRunningNT, DefaultAnswerOfTheFakeGrowsUntilTheBlockFits) {
    prepare({});
    fake::state.perfData = perf::build({"launcher"}).bytes + std::string(60000, '\0');
    EXPECT_EQ(countRunningNT("launcher.exe"), 1);
    EXPECT_EQ(fake::state.perfQuerySizes, (std::vector<uint32_t>{51200, 76800}));
}

const uint32_t sizeCap = 64u * 1024 * 1024;

TEST(CountRunningNT, DataBufferGrowsUpToTheCap) {
    prepare({});
    script({{errorMoreData, sizeCap - 25600}, {errorSuccess, writeBlock}});
    EXPECT_EQ(countRunningNT("launcher.exe"), 2);
    EXPECT_EQ(fake::state.perfQuerySizes, (std::vector<uint32_t>{51200, sizeCap}));
}

struct CapCase {
    const char* what;
    uint32_t sizeLeft;
};

class DataBufferCap : public testing::TestWithParam<CapCase> {};

TEST_P(DataBufferCap, StopsWithMinusOneAndNoFurtherQuery) {
    prepare({});
    script({{errorMoreData, GetParam().sizeLeft}, {errorSuccess, writeBlock}});
    EXPECT_EQ(countRunningNT("launcher.exe"), -1);
    EXPECT_EQ(fake::state.perfQuerySizes, std::vector<uint32_t>{51200});
    std::vector<std::string> calls = resourceCalls();
    EXPECT_EQ(std::count_if(calls.begin(), calls.end(),
                            [](const std::string& c) { return c.rfind("reallocate", 0) == 0; }),
              0);
    EXPECT_EQ(std::vector<std::string>(calls.end() - 3, calls.end()),
              (std::vector<std::string>{releaseData, closeKey, closePerformanceData}));
}

INSTANTIATE_TEST_SUITE_P(Sizes, DataBufferCap,
                         testing::Values(CapCase{"just past the cap", sizeCap - 25600 + 1},
                                         CapCase{"would wrap around", 0xFFFFFFFF}),
                         [](const testing::TestParamInfo<CapCase>& info) {
                             return info.param.sizeLeft == 0xFFFFFFFF ? "WrapAround" : "PastCap";
                         });

// One way to fail, and every call of the registry and memory it makes.
struct FailureCase {
    const char* name;
    void (*setUp)();
    std::vector<std::string> calls;
};

void PrintTo(const FailureCase& c, std::ostream* os) { *os << c.name; }

class CountRunningNTFailure : public testing::TestWithParam<FailureCase> {};

TEST_P(CountRunningNTFailure, GivesMinusOneAndReleasesWhatItHolds) {
    prepare({"launcher", "launcher"});
    GetParam().setUp();
    EXPECT_EQ(countRunningNT("launcher.exe"), -1);
    EXPECT_EQ(resourceCalls(), GetParam().calls);
    EXPECT_TRUE(fake::state.openKeys.empty());
}

void failData(int32_t code, uint32_t size) {
    answers = {{code, size}};
    nextAnswer = 0;
    fake::state.perfQuery = scriptedQuery;
}

const std::vector<std::string> afterList = {openKey, queryCounters, allocateList, queryCounters,
                                            releaseList};

std::vector<std::string> join(std::vector<std::string> a, const std::vector<std::string>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

// The calls for a list that is read and walked, and no data query made.
std::vector<std::string> walkedOnly(const std::string& list) {
    std::string size = std::to_string(list.size());
    return {openKey, queryCounters, "allocate " + size, queryCounters, "release " + size,
            closeKey, closePerformanceData};
}

const std::string noProcessList = perf::counterList({"1", "System", "232", "Thread"});
const std::string firstStringList = perf::counterList({"Process", "1", "System"});
const std::string longIndexList = perf::counterList({std::string(1024, '1'), "process"});
const std::string unendedList("230\0process\0", 12);

const std::vector<std::string> failedDataQuery =
    join(afterList, {allocateData, queryData, releaseData, closeKey, closePerformanceData});
const std::vector<std::string> noDataQuery =
    join(afterList, {closeKey, closePerformanceData});

INSTANTIATE_TEST_SUITE_P(
    Paths, CountRunningNTFailure,
    testing::Values(
        FailureCase{"KeyMissing", [] { fake::state.registry.clear(); },
                    {openKey, closePerformanceData}},
        FailureCase{"KeyRefused", [] { fake::state.failNth[fake::Call::regOpenKey] = 0; },
                    {openKey, closePerformanceData}},
        FailureCase{"SizeQueryFails", [] { fake::state.failNth[fake::Call::regQueryValue] = 0; },
                    {openKey, queryCounters, closeKey, closePerformanceData}},
        FailureCase{"ListAllocationFails", [] { fake::state.failNth[fake::Call::allocate] = 0; },
                    {openKey, queryCounters, allocateList, closeKey, closePerformanceData}},
        FailureCase{"ListReadFails", [] { fake::state.failNth[fake::Call::regQueryValue] = 1; },
                    {openKey, queryCounters, allocateList, queryCounters, releaseList, closeKey,
                     closePerformanceData}},
        FailureCase{"NoProcessEntry", [] { setCounters(noProcessList); },
                    walkedOnly(noProcessList)},
        FailureCase{"MatchOnTheFirstString", [] { setCounters(firstStringList); },
                    walkedOnly(firstStringList)},
        FailureCase{"IndexTextTooLong", [] { setCounters(longIndexList); },
                    walkedOnly(longIndexList)},
        FailureCase{"ListWithoutEnd", [] { setCounters(unendedList); }, walkedOnly(unendedList)},
        FailureCase{"DataAllocationFails", [] { fake::state.failNth[fake::Call::allocate] = 1; },
                    join(afterList, {allocateData, closeKey, closePerformanceData})},
        FailureCase{"DataQueryError", [] { failData(5, 51200); }, failedDataQuery},
        FailureCase{"DataOfSizeZero", [] { failData(errorSuccess, 0); }, failedDataQuery},
        FailureCase{"DataLargerThanTheBuffer", [] { failData(errorSuccess, 51201); },
                    failedDataQuery},
        FailureCase{"SignatureEndingInX",
                    [] {
                        std::string& data = fake::state.perfData;
                        data[6] = 'X';
                    },
                    failedDataQuery},
        FailureCase{"MalformedBlock",
                    [] {
                        perf::Block block = perf::build({"launcher", "launcher"});
                        perf::put32(block.bytes, block.object + perf::numInstancesAt, 9);
                        fake::state.perfData = block.bytes;
                    },
                    failedDataQuery},
        FailureCase{"GrowthFails",
                    [] {
                        failData(errorMoreData, 51200);
                        fake::state.failNth[fake::Call::reallocate] = 0;
                    },
                    join(afterList, {allocateData, queryData, "reallocate 76800", releaseData,
                                     closeKey, closePerformanceData})}),
    [](const testing::TestParamInfo<FailureCase>& info) { return std::string(info.param.name); });

TEST(CountRunningNT, EmptyIndexTextIsQueriedAsItStands) {
    prepare({"launcher"});
    setCounters(perf::counterList({"ab", "process"}));
    EXPECT_EQ(countRunningNT("launcher.exe"), 1);
    EXPECT_EQ(fake::state.perfQueryNames, std::vector<std::string>{""});
}

TEST(CountRunningNT, IndexTextOfTheLastMatchIsQueried) {
    prepare({"launcher"});
    setCounters(perf::counterList({"230", "Process", "0740", "PROCESS", "1", "x"}));
    EXPECT_EQ(countRunningNT("launcher.exe"), 1);
    EXPECT_EQ(fake::state.perfQueryNames, std::vector<std::string>{"0740"});
}

TEST(CountRunningNT, ObjectWithoutInstancesCountsZero) {
    prepare({});
    EXPECT_EQ(countRunningNT("launcher.exe"), 0);
}

} // namespace
