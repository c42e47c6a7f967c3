#ifndef BENCH_COMPARISONS_H
#define BENCH_COMPARISONS_H

// The comparisons the benchmark program runs, each group in its own file.

#include "Alternate.h"

namespace bench {

// A steady RenderFrame against the same device calls made from plain arrays.
void CompareSteadyFrames(Table& table);
// The frame after a new character, and RequestSort on a sorted registry,
// each against a steady frame.
void CompareSortRequests(Table& table);
// One re-sort of the registry against the exchange procedure it reproduces.
void CompareResorts(Table& table);
// The error name lookup against a linear scan.
void CompareErrorNameLookups(Table& table);

}  // namespace bench

#endif
