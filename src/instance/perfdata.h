// The pure walks of the NT family's count: the counter-name list and the
// performance data block, each over a buffer of known size. Nothing here
// reads outside the bytes it is given.
#pragma once

#include <cstddef>

// The index text buffer: 1023 characters and the terminator.
const size_t indexTextSize = 1024;

// The index text (the digits ending the string before it) of the last
// string of the list that equals name, ignoring the case of A to Z.
// False, with indexText empty, when there is none: no string matches, the
// last match is the list's first string, its index text does not fit, or
// the list does not end with an empty string inside its size bytes.
bool findCounterIndex(const char* list, size_t size, const char* name, char* indexText);

// True when the block starts with the signature P, E, R, F in 16-bit units.
bool hasPerfSignature(const unsigned char* block, size_t size);

// The number of instances of the block's first object whose name with
// ".exe" appended equals fileName, ignoring the case of A to Z; 0 for an
// object without instances; -1 when a length or an offset leads outside
// the size bytes of the block or a name has no 0 unit inside them.
int countNamedInstances(const unsigned char* block, size_t size, const char* fileName);
