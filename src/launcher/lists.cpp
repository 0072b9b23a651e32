#include "lists.h"

#include "util.h"
#include "platform/platform.h"

#include <cstring>

JavaVMOption* vmOptions = nullptr;
int vmOptionCount = 0;
int vmOptionCapacity = 0;

char** appArgs = nullptr;
int appArgCount = 0;
bool appArgsOverflowed = false;

// A fresh array of the new size each time; the old one is never resized in
// place, so the entries keep their text pointers across each growth.
static void growOptions() {
    int capacity = vmOptions ? vmOptionCapacity * 2 : 4;
    if (!vmOptions) writeOut("Creating options array.\n");
    JavaVMOption* grown = static_cast<JavaVMOption*>(allocate(sizeof(JavaVMOption) * capacity));
    if (!grown) outOfMemory();
    if (vmOptions) {
        memcpy(grown, vmOptions, sizeof(JavaVMOption) * vmOptionCount);
        release(vmOptions);
    }
    vmOptions = grown;
    vmOptionCapacity = capacity;
}

void addOption(char* optionString, void* extraInfo) {
    if (vmOptionCount >= vmOptionCapacity) growOptions();
    writeOut("Adding option <%s>\n", optionString);
    vmOptions[vmOptionCount].optionString = optionString;
    vmOptions[vmOptionCount].extraInfo = extraInfo;
    vmOptionCount++;
}

void createAppArgs() {
    appArgs = static_cast<char**>(allocate(sizeof(char*) * appArgLimit));
    if (!appArgs) outOfMemory();
    appArgCount = 0;
}

void addAppArg(const char* text) {
    if (appArgCount >= appArgLimit) {
        if (!appArgsOverflowed)
            writeErr("Too many application arguments: at most %d are allowed.\n", appArgLimit);
        appArgsOverflowed = true;
        return;
    }
    appArgs[appArgCount++] = copyString(text);
}

void releaseOptionArray() {
    if (vmOptions) release(vmOptions);
    vmOptions = nullptr;
}

void releaseAppArgArray() {
    if (appArgs) release(appArgs);
    appArgs = nullptr;
}
