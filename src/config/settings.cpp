#include "settings.h"

#include "launcher/lists.h"
#include "launcher/util.h"
#include "platform/platform.h"

#include <cstdio>
#include <cstring>

const char* configFileName = "Vintral.cfg";
const char* mainClassName = "TestClass";
const char* requiredVersion = "1.3";
const char* logFileName = "launcher.log";

void setConfigFile(const char* value) {
    configFileName = copyString(value);
    writeOut("Configuration Filename = %s\n", configFileName);
}

void setMainClass(const char* value) {
    mainClassName = copyString(value);
    writeOut("Main class = %s\n", mainClassName);
}

void setRequiredVM(const char* value) {
    requiredVersion = copyString(value);
    writeOut("JRE release = %s\n", requiredVersion);
}

// The option text is a block of its own that the option list keeps for
// the rest of the process.
static void addFormattedOption(const char* value, const char* pattern, const char* line,
                               bool skipEmpty) {
    size_t size = strlen(value) + 40;
    char* option = static_cast<char*>(allocate(size));
    if (!option) return;
    if (skipEmpty && value[0] == '\0') {
        release(option);
        return;
    }
    writeOut(line, value);
    snprintf(option, size, pattern, value);
    addOption(option, nullptr);
}

void addClassPath(const char* value) {
    addFormattedOption(value, "-Djava.class.path=%s", "Classpath = %s\n", false);
}

void addVMArg(const char* value) { addFormattedOption(value, "-D%s", "VM option = %s\n", false); }

void addVMArgNative(const char* value) {
    addFormattedOption(value, "%s", "VM option native = %s\n", true);
}

// Words are separated by runs of spaces; there is no quoting.
void addAppArgs(const char* value) {
    char* work = copyString(value);
    char* word = work;
    for (char* space = strchr(word, ' '); space; space = strchr(word, ' ')) {
        char* next = space;
        while (*next == ' ') *next++ = '\0';
        addAppArg(word);
        word = next;
    }
    if (*word) addAppArg(word);
    release(work);
}

void setLogFile(const char* value) {
    logFileName = copyString(value);
    if (logFileName[0] == '\0') return;
    fflush(stdout);
    if (!reopenStdout(logFileName)) {
        // Standard output stays where it was, so nothing after this is lost.
        writeErr("Could not open logfile %s!\n", logFileName);
    } else {
        setvbuf(stdout, nullptr, _IONBF, 0);
        fflush(stderr);
        if (reopenStderr(logFileName)) setvbuf(stderr, nullptr, _IONBF, 0);
    }
    writeOut("Logging Filename = %s\n", logFileName);
}
