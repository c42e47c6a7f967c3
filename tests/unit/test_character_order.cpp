// The fast character order against the exchange procedure it replaces.

#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <vector>

#include "CharacterOrder.h"
#include "ExchangeProcedure.h"

namespace {

// Entries are told apart by their character pointer: its value is the
// entry's position in the registry before the order.
std::vector<CharacterKeys> Registry(const std::vector<std::pair<std::int32_t, std::uintptr_t>>& keys)
{
    std::vector<CharacterKeys> entries;
    for (std::size_t i = 0; i < keys.size(); ++i)
        entries.push_back({keys[i].first, keys[i].second, reinterpret_cast<CActor*>(i + 1)});
    return entries;
}

std::vector<std::uintptr_t> Positions(const std::vector<CharacterKeys>& entries)
{
    std::vector<std::uintptr_t> positions;
    for (const CharacterKeys& entry : entries)
        positions.push_back(reinterpret_cast<std::uintptr_t>(entry.character));
    return positions;
}

std::vector<std::uintptr_t> Ordered(std::vector<CharacterKeys> entries, CharacterOrder& order)
{
    order.Sort(entries);
    return Positions(entries);
}

std::vector<std::uintptr_t> Ordered(const std::vector<CharacterKeys>& entries)
{
    CharacterOrder order;
    return Ordered(entries, order);
}

std::vector<std::uintptr_t> ExchangeOrdered(std::vector<CharacterKeys> entries)
{
    ExchangeProcedure(entries);
    return Positions(entries);
}

TEST(CharacterOrder, ReversesEqualFormatsAsTheExchangesDo)
{
    // Formats 1 (A), 2, 1 (B), 3 come out as 3, 2, B, A.
    EXPECT_EQ(Ordered(Registry({{1, 0}, {2, 0}, {1, 0}, {3, 0}})), std::vector<std::uintptr_t>({4, 2, 3, 1}));
    EXPECT_EQ(Ordered(Registry({{0x112, 0}, {0x142, 0}, {0x112, 0}})), std::vector<std::uintptr_t>({2, 1, 3}));
}

TEST(CharacterOrder, OrdersMaterialsByUnsignedAddressWithinEachFormat)
{
    const std::uintptr_t high = ~std::uintptr_t{0};
    EXPECT_EQ(Ordered(Registry({{0x42, high}, {0x12, 16}, {0x42, 16}, {0x42, 0}, {-5, 0}})),
              std::vector<std::uintptr_t>({4, 3, 1, 2, 5}));
}

TEST(CharacterOrder, LeavesAnOrderedRegistryAsItIs)
{
    const auto entries = Registry({{3, 0}, {3, 0}, {3, 8}, {1, 8}, {1, 8}, {-1, 0}});
    EXPECT_EQ(Ordered(entries), Positions(entries));
    EXPECT_TRUE(Ordered(Registry({})).empty());
}

// Random registries of every shape the keys can take: few or many distinct
// formats (negative ones and the extremes included), few or many materials,
// null and shared addresses, sizes from empty to a few thousand. One order
// sorts them all, as the graphics system's does, keeping its storage.
TEST(CharacterOrder, MatchesTheExchangeProcedureOnRandomRegistries)
{
    CharacterOrder order;
    std::mt19937_64 random(20261206);
    const std::int32_t extremeFormats[] = {INT32_MIN, -1, 0, 1, INT32_MAX};
    for (int round = 0; round < 3000; ++round)
    {
        const int size = round < 2980 ? static_cast<int>(random() % 40) : 500 + static_cast<int>(random() % 2500);
        const int formats = 1 + static_cast<int>(random() % 7);
        const int materials = 1 + static_cast<int>(random() % (round % 3 == 0 ? size + 1 : 5));
        std::vector<std::pair<std::int32_t, std::uintptr_t>> keys;
        for (int i = 0; i < size; ++i)
        {
            const int format = static_cast<int>(random() % static_cast<unsigned>(formats));
            const std::int32_t fvf = format < 5 && round % 2 == 0 ? extremeFormats[format] : format * 0x30 - 0x40;
            const std::uintptr_t material = (random() % static_cast<unsigned>(materials)) * 52;
            keys.push_back({fvf, material});
        }
        const auto entries = Registry(keys);
        ASSERT_EQ(Ordered(entries, order), ExchangeOrdered(entries)) << "round " << round << ", size " << size;
    }
}

// The worst shapes for a list that rotates: one format, every character its
// own record, in descending and in ascending address order; many "earlier"
// keys between the members of one class; and rotations by about half the
// list, too long to walk.
TEST(CharacterOrder, MatchesTheExchangeProcedureOnAdversarialRegistries)
{
    for (int size : {1, 2, 3, 17, 2000})
    {
        std::vector<std::pair<std::int32_t, std::uintptr_t>> descending, ascending, interleaved;
        for (int i = 0; i < size; ++i)
        {
            descending.push_back({0x142, static_cast<std::uintptr_t>(size - i) * 64});
            ascending.push_back({0x142, static_cast<std::uintptr_t>(i) * 64});
            interleaved.push_back({i % 3 == 0 ? 0x12 : 0x142 + i % 5, static_cast<std::uintptr_t>(i % 2) * 64});
        }
        for (const auto& keys : {descending, ascending, interleaved})
        {
            const auto entries = Registry(keys);
            ASSERT_EQ(Ordered(entries), ExchangeOrdered(entries)) << "size " << size;
        }
    }

    std::vector<std::pair<std::int32_t, std::uintptr_t>> halfTurns;
    for (int member = 0; member < 150; ++member)
    {
        halfTurns.push_back({0x142, 64});
        for (int earlier = 0; earlier < member / 2 + member % 3; ++earlier)
            halfTurns.push_back({0x142, 0});
    }
    const auto entries = Registry(halfTurns);
    EXPECT_EQ(Ordered(entries), ExchangeOrdered(entries));
}

}  // namespace
