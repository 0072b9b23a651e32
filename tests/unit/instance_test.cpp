// The choice of the counting method by Windows family, and what a count
// above 1 does to a whole launch.
#include "harness.h"
#include "perf_block.h"
#include "instance/instance.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <ostream>

namespace {

const char* const launcherPath = "C:\\App\\launcher.exe";
const std::string counterKey = "software\\microsoft\\windows nt\\currentversion\\perflib\\009";

void countInChild(void*) { fprintf(stderr, "%d", countRunning("launcher.exe")); }

bool called(const std::vector<fake::CallRecord>& calls, fake::Call kind) {
    for (const auto& call : calls)
        if (call.call == kind) return true;
    return false;
}

void twoOnTheNTFamily() {
    fake::setRegValue(counterKey, "Counters", regTypeBinary,
                      perf::counterList({"2", "System", "230", "Process"}));
    fake::state.perfData = perf::build({"launcher", "Idle", "LAUNCHER"}).bytes;
}

class NeitherFamily : public testing::TestWithParam<uint32_t> {};

TEST_P(NeitherFamily, WritesTheMessageAndCountsOne) {
    fake::reset();
    twoOnTheNTFamily();
    fake::state.processes = {"launcher.exe", "launcher.exe"};
    fake::state.platformId = GetParam();
    TempDir dir;
    LaunchRun run = runInChild(dir.path, countInChild, nullptr);
    EXPECT_EQ(run.out, "countRunning requires Windows NT or Windows 95\n");
    EXPECT_EQ(run.err, "1");
    EXPECT_FALSE(called(run.calls, fake::Call::regOpenKey));
    EXPECT_FALSE(called(run.calls, fake::Call::findLoadedModule));
}

INSTANTIATE_TEST_SUITE_P(PlatformIds, NeitherFamily, testing::Values(0u, 3u));

TEST(CountRunning, FailedVersionQueryIsNeitherFamily) {
    fake::reset();
    fake::state.failNth[fake::Call::getPlatformId] = 0;
    TempDir dir;
    LaunchRun run = runInChild(dir.path, countInChild, nullptr);
    EXPECT_EQ(run.out, "countRunning requires Windows NT or Windows 95\n");
    EXPECT_EQ(run.err, "1");
}

TEST(CountRunning, NTFamilyCountsFromThePerformanceData) {
    fake::reset();
    twoOnTheNTFamily();
    fake::state.processes = {"launcher.exe"};
    fake::state.platformId = platformWinNT;
    EXPECT_EQ(countRunning("launcher.exe"), 2);
    EXPECT_FALSE(called(fake::state.calls, fake::Call::findLoadedModule));
}

TEST(CountRunning, Win95FamilyCountsFromTheSnapshot) {
    fake::reset();
    twoOnTheNTFamily();
    fake::state.processes = {"C:\\App\\launcher.exe", "C:\\Other\\launcher.exe", "x.exe"};
    fake::state.platformId = platformWin95;
    EXPECT_EQ(countRunning("launcher.exe"), 2);
    EXPECT_FALSE(called(fake::state.calls, fake::Call::regOpenKey));
}

// A second instance: the launch stops before the configuration, so its
// log file setting has no effect.
struct SecondStart {
    const char* name;
    void (*setUp)();
};

void PrintTo(const SecondStart& c, std::ostream* os) { *os << c.name; }

class SecondInstance : public testing::TestWithParam<SecondStart> {};

TEST_P(SecondInstance, IsRefusedWithCode10BeforeTheConfiguration) {
    fake::reset();
    GetParam().setUp();
    TempDir dir;
    dir.write("Vintral.cfg", "logfilename=guard.log\nmainclass=App\n");
    LaunchRun run = runLaunch(dir.path, {launcherPath, "-f", "Vintral.cfg", "arg"});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out, "Executing launcher.exe.\n");
    EXPECT_EQ(run.err, "Another instance process is already running!\n");
    ASSERT_EQ(run.boxes.size(), 1u);
    EXPECT_EQ(run.boxes[0].text, "Another instance process is already running!");
    EXPECT_FALSE(called(run.calls, fake::Call::openTextFile));
    EXPECT_FALSE(called(run.calls, fake::Call::reopenStdout));
    EXPECT_FALSE(std::ifstream(dir.file("guard.log")).good());
    EXPECT_TRUE(run.openKeys.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Families, SecondInstance,
    testing::Values(SecondStart{"NT",
                                [] {
                                    fake::state.platformId = platformWinNT;
                                    twoOnTheNTFamily();
                                }},
                    SecondStart{"Win95",
                                [] {
                                    fake::state.platformId = platformWin95;
                                    fake::state.processes = {"C:\\App\\launcher.exe",
                                                             "C:\\App\\LAUNCHER.EXE"};
                                }}),
    [](const testing::TestParamInfo<SecondStart>& info) { return std::string(info.param.name); });

// Counts that let the launch go on: it reads its configuration.
struct GoOn {
    const char* name;
    void (*setUp)();
};

void PrintTo(const GoOn& c, std::ostream* os) { *os << c.name; }

class LoneInstance : public testing::TestWithParam<GoOn> {};

TEST_P(LoneInstance, GoesOnToTheConfiguration) {
    fake::reset();
    GetParam().setUp();
    TempDir dir;
    LaunchRun run = runLaunch(dir.path, {launcherPath});
    EXPECT_TRUE(called(run.calls, fake::Call::openTextFile));
    EXPECT_EQ(run.status, 1); // no configuration: code 11
    ASSERT_EQ(run.boxes.size(), 1u);
    EXPECT_EQ(run.boxes[0].text, "Could not open configuration file. Program will exit!");
}

INSTANTIATE_TEST_SUITE_P(
    Counts, LoneInstance,
    testing::Values(GoOn{"CountOne",
                         [] {
                             fake::state.platformId = platformWin95;
                             fake::state.processes = {"C:\\App\\launcher.exe"};
                         }},
                    GoOn{"CountZero", [] { fake::state.platformId = platformWin95; }},
                    GoOn{"CountNotTaken", [] { fake::state.platformId = platformWinNT; }},
                    GoOn{"NeitherFamily", [] { fake::state.platformId = 0; }}),
    [](const testing::TestParamInfo<GoOn>& info) { return std::string(info.param.name); });

} // namespace
