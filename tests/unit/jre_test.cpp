// The Java runtime search: the application home, the private runtime, the
// registry with its version notices, and the keys it leaves behind.
#include "harness.h"

#include "jre/jre.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>

namespace {

const std::string root = "Software\\JavaSoft\\Java Runtime Environment";
const std::string jreRoot = "Software\\JavaSoft\\JRE";
const std::string jdkRoot = "Software\\JavaSoft\\JDK";
// No runtime key opens: each is named in its turn.
const std::string noRuntimeKey =
    "Error opening registry key 'Software\\JavaSoft\\Java Runtime Environment'\n"
    "Error opening registry key 'Software\\JavaSoft\\JRE'\n"
    "Error opening registry key 'Software\\JavaSoft\\JDK'\n"
    "Error: could not find java.dll\n";
const size_t bufferSize = 260;

// A buffer's text up to its terminator; the marker when it has none.
std::string textOf(const char* buffer, size_t size) {
    size_t n = strnlen(buffer, size);
    return n == size ? "<unterminated>" : std::string(buffer, n);
}

struct Search {
    LaunchRun run;
    bool found = false;
    std::string home;
    std::string runtimeLib;
    std::vector<std::string> closed; // the keys closed, in order
    std::vector<std::string> probed; // the paths whose existence was asked
    bool registryTouched = false;
};

struct SearchContext {
    std::string requiredVersion;
    std::string resultPath;
};

// findJRE in a child, with both buffers full of junk beforehand.
void searchBody(void* context) {
    const SearchContext* c = static_cast<const SearchContext*>(context);
    char home[bufferSize];
    char runtimeLib[bufferSize];
    memset(home, 'X', sizeof home);
    memset(runtimeLib, 'X', sizeof runtimeLib);
    bool found = findJRE(c->requiredVersion.c_str(), home, sizeof home, runtimeLib,
                         sizeof runtimeLib);
    FILE* f = fopen(c->resultPath.c_str(), "wb");
    if (!f) return;
    fputc(found ? '1' : '0', f);
    fwrite(home, 1, sizeof home, f);
    fwrite(runtimeLib, 1, sizeof runtimeLib, f);
    fclose(f);
}

Search search(const std::string& requiredVersion = "1.3") {
    TempDir dir;
    SearchContext context{requiredVersion, dir.file("result")};
    Search s;
    s.run = runInChild(dir.path, searchBody, &context);
    std::string result = dir.read("result");
    EXPECT_EQ(result.size(), 1 + 2 * bufferSize) << "the child wrote no result";
    if (result.size() == 1 + 2 * bufferSize) {
        s.found = result[0] == '1';
        s.home = textOf(result.data() + 1, bufferSize);
        s.runtimeLib = textOf(result.data() + 1 + bufferSize, bufferSize);
    }
    for (const auto& call : s.run.calls) {
        if (call.call == fake::Call::regCloseKey) s.closed.push_back(call.detail);
        if (call.call == fake::Call::pathExists) s.probed.push_back(call.detail);
        if (call.call == fake::Call::regOpenKey || call.call == fake::Call::regQueryValue)
            s.registryTouched = true;
    }
    return s;
}

void expectNoKeyLeftOpen(const Search& s, const std::string& what) {
    EXPECT_EQ(s.run.keysOpened, s.run.keysClosed) << what;
    EXPECT_TRUE(s.run.openKeys.empty()) << what;
}

class JreTest : public ::testing::Test {
protected:
    void SetUp() override { fake::reset(); }
};

// ---- The application home ----------------------------------------------------

struct HomeContext {
    std::string resultPath;
};

void homeBody(void* context) {
    char home[bufferSize];
    memset(home, 'X', sizeof home);
    bool ok = getApplicationHome(home, sizeof home);
    FILE* f = fopen(static_cast<HomeContext*>(context)->resultPath.c_str(), "wb");
    if (!f) return;
    fputc(ok ? '1' : '0', f);
    if (ok) fwrite(home, 1, sizeof home, f);
    fclose(f);
}

TEST_F(JreTest, ApplicationHomeCutsAtTheFirstLowerCaseBin) {
    const std::string deep = "C:\\" + std::string(243, 'a'); // with "\launcher.exe": 259 bytes
    const struct {
        std::string modulePath;
        std::string home; // empty: no home
        std::string err;
    } cases[] = {
        {"C:\\App\\bin\\launcher.exe", "C:\\App", ""},
        {"C:\\App\\bin\\x\\launcher.exe", "C:\\App", ""},
        {"C:\\App\\binaries\\launcher.exe", "C:\\App", ""},
        {"C:\\tools\\bin\\App\\launcher.exe", "C:\\tools", ""},
        {"C:\\App\\Bin\\launcher.exe", "C:\\App\\Bin", ""},
        {"C:\\App\\launcher.exe", "C:\\App", ""},
        {"D:\\binaries\\launcher.exe", "D:", ""},
        {"C:\\App\\bin", "C:\\App", ""},                 // the file name does not count
        {"C:\\App\\x\\bin.exe", "C:\\App\\x", ""},
        {"C:\\App/bin/launcher.exe", "C:", ""},         // only the backslash separates
        {"\\\\server\\share\\bin\\launcher.exe", "\\\\server\\share", ""},
        {deep + "\\launcher.exe", deep, ""},
        {deep + "a\\launcher.exe", "", "Error: the launcher's own path is too long\n"},
        {"launcher.exe", "", "Error: the launcher's own path 'launcher.exe' names no directory\n"},
    };
    for (const auto& c : cases) {
        fake::reset();
        fake::state.modulePath = c.modulePath;
        TempDir dir;
        HomeContext context{dir.file("result")};
        LaunchRun run = runInChild(dir.path, homeBody, &context);
        std::string result = dir.read("result");
        ASSERT_FALSE(result.empty()) << c.modulePath;
        if (c.home.empty()) {
            EXPECT_EQ(result, "0") << c.modulePath;
        } else {
            ASSERT_EQ(result.size(), 1 + bufferSize) << c.modulePath;
            EXPECT_EQ(result[0], '1') << c.modulePath;
            EXPECT_EQ(textOf(result.data() + 1, bufferSize), c.home) << c.modulePath;
        }
        EXPECT_EQ(run.err, c.err) << c.modulePath;
        EXPECT_EQ(run.out, "") << c.modulePath;
    }
}

// The launcher's own path must be had whole: a failed or cut query, or a
// path without a directory, ends the search before any probe.
TEST_F(JreTest, UnusableLauncherPathEndsTheSearch) {
    const struct {
        std::string modulePath;
        bool queryFails;
        std::string err;
    } cases[] = {
        {"C:\\App\\launcher.exe", true, "Error: could not get the launcher's own path\n"},
        {"C:\\" + std::string(500, 'a') + "\\bin\\launcher.exe", false,
         "Error: the launcher's own path is too long\n"},
        {"launcher.exe", false,
         "Error: the launcher's own path 'launcher.exe' names no directory\n"},
    };
    for (const auto& c : cases) {
        fake::reset();
        fake::state.modulePath = c.modulePath;
        fake::state.existingPaths = {"C:\\App\\bin\\java.dll", "C:\\bin\\java.dll"};
        if (c.queryFails) fake::state.failNth[fake::Call::getModulePath] = 0;
        Search s = search();
        EXPECT_FALSE(s.found) << c.err;
        EXPECT_EQ(s.run.out, "") << c.err;
        EXPECT_EQ(s.run.err, c.err);
        EXPECT_TRUE(s.probed.empty()) << c.err;
        EXPECT_FALSE(s.registryTouched) << c.err;
    }
}

// ---- The private runtime -------------------------------------------------------

TEST_F(JreTest, PrivateRuntimeInBinWinsOverJreAndSkipsTheRegistry) {
    const struct {
        std::string modulePath;
        std::vector<std::string> existing;
        std::string home;
        std::vector<std::string> probed;
    } cases[] = {
        {"D:\\App\\bin\\launcher.exe", {"D:\\App\\bin\\java.dll"}, "D:\\App", {"D:\\App\\bin\\java.dll"}},
        {"D:\\App\\launcher.exe", {"D:\\App\\jre\\bin\\java.dll"}, "D:\\App\\jre",
         {"D:\\App\\bin\\java.dll", "D:\\App\\jre\\bin\\java.dll"}},
        {"D:\\App\\launcher.exe", {"D:\\App\\jre\\bin\\java.dll", "D:\\App\\bin\\java.dll"}, "D:\\App",
         {"D:\\App\\bin\\java.dll"}},
        {"D:\\binaries\\launcher.exe", {"D:\\jre\\bin\\java.dll", "D:\\binaries\\jre\\bin\\java.dll"},
         "D:\\jre", {"D:\\bin\\java.dll", "D:\\jre\\bin\\java.dll"}},
        {"D:\\App\\Bin\\launcher.exe", {"D:\\App\\Bin\\bin\\java.dll", "D:\\App\\bin\\java.dll"},
         "D:\\App\\Bin", {"D:\\App\\Bin\\bin\\java.dll"}},
    };
    for (const auto& c : cases) {
        fake::reset();
        fake::state.modulePath = c.modulePath;
        fake::state.existingPaths = c.existing;
        fake::setRegString(root, "CurrentVersion", "1.3");
        fake::setRegString(root + "\\1.3", "JavaHome", "C:\\Registered");
        Search s = search();
        EXPECT_TRUE(s.found) << c.modulePath;
        EXPECT_EQ(s.home, c.home) << c.modulePath;
        EXPECT_EQ(s.runtimeLib, "") << c.modulePath;
        EXPECT_EQ(s.probed, c.probed) << c.modulePath;
        EXPECT_FALSE(s.registryTouched) << c.modulePath;
        std::string appHome = c.home.size() > 4 && c.home.ends_with("\\jre")
                                  ? c.home.substr(0, c.home.size() - 4)
                                  : c.home;
        EXPECT_EQ(s.run.out, "Application Home is " + appHome + "\nJRE found at " + c.home + "\n");
        EXPECT_EQ(s.run.err, "") << c.modulePath;
    }
}

// A probe path that does not fit its 260 bytes is never cut down to a path
// that might exist: it counts as missing and the search goes on.
TEST_F(JreTest, ProbePathsThatDoNotFitCountAsMissing) {
    const std::string home242 = "C:\\" + std::string(239, 'h'); // jre probe: 259 bytes
    const std::string home243 = home242 + "h";                   // jre probe: 260 bytes
    const std::string home246 = "C:\\" + std::string(243, 'h'); // bin probe: 259 bytes
    const std::string registryLines = noRuntimeKey;
    const struct {
        std::string home;
        std::vector<std::string> existing;
        bool found;
        std::string err;
        std::vector<std::string> probed;
    } cases[] = {
        {home242, {home242 + "\\jre\\bin\\java.dll"}, true, "",
         {home242 + "\\bin\\java.dll", home242 + "\\jre\\bin\\java.dll"}},
        // What a cut path would name exists; it must not be found.
        {home243, {home243 + "\\jre\\bin\\java.dl", home243 + "\\jre\\bin\\java.d"}, false,
         "Path too long: " + home243 + "\\jre\\bin\\java.dll\n" + registryLines,
         {home243 + "\\bin\\java.dll"}},
        {home246, {home246 + "\\bin\\java.dll"}, true, "", {home246 + "\\bin\\java.dll"}},
        {home246, {home246 + "\\jre\\bin\\j"}, false,
         "Path too long: " + home246 + "\\jre\\bin\\java.dll\n" + registryLines,
         {home246 + "\\bin\\java.dll"}},
    };
    for (const auto& c : cases) {
        fake::reset();
        fake::state.modulePath = c.home + "\\launcher.exe";
        fake::state.existingPaths = c.existing;
        Search s = search();
        EXPECT_EQ(s.found, c.found) << c.home.size();
        EXPECT_EQ(s.run.err, c.err) << c.home.size();
        EXPECT_EQ(s.probed, c.probed) << c.home.size();
        EXPECT_TRUE(s.run.out.starts_with("Application Home is " + c.home + "\n"));
    }
}

// ---- The registry ----------------------------------------------------------------

struct Value {
    std::string key; // below the root; empty for the root itself
    std::string name;
    uint32_t type;
    std::string data;
};

Value sz(const std::string& key, const std::string& name, const std::string& text) {
    return {key, name, regTypeString, text + '\0'};
}

const std::string subkeyMissing13 =
    "Error opening registry key 'Software\\JavaSoft\\Java Runtime Environment\\1.3'\n"
    "Error: could not find java.dll\n";
const std::string javaHomeUnread13 =
    "Failed reading value of registry key:\n"
    "\tSoftware\\JavaSoft\\Java Runtime Environment\\1.3\\JavaHome\n"
    "Error: could not find java.dll\n";
const std::string currentVersionUnread =
    "Failed reading value of registry key:\n"
    "\tSoftware\\JavaSoft\\Java Runtime Environment\\CurrentVersion\n"
    "Trying version 1.3 instead.\n";

struct RegistryCase {
    const char* what;
    std::vector<Value> values;
    bool found;
    std::string home;
    std::string runtimeLib;
    std::string out; // after the line of the application home
    std::string err;
    std::vector<std::string> closed; // below the root; "" is the root
};

void runRegistryCases(const std::vector<RegistryCase>& cases, const std::string& required = "1.3") {
    for (const auto& c : cases) {
        fake::reset();
        for (const auto& v : c.values) {
            std::string key = v.key.empty() ? root : root + "\\" + v.key;
            if (v.name.empty()) fake::addKey(key);
            else fake::setRegValue(key, v.name, v.type, v.data);
        }
        Search s = search(required);
        EXPECT_EQ(s.found, c.found) << c.what;
        if (c.found) {
            EXPECT_EQ(s.home, c.home) << c.what;
            EXPECT_EQ(s.runtimeLib, c.runtimeLib) << c.what;
        }
        EXPECT_EQ(s.run.out, "Application Home is C:\\App\n" + c.out) << c.what;
        EXPECT_EQ(s.run.err, c.err) << c.what;
        std::vector<std::string> closed;
        for (const auto& key : c.closed) closed.push_back(key.empty() ? root : root + "\\" + key);
        EXPECT_EQ(s.closed, closed) << c.what;
        expectNoKeyLeftOpen(s, c.what);
        EXPECT_EQ(s.registryTouched, true) << c.what;
    }
}

TEST_F(JreTest, RegistryVersionsAreWeighedInStrcmpOrder) {
    const std::vector<Value> both = {
        sz("1.3", "JavaHome", "C:\\J13"), sz("1.3", "MicroVersion", "1"),
        sz("1.4", "JavaHome", "C:\\J14"), sz("1.4", "MicroVersion", "2"),
        sz("1.10", "JavaHome", "C:\\J110"), sz("1.10", "MicroVersion", "0"),
        sz("1.3.1", "JavaHome", "C:\\J131"), sz("1.3.1", "MicroVersion", "9"),
    };
    auto with = [&](const char* current) {
        std::vector<Value> v = both;
        v.push_back(sz("", "CurrentVersion", current));
        return v;
    };
    runRegistryCases({
        {"equal", with("1.3"), true, "C:\\J13", "",
         "Version major.minor.micro = 1.3.1\nJRE found at C:\\J13\n", "", {"", "1.3"}},
        {"newer", with("1.4"), true, "C:\\J14", "",
         "Registry key 'Software\\JavaSoft\\Java Runtime Environment\\CurrentVersion'\n"
         "has value '1.4', but '1.3' is expected.\n"
         "Trying to use '1.4'.\n"
         "Version major.minor.micro = 1.4.2\nJRE found at C:\\J14\n",
         "", {"", "1.4"}},
        {"longer is newer", with("1.3.1"), true, "C:\\J131", "",
         "Registry key 'Software\\JavaSoft\\Java Runtime Environment\\CurrentVersion'\n"
         "has value '1.3.1', but '1.3' is expected.\n"
         "Trying to use '1.3.1'.\n"
         "Version major.minor.micro = 1.3.1.9\nJRE found at C:\\J131\n",
         "", {"", "1.3.1"}},
        {"1.10 is older", with("1.10"), true, "C:\\J13", "",
         "Version major.minor.micro = 1.3.1\nJRE found at C:\\J13\n",
         "Registry key 'Software\\JavaSoft\\Java Runtime Environment\\CurrentVersion'\n"
         "has value '1.10', but '1.3' or greater is required.\n"
         "Trying to find 1.3 nevertheless.\n",
         {"", "1.3"}},
        {"older without the required subkey",
         {sz("", "CurrentVersion", "1.2"), sz("1.2", "JavaHome", "C:\\J12")}, false, "", "", "",
         "Registry key 'Software\\JavaSoft\\Java Runtime Environment\\CurrentVersion'\n"
         "has value '1.2', but '1.3' or greater is required.\n"
         "Trying to find 1.3 nevertheless.\n" + subkeyMissing13,
         {""}},
        {"current version missing", both, true, "C:\\J13", "",
         "Version major.minor.micro = 1.3.1\nJRE found at C:\\J13\n", currentVersionUnread,
         {"", "1.3"}},
    });
}

TEST_F(JreTest, RegistryKeysAndValuesThatCannotBeRead) {
    const std::string home258(258, 'h');
    runRegistryCases({
        {"no root key", {}, false, "", "", "", noRuntimeKey, {}},
        {"current version expandable",
         {{"", "CurrentVersion", regTypeExpandString, std::string("1.4\0", 4)},
          sz("1.3", "JavaHome", "C:\\J13"), sz("1.3", "MicroVersion", "1")},
         true, "C:\\J13", "", "Version major.minor.micro = 1.3.1\nJRE found at C:\\J13\n",
         currentVersionUnread, {"", "1.3"}},
        {"subkey missing", {sz("", "CurrentVersion", "1.4"), sz("1.3", "JavaHome", "C:\\J13")}, false,
         "", "",
         "Registry key 'Software\\JavaSoft\\Java Runtime Environment\\CurrentVersion'\n"
         "has value '1.4', but '1.3' is expected.\n"
         "Trying to use '1.4'.\n",
         "Error opening registry key 'Software\\JavaSoft\\Java Runtime Environment\\1.4'\n"
         "Error: could not find java.dll\n",
         {""}},
        {"java home missing", {sz("", "CurrentVersion", "1.3"), sz("1.3", "MicroVersion", "1")}, false,
         "", "", "", javaHomeUnread13, {"", "1.3"}},
        {"java home expandable",
         {sz("", "CurrentVersion", "1.3"),
          {"1.3", "JavaHome", regTypeExpandString, std::string("C:\\J13\0", 7)}},
         false, "", "", "", javaHomeUnread13, {"", "1.3"}},
        {"java home of 259 bytes",
         {sz("", "CurrentVersion", "1.3"), sz("1.3", "JavaHome", home258), sz("1.3", "MicroVersion", "1")},
         true, home258, "", "Version major.minor.micro = 1.3.1\nJRE found at " + home258 + "\n", "",
         {"", "1.3"}},
        {"java home of 260 bytes",
         {sz("", "CurrentVersion", "1.3"), sz("1.3", "JavaHome", home258 + "h")}, false, "", "", "",
         javaHomeUnread13, {"", "1.3"}},
        {"java home without its terminator",
         {sz("", "CurrentVersion", "1.3"),
          {"1.3", "JavaHome", regTypeString, "C:\\J13"},
          {"1.3", "MicroVersion", regTypeString, "7"}},
         true, "C:\\J13", "", "Version major.minor.micro = 1.3.7\nJRE found at C:\\J13\n", "",
         {"", "1.3"}},
        {"micro version missing", {sz("", "CurrentVersion", "1.4"), sz("1.4", "JavaHome", "C:\\J14")},
         true, "C:\\J14", "",
         "Registry key 'Software\\JavaSoft\\Java Runtime Environment\\CurrentVersion'\n"
         "has value '1.4', but '1.3' is expected.\n"
         "Trying to use '1.4'.\n"
         "Warning: Can't read MicroVersion\n"
         "Version major.minor.micro = 1.4.\nJRE found at C:\\J14\n",
         "", {"", "1.4"}},
    });
}

TEST_F(JreTest, RuntimeLibIsReadFromTheVersionKeyBeforeItCloses) {
    auto tree = [](Value runtimeLib) {
        std::vector<Value> v = {sz("", "CurrentVersion", "1.3"), sz("1.3", "JavaHome", "C:\\J13"),
                                sz("1.3", "MicroVersion", "1")};
        if (!runtimeLib.name.empty()) v.push_back(runtimeLib);
        return v;
    };
    const std::string lines = "Version major.minor.micro = 1.3.1\n";
    const std::string lib = "C:\\J13\\bin\\client\\JVM.DLL";
    runRegistryCases({
        {"present", tree(sz("1.3", "RuntimeLib", lib)), true, "C:\\J13", lib,
         lines + "Found RuntimeLib path in registry: " + lib + "\nJRE found at C:\\J13\n", "",
         {"", "1.3"}},
        {"missing", tree({}), true, "C:\\J13", "", lines + "JRE found at C:\\J13\n", "", {"", "1.3"}},
        {"expandable", tree({"1.3", "RuntimeLib", regTypeExpandString, lib + '\0'}), true, "C:\\J13",
         "", lines + "JRE found at C:\\J13\n", "", {"", "1.3"}},
        {"260 bytes", tree(sz("1.3", "RuntimeLib", std::string(259, 'r'))), true, "C:\\J13", "",
         lines + "JRE found at C:\\J13\n", "", {"", "1.3"}},
    });

    // The order of the end of the search: the root goes first, then the
    // RuntimeLib read, then the version key.
    fake::reset();
    for (const auto& v : tree(sz("1.3", "RuntimeLib", lib)))
        fake::setRegValue(v.key.empty() ? root : root + "\\" + v.key, v.name, v.type, v.data);
    Search s = search();
    std::vector<std::string> tail;
    for (const auto& call : s.run.calls) {
        if (call.call == fake::Call::regCloseKey) tail.push_back("close " + call.detail);
        if (call.call == fake::Call::regQueryValue && call.detail.ends_with(":RuntimeLib") &&
            (tail.empty() || tail.back() != "read RuntimeLib"))
            tail.push_back("read RuntimeLib");
    }
    EXPECT_EQ(tail, (std::vector<std::string>{"close " + root, "read RuntimeLib",
                                              "close " + root + "\\1.3"}));
}

// The required version has to fit the 260-byte version buffer.
TEST_F(JreTest, RequiredVersionThatDoesNotFitFailsTheRegistrySearch) {
    const std::string v259(259, '9');
    const std::string v260(260, '9');
    // 259 bytes: fits, even where a CurrentVersion of that length (260
    // bytes with its terminator) does not.
    runRegistryCases(
        {{"current version of 260 bytes",
          {sz("", "CurrentVersion", v259), sz(v259, "JavaHome", "C:\\J"), sz(v259, "MicroVersion", "1")},
          true, "C:\\J", "", "Version major.minor.micro = " + v259 + ".1\nJRE found at C:\\J\n",
          "Failed reading value of registry key:\n"
          "\tSoftware\\JavaSoft\\Java Runtime Environment\\CurrentVersion\n"
          "Trying version " + v259 + " instead.\n",
          {"", v259}}},
        v259);

    fake::reset();
    fake::setRegString(root, "CurrentVersion", "1.3");
    fake::setRegString(root + "\\1.3", "JavaHome", "C:\\J13");
    Search s = search(v260);
    EXPECT_FALSE(s.found);
    EXPECT_EQ(s.run.out, "Application Home is C:\\App\n");
    EXPECT_EQ(s.run.err, "Error: required version '" + v260 + "' is too long\n"
                         "Error: could not find java.dll\n");
    expectNoKeyLeftOpen(s, "required version too long");
}

// Whichever query fails, no key stays open; only a JavaHome that cannot be
// read (the third and fourth query) ends the search.
TEST_F(JreTest, EveryKeyIsClosedWhicheverQueryFails) {
    for (int nth = 0; nth < 8; ++nth) {
        fake::reset();
        fake::setRegString(root, "CurrentVersion", "1.3");
        fake::setRegString(root + "\\1.3", "JavaHome", "C:\\J13");
        fake::setRegString(root + "\\1.3", "MicroVersion", "1");
        fake::setRegString(root + "\\1.3", "RuntimeLib", "C:\\J13\\bin\\jvm.dll");
        fake::state.failNth[fake::Call::regQueryValue] = nth;
        Search s = search();
        expectNoKeyLeftOpen(s, "query " + std::to_string(nth));
        EXPECT_EQ(s.found, nth != 2 && nth != 3) << nth;
    }
}

// ---- The keys of Java 9 and later ------------------------------------------------

struct Tree {
    std::string root;
    std::vector<Value> values;
};

struct LaterKeyCase {
    const char* what;
    std::vector<Tree> trees;
    std::string required;
    bool found;
    std::string home;
    std::string runtimeLib;
    std::string out; // after the line of the application home
    std::string err;
    std::vector<std::string> opened; // every key asked for, in order
};

std::vector<Value> modernRuntime(const std::string& version, const std::string& home) {
    return {sz("", "CurrentVersion", version), sz(version, "JavaHome", home),
            sz(version, "RuntimeLib", home + "\\bin\\server\\jvm.dll")};
}

// Each later key is read only when the keys before it do not open, with
// the same search and the same kinds of lines, naming the key read.
TEST_F(JreTest, LaterRuntimeKeysAreReadOnlyWhenTheKeysBeforeDoNotOpen) {
    const std::string oldKeyMissing =
        "Error opening registry key 'Software\\JavaSoft\\Java Runtime Environment'\n";
    const std::string jreKeyMissing = "Error opening registry key 'Software\\JavaSoft\\JRE'\n";
    const std::string newer17 = "has value '17', but '1.3' is expected.\nTrying to use '17'.\n"
                                "Warning: Can't read MicroVersion\nVersion major.minor.micro = 17.\n";
    const std::vector<LaterKeyCase> cases = {
        {"JRE key", {{jreRoot, modernRuntime("10", "C:\\J10")}}, "1.3", true, "C:\\J10",
         "C:\\J10\\bin\\server\\jvm.dll",
         "Registry key 'Software\\JavaSoft\\JRE\\CurrentVersion'\n"
         "has value '10', but '1.3' is expected.\nTrying to use '10'.\n"
         "Warning: Can't read MicroVersion\nVersion major.minor.micro = 10.\n"
         "Found RuntimeLib path in registry: C:\\J10\\bin\\server\\jvm.dll\nJRE found at C:\\J10\n",
         oldKeyMissing, {root, jreRoot, jreRoot + "\\10"}},
        {"JDK key", {{jdkRoot, modernRuntime("17", "C:\\J17")}}, "1.3", true, "C:\\J17",
         "C:\\J17\\bin\\server\\jvm.dll",
         "Registry key 'Software\\JavaSoft\\JDK\\CurrentVersion'\n" + newer17 +
             "Found RuntimeLib path in registry: C:\\J17\\bin\\server\\jvm.dll\nJRE found at C:\\J17\n",
         oldKeyMissing + jreKeyMissing, {root, jreRoot, jdkRoot, jdkRoot + "\\17"}},
        {"JRE before JDK",
         {{jreRoot, modernRuntime("10", "C:\\J10")}, {jdkRoot, modernRuntime("17", "C:\\J17")}}, "10",
         true, "C:\\J10", "C:\\J10\\bin\\server\\jvm.dll",
         "Warning: Can't read MicroVersion\nVersion major.minor.micro = 10.\n"
         "Found RuntimeLib path in registry: C:\\J10\\bin\\server\\jvm.dll\nJRE found at C:\\J10\n",
         oldKeyMissing, {root, jreRoot, jreRoot + "\\10"}},
        // The key of Java 8 and before opens: its search stands, whatever
        // the later keys hold.
        {"the old key opens without a usable version",
         {{root, {sz("", "CurrentVersion", "1.8")}}, {jdkRoot, modernRuntime("17", "C:\\J17")}}, "1.3",
         false, "", "",
         "Registry key 'Software\\JavaSoft\\Java Runtime Environment\\CurrentVersion'\n"
         "has value '1.8', but '1.3' is expected.\nTrying to use '1.8'.\n",
         "Error opening registry key 'Software\\JavaSoft\\Java Runtime Environment\\1.8'\n"
         "Error: could not find java.dll\n",
         {root, root + "\\1.8"}},
        {"the JRE key opens without a usable version",
         {{jreRoot, {sz("", "CurrentVersion", "10")}}, {jdkRoot, modernRuntime("17", "C:\\J17")}}, "10",
         false, "", "", "",
         oldKeyMissing + "Error opening registry key 'Software\\JavaSoft\\JRE\\10'\n"
                         "Error: could not find java.dll\n",
         {root, jreRoot, jreRoot + "\\10"}},
        {"JDK without CurrentVersion",
         {{jdkRoot, {sz("11", "JavaHome", "C:\\J11"), sz("11", "MicroVersion", "0")}}}, "11", true,
         "C:\\J11", "", "Version major.minor.micro = 11.0\nJRE found at C:\\J11\n",
         oldKeyMissing + jreKeyMissing +
             "Failed reading value of registry key:\n\tSoftware\\JavaSoft\\JDK\\CurrentVersion\n"
             "Trying version 11 instead.\n",
         {root, jreRoot, jdkRoot, jdkRoot + "\\11"}},
        // strcmp order still: "17" is older than "21", "21" newer than "1.8".
        {"JDK older than required",
         {{jdkRoot, {sz("", "CurrentVersion", "17"), sz("21", "JavaHome", "C:\\J21")}}}, "21", true,
         "C:\\J21", "", "Warning: Can't read MicroVersion\nVersion major.minor.micro = 21.\n"
                        "JRE found at C:\\J21\n",
         oldKeyMissing + jreKeyMissing +
             "Registry key 'Software\\JavaSoft\\JDK\\CurrentVersion'\n"
             "has value '17', but '21' or greater is required.\nTrying to find 21 nevertheless.\n",
         {root, jreRoot, jdkRoot, jdkRoot + "\\21"}},
        {"JDK JavaHome missing", {{jdkRoot, {sz("", "CurrentVersion", "17"), sz("17", "MicroVersion", "1")}}},
         "17", false, "", "", "",
         oldKeyMissing + jreKeyMissing +
             "Failed reading value of registry key:\n\tSoftware\\JavaSoft\\JDK\\17\\JavaHome\n"
             "Error: could not find java.dll\n",
         {root, jreRoot, jdkRoot, jdkRoot + "\\17"}},
        {"no key", {{"Software\\JavaSoft\\Java Development Kit", modernRuntime("1.8", "C:\\J8")}}, "1.3",
         false, "", "", "", noRuntimeKey, {root, jreRoot, jdkRoot}},
    };
    for (const auto& c : cases) {
        fake::reset();
        for (const Tree& tree : c.trees)
            for (const Value& v : tree.values)
                fake::setRegValue(v.key.empty() ? tree.root : tree.root + "\\" + v.key, v.name, v.type,
                                  v.data);
        Search s = search(c.required);
        EXPECT_EQ(s.found, c.found) << c.what;
        if (c.found) {
            EXPECT_EQ(s.home, c.home) << c.what;
            EXPECT_EQ(s.runtimeLib, c.runtimeLib) << c.what;
        }
        EXPECT_EQ(s.run.out, "Application Home is C:\\App\n" + c.out) << c.what;
        EXPECT_EQ(s.run.err, c.err) << c.what;
        std::vector<std::string> opened;
        for (const auto& call : s.run.calls)
            if (call.call == fake::Call::regOpenKey) opened.push_back(call.detail);
        EXPECT_EQ(opened, c.opened) << c.what;
        expectNoKeyLeftOpen(s, c.what);
    }
}

// Whichever registry call fails on the way to the JDK key, no key stays
// open, and an open that fails counts as a key that does not open.
TEST_F(JreTest, EveryLaterKeyIsClosedWhicheverCallFails) {
    for (fake::Call kind : {fake::Call::regOpenKey, fake::Call::regQueryValue}) {
        for (int nth = 0; nth < 8; ++nth) {
            fake::reset();
            for (const Value& v : modernRuntime("17", "C:\\J17"))
                fake::setRegValue(v.key.empty() ? jdkRoot : jdkRoot + "\\" + v.key, v.name, v.type,
                                  v.data);
            fake::setRegString(jreRoot + "\\10", "JavaHome", "C:\\J10");
            fake::state.failNth[kind] = nth;
            Search s = search("17");
            std::string what = std::string(fake::callName(kind)) + " " + std::to_string(nth);
            expectNoKeyLeftOpen(s, what);
            // The JRE key (the second open) failing hands the search on to the JDK key.
            if (kind == fake::Call::regOpenKey && nth == 1) {
                EXPECT_TRUE(s.found) << what;
                EXPECT_EQ(s.home, "C:\\J17") << what;
            }
        }
    }
}

// ---- readRegistryString on its own ---------------------------------------------------

TEST_F(JreTest, ReadRegistryStringTakesTerminatedStringsThatFit) {
    const struct {
        const char* what;
        uint32_t type;
        std::string data; // absent value when "-"
        size_t bufferSize;
        int failQuery; // the nth query that fails, -1 for none
        bool ok;
        std::string text;
    } cases[] = {
        {"fits", regTypeString, std::string("abc\0", 4), 5, -1, true, "abc"},
        {"size equal to the buffer", regTypeString, std::string("abcd\0", 5), 5, -1, false, ""},
        {"no terminator", regTypeString, "abcd", 5, -1, true, "abcd"},
        {"no terminator, too long", regTypeString, "abcde", 5, -1, false, ""},
        {"empty", regTypeString, "", 5, -1, true, ""},
        {"expandable", regTypeExpandString, std::string("abc\0", 4), 5, -1, false, ""},
        {"binary", regTypeBinary, std::string("abc\0", 4), 5, -1, false, ""},
        {"missing", regTypeString, "-", 5, -1, false, ""},
        {"size query fails", regTypeString, std::string("abc\0", 4), 5, 0, false, ""},
        {"data query fails", regTypeString, std::string("abc\0", 4), 5, 1, false, ""},
    };
    for (const auto& c : cases) {
        fake::reset();
        fake::addKey("K");
        if (c.data != "-") fake::setRegValue("K", "v", c.type, c.data);
        if (c.failQuery >= 0) fake::state.failNth[fake::Call::regQueryValue] = c.failQuery;
        RegKey key = nullptr;
        ASSERT_EQ(regOpenKey(regLocalMachine, "K", keyRead, &key), errorSuccess);
        char buffer[16];
        memset(buffer, '#', sizeof buffer);
        bool ok = readRegistryString(key, "v", buffer, c.bufferSize);
        regCloseKey(key);
        EXPECT_EQ(ok, c.ok) << c.what;
        if (ok) {
            EXPECT_EQ(textOf(buffer, c.bufferSize), c.text) << c.what;
        } else if (c.failQuery != 1) {
            EXPECT_EQ(std::string(buffer, sizeof buffer), std::string(16, '#')) << c.what;
        }
        EXPECT_EQ(buffer[c.bufferSize], '#') << c.what; // nothing past the buffer
    }
}

// ---- Whole launches ------------------------------------------------------------------

TEST_F(JreTest, LaunchWithoutRuntimeEndsWithCode6) {
    const struct {
        const char* what;
        std::string modulePath;
        std::vector<std::string> existing;
        std::string out; // the tail after the argument line
        std::string err;
    } cases[] = {
        {"no runtime", "C:\\App\\launcher.exe", {}, "Application Home is C:\\App\n", noRuntimeKey},
        {"runtime without a library", "C:\\App\\bin\\launcher.exe", {"C:\\App\\bin\\java.dll"},
         "Application Home is C:\\App\nJRE found at C:\\App\n"
         "no JVM found at C:\\App\\bin\\hotspot\\jvm.dll\n"
         "no JVM found at C:\\App\\bin\\classic\\jvm.dll\n"
         "no JVM found at C:\\App\\bin\\client\\jvm.dll\n"
         "no JVM found at C:\\App\\bin\\jvm.dll\n"
         "no JVM found at C:\\App\\bin\\server\\jvm.dll\n",
         ""},
        {"launcher path too long", "C:\\" + std::string(300, 'p') + "\\launcher.exe", {}, "",
         "Error: the launcher's own path is too long\n"},
    };
    for (const auto& c : cases) {
        fake::reset();
        fake::state.modulePath = c.modulePath;
        fake::state.existingPaths = c.existing;
        TempDir dir;
        dir.write("Vintral.cfg", "mainclass=Hello\n");
        LaunchRun run = runLaunch(dir.path, {"C:\\App\\launcher.exe"});
        EXPECT_EQ(run.status, 1) << c.what;
        EXPECT_TRUE(run.out.ends_with("Application arguments = \n" + c.out)) << c.what << "\n" << run.out;
        EXPECT_EQ(run.err,
                  c.err + "Could not find required Java 2 Runtime Environment. Program will exit!\n")
            << c.what;
        ASSERT_EQ(run.boxes.size(), 1u) << c.what;
        EXPECT_EQ(run.boxes[0].text,
                  "Could not find required Java 2 Runtime Environment. Program will exit!");
    }
}

} // namespace
