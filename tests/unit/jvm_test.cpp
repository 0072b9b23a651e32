// The JVM invocation and the Java argument strings, against the stand-in
// virtual machine of tests/stubvm, which writes its records straight to the
// descriptors: the launcher's lines keep their place among them only if the
// launcher flushes before every hand-over.
#include "harness.h"

#include "config/settings.h"
#include "jvm/invoke.h"
#include "jvm/jstrings.h"
#include "launcher/lists.h"

#include <gtest/gtest.h>

#include <jni.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

const char* const jvmDll = "C:\\App\\jre\\bin\\client\\jvm.dll";
const char* const marker = "--- runJavaMain\n";
char libraryToken;

void registerSymbol(const char* name, void* symbol) {
    fake::state.symbols[std::string(jvmDll) + "!" + name] = symbol;
}

// The stand-in VM as the library at jvmDll.
void installStub(bool withDefaultArgs = true, bool withCreate = true) {
    fake::state.libraries[jvmDll] = &libraryToken;
    if (withDefaultArgs)
        registerSymbol("JNI_GetDefaultJavaVMInitArgs",
                       reinterpret_cast<void*>(&JNI_GetDefaultJavaVMInitArgs));
    if (withCreate) registerSymbol("JNI_CreateJavaVM", reinterpret_cast<void*>(&JNI_CreateJavaVM));
}

struct Invocation {
    std::vector<std::string> options;
    std::vector<std::string> args;
    std::string mainClass = "com.example.App";
    std::string runtimeHome = "C:\\App\\jre";
};

// In the child: fills both lists, runs runJavaMain after the marker line and
// writes the outcome and the state of the lists to the file "result".
void invokeBody(void* context) {
    const Invocation* invocation = static_cast<const Invocation*>(context);
    for (const std::string& option : invocation->options) addOption(strdup(option.c_str()), nullptr);
    createAppArgs();
    for (const std::string& arg : invocation->args) addAppArg(arg.c_str());
    mainClassName = strdup(invocation->mainClass.c_str());
    printf("%s", marker);
    Outcome outcome = runJavaMain(jvmDll, invocation->runtimeHome.c_str());
    FILE* result = fopen("result", "w");
    fprintf(result, "%d/%d options %s, arguments %s", outcome.code, outcome.failed,
            vmOptions ? "kept" : "released", appArgs ? "kept" : "released");
    fclose(result);
}

struct Result {
    std::string out; // what runJavaMain and the stand-in wrote on standard output
    std::string err;
    std::string result;
    int status;
    std::vector<fake::CallRecord> calls;
};

Result invoke(const Invocation& invocation) {
    TempDir dir;
    LaunchRun run = runInChild(dir.path, invokeBody, const_cast<Invocation*>(&invocation));
    size_t start = run.out.find(marker);
    EXPECT_NE(start, std::string::npos) << run.out;
    std::string out = start == std::string::npos ? run.out : run.out.substr(start + strlen(marker));
    return {out, run.err, dir.read("result"), run.status, run.calls};
}

Invocation withOptions(std::vector<std::string> extra, std::string mainClass = "com.example.App") {
    Invocation invocation;
    invocation.options = {"-Djava.class.path=.;", "-noverbose"};
    for (auto& option : extra) invocation.options.push_back(option);
    invocation.mainClass = mainClass;
    return invocation;
}

std::vector<std::string> linesWith(const std::string& text, const std::string& prefix) {
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        std::string line = text.substr(start, end - start);
        if (line.rfind(prefix, 0) == 0) lines.push_back(line);
        start = end + 1;
    }
    return lines;
}

std::string lastLine(std::string text) {
    if (!text.empty() && text.back() == '\n') text.pop_back();
    size_t newline = text.rfind('\n');
    return newline == std::string::npos ? text : text.substr(newline + 1);
}

} // namespace

TEST(RunJavaMain, SuccessfulCallWritesItsAccountBeforeTheApplicationsOutput) {
    fake::reset();
    installStub();
    Invocation invocation = withOptions({"-Dapp.mode=test"});
    invocation.args = {"a", "", "b c", "\xe9\xff"};
    Result r = invoke(invocation);
    EXPECT_EQ(r.result, "0/0 options released, arguments released");
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(r.out,
              "JNI_GetDefaultJavaVMInitArgs from DLL\n"
              "stubvm: JNI_GetDefaultJavaVMInitArgs version 0x10002\n"
              "JNI_CreateJavaVM from DLL\n"
              "stubvm: JNI_CreateJavaVM version 0x10002, 3 option(s), ignoreUnrecognized 1\n"
              "stubvm: option 0 <-Djava.class.path=.;>\n"
              "stubvm: option 1 <-noverbose>\n"
              "stubvm: option 2 <-Dapp.mode=test>\n"
              "FindClass\n"
              "Searching for class <com/example/App>\n"
              "GetStaticMethodID\n"
              "CallStaticVoidMethod <main> with 4 arg(s)\n"
              "\n"
              "===========================================\n"
              "\n"
              "stubvm: main com/example/App with 4 arg(s)\n"
              "stubvm: arg 0 <a>\n"
              "stubvm: arg 1 <>\n"
              "stubvm: arg 2 <b c>\n"
              "stubvm: arg 3 <\xe9\xff>\n"
              "stubvm: DestroyJavaVM, at most 6 local references were live\n");
}

TEST(RunJavaMain, NoArgumentsGiveAnEmptyArray) {
    fake::reset();
    installStub();
    Result r = invoke(withOptions({}));
    EXPECT_EQ(r.result, "0/0 options released, arguments released");
    EXPECT_NE(r.out.find("CallStaticVoidMethod <main> with 0 arg(s)\n\n"
                         "===========================================\n\n"
                         "stubvm: main com/example/App with 0 arg(s)\n"
                         "stubvm: DestroyJavaVM"),
              std::string::npos)
        << r.out;
}

TEST(RunJavaMain, EachFailureHasItsCodeAndItsLines) {
    struct Case {
        const char* what;
        std::vector<std::string> options;
        const char* mainClass;
        bool hasLibrary, hasDefaultArgs, hasCreate;
        const char* result;
        const char* err;          // standard error, exactly
        const char* lastOutLine;  // the last line on standard output
    };
    const std::string missingClassError =
        "Exception in thread \"main\" java.lang.NoClassDefFoundError: com/example/MissingApp\n"
        "\tat stubvm.StandIn.call(StandIn.java)\n";
    const std::string loadError = std::string("Error loading: ") + jvmDll + "\n";
    const std::string notLoaded = loadError + "Reason: error 126: The specified module could not be found.\n";
    const std::string noEntry = loadError + "Reason: error 127: The specified procedure could not be found.\n";
    const Case cases[] = {
        {"library does not load", {}, "App", false, true, true, "1/1 options kept, arguments kept",
         notLoaded.c_str(), ""},
        {"no JNI_GetDefaultJavaVMInitArgs", {}, "App", true, false, true,
         "1/1 options kept, arguments kept", noEntry.c_str(), ""},
        {"no JNI_CreateJavaVM", {}, "App", true, true, false, "1/1 options kept, arguments kept",
         noEntry.c_str(), ""},
        {"creation refused", {"-Dstubvm.create=fail"}, "App", true, true, true,
         "3/1 options released, arguments kept", "Error: the stand-in VM was told not to start.\n",
         "stubvm: option 2 <-Dstubvm.create=fail>"},
        {"class missing", {}, "com.example.MissingApp", true, true, true,
         "4/1 options released, arguments kept", missingClassError.c_str(),
         "Searching for class <com/example/MissingApp>"},
        {"class missing, nothing pending", {"-Dstubvm.quiet=1"}, "com.example.MissingApp", true,
         true, true, "4/1 options released, arguments kept", "Can't find startup class!\n",
         "Searching for class <com/example/MissingApp>"},
        {"main missing", {}, "NoMainApp", true, true, true, "5/1 options released, arguments kept",
         "Exception in thread \"main\" java.lang.NoSuchMethodError: main\n"
         "\tat stubvm.StandIn.call(StandIn.java)\n",
         "GetStaticMethodID"},
        {"main missing, nothing pending", {"-Dstubvm.quiet=1"}, "NoMainApp", true, true, true,
         "5/1 options released, arguments kept", "Can't find startup method!\n",
         "GetStaticMethodID"},
        {"main throws", {}, "Throws", true, true, true, "9/1 options released, arguments released",
         "Exception in thread \"main\" java.lang.IllegalStateException: thrown by main\n"
         "\tat stubvm.StandIn.call(StandIn.java)\n",
         "stubvm: DestroyJavaVM, at most 6 local references were live"},
    };
    for (const Case& c : cases) {
        fake::reset();
        if (c.hasLibrary) installStub(c.hasDefaultArgs, c.hasCreate);
        Invocation invocation = withOptions(c.options, c.mainClass);
        invocation.args = {"one", "two"};
        Result r = invoke(invocation);
        EXPECT_EQ(r.result, c.result) << c.what;
        EXPECT_EQ(r.err, c.err) << c.what;
        EXPECT_EQ(lastLine(r.out), c.lastOutLine) << c.what << "\n" << r.out;
        if (!c.hasDefaultArgs || !c.hasCreate) {
            EXPECT_EQ(r.out, "") << c.what;
        }
    }
}

// The system's reason follows the load error, in one line; a code without
// a text is given alone.
TEST(RunJavaMain, LoadFailureGivesTheSystemsReason) {
    const struct {
        uint32_t code;
        const char* reason;
    } cases[] = {
        {193, "Reason: error 193: %1 is not a valid Win32 application.\n"},
        {126, "Reason: error 126: The specified module could not be found.\n"},
        {1157, "Reason: error 1157: One of the library files needed to run this application cannot be "
               "found.\n"},
        {5, "Reason: error 5\n"},
    };
    for (const auto& c : cases) {
        fake::reset();
        fake::state.loadError = c.code;
        Result r = invoke(withOptions({}));
        EXPECT_EQ(r.result, "1/1 options kept, arguments kept") << c.code;
        EXPECT_EQ(r.err, std::string("Error loading: ") + jvmDll + "\n" + c.reason);
        EXPECT_EQ(r.out, "") << c.code;
    }
}

namespace {

// The calls about the library, in their order.
std::vector<std::string> loadSteps(const Result& r) {
    std::vector<std::string> steps;
    for (const auto& call : r.calls) {
        if (call.call == fake::Call::addLibraryDirectory) steps.push_back("add " + call.detail);
        if (call.call == fake::Call::loadLibrary) steps.push_back("load " + call.detail);
        if (call.call == fake::Call::removeLibraryDirectory) steps.push_back("remove");
        if (call.call == fake::Call::findSymbol) steps.push_back("find " + call.detail);
    }
    return steps;
}

} // namespace

// The runtime's bin folder takes part in the search for this one load: it
// is added before and removed after it, before the entry points are looked
// up. A step that fails changes nothing else: the load goes on as it would
// have without it, and no line is written about it.
TEST(RunJavaMain, RuntimeBinFolderTakesPartInTheLoadOnly) {
    const std::string bin = "C:\\App\\jre\\bin";
    const std::string load = std::string("load ") + jvmDll;
    const std::vector<std::string> found = {"find JNI_GetDefaultJavaVMInitArgs", "find JNI_CreateJavaVM"};
    auto then = [](std::vector<std::string> steps, const std::vector<std::string>& more) {
        steps.insert(steps.end(), more.begin(), more.end());
        return steps;
    };
    const std::string missingDependency =
        std::string("Error loading: ") + jvmDll +
        "\nReason: error 126: The specified module could not be found.\n";
    const struct {
        const char* what;
        std::string dependencyFolder; // empty: the library needs none
        std::string runtimeHome;
        bool addFails, removeFails;
        const char* result;
        std::string err;
        std::vector<std::string> steps;
    } cases[] = {
        {"no dependency", "", "C:\\App\\jre", false, false, "0/0 options released, arguments released", "",
         then({"add " + bin, load, "remove"}, found)},
        {"dependency in bin", bin, "C:\\App\\jre", false, false, "0/0 options released, arguments released",
         "", then({"add " + bin, load, "remove"}, found)},
        {"dependency elsewhere", "C:\\Elsewhere", "C:\\App\\jre", false, false,
         "1/1 options kept, arguments kept", missingDependency, {"add " + bin, load, "remove"}},
        {"the step fails, no dependency", "", "C:\\App\\jre", true, false,
         "0/0 options released, arguments released", "", then({"add " + bin, load}, found)},
        {"the step fails, dependency in bin", bin, "C:\\App\\jre", true, false,
         "1/1 options kept, arguments kept", missingDependency, {"add " + bin, load}},
        {"removing fails", bin, "C:\\App\\jre", false, true, "0/0 options released, arguments released", "",
         then({"add " + bin, load, "remove"}, found)},
        {"a home whose bin folder does not fit", "", "C:\\" + std::string(300, 'h'), false, false,
         "0/0 options released, arguments released", "", then({load}, found)},
    };
    for (const auto& c : cases) {
        fake::reset();
        installStub();
        if (!c.dependencyFolder.empty()) fake::state.dependencyFolders[jvmDll] = c.dependencyFolder;
        if (c.addFails) fake::state.failNth[fake::Call::addLibraryDirectory] = 0;
        if (c.removeFails) fake::state.failNth[fake::Call::removeLibraryDirectory] = 0;
        Invocation invocation = withOptions({});
        invocation.runtimeHome = c.runtimeHome;
        Result r = invoke(invocation);
        EXPECT_EQ(r.result, c.result) << c.what;
        EXPECT_EQ(r.err, c.err) << c.what;
        EXPECT_EQ(loadSteps(r), c.steps) << c.what;
        if (c.err.empty()) {
            EXPECT_TRUE(r.out.starts_with("JNI_GetDefaultJavaVMInitArgs from DLL\n")) << c.what << "\n" << r.out;
        } else {
            EXPECT_EQ(r.out, "") << c.what;
        }
    }
}

// Whichever JNI call fails while the array is made: code 8, the pending
// exception described, main never called, the argument array released.
TEST(RunJavaMain, ArgumentArrayFailuresEndWithCode8) {
    struct Case {
        const char* fail;
        const char* description;
    };
    const Case cases[] = {
        {"FindClass:2", "java.lang.OutOfMemoryError: FindClass failed as asked"},
        {"NewObjectArray:1", "java.lang.OutOfMemoryError: NewObjectArray failed as asked"},
        {"FindClass:5", "java.lang.OutOfMemoryError: FindClass failed as asked"},
        {"GetMethodID:3", "java.lang.OutOfMemoryError: GetMethodID failed as asked"},
        {"NewByteArray:1", "java.lang.OutOfMemoryError: NewByteArray failed as asked"},
        {"SetByteArrayRegion:2", "java.lang.ArrayIndexOutOfBoundsException: SetByteArrayRegion"},
        {"NewObject:3", "java.lang.OutOfMemoryError: NewObject failed as asked"},
    };
    for (const Case& c : cases) {
        fake::reset();
        installStub();
        Invocation invocation = withOptions({std::string("-Dstubvm.fail=") + c.fail});
        invocation.args = {"one", "two", "three"};
        Result r = invoke(invocation);
        EXPECT_EQ(r.result, "8/1 options released, arguments released") << c.fail;
        EXPECT_EQ(r.err, std::string("Exception in thread \"main\" ") + c.description +
                             "\n\tat stubvm.StandIn.call(StandIn.java)\n")
            << c.fail;
        EXPECT_EQ(r.out.find("CallStaticVoidMethod"), std::string::npos) << c.fail;
        EXPECT_EQ(r.out.find("stubvm: main"), std::string::npos) << c.fail;
        EXPECT_EQ(r.out.find("WARNING"), std::string::npos) << c.fail << "\n" << r.out;
    }
}

// The JNI calls for one argument, in their order, with every reference
// but the array's own given back.
TEST(JavaStrings, OneArgumentTakesTheseCallsInThisOrder) {
    fake::reset();
    installStub();
    Invocation invocation = withOptions({"-Dstubvm.trace=1"});
    invocation.args = {"xy"};
    Result r = invoke(invocation);
    EXPECT_EQ(r.result, "0/0 options released, arguments released");
    std::vector<std::string> calls = linesWith(r.out, "stubvm: call ");
    std::vector<std::string> expected = {
        "stubvm: call FindClass com/example/App",
        "stubvm: call GetStaticMethodID main",
        "stubvm: call FindClass java/lang/String",
        "stubvm: call NewObjectArray java/lang/String",
        "stubvm: call FindClass java/lang/String",
        "stubvm: call GetMethodID <init>",
        "stubvm: call NewByteArray 2",
        "stubvm: call SetByteArrayRegion",
        "stubvm: call ExceptionOccurred none",
        "stubvm: call NewObject java/lang/String",
        "stubvm: call DeleteLocalRef bytes",
        "stubvm: call DeleteLocalRef class java/lang/String",
        "stubvm: call SetObjectArrayElement",
        "stubvm: call DeleteLocalRef string",
        "stubvm: call CallStaticVoidMethod com/example/App",
        "stubvm: call ExceptionOccurred none",
    };
    EXPECT_EQ(calls, expected) << r.out;
}

// Each argument gives back its class reference: 500 of them stay within the
// 16 local references that JNI guarantees.
TEST(JavaStrings, FiveHundredArgumentsStayWithinTheGuaranteedReferences) {
    fake::reset();
    installStub();
    Invocation invocation = withOptions({});
    for (int i = 0; i < appArgLimit; ++i) invocation.args.push_back(std::to_string(i));
    Result r = invoke(invocation);
    EXPECT_EQ(r.result, "0/0 options released, arguments released");
    EXPECT_NE(r.out.find("stubvm: main com/example/App with 500 arg(s)\n"), std::string::npos);
    EXPECT_NE(r.out.find("stubvm: arg 499 <499>\n"), std::string::npos);
    EXPECT_NE(r.out.find("stubvm: DestroyJavaVM, at most 6 local references were live\n"),
              std::string::npos)
        << r.out.substr(r.out.size() > 200 ? r.out.size() - 200 : 0);
}

namespace {

struct ClassName {
    const char* given;
    const char* searched;
};

// In the child: a stand-in VM made directly, then findMainClass.
void findClassBody(void* context) {
    const ClassName* name = static_cast<const ClassName*>(context);
    JavaVMOption option = {const_cast<char*>("-Dstubvm.trace=1"), nullptr};
    JavaVMInitArgs args = {JNI_VERSION_1_2, 1, &option, JNI_TRUE};
    JavaVM* vm = nullptr;
    JNIEnv* env = nullptr;
    if (JNI_CreateJavaVM(&vm, reinterpret_cast<void**>(&env), &args) != JNI_OK) return;
    printf("%s", marker);
    jclass found = findMainClass(env, name->given);
    printf("result %s\n", found ? "class" : "null");
}

} // namespace

TEST(FindMainClass, DotsBecomeSlashesAndNothingElseChanges) {
    const ClassName cases[] = {
        {"com.example.App", "com/example/App"},
        {"Outer$Inner", "Outer$Inner"},
        {"com/example/App", "com/example/App"},
        {"a..b.", "a//b/"},
    };
    for (const ClassName& c : cases) {
        fake::reset();
        TempDir dir;
        LaunchRun run = runInChild(dir.path, findClassBody, const_cast<ClassName*>(&c));
        std::string out = run.out.substr(run.out.find(marker) + strlen(marker));
        EXPECT_EQ(out, std::string("Searching for class <") + c.searched + ">\n" +
                           "stubvm: call FindClass " + c.searched + "\nresult class\n")
            << c.given;
    }
}

TEST(FindMainClass, NoMemoryForTheNameEndsTheLaunch) {
    fake::reset();
    fake::state.failNth[fake::Call::allocate] = 0;
    ClassName name = {"com.example.App", ""};
    TempDir dir;
    LaunchRun run = runInChild(dir.path, findClassBody, &name);
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err, "Out of memory.\nCould not execute program!\n");
    EXPECT_EQ(run.out.find("stubvm: call FindClass"), std::string::npos);
}

namespace {

// A private runtime at C:\App\jre whose client VM is the stand-in.
void installPrivateRuntime() {
    fake::state.modulePath = "C:\\App\\launcher.exe";
    fake::state.existingPaths = {"C:\\App\\jre\\bin\\java.dll", jvmDll};
    installStub();
}

} // namespace

TEST(JavaLaunch, WholeLaunchReachesMainAndEndsWithStatus0) {
    fake::reset();
    installPrivateRuntime();
    TempDir dir;
    dir.write("Vintral.cfg", "mainclass=com.example.App\nvmargs=app.mode=test\nappargs=alpha\n");
    LaunchRun run = runLaunch(dir.path, {"C:\\App\\launcher.exe", "two words"});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.err, "");
    EXPECT_TRUE(run.boxes.empty());
    EXPECT_EQ(run.out,
              "Executing launcher.exe.\n"
              "Creating options array.\n"
              "Adding option <-Djava.class.path=.;>\n"
              "Adding option <-noverbose>\n"
              "Reading configuration file Vintral.cfg...\n"
              "param 'mainclass'='com.example.App'\n"
              "Main class = com.example.App\n"
              "param 'vmargs'='app.mode=test'\n"
              "VM option = app.mode=test\n"
              "Adding option <-Dapp.mode=test>\n"
              "param 'appargs'='alpha'\n"
              "readConfig ended.\n"
              "3 lines read.\n"
              "Application arguments = alpha two words \n"
              "Application Home is C:\\App\n"
              "JRE found at C:\\App\\jre\n"
              "no JVM found at C:\\App\\jre\\bin\\hotspot\\jvm.dll\n"
              "no JVM found at C:\\App\\jre\\bin\\classic\\jvm.dll\n"
              "JVM found at C:\\App\\jre\\bin\\client\\jvm.dll\n"
              "JNI_GetDefaultJavaVMInitArgs from DLL\n"
              "stubvm: JNI_GetDefaultJavaVMInitArgs version 0x10002\n"
              "JNI_CreateJavaVM from DLL\n"
              "stubvm: JNI_CreateJavaVM version 0x10002, 3 option(s), ignoreUnrecognized 1\n"
              "stubvm: option 0 <-Djava.class.path=.;>\n"
              "stubvm: option 1 <-noverbose>\n"
              "stubvm: option 2 <-Dapp.mode=test>\n"
              "FindClass\n"
              "Searching for class <com/example/App>\n"
              "GetStaticMethodID\n"
              "CallStaticVoidMethod <main> with 2 arg(s)\n"
              "\n"
              "===========================================\n"
              "\n"
              "stubvm: main com/example/App with 2 arg(s)\n"
              "stubvm: arg 0 <alpha>\n"
              "stubvm: arg 1 <two words>\n"
              "stubvm: DestroyJavaVM, at most 6 local references were live\n");
}

// The outcome of runJavaMain reaches the report and the exit status.
TEST(JavaLaunch, FailuresOfTheInvocationAreReported) {
    struct Case {
        const char* config;
        const char* message;
    };
    const Case cases[] = {
        {"mainclass=Missing\n", "Could not find the startup class. Program will exit!"},
        {"mainclass=Throws\n", "Program returned with exception."},
        {"mainclass=App\nvmargs=stubvm.create=fail\n",
         "Could not initialize the Java virtual machine. Program will exit!"},
    };
    for (const Case& c : cases) {
        fake::reset();
        installPrivateRuntime();
        TempDir dir;
        dir.write("Vintral.cfg", c.config);
        LaunchRun run = runLaunch(dir.path, {"C:\\App\\launcher.exe"});
        EXPECT_EQ(run.status, 1) << c.config;
        ASSERT_EQ(run.boxes.size(), 1u) << c.config;
        EXPECT_EQ(run.boxes[0].text, c.message);
        EXPECT_EQ(lastLine(run.err), c.message) << run.err;
    }
}

// A JDK 17 as its installer registers it: only the JDK key, RuntimeLib in
// bin\server, and a jvm.dll that needs a library of the JDK's bin folder.
TEST(JavaLaunch, RegisteredJdkReachesMain) {
    const std::string jdk = "C:\\Java\\jdk-17";
    const std::string library = jdk + "\\bin\\server\\jvm.dll";
    fake::reset();
    fake::setRegString("Software\\JavaSoft\\JDK", "CurrentVersion", "17");
    fake::setRegString("Software\\JavaSoft\\JDK\\17", "JavaHome", jdk);
    fake::setRegString("Software\\JavaSoft\\JDK\\17", "RuntimeLib", library);
    fake::state.existingPaths = {library};
    fake::state.libraries[library] = &libraryToken;
    fake::state.symbols[library + "!JNI_GetDefaultJavaVMInitArgs"] =
        reinterpret_cast<void*>(&JNI_GetDefaultJavaVMInitArgs);
    fake::state.symbols[library + "!JNI_CreateJavaVM"] = reinterpret_cast<void*>(&JNI_CreateJavaVM);
    fake::state.dependencyFolders[library] = jdk + "\\bin";
    TempDir dir;
    dir.write("Vintral.cfg", "mainclass=App\n");
    LaunchRun run = runLaunch(dir.path, {"C:\\App\\launcher.exe"});
    EXPECT_EQ(run.status, 0) << run.out << run.err;
    EXPECT_TRUE(run.boxes.empty());
    EXPECT_EQ(run.err, "Error opening registry key 'Software\\JavaSoft\\Java Runtime Environment'\n"
                       "Error opening registry key 'Software\\JavaSoft\\JRE'\n");
    size_t search = run.out.find("Application Home is ");
    ASSERT_NE(search, std::string::npos) << run.out;
    EXPECT_TRUE(run.out.substr(search).starts_with(
        "Application Home is C:\\App\n"
        "Registry key 'Software\\JavaSoft\\JDK\\CurrentVersion'\n"
        "has value '17', but '1.3' is expected.\n"
        "Trying to use '17'.\n"
        "Warning: Can't read MicroVersion\n"
        "Version major.minor.micro = 17.\n"
        "Found RuntimeLib path in registry: C:\\Java\\jdk-17\\bin\\server\\jvm.dll\n"
        "JRE found at C:\\Java\\jdk-17\n"
        "JVM found at C:\\Java\\jdk-17\\bin\\server\\jvm.dll\n"
        "JNI_GetDefaultJavaVMInitArgs from DLL\n"))
        << run.out;
    EXPECT_NE(run.out.find("stubvm: main App with 0 arg(s)\n"), std::string::npos) << run.out;
    EXPECT_TRUE(run.openKeys.empty());
}
