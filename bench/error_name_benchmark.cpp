// The error name lookup: binary search in the sorted tables, compared with a
// linear scan of the same rows.

#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "Alternate.h"
#include "Comparisons.h"
#include "ErrorNameTables.h"
#include "ErrorNames.h"

namespace bench {

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

// Each iteration looks up the next of the sample codes.
template <class Lookup>
Turn Lookups(const std::vector<std::int32_t>& codes, Lookup lookup)
{
    return Repeat([&codes, lookup, next = std::size_t{0}]() mutable {
        Keep(lookup(codes[next++ % codes.size()]));
    });
}

}  // namespace

void CompareErrorNameLookups(Table& table)
{
    const std::string job = "error name lookup";
    if (!table.Wants(job))
        return;
    const std::vector<std::int32_t> codes = SampleCodes();
    Comparison comparison;
    comparison.job = job;
    // Lambdas, not function pointers, so that each way calls its lookup directly.
    comparison.a = {"binary search", Lookups(codes, [](std::int32_t code) { return ErrorName(code); })};
    comparison.b = {"linear scan", Lookups(codes, [](std::int32_t code) { return LinearName(code); })};
    table.Run(comparison);
}

}  // namespace bench
