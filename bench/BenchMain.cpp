// The benchmark runner: zandrel_bench DATA_FOLDER [NAME...]
// Runs every registered benchmark but the named-only ones, or the named
// ones, and prints their figures. Run under Wine by scripts/bench.
#include "BenchSupport.h"

#include "classlib/Exceptions.h"
#include "classlib/FilePaths.h"

#include <cstdio>
#include <cstring>

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: zandrel_bench DATA_FOLDER [NAME...]\n");
        return 2;
    }
    TBenchContext context;
    context.DataFolder = IncludeTrailingBackslash(argv[1]);
    if (!ForceDirectories(context.DataFolder)) {
        std::fprintf(stderr, "zandrel_bench: cannot make %s\n", context.DataFolder.c_str());
        return 2;
    }
    int status = 0;
    for (const TBenchEntry& entry : BenchRegistry()) {
        bool wanted = argc == 2 && !entry.NamedOnly;
        for (int i = 2; i < argc; ++i)
            wanted = wanted || std::strcmp(argv[i], entry.Name) == 0;
        if (!wanted)
            continue;
        try {
            entry.Run(context);
        } catch (const std::exception& error) {
            std::fprintf(stderr, "%s: %s\n", entry.Name, error.what());
            status = 1;
        }
    }
    return status;
}
