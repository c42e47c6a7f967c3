// One re-sort of the character registry: the order computed in O(N log N)
// against the exchange procedure it reproduces, on the same keys.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdint>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

#include "CharacterOrder.h"
#include "ExchangeProcedure.h"

namespace {

// 6 formats and 50 material records, characters in random creation order.
std::vector<CharacterKeys> RealisticKeys(int count)
{
    const std::int32_t formats[] = {0x12, 0x42, 0x112, 0x142, 0x152, 0x1C2};
    std::mt19937 random(7);
    std::vector<CharacterKeys> keys;
    for (int i = 0; i < count; ++i)
    {
        // Records 64 bytes apart, as a heap hands out 52-byte blocks.
        const std::uintptr_t material = 0x10000 + (random() % 50) * 64;
        keys.push_back({formats[random() % 6], material, reinterpret_cast<CActor*>(std::uintptr_t(i + 1))});
    }
    return keys;
}

// One format, every character its own record, created in descending address.
std::vector<CharacterKeys> AdversarialKeys(int count)
{
    std::vector<CharacterKeys> keys;
    for (int i = 0; i < count; ++i)
        keys.push_back({0x142, 0x10000000 - std::uintptr_t(i) * 64, reinterpret_cast<CActor*>(std::uintptr_t(i + 1))});
    return keys;
}

using MakeKeys = std::vector<CharacterKeys> (*)(int);

// The graphics system's way: one order object, its storage kept between sorts.
void Fast(benchmark::State& state, MakeKeys make, int count)
{
    const std::vector<CharacterKeys> registry = make(count);
    std::vector<CharacterKeys> entries;
    CharacterOrder order;
    for (auto _ : state)
    {
        entries = registry;
        order.Sort(entries);
        benchmark::DoNotOptimize(entries.data());
    }
}

void Literal(benchmark::State& state, MakeKeys make, int count)
{
    const std::vector<CharacterKeys> registry = make(count);
    std::vector<CharacterKeys> entries;
    for (auto _ : state)
    {
        entries = registry;
        ExchangeProcedure(entries);
        benchmark::DoNotOptimize(entries.data());
    }
}

// Both ways must give the same order before their times mean anything.
void CheckSameOrder(MakeKeys make, int count)
{
    std::vector<CharacterKeys> fast = make(count), literal = make(count);
    CharacterOrder().Sort(fast);
    ExchangeProcedure(literal);
    for (std::size_t i = 0; i < fast.size(); ++i)
        if (fast[i].character != literal[i].character)
            throw std::logic_error("re-sort: the two orders differ");
}

const bool registered = [] {
    struct KeySet
    {
        const char* name;
        MakeKeys make;
    };
    for (KeySet keys : {KeySet{"realistic", RealisticKeys}, KeySet{"adversarial", AdversarialKeys}})
    {
        CheckSameOrder(keys.make, 3000);
        for (int count : {1000, 10000, 30000})
        {
            const std::string job = std::string("re-sort, ") + keys.name + " keys, N=" + std::to_string(count);
            benchmark::RegisterBenchmark((job + " | O(N log N)").c_str(), Fast, keys.make, count)
                ->Unit(benchmark::kMicrosecond);
            // The quadratic procedure at 30,000 characters: one run is enough.
            auto* literal = benchmark::RegisterBenchmark((job + " | exchange procedure").c_str(), Literal,
                                                         keys.make, count);
            literal->Unit(benchmark::kMicrosecond);
            if (count > 10000)
                literal->Iterations(2);
        }
    }
    return true;
}();

}  // namespace
