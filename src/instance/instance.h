// The instance guard: how many processes carry the launcher's file name.
#pragma once

// The number of running processes named fileName (the launcher counts
// itself); -1 when the count cannot be taken.
int countRunning(const char* fileName);
