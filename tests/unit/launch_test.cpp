// Whole launches against the fake platform: the order of the steps, the
// lines on both streams, the -f option and the outcomes of launch control.
#include "harness.h"
#include "launcher/launch.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

const char* const launcherPath = "C:\\App\\launcher.exe";

const char* const fixedOptions =
    "Creating options array.\n"
    "Adding option <-Djava.class.path=.;>\n"
    "Adding option <-noverbose>\n";

class LaunchTest : public ::testing::Test {
protected:
    void SetUp() override { fake::reset(); }
    TempDir dir;

    LaunchRun run(std::vector<std::string> args) {
        args.insert(args.begin(), launcherPath);
        return runLaunch(dir.path, args);
    }
};

bool startsWith(const std::string& text, const std::string& prefix) {
    return text.compare(0, prefix.size(), prefix) == 0;
}

bool endsWith(const std::string& text, const std::string& suffix) {
    return text.size() >= suffix.size() &&
           text.compare(text.size() - suffix.size(), suffix.size(), suffix) == 0;
}

} // namespace

TEST_F(LaunchTest, RichConfigurationWithoutARuntimeGivesTheFullAccount) {
    dir.write("Vintral.cfg",
              "# an application\n"
              "\n"
              "   mainclass  =  com.example.App  \n"
              "classpath=lib\\app.jar;lib\\util.jar\n"
              "vmargs=app.mode=test\n"
              "vmargsnative=-Xmx64m\n"
              "vmargsnative=\n"
              "requiredVM=1.4\n"
              "appargs=one  two\n"
              "appargs=\"three four\"\n"
              "MainClass=Ignored\n"
              "no equals\n"
              "=no key\n");
    LaunchRun r = run({"cmd1", "", "cmd 3"});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, std::string("Executing launcher.exe.\n") + fixedOptions +
                         "Reading configuration file Vintral.cfg...\n"
                         "param 'mainclass'='com.example.App'\n"
                         "Main class = com.example.App\n"
                         "param 'classpath'='lib\\app.jar;lib\\util.jar'\n"
                         "Classpath = lib\\app.jar;lib\\util.jar\n"
                         "Adding option <-Djava.class.path=lib\\app.jar;lib\\util.jar>\n"
                         "param 'vmargs'='app.mode=test'\n"
                         "VM option = app.mode=test\n"
                         "Adding option <-Dapp.mode=test>\n"
                         "param 'vmargsnative'='-Xmx64m'\n"
                         "VM option native = -Xmx64m\n"
                         "Adding option <-Xmx64m>\n"
                         "param 'vmargsnative'=''\n"
                         "param 'requiredVM'='1.4'\n"
                         "JRE release = 1.4\n"
                         "param 'appargs'='one  two'\n"
                         "param 'appargs'='\"three four\"'\n"
                         "param 'MainClass'='Ignored'\n"
                         "readConfig ended.\n"
                         "11 lines read.\n"
                         "Application arguments = one two \"three four\" cmd1  cmd 3 \n"
                         "Application Home is C:\\App\n");
    EXPECT_EQ(r.err,
              "Unparseable line in configuration file: 'no equals' !\n"
              "Error opening registry key 'Software\\JavaSoft\\Java Runtime Environment'\n"
              "Error opening registry key 'Software\\JavaSoft\\JRE'\n"
              "Error opening registry key 'Software\\JavaSoft\\JDK'\n"
              "Error: could not find java.dll\n"
              "Could not find required Java 2 Runtime Environment. Program will exit!\n");
    ASSERT_EQ(r.boxes.size(), 1u);
    EXPECT_EQ(r.boxes[0].text, "Could not find required Java 2 Runtime Environment. Program will exit!");
}

TEST_F(LaunchTest, MissingConfigurationEndsWithCode11) {
    LaunchRun r = run({"a"});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, std::string("Executing launcher.exe.\n") + fixedOptions +
                         "Reading configuration file Vintral.cfg...\n"
                         "0 lines read.\n");
    EXPECT_EQ(r.err,
              "Error: could not open `.\\Vintral.cfg'\n"
              "Could not open configuration file. Program will exit!\n");
    ASSERT_EQ(r.boxes.size(), 1u);
    EXPECT_EQ(r.boxes[0].text, "Could not open configuration file. Program will exit!");
    EXPECT_EQ(r.boxes[0].caption, "Java Virtual Machine Launcher");
    EXPECT_EQ(r.boxes[0].style, 0x10u);
}

TEST_F(LaunchTest, ConfigurationOfCommentsAndBlankLinesEndsLikeAMissingOne) {
    dir.write("Vintral.cfg", "# only\n\n#comments\r\n\r\n");
    LaunchRun r = run({});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, std::string("Executing launcher.exe.\n") + fixedOptions +
                         "Reading configuration file Vintral.cfg...\n"
                         "readConfig ended.\n"
                         "0 lines read.\n");
    EXPECT_EQ(r.err, "Could not open configuration file. Program will exit!\n");
}

TEST_F(LaunchTest, ConfigurationIsReadFromTheWorkingDirectoryOnly) {
    // The fake's module path is C:\App; a file there does not count.
    fake::state.existingPaths = {"C:\\App\\Vintral.cfg"};
    LaunchRun r = run({});
    EXPECT_TRUE(startsWith(r.err, "Error: could not open `.\\Vintral.cfg'\n"));
}

struct FileOptionCase {
    std::vector<std::string> args;
    const char* configFile; // the file that holds "appargs=cfg"
    const char* expectedFileLine; // "" when no -f option is recognised
    const char* expectedArguments;
};

TEST_F(LaunchTest, FileOptionIsOnlyTheFirstArgumentAndNeedsAName) {
    const FileOptionCase cases[] = {
        {{"-f", "other.cfg", "a", "b"}, "other.cfg", "Configuration Filename = other.cfg\n", "cfg a b "},
        {{"-f"}, "Vintral.cfg", "", "cfg -f "},
        {{"-fx", "other.cfg"}, "other.cfg", "Configuration Filename = other.cfg\n", "cfg "},
        {{"-file", "other.cfg", "-f", "x"}, "other.cfg", "Configuration Filename = other.cfg\n", "cfg -f x "},
        {{"-F", "other.cfg"}, "Vintral.cfg", "", "cfg -F other.cfg "},
        {{"a", "-f", "other.cfg"}, "Vintral.cfg", "", "cfg a -f other.cfg "},
    };
    for (const auto& c : cases) {
        TempDir here;
        here.write(c.configFile, "appargs=cfg\n");
        std::vector<std::string> argv = c.args;
        argv.insert(argv.begin(), launcherPath);
        LaunchRun r = runLaunch(here.path, argv);
        std::string expected = std::string("Executing launcher.exe.\n") + fixedOptions +
                               c.expectedFileLine + "Reading configuration file " + c.configFile +
                               "...\nparam 'appargs'='cfg'\nreadConfig ended.\n1 lines read.\n"
                               "Application arguments = " + c.expectedArguments + "\n";
        EXPECT_TRUE(startsWith(r.out, expected)) << c.args[0] << "\n" << r.out;
    }
}

TEST_F(LaunchTest, ExeNameIsTheTextAfterTheLastBackslash) {
    const struct {
        const char* argv0;
        const char* name;
    } cases[] = {
        {"C:\\apps\\tool\\launcher.exe", "launcher.exe"},
        {"C:/apps/launcher.exe", "C:/apps/launcher.exe"},
        {"launcher", "launcher"},
        {"C:\\apps\\", ""},
        {"", ""},
    };
    for (const auto& c : cases) {
        std::string copy = c.argv0;
        char* name = copy.data();
        stripDirectory(&name);
        EXPECT_STREQ(name, c.name) << c.argv0;
        EXPECT_GE(name, copy.data());
    }
    LaunchRun r = runLaunch(dir.path, {"D:\\x\\My App.exe"});
    EXPECT_TRUE(startsWith(r.out, "Executing My App.exe.\n"));
}

// The argument list holds 500 entries; the 501st, wherever it comes from,
// ends the launch before anything of the Java side starts.
TEST_F(LaunchTest, MoreThan500ArgumentsEndWithCode2) {
    std::string words;
    for (int i = 1; i <= 499; ++i) words += (i > 1 ? " w" : "w") + std::to_string(i);
    const struct {
        std::string config;
        std::vector<std::string> args;
        int status;
    } cases[] = {
        {"appargs=" + words + "\n", {"x"}, -1},             // exactly 500: goes on
        {"appargs=" + words + "\n", {"x", "y"}, 2},         // 501 from the command line
        {"appargs=" + words + " a b\n", {}, 2},             // 501 from the configuration
    };
    for (const auto& c : cases) {
        TempDir here;
        here.write("Vintral.cfg", c.config);
        std::vector<std::string> argv = c.args;
        argv.insert(argv.begin(), launcherPath);
        LaunchRun r = runLaunch(here.path, argv);
        EXPECT_EQ(r.status, 1);
        bool searched = r.out.find("Application arguments = ") != std::string::npos;
        if (c.status == 2) {
            EXPECT_EQ(r.err,
                      "Too many application arguments: at most 500 are allowed.\n"
                      "Could not parse the command arguments. Program will exit!\n");
            EXPECT_FALSE(searched);
        } else {
            EXPECT_TRUE(searched);
            EXPECT_EQ(r.err.find("Too many"), std::string::npos);
        }
    }
}

TEST_F(LaunchTest, OutOfMemoryEndsWithAReportInsteadOfACrash) {
    dir.write("Vintral.cfg", "mainclass=A\n");
    // Every allocation of the launch in turn: none may crash the launcher.
    fake::reset();
    LaunchRun recorded = run({"arg"});
    int allocations = 0;
    for (const auto& call : recorded.calls)
        if (call.call == fake::Call::allocate) ++allocations;
    ASSERT_GT(allocations, 5);
    for (int n = 0; n < allocations; ++n) {
        fake::reset();
        fake::state.failNth[fake::Call::allocate] = n;
        LaunchRun r = run({"arg"});
        EXPECT_EQ(r.status, 1) << "allocation " << n;
        bool reported = endsWith(r.err, "Out of memory.\nCould not execute program!\n") ||
                        endsWith(r.err, "Could not find required Java 2 Runtime Environment. Program will exit!\n");
        EXPECT_TRUE(reported) << "allocation " << n << ": " << r.err;
    }
}
