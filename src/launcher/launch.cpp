#include "launch.h"

#include "lists.h"
#include "report.h"
#include "util.h"
#include "config/config.h"
#include "config/settings.h"
#include "instance/instance.h"
#include "jre/jre.h"
#include "jre/jvmselect.h"
#include "jvm/invoke.h"

char* exeName = nullptr;

void stripDirectory(char** path) {
    *path += afterLastBackslash(*path) - *path;
}

char** parseFileOption(char** cursor, int* remaining) {
    if (*remaining <= 1) return cursor;
    if (cursor[0][0] != '-' || cursor[0][1] != 'f') return cursor;
    --*remaining;
    ++cursor;
    setConfigFile(*cursor);
    --*remaining;
    return cursor + 1;
}

static void writeArgumentLine() {
    writeOut("Application arguments = ");
    for (int i = 0; i < appArgCount; ++i) writeOut("%s ", appArgs[i]);
    writeOut("\n");
}

// Steps 4 to 14 of the launch; the outcome goes to the report.
static Outcome runLaunch(int argc, char** argv) {
    int remaining = argc - 1;
    writeOut("Executing %s.\n", exeName);
    if (countRunning(exeName) > 1) return {10, 1};

    addOption(const_cast<char*>("-Djava.class.path=.;"), nullptr);
    addOption(const_cast<char*>("-noverbose"), nullptr);
    char** cursor = parseFileOption(argv + 1, &remaining);
    createAppArgs();

    int lines = readConfig(".\\");
    writeOut("%d lines read.\n", lines);
    if (lines == 0) return {11, 1};

    for (; remaining > 0; --remaining) addAppArg(*cursor++);
    if (appArgsOverflowed) return {2, 1};
    writeArgumentLine();

    char home[260];
    char runtimeLib[260];
    char jvmPath[260];
    if (!findJRE(requiredVersion, home, sizeof home, runtimeLib, sizeof runtimeLib)) return {6, 1};
    if (!selectJVMLibrary(home, runtimeLib, jvmPath)) return {6, 1};
    return runJavaMain(jvmPath, home);
}

int launch(int argc, char** argv) {
    exeName = copyString(argc > 0 && argv[0] ? argv[0] : "");
    stripDirectory(&exeName);
    Outcome outcome = runLaunch(argc, argv);
    reportFailure(outcome.code, outcome.failed);
    flushOutput();
    return outcome.failed;
}
