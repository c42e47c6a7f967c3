// One re-sort of the character registry: the order computed in O(N log N)
// against the exchange procedure it reproduces, on the same keys.

#include <cstdint>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

#include "Alternate.h"
#include "DrawOrder.h"
#include "Comparisons.h"
#include "ExchangeProcedure.h"

namespace bench {

namespace {

using Entry = DrawOrder::Entry;

// A character's keys; the order needs no device, so characters are numbers.
Entry Keys(std::uint32_t fvf, std::uintptr_t material, int i)
{
    return {{fvf, 0, reinterpret_cast<MaterialDesc*>(material)}, reinterpret_cast<CActor*>(std::uintptr_t(i + 1))};
}

// 6 formats and 50 material records, characters in random creation order.
std::vector<Entry> RealisticKeys(int count)
{
    const std::uint32_t formats[] = {0x12, 0x42, 0x112, 0x142, 0x152, 0x1C2};
    std::mt19937 random(7);
    std::vector<Entry> keys;
    for (int i = 0; i < count; ++i)
    {
        // Records 64 bytes apart, as a heap hands out 52-byte blocks.
        const std::uintptr_t material = 0x10000 + (random() % 50) * 64;
        keys.push_back(Keys(formats[random() % 6], material, i));
    }
    return keys;
}

// One format, every character its own record, created in descending address.
std::vector<Entry> AdversarialKeys(int count)
{
    std::vector<Entry> keys;
    for (int i = 0; i < count; ++i)
        keys.push_back(Keys(0x142, 0x10000000 - std::uintptr_t(i) * 64, i));
    return keys;
}

using MakeKeys = std::vector<Entry> (*)(int);

// The graphics system's way, its storage kept from one sort to the next: the
// one place that names its class.
class FastOrder
{
public:
    void Sort(std::vector<Entry>& entries) { order.Sort(entries); }

private:
    DrawOrder order;
};

// Each iteration sorts a fresh copy of the registry's keys.
Turn Fast(const std::vector<Entry>& registry)
{
    return Repeat([&registry, entries = std::vector<Entry>(), order = FastOrder()]() mutable {
        entries = registry;
        order.Sort(entries);
        Keep(entries.data());
    });
}

Turn Literal(const std::vector<Entry>& registry)
{
    return Repeat([&registry, entries = std::vector<Entry>()]() mutable {
        entries = registry;
        ExchangeProcedure(entries);
        Keep(entries.data());
    });
}

// Both ways must give the same order before their times mean anything.
void CheckSameOrder(MakeKeys make, int count)
{
    std::vector<Entry> fast = make(count), literal = make(count);
    FastOrder().Sort(fast);
    ExchangeProcedure(literal);
    for (std::size_t i = 0; i < fast.size(); ++i)
        if (fast[i].character != literal[i].character)
            throw std::logic_error("re-sort: the two orders differ");
}

}  // namespace

void CompareResorts(Table& table)
{
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
            if (!table.Wants(job))
                continue;
            const std::vector<Entry> registry = keys.make(count);
            Comparison comparison;
            comparison.job = job;
            comparison.a = {"O(N log N)", Fast(registry)};
            comparison.b = {"exchange procedure", Literal(registry)};
            // The quadratic procedure takes up to a second at 30,000
            // characters: fewer turns there.
            if (count > 10000)
                comparison.turns = 9;
            // At least 50 times faster on a realistic registry of 10,000.
            if (count == 10000 && keys.make == RealisticKeys)
                comparison.goal = 0.02;
            table.Run(comparison);
        }
    }
}

}  // namespace bench
