#ifndef BENCH_EXCHANGEPROCEDURE_H
#define BENCH_EXCHANGEPROCEDURE_H

#include <cstddef>
#include <utility>
#include <vector>

#include "CharacterOrder.h"

// The character order by the exchange procedure, written out step by step as
// the quadratic original did it: what the fast order is measured against.
inline void ExchangeProcedure(std::vector<CharacterKeys>& entries)
{
    const std::size_t count = entries.size();
    for (std::size_t i = 0; i < count; ++i)
        for (std::size_t j = i + 1; j < count; ++j)
            if (entries[i].fvf < entries[j].fvf)
                std::swap(entries[i], entries[j]);

    std::vector<std::size_t> firsts, lasts;
    for (std::size_t i = 0; i < count; ++i)
    {
        if (i == 0 || entries[i].fvf != entries[i - 1].fvf)
            firsts.push_back(i);
        if (i + 1 == count || entries[i].fvf != entries[i + 1].fvf)
            lasts.push_back(i);
    }
    for (std::size_t run = 0; run < firsts.size(); ++run)
        for (std::size_t i = firsts[run]; i <= lasts[run]; ++i)
            for (std::size_t j = i + 1; j <= lasts[run]; ++j)
                if (entries[j].material < entries[i].material)
                    std::swap(entries[i], entries[j]);
}

#endif
