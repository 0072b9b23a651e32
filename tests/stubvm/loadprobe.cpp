// loadprobe LIBRARY [FOLDER]: loads LIBRARY with LoadLibraryA, after
// SetDllDirectoryA(FOLDER) when a folder is given, and prints "loaded" or
// "error <code>". The tests use it to show that a library loads only with
// FOLDER in the search.
#include <windows.h>

#include <cstdio>

int main(int argc, char** argv) {
    if (argc < 2) {
        fprintf(stderr, "usage: loadprobe LIBRARY [FOLDER]\n");
        return 2;
    }
    if (argc > 2 && !SetDllDirectoryA(argv[2])) {
        printf("SetDllDirectoryA failed: error %lu\n", GetLastError());
        return 1;
    }
    if (LoadLibraryA(argv[1])) {
        printf("loaded\n");
        return 0;
    }
    printf("error %lu\n", GetLastError());
    return 1;
}
