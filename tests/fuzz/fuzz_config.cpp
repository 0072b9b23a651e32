// A whole configuration file through readConfig and its handlers.
#include "config/config.h"
#include "config/settings.h"
#include "launcher/lists.h"
#include "platform/fake.h"

#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

static const char* initialSettings[4];
static char directory[] = "/tmp/launcher-fuzz-config-XXXXXX/";
static char path[sizeof directory + 16];

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    directory[sizeof directory - 2] = '\0';
    if (!mkdtemp(directory)) abort();
    directory[sizeof directory - 2] = '/';
    snprintf(path, sizeof path, "%sVintral.cfg", directory);
    initialSettings[0] = configFileName;
    initialSettings[1] = mainClassName;
    initialSettings[2] = requiredVersion;
    initialSettings[3] = logFileName;
    return 0;
}

static void releaseSetting(const char** setting, const char* initial) {
    if (*setting != initial) free(const_cast<char*>(*setting));
    *setting = initial;
}

// Everything the input left behind, so that the next input starts fresh.
static void releaseLaunchState() {
    for (int i = 0; i < vmOptionCount; ++i) free(vmOptions[i].optionString);
    free(vmOptions);
    vmOptions = nullptr;
    vmOptionCount = vmOptionCapacity = 0;
    for (int i = 0; i < appArgCount; ++i) free(appArgs[i]);
    free(appArgs);
    appArgs = nullptr;
    appArgCount = 0;
    appArgsOverflowed = false;
    releaseSetting(&mainClassName, initialSettings[1]);
    releaseSetting(&requiredVersion, initialSettings[2]);
    releaseSetting(&logFileName, initialSettings[3]);
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FILE* file = fopen(path, "wb");
    if (!file) abort();
    if (size) fwrite(data, 1, size, file);
    fclose(file);

    fake::reset();
    // A logfilename line must not move the fuzzer's streams into files.
    fake::state.failAlways = {fake::Call::reopenStdout, fake::Call::reopenStderr};
    createAppArgs();
    int lines = readConfig(directory);
    if (lines < 0 || appArgCount > appArgLimit) abort();
    for (int i = 0; i < vmOptionCount; ++i)
        if (!vmOptions[i].optionString || vmOptions[i].extraInfo) abort();
    releaseLaunchState();
    return 0;
}
