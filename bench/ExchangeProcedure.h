#ifndef BENCH_EXCHANGEPROCEDURE_H
#define BENCH_EXCHANGEPROCEDURE_H

#include <cstddef>
#include <cstdint>
#include <utility>
#include <vector>

#include "DrawOrder.h"

// The character order by the exchange procedure, written out step by step as
// the quadratic original did it: what the fast order is measured against.
inline void ExchangeProcedure(std::vector<DrawOrder::Entry>& entries)
{
    const std::size_t count = entries.size();
    for (std::size_t i = 0; i < count; ++i)
        for (std::size_t j = i + 1; j < count; ++j)
            if (static_cast<std::int32_t>(entries[i].keys.fvf) < static_cast<std::int32_t>(entries[j].keys.fvf))
                std::swap(entries[i], entries[j]);

    std::vector<std::size_t> firsts, lasts;
    for (std::size_t i = 0; i < count; ++i)
    {
        if (i == 0 || entries[i].keys.fvf != entries[i - 1].keys.fvf)
            firsts.push_back(i);
        if (i + 1 == count || entries[i].keys.fvf != entries[i + 1].keys.fvf)
            lasts.push_back(i);
    }
    for (std::size_t run = 0; run < firsts.size(); ++run)
        for (std::size_t i = firsts[run]; i <= lasts[run]; ++i)
            for (std::size_t j = i + 1; j <= lasts[run]; ++j)
                if (reinterpret_cast<std::uintptr_t>(entries[j].keys.material) <
                    reinterpret_cast<std::uintptr_t>(entries[i].keys.material))
                    std::swap(entries[i], entries[j]);
}

#endif
