// The launch: one pass from the command line to the exit status.
#pragma once

// The launcher's own file name, without its directory.
extern char* exeName;

// Runs the whole launch and returns the exit status.
int launch(int argc, char** argv);

// Moves *path to the text after its last backslash.
void stripDirectory(char** path);
// Handles a leading -f option; returns the cursor past what it consumed and
// lowers *remaining by the same number (0 or 2).
char** parseFileOption(char** cursor, int* remaining);
