// The launch lists and the failure report.
#include "harness.h"
#include "launcher/lists.h"
#include "launcher/report.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

void growOptionsBody(void*) {
    static char texts[17][8];
    char* pointers[17];
    for (int i = 0; i < 17; ++i) {
        snprintf(texts[i], sizeof texts[i], "-o%d", i);
        pointers[i] = texts[i];
        addOption(pointers[i], nullptr);
        int expected = i < 4 ? 4 : i < 8 ? 8 : i < 16 ? 16 : 32;
        if (vmOptionCapacity != expected) printf("capacity %d after %d\n", vmOptionCapacity, i + 1);
    }
    for (int i = 0; i < 17; ++i)
        if (vmOptions[i].optionString != pointers[i] || vmOptions[i].extraInfo) printf("entry %d moved\n", i);
}

void appArgBody(void*) {
    createAppArgs();
    char source[] = "original";
    addAppArg(source);
    strcpy(source, "changed!");
    addAppArg("");
    printf("%d [%s] [%s]\n", appArgCount, appArgs[0], appArgs[1]);
}

struct ReportCase {
    int code;
    int failed;
    const char* message; // null: nothing shown and nothing written
};

void reportBody(void* context) {
    const ReportCase* c = static_cast<const ReportCase*>(context);
    reportFailure(c->code, c->failed);
}

} // namespace

TEST(Lists, OptionArrayDoublesAndKeepsTheCallersPointers) {
    fake::reset();
    TempDir dir;
    LaunchRun r = runInChild(dir.path, growOptionsBody, nullptr);
    std::string expected = "Creating options array.\n";
    for (int i = 0; i < 17; ++i) expected += "Adding option <-o" + std::to_string(i) + ">\n";
    EXPECT_EQ(r.out, expected);
    int grown = 0;
    for (const auto& call : r.calls) grown += call.call == fake::Call::allocate;
    EXPECT_EQ(grown, 4); // 4, 8, 16, 32: each a fresh array
}

TEST(Lists, ArgumentsAreCopiesAndEmptyOnesCount) {
    fake::reset();
    TempDir dir;
    LaunchRun r = runInChild(dir.path, appArgBody, nullptr);
    EXPECT_EQ(r.out, "2 [original] []\n");
}

TEST(Report, MessageForEveryCodeAndFlag) {
    const ReportCase cases[] = {
        {1, 1, "Could not load the Java virtual machine. Program will exit!"},
        {2, 1, "Could not parse the command arguments. Program will exit!"},
        {3, 1, "Could not initialize the Java virtual machine. Program will exit!"},
        {4, 1, "Could not find the startup class. Program will exit!"},
        {5, 1, "Could not find the startup method. Program will exit!"},
        {6, 1, "Could not find required Java 2 Runtime Environment. Program will exit!"},
        {7, 1, "No main class given. Program will exit!"},
        {8, 1, "Invalid class arguments given. Program will exit!"},
        {9, 1, "Program returned with exception."},
        {10, 0, "Another instance process is already running!"},
        {11, 1, "Could not open configuration file. Program will exit!"},
        {12, 1, "Java VM version is too old. Program will exit!"},
        {0, 1, "Could not execute program!"},
        {13, 1, "Could not execute program!"},
        {-1, 1, "Could not execute program!"},
        {0, 0, nullptr},
        {13, 0, nullptr},
    };
    for (const auto& c : cases) {
        fake::reset();
        TempDir dir;
        LaunchRun r = runInChild(dir.path, reportBody, const_cast<ReportCase*>(&c));
        EXPECT_EQ(r.out, "") << c.code;
        if (!c.message) {
            EXPECT_TRUE(r.boxes.empty()) << c.code;
            EXPECT_EQ(r.err, "") << c.code;
            continue;
        }
        ASSERT_EQ(r.boxes.size(), 1u) << c.code;
        EXPECT_EQ(r.boxes[0].text, c.message);
        EXPECT_EQ(r.boxes[0].caption, "Java Virtual Machine Launcher");
        EXPECT_EQ(r.boxes[0].style, 0x10u);
        EXPECT_EQ(r.err, std::string(c.message) + "\n");
    }
}

TEST(Report, BoxThatCannotBeShownStillWritesTheLine) {
    fake::reset();
    fake::state.failNth[fake::Call::showMessageBox] = 0;
    TempDir dir;
    ReportCase c = {4, 1, nullptr};
    LaunchRun r = runInChild(dir.path, reportBody, &c);
    EXPECT_EQ(r.err, "Could not find the startup class. Program will exit!\n");
}
