// The benchmark program: every comparison of two ways of one job, A and B
// taking turns (Alternate.h), one row of the table each.

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <string>

#include "Alternate.h"
#include "Comparisons.h"

namespace {

const char kHelp[] = R"(Usage: graphics_benchmarks [--turns N] [--turn-ms MS] [TEXT]

Compares two ways of one job in turns in one process (A, B, B, A, A, B, ...)
and prints one row per comparison. TEXT runs only the jobs whose name
contains it ("frame", "N=10000").
  --turns N     pairs of turns per comparison (default 21; the re-sorts of
                30,000 characters run at most 9, their turns being long)
  --turn-ms MS  milliseconds a turn is calibrated to take (default 5)

Columns:
  job             what both ways do; N characters, L layers
  way A, way B    A is the plug-in's way, B the one it is held against
  turns           pairs of turns run; each pair gives one ratio
  A, B            median time of one iteration of each way; where a way
                  times only one call of its iteration (the frame after a
                  new character), that call
  A / B           median of the per-pair ratios: 1.10 means A takes 10 %
                  longer than B, 0.02 that A is 50 times faster
  lowest-highest  the smallest and largest per-pair ratio: how far one
                  pair may stray on this machine
  goal            the median A / B wanted at most, where one is set
)";

// The value after an option, or exit with the usage when there is none.
const char* ValueOf(int& i, int argc, char** argv)
{
    if (i + 1 >= argc)
    {
        std::fprintf(stderr, "%s needs a value\n\n%s", argv[i], kHelp);
        std::exit(2);
    }
    return argv[++i];
}

bench::Options ParseOptions(int argc, char** argv)
{
    bench::Options options;
    for (int i = 1; i < argc; ++i)
    {
        if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0)
        {
            std::fputs(kHelp, stdout);
            std::exit(0);
        }
        if (std::strcmp(argv[i], "--turns") == 0)
            options.turns = std::atoi(ValueOf(i, argc, argv));
        else if (std::strcmp(argv[i], "--turn-ms") == 0)
            options.turnSeconds = std::atof(ValueOf(i, argc, argv)) / 1000;
        else if (argv[i][0] != '-' && options.filter.empty())
            options.filter = argv[i];
        else
        {
            std::fprintf(stderr, "unknown argument: %s\n\n%s", argv[i], kHelp);
            std::exit(2);
        }
    }
    if (options.turns < 1 || options.turnSeconds <= 0)
    {
        std::fprintf(stderr, "--turns and --turn-ms must be positive\n");
        std::exit(2);
    }
    return options;
}

}  // namespace

int main(int argc, char** argv)
{
    const bench::Options options = ParseOptions(argc, argv);
    try
    {
        bench::Table table(options);
        bench::CompareSteadyFrames(table);
        bench::CompareSortRequests(table);
        bench::CompareResorts(table);
        bench::CompareErrorNameLookups(table);
    }
    catch (const std::exception& error)
    {
        std::fprintf(stderr, "graphics_benchmarks: %s\n", error.what());
        return 1;
    }
    return 0;
}
