// The counter-name list walk over arbitrary bytes.
#include "instance/perfdata.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // An exact-size copy, as the registry's answer is: ASan sees any read
    // past its end.
    std::vector<char> list(data, data + size);
    char indexText[indexTextSize];
    memset(indexText, 'X', sizeof indexText);
    bool found = findCounterIndex(list.data(), list.size(), "process", indexText);
    size_t length = strnlen(indexText, sizeof indexText);
    if (length >= sizeof indexText) abort();
    if (!found && length != 0) abort();
    for (size_t i = 0; i < length; ++i)
        if (indexText[i] < '0' || indexText[i] > '9') abort();
    return 0;
}
