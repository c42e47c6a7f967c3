// The character sort: the graphics system reads each character's vertex
// format and material once and runs the exchange procedure on plain data.
// Compared with the same procedure asking the characters for their keys at
// every comparison, as a straight transcription would.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdint>
#include <random>
#include <vector>

#include "CActor.h"
#include "CGraphicsD3D.h"

namespace {

// A registry of characters with repeated formats and materials, in random order.
class Registry
{
public:
    explicit Registry(int count) : materials(8)
    {
        const std::uint32_t formats[] = {0x12, 0x42, 0x112, 0x142, 0x152, 0x1C2};
        std::mt19937 random(7);
        for (int i = 0; i < count; ++i)
        {
            CActor* character = new CActor();
            character->fvf = formats[random() % 6];
            character->materialDesc = &materials[random() % materials.size()];
            characters.push_back(character);
        }
    }
    ~Registry()
    {
        for (ICharacter* character : characters)
            delete static_cast<CActor*>(character);
    }

    std::vector<MaterialDesc> materials;
    std::vector<ICharacter*> characters;
};

void ExchangeSortAskingEveryTime(std::vector<ICharacter*>& registry)
{
    const std::size_t count = registry.size();
    for (std::size_t i = 0; i < count; ++i)
        for (std::size_t j = i + 1; j < count; ++j)
            if (static_cast<int>(registry[i]->GetFVF()) < static_cast<int>(registry[j]->GetFVF()))
                std::swap(registry[i], registry[j]);
    for (std::size_t first = 0; first < count;)
    {
        std::size_t end = first + 1;
        while (end < count && registry[end]->GetFVF() == registry[first]->GetFVF())
            ++end;
        for (std::size_t i = first; i < end; ++i)
            for (std::size_t j = i + 1; j < end; ++j)
                if (reinterpret_cast<std::uintptr_t>(registry[j]->GetMaterial()) <
                    reinterpret_cast<std::uintptr_t>(registry[i]->GetMaterial()))
                    std::swap(registry[i], registry[j]);
        first = end;
    }
}

void KeysReadOnce(benchmark::State& state)
{
    Registry registry(static_cast<int>(state.range(0)));
    CGraphicsD3D graphics;
    for (auto _ : state)
    {
        graphics.characters = registry.characters;
        graphics.SortCharacters();
        benchmark::DoNotOptimize(graphics.characters.data());
    }
    graphics.characters.clear();
}

void KeysAskedAtEveryComparison(benchmark::State& state)
{
    Registry registry(static_cast<int>(state.range(0)));
    std::vector<ICharacter*> characters;
    for (auto _ : state)
    {
        characters = registry.characters;
        ExchangeSortAskingEveryTime(characters);
        benchmark::DoNotOptimize(characters.data());
    }
}

}  // namespace

BENCHMARK(KeysReadOnce)->Arg(16)->Arg(128)->Arg(1024);
BENCHMARK(KeysAskedAtEveryComparison)->Arg(16)->Arg(128)->Arg(1024);
