#include "harness.h"

#include <gtest/gtest.h>

namespace {
const char* const launcherPath = "C:\\App\\launcher.exe";
}

TEST(Launch, MissingConfigurationEndsWithCode11) {
    fake::reset();
    TempDir dir;
    LaunchRun run = runLaunch(dir.path, {launcherPath});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out,
              "Executing launcher.exe.\n"
              "Creating options array.\n"
              "Adding option <-Djava.class.path=.;>\n"
              "Adding option <-noverbose>\n"
              "Reading configuration file Vintral.cfg...\n"
              "0 lines read.\n");
    EXPECT_EQ(run.err,
              "Error: could not open `.\\Vintral.cfg'\n"
              "Could not open configuration file. Program will exit!\n");
    ASSERT_EQ(run.boxes.size(), 1u);
    EXPECT_EQ(run.boxes[0].caption, "Java Virtual Machine Launcher");
    EXPECT_EQ(run.boxes[0].style, 0x10u);
}
