// Every platform call that a whole launch makes, made to fail in turn.
//
// A successful launch is recorded first; each call it made (whatever its
// kind, wherever it comes from) is then failed alone in a launch of its own.
// A call site added later is therefore injected without anyone listing it.
// Each failure must end in its defined outcome, without a crash, with one
// report at most, and with every registry key closed again.
#include "harness.h"
#include "perf_block.h"

#include <jni.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <map>
#include <string>
#include <vector>

namespace {

const char* const counterKey = "software\\microsoft\\windows nt\\currentversion\\perflib\\009";
const char* const javaKey = "Software\\JavaSoft\\Java Runtime Environment";
char libraryToken;

const char* const success = "";
const char* const noConfiguration = "Could not open configuration file. Program will exit!";
const char* const noRuntime = "Could not find required Java 2 Runtime Environment. Program will exit!";
const char* const noLibrary = "Could not load the Java virtual machine. Program will exit!";
const char* const noMemory = "Could not execute program!";

// What failing one call must give: the report's message ("" for a launch
// that still succeeds). A rule matches the call's kind and, when given, a
// part of its detail. The first matching rule counts.
struct Rule {
    fake::Call call;
    const char* detailPart; // null: any call of the kind
    std::vector<const char*> outcomes; // any of these
};

struct Scenario {
    const char* name;
    void (*setUp)();
    std::vector<std::string> argv;
    std::vector<Rule> rules;
};

void installStub(const std::string& path) {
    fake::state.libraries[path] = &libraryToken;
    fake::state.symbols[path + "!JNI_GetDefaultJavaVMInitArgs"] =
        reinterpret_cast<void*>(&JNI_GetDefaultJavaVMInitArgs);
    fake::state.symbols[path + "!JNI_CreateJavaVM"] = reinterpret_cast<void*>(&JNI_CreateJavaVM);
}

// Windows NT: the count from the performance data, a registered runtime
// whose RuntimeLib names the library, a log file.
void setUpNtRegistry() {
    fake::state.platformId = platformWinNT;
    fake::setRegValue(counterKey, "Counters", regTypeBinary,
                      perf::counterList({"1", "1847", "230", "Process", "232", "Processor"}));
    fake::state.perfData = perf::build({"explorer", "launcher"}).bytes;
    fake::setRegString(javaKey, "CurrentVersion", "1.4");
    std::string version = std::string(javaKey) + "\\1.4";
    fake::setRegString(version, "JavaHome", "C:\\Java");
    fake::setRegString(version, "MicroVersion", "2");
    fake::setRegString(version, "RuntimeLib", "C:\\Java\\bin\\client\\jvm.dll");
    fake::state.existingPaths = {"C:\\Java\\bin\\client\\jvm.dll"};
    installStub("C:\\Java\\bin\\client\\jvm.dll");
}

// Windows 95: the count from a process snapshot, a private runtime beside
// a launcher in a bin folder.
void setUpWin95Private() {
    fake::state.platformId = platformWin95;
    fake::state.modulePath = "C:\\App\\bin\\launcher.exe";
    fake::state.processes = {"C:\\WINDOWS\\EXPLORER.EXE", "C:\\App\\bin\\launcher.exe"};
    fake::state.existingPaths = {"C:\\App\\bin\\java.dll", "C:\\App\\bin\\client\\jvm.dll"};
    installStub("C:\\App\\bin\\client\\jvm.dll");
}

using fake::Call;

const Scenario scenarios[] = {
    {"NT family, registered runtime",
     setUpNtRegistry,
     {"C:\\App\\launcher.exe", "arg"},
     {
         // A count that cannot be taken lets the launch go on.
         {Call::getPlatformId, nullptr, {success}},
         {Call::regOpenKey, "perflib", {success}},
         {Call::regQueryValue, "Counters", {success}},
         {Call::regQueryValue, "HKPD", {success}},
         {Call::wideToAnsi, nullptr, {success}},
         {Call::regCloseKey, nullptr, {success}},
         {Call::openTextFile, nullptr, {noConfiguration}},
         {Call::reopenStdout, nullptr, {success}},
         {Call::reopenStderr, nullptr, {success}},
         {Call::getModulePath, nullptr, {noRuntime}},
         // No private runtime either way.
         {Call::pathExists, "java.dll", {success}},
         // RuntimeLib missing: the client candidate below JavaHome is the same file.
         {Call::pathExists, "jvm.dll", {success}},
         {Call::regOpenKey, "1.4", {noRuntime}},
         {Call::regOpenKey, "Java Runtime Environment", {noRuntime}},
         // The configuration requires 1.4, which stands in for CurrentVersion.
         {Call::regQueryValue, "CurrentVersion", {success}},
         {Call::regQueryValue, "JavaHome", {noRuntime}},
         {Call::regQueryValue, "MicroVersion", {success}},
         {Call::regQueryValue, "RuntimeLib", {success}},
         {Call::loadLibrary, nullptr, {noLibrary}},
         // The runtime's bin folder only helps the load; the stand-in needs nothing from it.
         {Call::addLibraryDirectory, nullptr, {success}},
         {Call::removeLibraryDirectory, nullptr, {success}},
         {Call::findSymbol, "JNI_", {noLibrary}},
         // An option block that cannot be had drops its option; any other
         // copy that cannot be had ends the launch.
         {Call::allocate, nullptr, {success, noMemory}},
         {Call::reallocate, nullptr, {success, noMemory}},
     }},
    {"95 family, private runtime",
     setUpWin95Private,
     {"C:\\App\\bin\\launcher.exe"},
     {
         {Call::getPlatformId, nullptr, {success}},
         {Call::findLoadedModule, nullptr, {success}},
         {Call::findSymbol, "Process32", {success}},
         {Call::findSymbol, "Toolhelp", {success}},
         {Call::createSnapshot, nullptr, {success}},
         {Call::processWalk, nullptr, {success}},
         {Call::closeSnapshot, nullptr, {success}},
         {Call::openTextFile, nullptr, {noConfiguration}},
         {Call::reopenStdout, nullptr, {success}},
         {Call::reopenStderr, nullptr, {success}},
         {Call::getModulePath, nullptr, {noRuntime}},
         // Without the private runtime the registry is asked: it is empty.
         {Call::pathExists, "java.dll", {noRuntime}},
         // The client candidate missing: bin\jvm.dll does not exist either.
         {Call::pathExists, "client\\jvm.dll", {noRuntime}},
         {Call::pathExists, "jvm.dll", {success}},
         {Call::loadLibrary, nullptr, {noLibrary}},
         {Call::addLibraryDirectory, nullptr, {success}},
         {Call::removeLibraryDirectory, nullptr, {success}},
         {Call::findSymbol, "JNI_", {noLibrary}},
         {Call::allocate, nullptr, {success, noMemory}},
         {Call::reallocate, nullptr, {success, noMemory}},
     }},
};

const char* const configuration =
    "mainclass=com.example.App\n"
    "logfilename=app.log\n"
    "classpath=lib\\app.jar\n"
    "requiredVM=1.4\n"
    "appargs=one two\n";

const Rule* ruleFor(const Scenario& scenario, const fake::CallRecord& call) {
    for (const Rule& rule : scenario.rules)
        if (rule.call == call.call && (!rule.detailPart || call.detail.find(rule.detailPart) != std::string::npos))
            return &rule;
    return nullptr;
}

// The report's line is the last line of standard error, or of the log.
std::string reportedMessage(const LaunchRun& run) {
    if (run.boxes.empty()) return "";
    return run.boxes[0].text;
}

// With LAUNCHER_FAULTS_REPORT set, each injected failure and its outcome
// is appended to that file (for the reliability figures).
void reportInjection(const std::string& what, const std::string& message) {
    const char* path = getenv("LAUNCHER_FAULTS_REPORT");
    if (!path) return;
    FILE* f = fopen(path, "a");
    if (!f) return;
    fprintf(f, "%s\t%s\n", what.c_str(), message.empty() ? "launch completed" : message.c_str());
    fclose(f);
}

bool endsWithLine(const std::string& text, const std::string& line) {
    std::string wanted = line + "\n";
    return text.size() >= wanted.size() && text.compare(text.size() - wanted.size(), wanted.size(), wanted) == 0;
}

} // namespace

TEST(Faults, EveryPlatformCallOfALaunchFailingInTurn) {
    for (const Scenario& scenario : scenarios) {
        TempDir dir;
        dir.write("Vintral.cfg", configuration);
        fake::reset();
        scenario.setUp();
        LaunchRun recorded = runLaunch(dir.path, scenario.argv);
        ASSERT_EQ(recorded.status, 0) << scenario.name << "\n" << recorded.out << recorded.err;
        ASSERT_TRUE(recorded.boxes.empty()) << scenario.name;
        ASSERT_TRUE(recorded.openKeys.empty()) << scenario.name;
        ASSERT_FALSE(recorded.calls.empty()) << scenario.name;

        for (size_t i = 0; i < recorded.calls.size(); ++i) {
            const fake::CallRecord& call = recorded.calls[i];
            if (call.call == Call::release) continue; // nothing to fail
            const Rule* rule = ruleFor(scenario, call);
            ASSERT_NE(rule, nullptr) << scenario.name << ": no outcome is defined for a failing "
                                     << fake::callName(call.call) << " (" << call.detail << ")";
            TempDir here;
            here.write("Vintral.cfg", configuration);
            fake::reset();
            scenario.setUp();
            fake::state.failAtCall = static_cast<long>(i);
            LaunchRun run = runLaunch(here.path, scenario.argv);

            std::string where = std::string(scenario.name) + ", call " + std::to_string(i) + " " +
                                fake::callName(call.call) + " (" + call.detail + ")";
            ASSERT_TRUE(run.status == 0 || run.status == 1) << where << ": crashed";
            ASSERT_LE(run.boxes.size(), 1u) << where;
            EXPECT_TRUE(run.openKeys.empty()) << where << ": a registry key left open";
            std::string message = reportedMessage(run);
            reportInjection(std::string("platform\t") + scenario.name + "\t" + fake::callName(call.call) +
                                " " + call.detail,
                            message);
            bool expected = false;
            for (const char* outcome : rule->outcomes) expected = expected || message == outcome;
            EXPECT_TRUE(expected) << where << ": reported '" << message << "'\n" << run.out << run.err;
            EXPECT_EQ(run.status, message.empty() ? 0 : 1) << where;
            if (!message.empty()) {
                // The line after the box, on standard error or in the log.
                std::string log = here.read("app.log");
                EXPECT_TRUE(endsWithLine(run.err, message) || endsWithLine(log, message)) << where;
            }
        }
    }
}

namespace {

// The JNI calls of a launch, as the stand-in VM traces them: "FindClass",
// "GetMethodID", ... in their order.
std::vector<std::string> tracedJniCalls(const std::string& text) {
    std::vector<std::string> calls;
    const std::string prefix = "stubvm: call ";
    for (size_t at = text.find(prefix); at != std::string::npos; at = text.find(prefix, at + 1)) {
        size_t start = at + prefix.size();
        size_t end = text.find_first_of(" \n", start);
        calls.push_back(text.substr(start, end - start));
    }
    return calls;
}

const char* const noClass = "Could not find the startup class. Program will exit!";
const char* const noMethod = "Could not find the startup method. Program will exit!";
const char* const badArguments = "Invalid class arguments given. Program will exit!";
const char* const withException = "Program returned with exception.";
const char* const noVm = "Could not initialize the Java virtual machine. Program will exit!";

// The functions that can fail, and what their failure must end in; the
// first FindClass is the main class's.
const char* jniOutcome(const std::string& function, int nth) {
    if (function == "FindClass") return nth == 1 ? noClass : badArguments;
    if (function == "GetStaticMethodID") return noMethod;
    if (function == "GetMethodID" || function == "NewByteArray" || function == "SetByteArrayRegion" ||
        function == "NewObject" || function == "NewObjectArray")
        return badArguments;
    if (function == "CallStaticVoidMethod") return withException;
    return nullptr; // cannot fail (ExceptionOccurred, DeleteLocalRef, ...)
}

LaunchRun launchWithStub(const std::string& extraConfiguration, const TempDir& dir) {
    dir.write("Vintral.cfg", std::string("mainclass=com.example.App\nappargs=one two\n") + extraConfiguration);
    fake::reset();
    setUpNtRegistry();
    return runLaunch(dir.path, {"C:\\App\\launcher.exe", "three"});
}

} // namespace

TEST(Faults, EveryJniCallOfALaunchFailingInTurn) {
    TempDir dir;
    LaunchRun traced = launchWithStub("vmargs=stubvm.trace=1\n", dir);
    ASSERT_EQ(traced.status, 0) << traced.out << traced.err;
    std::vector<std::string> calls = tracedJniCalls(traced.out);
    ASSERT_FALSE(calls.empty()) << traced.out;

    std::map<std::string, int> seen;
    for (const std::string& function : calls) {
        int nth = ++seen[function];
        const char* outcome = jniOutcome(function, nth);
        if (!outcome) continue;
        TempDir here;
        std::string fail = function + ":" + std::to_string(nth);
        LaunchRun run = launchWithStub("vmargs=stubvm.fail=" + fail + "\n", here);
        ASSERT_EQ(run.boxes.size(), 1u) << fail << "\n" << run.out << run.err;
        reportInjection("jni\t" + fail, run.boxes[0].text);
        EXPECT_EQ(run.boxes[0].text, outcome) << fail;
        EXPECT_EQ(run.status, 1) << fail;
        // The exception that the failing function left is described once.
        size_t described = run.err.find("Exception in thread \"main\"");
        EXPECT_NE(described, std::string::npos) << fail << "\n" << run.err;
        EXPECT_EQ(run.err.find("Exception in thread", described + 1), std::string::npos) << fail;
        EXPECT_TRUE(endsWithLine(run.err, outcome)) << fail << "\n" << run.err;
        EXPECT_EQ(run.out.find("WARNING"), std::string::npos) << fail << ": a JNI call with an exception pending";
    }

    // The virtual machine refusing to be created.
    TempDir refused;
    LaunchRun run = launchWithStub("vmargs=stubvm.create=fail\n", refused);
    ASSERT_EQ(run.boxes.size(), 1u);
    EXPECT_EQ(run.boxes[0].text, noVm);
    EXPECT_EQ(run.status, 1);
}
