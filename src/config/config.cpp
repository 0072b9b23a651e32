#include "config.h"

#include "settings.h"
#include "launcher/util.h"
#include "platform/platform.h"

#include <climits>
#include <cstdio>
#include <cstring>

namespace {

struct KeyHandler {
    const char* key;
    void (*handler)(const char* value);
};

const KeyHandler keyHandlers[] = {
    {"mainclass", setMainClass}, {"classpath", addClassPath},       {"logfilename", setLogFile},
    {"vmargs", addVMArg},        {"vmargsnative", addVMArgNative}, {"requiredVM", setRequiredVM},
    {"appargs", addAppArgs},
};

// A growing line buffer: a line is read whole, however long it is.
struct LineBuffer {
    char* data;
    size_t size;
};

const size_t initialLineSize = 10000;

// Reads the bytes up to and including the next line feed, or to the end of
// the file. False at the end of the file (or a read error) with nothing read.
// fgets fills a chunk at a time; a mark in the chunk's last byte tells a
// full chunk (the line goes on) from a line that ended within it, whatever
// NUL bytes the line holds.
bool readLine(FILE* file, LineBuffer* line) {
    size_t start = 0;
    for (;;) {
        char* chunk = line->data + start;
        size_t room = line->size - start;
        int n = room > INT_MAX ? INT_MAX : static_cast<int>(room);
        chunk[n - 1] = '\x01';
        if (!fgets(chunk, n, file)) {
            chunk[0] = '\0';
            return start > 0;
        }
        if (chunk[n - 1] != '\0' || chunk[n - 2] == '\n') return true;
        start += static_cast<size_t>(n) - 1;
        if (start + 2 > line->size) {
            size_t grown = line->size * 2;
            char* data = static_cast<char*>(reallocate(line->data, grown));
            if (!data) outOfMemory();
            line->data = data;
            line->size = grown;
        }
    }
}

} // namespace

void trimBlanks(char** text) {
    char* start = *text;
    while (*start == ' ') ++start;
    char* end = start + strlen(start);
    while (end > start && end[-1] == ' ') *--end = '\0';
    *text = copyString(start);
}

void parseConfigLine(const char* line) {
    if (line[0] == '\0') return;
    const char* equals = strchr(line, '=');
    if (!equals) {
        writeErr("Unparseable line in configuration file: '%s' !\n", line);
        return;
    }
    char* rawKey = copyPart(line, static_cast<size_t>(equals - line));
    char* rawValue = copyString(equals + 1);
    char* key = rawKey;
    char* value = rawValue;
    trimBlanks(&key);
    trimBlanks(&value);
    release(rawKey);
    release(rawValue);
    if (key[0] != '\0') {
        writeOut("param '%s'='%s'\n", key, value);
        for (const KeyHandler& entry : keyHandlers) {
            if (strcmp(key, entry.key) == 0) {
                entry.handler(value);
                break;
            }
        }
    }
    release(key);
    release(value);
}

int readConfig(const char* prefix) {
    writeOut("Reading configuration file %s...\n", configFileName);
    char path[260];
    FILE* file = nullptr;
    if (formatPath(path, sizeof path, "%s%s", prefix, configFileName)) file = openTextFile(path);
    if (!file) {
        writeErr("Error: could not open `%s%s'\n", prefix, configFileName);
        return 0;
    }
    LineBuffer line = {static_cast<char*>(allocate(initialLineSize)), initialLineSize};
    if (!line.data) outOfMemory();
    int count = 0;
    while (readLine(file, &line)) {
        size_t length = strlen(line.data);
        if (length < 2 || line.data[0] == '#') continue;
        if (line.data[length - 1] == '\n') line.data[length - 1] = '\0';
        parseConfigLine(line.data);
        ++count;
    }
    release(line.data);
    writeOut("readConfig ended.\n");
    fclose(file);
    return count;
}
