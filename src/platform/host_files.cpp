#include "host_files.h"

#include <sys/stat.h>

#include <cstdlib>
#include <cstring>

std::string hostPath(const char* windowsPath) {
    std::string path(windowsPath);
    for (char& c : path)
        if (c == '\\') c = '/';
    return path;
}

namespace {
struct TextFile {
    FILE* file;
    bool ended; // a Ctrl-Z was met: nothing after it is read
};
} // namespace

// Reads through the real file and hands on what Windows text mode would.
static ssize_t readAsTextMode(void* cookie, char* out, size_t size) {
    TextFile* text = static_cast<TextFile*>(cookie);
    FILE* file = text->file;
    size_t n = 0;
    while (n < size && !text->ended) {
        int c = getc(file);
        if (c == EOF) break;
        if (c == 0x1A) {
            text->ended = true;
            break;
        }
        if (c == '\r') {
            int next = getc(file);
            if (next == '\n') {
                c = '\n';
            } else if (next != EOF) {
                ungetc(next, file);
            }
        }
        out[n++] = static_cast<char>(c);
    }
    if (n == 0 && ferror(file)) return -1;
    return static_cast<ssize_t>(n);
}

static int closeTextFile(void* cookie) {
    TextFile* text = static_cast<TextFile*>(cookie);
    int rc = fclose(text->file);
    free(text);
    return rc;
}

FILE* openHostTextFile(const char* windowsPath) {
    std::string path = hostPath(windowsPath);
    struct stat info;
    if (stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode)) return nullptr;
    FILE* file = fopen(path.c_str(), "r");
    if (!file) return nullptr;
    cookie_io_functions_t io;
    memset(&io, 0, sizeof io);
    io.read = readAsTextMode;
    io.close = closeTextFile;
    TextFile* cookie = static_cast<TextFile*>(malloc(sizeof(TextFile)));
    if (!cookie) {
        fclose(file);
        return nullptr;
    }
    *cookie = TextFile{file, false};
    FILE* text = fopencookie(cookie, "r", io);
    if (!text) {
        fclose(file);
        free(cookie);
    }
    return text;
}

// Trying the file first (which also creates or empties it) leaves the
// stream where it was when the file does not open. Both streams write in
// append mode, so that neither overwrites what the other wrote.
bool reopenHostStream(const char* windowsPath, const char* probeMode, FILE* stream) {
    std::string path = hostPath(windowsPath);
    FILE* probe = fopen(path.c_str(), probeMode);
    if (!probe) return false;
    fclose(probe);
    return freopen(path.c_str(), "a+", stream) != nullptr;
}
