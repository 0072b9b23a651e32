// The path rules: the launcher's own name, the application home and the
// JVM library candidates, over arbitrary paths.
#include "jre/jre.h"
#include "jre/jvmselect.h"
#include "launcher/launch.h"
#include "platform/fake.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

static void checkStripDirectory(const std::string& path) {
    std::string copy = path;
    char* name = copy.data();
    stripDirectory(&name);
    if (name < copy.data() || name > copy.data() + copy.size()) abort();
    if (strchr(name, '\\')) abort();
    if (copy != path) abort(); // only the pointer moves
}

static void checkApplicationHome(const std::string& path) {
    fake::reset();
    fake::state.modulePath = path;
    char home[260];
    memset(home, 'X', sizeof home);
    if (!getApplicationHome(home, sizeof home)) return;
    size_t length = strnlen(home, sizeof home);
    if (length >= sizeof home) abort();
    if (path.compare(0, length, home) != 0) abort(); // a prefix of the module path
    if (strstr(home, "\\bin")) abort();
}

static void checkProbe(const std::string& input) {
    size_t bar = input.find('|');
    std::string base = input.substr(0, bar);
    std::string flavour = bar == std::string::npos ? "" : input.substr(bar + 1);
    fake::reset();
    char jvmPath[jvmPathSize + 16];
    memset(jvmPath, 'X', sizeof jvmPath);
    probeJVM(base.c_str(), flavour.c_str(), jvmPath);
    if (strnlen(jvmPath, jvmPathSize) >= jvmPathSize) abort();
    for (size_t i = jvmPathSize; i < sizeof jvmPath; ++i)
        if (jvmPath[i] != 'X') abort(); // nothing written past the buffer
    // Whatever was probed fit the buffer.
    for (const auto& call : fake::state.calls)
        if (call.call == fake::Call::pathExists && call.detail.size() >= jvmPathSize) abort();
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    std::string text(reinterpret_cast<const char*>(data + 1), size - 1);
    text = text.c_str(); // up to the first NUL, as the launcher sees strings
    switch (data[0] % 3) {
    case 0: checkStripDirectory(text); break;
    case 1: checkApplicationHome(text); break;
    default: checkProbe(text); break;
    }
    return 0;
}
