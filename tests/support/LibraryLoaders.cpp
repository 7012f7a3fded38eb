#include "support/LibraryLoaders.h"

namespace testing_support {

namespace {

int gCountedLoads = 0;

} // namespace

HMODULE CountingLibraryLoader(const char* name)
{
    ++gCountedLoads;
    return LoadLibraryA(name);
}

int CountedLibraryLoads()
{
    return gCountedLoads;
}

void ResetCountedLibraryLoads()
{
    gCountedLoads = 0;
}

HMODULE MissingLibraryLoader(const char*)
{
    return nullptr;
}

HMODULE UnrelatedLibraryLoader(const char*)
{
    return LoadLibraryA("kernel32.dll");
}

} // namespace testing_support
