// The error name lookup: binary search in the sorted tables, compared with a
// linear scan of the same rows.

#include <benchmark/benchmark.h>

#include <cstdint>
#include <random>
#include <vector>

#include "ErrorNameTables.h"
#include "ErrorNames.h"

namespace {

// Codes that are in the table, in random order, plus some that are not.
std::vector<std::int32_t> SampleCodes()
{
    const ErrorNameTable table = ResultCodeNames();
    std::vector<std::int32_t> codes;
    std::mt19937 random(11);
    for (int i = 0; i < 1024; ++i)
        codes.push_back(i % 8 == 0 ? static_cast<std::int32_t>(random())
                                   : static_cast<std::int32_t>(table.entries[random() % table.count].code));
    return codes;
}

const wchar_t* LinearName(std::int32_t code)
{
    const ErrorNameTable table = ResultCodeNames();
    for (std::size_t i = 0; i < table.count; ++i)
        if (table.entries[i].code == static_cast<std::uint32_t>(code))
            return table.entries[i].name;
    return L"Unknown";
}

void BinarySearch(benchmark::State& state)
{
    const std::vector<std::int32_t> codes = SampleCodes();
    std::size_t next = 0;
    for (auto _ : state)
        benchmark::DoNotOptimize(ErrorName(codes[next++ % codes.size()]));
}

void LinearScan(benchmark::State& state)
{
    const std::vector<std::int32_t> codes = SampleCodes();
    std::size_t next = 0;
    for (auto _ : state)
        benchmark::DoNotOptimize(LinearName(codes[next++ % codes.size()]));
}

}  // namespace

BENCHMARK(BinarySearch)->Name("error name lookup | binary search");
BENCHMARK(LinearScan)->Name("error name lookup | linear scan");
