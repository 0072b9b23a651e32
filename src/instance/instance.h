// The instance guard: how many processes carry the launcher's file name.
#pragma once

// The number of running processes named fileName (the launcher counts
// itself), chosen by the Windows family: -1 or 0 when the count cannot be
// taken, 1 on a platform of neither family.
int countRunning(const char* fileName);

// The NT family's count, from the registry's performance data; -1 when it
// cannot be taken.
int countRunningNT(const char* fileName);

// The 95 family's count, from a process snapshot; 0 when it cannot be taken.
int countRunning95(const char* fileName);
