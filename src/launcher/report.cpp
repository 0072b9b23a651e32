#include "report.h"

#include "util.h"
#include "platform/platform.h"

const char* const reportCaption = "Java Virtual Machine Launcher";

static const char* const messages[] = {
    "Could not load the Java virtual machine. Program will exit!",
    "Could not parse the command arguments. Program will exit!",
    "Could not initialize the Java virtual machine. Program will exit!",
    "Could not find the startup class. Program will exit!",
    "Could not find the startup method. Program will exit!",
    "Could not find required Java 2 Runtime Environment. Program will exit!",
    "No main class given. Program will exit!",
    "Invalid class arguments given. Program will exit!",
    "Program returned with exception.",
    "Another instance process is already running!",
    "Could not open configuration file. Program will exit!",
    "Java VM version is too old. Program will exit!",
};

const char* failureMessage(FailureCode code, int failed) {
    if (code >= 1 && code <= 12) return messages[code - 1];
    return failed ? "Could not execute program!" : nullptr;
}

void reportFailure(FailureCode code, int failed) {
    const char* message = failureMessage(code, failed);
    if (!message) return;
    flushOutput();
    showMessageBox(message, reportCaption, 0x10); // MB_ICONERROR | MB_OK
    writeErr("%s\n", message);
}
