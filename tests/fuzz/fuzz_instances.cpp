// The performance data walk over arbitrary blocks.
#include "instance/perfdata.h"
#include "platform/fake.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1) return 0;
    // The first byte picks the file name; the rest is the block, in a
    // buffer of exactly its size so that ASan sees any read past it.
    static const char* const names[] = {"launcher.exe", "LAUNCHER.EXE", "unknown", ""};
    const char* fileName = names[data[0] % 4];
    std::vector<unsigned char> block(data + 1, data + size);
    fake::reset();
    int count = countNamedInstances(block.data(), block.size(), fileName);
    if (count < -1) abort();
    // Every instance takes at least its header: more cannot fit.
    if (count > static_cast<int>(block.size())) abort();
    return 0;
}
