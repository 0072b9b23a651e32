// File handling shared by the two Linux-side platforms (the host build and
// the test fake): Windows-shaped backslash paths on a POSIX file system.
#pragma once

#include <cstdio>
#include <string>

// The same path with every backslash turned into a slash.
std::string hostPath(const char* windowsPath);
// fopen(path, "r") as Windows text mode reads: a CR before an LF is dropped
// and a Ctrl-Z ends the file. A directory does not open, as on Windows.
FILE* openHostTextFile(const char* windowsPath);
// Opens the file with probeMode ("w" empties it), then moves the stream to
// it in append mode; the stream stays untouched when the file will not open.
bool reopenHostStream(const char* windowsPath, const char* probeMode, FILE* stream);
