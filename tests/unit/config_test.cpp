// The configuration file: line rules, trimming, the key handlers, the log
// redirection, and input that must not break the reader.
#include "harness.h"
#include "config/config.h"
#include "config/settings.h"
#include "launcher/lists.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cstring>
#include <string>

namespace {

// What readConfig made of a file: its result, its lines, and the settings
// and lists it left, printed by the child for the parent to compare.
struct ConfigRun {
    int lines;
    std::string out;
    std::string err;
    std::string state; // settings and lists, one per line
    int status;
};

void readConfigBody(void*) {
    createAppArgs();
    int lines = readConfig(".\\");
    // The summary goes to a file of its own so that a log redirection in
    // the configuration cannot swallow it.
    FILE* f = fopen("state.txt", "w");
    fprintf(f, "lines=%d\nmainclass=%s\nversion=%s\nlogfile=%s\n", lines, mainClassName,
            requiredVersion, logFileName);
    for (int i = 0; i < vmOptionCount; ++i) fprintf(f, "option=%s\n", vmOptions[i].optionString);
    for (int i = 0; i < appArgCount; ++i) fprintf(f, "arg=%s\n", appArgs[i]);
    fclose(f);
}

ConfigRun readConfigIn(const TempDir& dir) {
    LaunchRun r = runInChild(dir.path, readConfigBody, nullptr);
    ConfigRun c;
    c.out = r.out;
    c.err = r.err;
    c.status = r.status;
    c.state = dir.read("state.txt");
    c.lines = atoi(c.state.c_str() + strlen("lines="));
    return c;
}

ConfigRun readConfigText(const std::string& content) {
    fake::reset();
    TempDir dir;
    dir.write("Vintral.cfg", content);
    return readConfigIn(dir);
}

const char* const header = "Reading configuration file Vintral.cfg...\n";

} // namespace

TEST(ConfigLines, EachLineRule) {
    const struct {
        const char* name;
        std::string content;
        int lines;
        std::string out; // between the header and "readConfig ended."
        std::string err;
    } cases[] = {
        {"comment and empty line", "#mainclass=A\n\n", 0, "", ""},
        {"indented comment without =", "  # note\n", 1, "",
         "Unparseable line in configuration file: '  # note' !\n"},
        {"indented comment with =", " #a=b\n", 1, "param '#a'='b'\n", ""},
        {"one character and a line feed", "x\n", 1, "",
         "Unparseable line in configuration file: 'x' !\n"},
        {"spaces only", "   \n", 1, "", "Unparseable line in configuration file: '   ' !\n"},
        {"last line without line end", "mainclass=B", 1, "param 'mainclass'='B'\nMain class = B\n", ""},
        {"last line of one byte", "mainclass=B\nx", 1, "param 'mainclass'='B'\nMain class = B\n", ""},
        {"CR LF line ends", "mainclass=C\r\n\r\nvmargs=a=b\r\n", 2,
         "param 'mainclass'='C'\nMain class = C\nparam 'vmargs'='a=b'\nVM option = a=b\n"
         "Creating options array.\nAdding option <-Da=b>\n",
         ""},
        {"byte-order mark", "\xEF\xBB\xBFmainclass=D\n", 1, "param '\xEF\xBB\xBFmainclass'='D'\n", ""},
        {"key case matters", "MainClass=E\n", 1, "param 'MainClass'='E'\n", ""},
        {"tab stays in key", "\tmainclass=F\n", 1, "param '\tmainclass'='F'\n", ""},
        {"tab stays in value", "mainclass =\tG\t\n", 1, "param 'mainclass'='\tG\t'\nMain class = \tG\t\n", ""},
        {"empty key", "  = value\n", 1, "", ""},
        {"empty value", "mainclass=\n", 1, "param 'mainclass'=''\nMain class = \n", ""},
        {"first byte NUL", std::string("\0mainclass=H\n", 13), 0, "", ""},
        {"NUL inside a line", std::string("mainclass=I\0tail\n", 17), 1,
         "param 'mainclass'='I'\nMain class = I\n", ""},
        {"unknown key", "colour=blue\n", 1, "param 'colour'='blue'\n", ""},
        {"hash inside a value", "vmargs=a#b\n", 1, "param 'vmargs'='a#b'\nVM option = a#b\nCreating options array.\nAdding option <-Da#b>\n", ""},
    };
    for (const auto& c : cases) {
        ConfigRun r = readConfigText(c.content);
        EXPECT_EQ(r.lines, c.lines) << c.name;
        EXPECT_EQ(r.out, header + c.out + "readConfig ended.\n") << c.name;
        EXPECT_EQ(r.err, c.err) << c.name;
    }
}

TEST(ConfigLines, CrLfFileGivesTheSameSettingsAsLf) {
    std::string lf = "mainclass = A.B\nclasspath=x.jar\n\nappargs=p q\nrequiredVM=1.4\n";
    std::string crlf;
    for (char c : lf) crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
    ConfigRun a = readConfigText(lf);
    ConfigRun b = readConfigText(crlf);
    EXPECT_EQ(a.state, b.state);
    EXPECT_EQ(a.out, b.out);
    EXPECT_NE(a.state.find("arg=q\n"), std::string::npos);
}

TEST(ConfigLines, LongLineIsReadWholeAndReachesTheOptionList) {
    std::string path(12000, 'p');
    ConfigRun r = readConfigText("classpath=" + path + "\nmainclass=After\n");
    EXPECT_EQ(r.lines, 2);
    EXPECT_NE(r.state.find("option=-Djava.class.path=" + path + "\n"), std::string::npos);
    EXPECT_NE(r.state.find("mainclass=After\n"), std::string::npos);
    EXPECT_EQ(r.err, "");
}

TEST(ConfigTrim, OnlySpacesAreBlanks) {
    const struct {
        const char* in;
        const char* out;
    } cases[] = {
        {"  a b  ", "a b"}, {"", ""}, {"    ", ""}, {"\ta\t", "\ta\t"}, {"a", "a"}, {" \r", "\r"},
    };
    for (const auto& c : cases) {
        char* buffer = strdup(c.in);
        char* text = buffer;
        trimBlanks(&text);
        EXPECT_STREQ(text, c.out) << "'" << c.in << "'";
        EXPECT_NE(text, buffer); // a copy of its own
        free(buffer);
        free(text);
    }
}

TEST(ConfigSettings, HandlersReplaceOrAddInFileOrder) {
    ConfigRun r = readConfigText(
        "mainclass=First\nmainclass=Second\nclasspath=a.jar\nclasspath=\nvmargs=\nvmargs=k=v\n"
        "vmargsnative=-Xss1m\nrequiredVM=\nappargs=a  b\tc \"d e\"\nappargs=f\n");
    EXPECT_EQ(r.state,
              "lines=10\nmainclass=Second\nversion=\nlogfile=launcher.log\n"
              "option=-Djava.class.path=a.jar\noption=-Djava.class.path=\noption=-D\noption=-Dk=v\n"
              "option=-Xss1m\n"
              "arg=a\narg=b\tc\narg=\"d\narg=e\"\narg=f\n");
    EXPECT_NE(r.out.find("param 'requiredVM'=''\nJRE release = \n"), std::string::npos);
}

TEST(ConfigLog, RedirectsBothStreamsFromItsLineOn) {
    fake::reset();
    TempDir dir;
    dir.write("app.log", "old content that must go\n");
    dir.write("Vintral.cfg", "mainclass=A\nlogfilename=app.log\nno equals\nvmargs=x\n");
    ConfigRun r = readConfigIn(dir);
    EXPECT_EQ(r.out, std::string(header) + "param 'mainclass'='A'\nMain class = A\n"
                                           "param 'logfilename'='app.log'\n");
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(dir.read("app.log"),
              "Logging Filename = app.log\n"
              "Unparseable line in configuration file: 'no equals' !\n"
              "param 'vmargs'='x'\nVM option = x\nCreating options array.\nAdding option <-Dx>\n"
              "readConfig ended.\n");
}

TEST(ConfigLog, TwoLogFilesAndAnEmptyValue) {
    fake::reset();
    TempDir dir;
    dir.write("Vintral.cfg", "logfilename=one.log\nmainclass=A\nlogfilename=two.log\nlogfilename=\nmainclass=B\n");
    ConfigRun r = readConfigIn(dir);
    EXPECT_EQ(dir.read("one.log"),
              "Logging Filename = one.log\nparam 'mainclass'='A'\nMain class = A\n"
              "param 'logfilename'='two.log'\n");
    EXPECT_EQ(dir.read("two.log"),
              "Logging Filename = two.log\nparam 'logfilename'=''\nparam 'mainclass'='B'\n"
              "Main class = B\nreadConfig ended.\n");
    EXPECT_NE(r.state.find("logfile=\n"), std::string::npos);
}

TEST(ConfigLog, NoLogFileWithoutALogfilenameLine) {
    fake::reset();
    TempDir dir;
    dir.write("Vintral.cfg", "mainclass=A\n");
    readConfigIn(dir);
    struct stat info;
    EXPECT_NE(stat(dir.file("launcher.log").c_str(), &info), 0);
}

// A log that does not open leaves both streams where they were, so that
// nothing later is lost.
TEST(ConfigLog, UnopenableLogKeepsTheInheritedStreams) {
    fake::reset();
    TempDir dir;
    dir.write("Vintral.cfg", "logfilename=missing\\dir\\app.log\nmainclass=A\nno equals\n");
    ConfigRun r = readConfigIn(dir);
    EXPECT_EQ(r.out, std::string(header) +
                         "param 'logfilename'='missing\\dir\\app.log'\n"
                         "Logging Filename = missing\\dir\\app.log\n"
                         "param 'mainclass'='A'\nMain class = A\nreadConfig ended.\n");
    EXPECT_EQ(r.err,
              "Could not open logfile missing\\dir\\app.log!\n"
              "Unparseable line in configuration file: 'no equals' !\n");
}

TEST(ConfigLog, StandardErrorThatWillNotMoveStaysInherited) {
    fake::reset();
    fake::state.failNth[fake::Call::reopenStderr] = 0;
    TempDir dir;
    dir.write("Vintral.cfg", "logfilename=app.log\nno equals\nmainclass=A\n");
    ConfigRun r = readConfigIn(dir);
    EXPECT_EQ(r.err, "Unparseable line in configuration file: 'no equals' !\n");
    EXPECT_EQ(dir.read("app.log"),
              "Logging Filename = app.log\nparam 'mainclass'='A'\nMain class = A\nreadConfig ended.\n");
}

// Standard output and standard error share the log; neither may overwrite
// the other's lines.
TEST(ConfigLog, InterleavedLinesAreAllKept) {
    fake::reset();
    TempDir dir;
    dir.write("Vintral.cfg", "logfilename=app.log\nbad one\nmainclass=A\nbad two\nmainclass=B\n");
    readConfigIn(dir);
    EXPECT_EQ(dir.read("app.log"),
              "Logging Filename = app.log\n"
              "Unparseable line in configuration file: 'bad one' !\n"
              "param 'mainclass'='A'\nMain class = A\n"
              "Unparseable line in configuration file: 'bad two' !\n"
              "param 'mainclass'='B'\nMain class = B\nreadConfig ended.\n");
}

TEST(ConfigOpen, PathThatDoesNotFitIsRefusedLikeAMissingFile) {
    const struct {
        size_t nameLength;
        bool fits;
    } cases[] = {{257, true}, {258, false}, {5000, false}};
    for (const auto& c : cases) {
        fake::reset();
        TempDir dir;
        std::string name(c.nameLength, 'n');
        LaunchRun r = runLaunch(dir.path, {"C:\\App\\launcher.exe", "-f", name});
        EXPECT_EQ(r.status, 1);
        EXPECT_NE(r.err.find("Error: could not open `.\\" + name + "'\n"), std::string::npos);
        EXPECT_NE(r.err.find("Could not open configuration file. Program will exit!\n"), std::string::npos);
        bool opened = false;
        for (const auto& call : r.calls) opened = opened || call.call == fake::Call::openTextFile;
        EXPECT_EQ(opened, c.fits) << c.nameLength;
    }
}

TEST(ConfigBadInput, NeverBreaksTheReader) {
    std::string binary;
    for (int i = 0; i < 4096; ++i) binary += static_cast<char>((i * 37 + 11) % 256);
    std::string manyLines;
    for (int i = 0; i < 100000; ++i) manyLines += "vmargs=k" + std::to_string(i) + "=v\n";
    const struct {
        const char* name;
        std::string content;
        int lines;
    } cases[] = {
        {"binary bytes", binary, -1},
        {"NUL bytes", std::string(1000, '\0'), 0},
        {"a 1 MB line", "appargs=" + std::string(1 << 20, 'x') + "\n", 1},
        {"100,000 lines", manyLines, 100000},
    };
    for (const auto& c : cases) {
        ConfigRun r = readConfigText(c.content);
        EXPECT_EQ(r.status, 0) << c.name;
        if (c.lines >= 0) {
            EXPECT_EQ(r.lines, c.lines) << c.name;
        }
        EXPECT_NE(r.out.find("readConfig ended.\n"), std::string::npos) << c.name;
    }
}

TEST(ConfigBadInput, DirectoryOrUnreadableFileDoesNotOpen) {
    fake::reset();
    TempDir dir;
    mkdir(dir.file("Vintral.cfg").c_str(), 0755);
    ConfigRun r = readConfigIn(dir);
    EXPECT_EQ(r.lines, 0);
    EXPECT_EQ(r.err, "Error: could not open `.\\Vintral.cfg'\n");

    fake::reset();
    fake::state.failNth[fake::Call::openTextFile] = 0; // as for a file without read access
    TempDir other;
    other.write("Vintral.cfg", "mainclass=A\n");
    r = readConfigIn(other);
    EXPECT_EQ(r.lines, 0);
    EXPECT_EQ(r.err, "Error: could not open `.\\Vintral.cfg'\n");
}
