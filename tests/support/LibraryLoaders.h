// Stand-ins for loading a system library by name, for the binders that load
// theirs at run time: one that counts the loads it passes on, one that finds
// nothing, and one that finds a library without the entry points asked for.
#pragma once

#include <windows.h>

namespace testing_support {

// Loads through LoadLibraryA and counts the calls.
HMODULE CountingLibraryLoader(const char* name);
int CountedLibraryLoads();
void ResetCountedLibraryLoads();
// As if the library were missing.
HMODULE MissingLibraryLoader(const char* name);
// A real library (kernel32) that has none of the expected entry points.
HMODULE UnrelatedLibraryLoader(const char* name);

} // namespace testing_support
