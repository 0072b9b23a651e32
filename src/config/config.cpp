#include "config.h"

#include "settings.h"
#include "launcher/util.h"
#include "platform/platform.h"

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
bool readLine(FILE* file, LineBuffer* line) {
    size_t length = 0;
    int c;
    while ((c = getc(file)) != EOF) {
        if (length + 2 > line->size) {
            size_t grown = line->size * 2;
            char* data = static_cast<char*>(reallocate(line->data, grown));
            if (!data) outOfMemory();
            line->data = data;
            line->size = grown;
        }
        line->data[length++] = static_cast<char>(c);
        if (c == '\n') break;
    }
    line->data[length] = '\0';
    return length > 0;
}

// Like strndup, through the platform's allocator.
char* copyRange(const char* start, size_t length) {
    char* copy = static_cast<char*>(allocate(length + 1));
    if (!copy) outOfMemory();
    memcpy(copy, start, length);
    copy[length] = '\0';
    return copy;
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
    char* rawKey = copyRange(line, static_cast<size_t>(equals - line));
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
