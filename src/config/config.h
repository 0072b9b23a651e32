// The configuration file: one pass over its lines, each handed to the
// handler of its key.
#pragma once

// Reads the file prefix + configFileName and returns the number of lines
// handed on for parsing; 0 when the file does not open.
int readConfig(const char* prefix);
// Splits one line (without its line end) at its first '=' and calls the
// handler of the key.
void parseConfigLine(const char* line);
// Removes the spaces at both ends and stores a new heap copy in *text.
void trimBlanks(char** text);
