#ifndef BENCH_ALTERNATE_H
#define BENCH_ALTERNATE_H

// Compares two ways of one job, A and B, by running them in turns in one
// process. Timing A first and B afterwards lets the machine's drift (other
// programs, clock speed) between the two timings pass for a difference of
// the ways; turns a few milliseconds long, side by side, meet the same
// conditions, and the median of their ratios ignores the turns that a
// disturbance hit.
//
// For each comparison, every way's iterations per turn are calibrated once so
// that a turn takes about the turn time; then the ways take turns in pairs,
// A B, B A, A B, ... (each goes first in every other pair, so that neither
// always runs in the other's wake), and each pair gives one ratio A / B of
// the time per iteration, counted in this thread's processor time. One row
// per comparison: the median time of an iteration of each way, the median
// ratio and the lowest and highest ratio (the program's --help says more).

#include <time.h>

#include <functional>
#include <string>

namespace bench {

// The processor time this thread has used, in seconds.
inline double ThreadSeconds()
{
    timespec now;
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

// One turn of a way: runs `iterations` iterations and returns the seconds
// that the compared part of them took (all of it, or, with Seconds, only
// the calls under study).
using Turn = std::function<double(long iterations)>;

struct Way
{
    std::string name;  // "RenderFrame", "direct loop"
    Turn turn;
};

struct Comparison
{
    std::string job;  // what both ways do, with its size: "frame, N=1000, L=10"
    Way a;            // the plug-in's way
    Way b;            // the way it is held against
    int turns = 0;    // pairs of turns at most; 0: the table's number. Fewer
                      // for ways whose one iteration takes most of a second
    double goal = 0;  // the median A / B wanted at most; 0: none
};

// The seconds of processor time that one call of `work` takes on this
// thread. Not the clock on the wall: on a machine shared with other work, a
// turn that waits for a core would count the wait.
template <class Work>
double Seconds(Work&& work)
{
    const double start = ThreadSeconds();
    work();
    return ThreadSeconds() - start;
}

// A turn that times its iterations of `work` as a whole.
template <class Work>
Turn Repeat(Work work)
{
    return [work](long iterations) mutable {
        return Seconds([&] {
            for (long i = 0; i < iterations; ++i)
                work();
        });
    };
}

// Keeps a result that the compiler would otherwise leave uncomputed, at the
// cost of nothing but computing it (GCC's and Clang's empty assembly, which
// the compiler must assume reads the value and any memory).
inline void Keep(const void* result)
{
    asm volatile("" : : "g"(result) : "memory");
}

struct Options
{
    int turns = 21;             // pairs of turns per comparison
    double turnSeconds = 0.005; // what a turn's compared part is calibrated to take
    std::string filter;         // only jobs whose name contains it; empty: all
};

// Prints the heading at once and a row as each comparison ends.
class Table
{
public:
    explicit Table(const Options& options);

    // Whether the filter selects the job: ask before building its data.
    bool Wants(const std::string& job) const;
    // Calibrates both ways, runs their turns and prints the row.
    void Run(const Comparison& comparison);

private:
    Options options;
};

}  // namespace bench

#endif
