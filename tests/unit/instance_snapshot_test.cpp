// The 95 family's count against the fake tool help snapshot.
#include "instance/instance.h"
#include "platform/fake.h"

#include <gtest/gtest.h>

#include <cctype>
#include <ostream>

namespace {

struct SnapshotCase {
    const char* what;
    std::vector<std::string> paths;
    const char* fileName;
    int expected;
};

void PrintTo(const SnapshotCase& c, std::ostream* os) { *os << c.what; }

class BaseNameRule : public testing::TestWithParam<SnapshotCase> {};

TEST_P(BaseNameRule, Count) {
    fake::reset();
    fake::state.platformId = platformWin95;
    fake::state.processes = GetParam().paths;
    EXPECT_EQ(countRunning95(GetParam().fileName), GetParam().expected);
    EXPECT_EQ(fake::state.snapshotsOpen, 0);
}

INSTANTIATE_TEST_SUITE_P(
    Paths, BaseNameRule,
    testing::Values(
        SnapshotCase{"one among others", {"C:\\WINDOWS\\EXPLORER.EXE", "C:\\APPS\\LAUNCHER.EXE"},
                     "launcher.exe", 1},
        SnapshotCase{"directory plays no part", {"C:\\APPS\\LAUNCHER.EXE", "D:\\OTHER\\launcher.exe"},
                     "launcher.exe", 2},
        SnapshotCase{"no backslash: whole path", {"LAUNCHER.EXE"}, "launcher.exe", 1},
        SnapshotCase{"forward slashes do not separate", {"C:/APPS/LAUNCHER.EXE"}, "launcher.exe", 0},
        SnapshotCase{"drive colon does not separate", {"C:LAUNCHER.EXE"}, "launcher.exe", 0},
        SnapshotCase{"ending in a backslash", {"C:\\APPS\\"}, "launcher.exe", 0},
        SnapshotCase{"file name without extension", {"C:\\APPS\\LAUNCHER.EXE"}, "launcher", 0},
        SnapshotCase{"whole strings only", {"C:\\launcher.exe.old", "C:\\my launcher.exe"},
                     "launcher.exe", 0},
        SnapshotCase{"case of other bytes kept", {"C:\\LAUNCHER\xC9.EXE"}, "launcher\xE9.exe", 0},
        SnapshotCase{"last entry counted", {"C:\\a.exe", "C:\\b.exe", "C:\\x\\launcher.exe"},
                     "launcher.exe", 1},
        SnapshotCase{"no entries", {}, "launcher.exe", 0}),
    [](const testing::TestParamInfo<SnapshotCase>& info) {
        std::string name;
        for (const char* c = info.param.what; *c; ++c) name += isalnum(static_cast<unsigned char>(*c)) ? *c : '_';
        return name;
    });

TEST(CountRunning95, LooksUpTheToolHelpByNameInKernel32) {
    fake::reset();
    fake::state.processes = {"C:\\APPS\\LAUNCHER.EXE"};
    EXPECT_EQ(countRunning95("launcher.exe"), 1);
    std::vector<std::string> lookups;
    for (const auto& call : fake::state.calls)
        if (call.call == fake::Call::findLoadedModule || call.call == fake::Call::findSymbol)
            lookups.push_back(call.detail);
    EXPECT_EQ(lookups, (std::vector<std::string>{"KERNEL32.DLL", "CreateToolhelp32Snapshot",
                                                 "Process32First", "Process32Next"}));
}

struct FailureCase {
    const char* name;
    void (*setUp)();
    int snapshotCalls; // asked for
    int closeCalls;    // closed again
};

void PrintTo(const FailureCase& c, std::ostream* os) { *os << c.name; }

class CountRunning95Failure : public testing::TestWithParam<FailureCase> {};

TEST_P(CountRunning95Failure, CountsZero) {
    fake::reset();
    fake::state.processes = {"C:\\APPS\\LAUNCHER.EXE", "C:\\APPS\\LAUNCHER.EXE"};
    GetParam().setUp();
    EXPECT_EQ(countRunning95("launcher.exe"), 0);
    int created = 0, closed = 0;
    for (const auto& call : fake::state.calls) {
        created += call.call == fake::Call::createSnapshot;
        closed += call.call == fake::Call::closeSnapshot;
    }
    EXPECT_EQ(created, GetParam().snapshotCalls);
    EXPECT_EQ(closed, GetParam().closeCalls);
    EXPECT_EQ(fake::state.snapshotsOpen, 0);
}

INSTANTIATE_TEST_SUITE_P(
    Paths, CountRunning95Failure,
    testing::Values(
        FailureCase{"NoKernel32", [] { fake::state.hasKernel32 = false; }, 0, 0},
        FailureCase{"NoToolHelp", [] { fake::state.hasToolHelp = false; }, 0, 0},
        FailureCase{"NoProcess32Next", [] { fake::state.failNth[fake::Call::findSymbol] = 2; }, 0,
                    0},
        FailureCase{"SnapshotFails", [] { fake::state.failNth[fake::Call::createSnapshot] = 0; },
                    1, 0},
        FailureCase{"NoFirstEntry", [] { fake::state.processes.clear(); }, 1, 1},
        FailureCase{"FirstEntryFails", [] { fake::state.failNth[fake::Call::processWalk] = 0; }, 1,
                    1}),
    [](const testing::TestParamInfo<FailureCase>& info) { return std::string(info.param.name); });

} // namespace
