#include "CharacterOrder.h"

#include <algorithm>
#include <utility>

// One exchange pass (for each i, for each later j, swap when entry j comes
// before entry i) ends with the keys in order; what it does to a class of
// equal keys has a closed form. Walk the entries in their order before the
// pass, keeping the class members seen so far in a list: a member is appended
// when reached, and every entry whose key comes before the class's key rotates
// the list left by one (first member to the end) when the list is not empty.
// The list at the end is the class's order. So each class needs only the
// number of "earlier" entries between consecutive members (a Fenwick tree over
// positions, classes taken in key order) and a list that appends and rotates
// in O(log n) (insertions at computed places, resolved offline).

namespace {

// Counts marked positions; prefix sums and "k-th unmarked" in O(log n).
class FenwickTree
{
public:
    explicit FenwickTree(std::size_t size) : sums(size + 1, 0) {}

    // Every position marked once, built in linear time.
    void MarkAll()
    {
        for (std::size_t i = 1; i < sums.size(); ++i)
        {
            sums[i] += 1;
            const std::size_t parent = i + (i & (~i + 1));
            if (parent < sums.size())
                sums[parent] += sums[i];
        }
    }

    void Add(std::size_t position, int delta)
    {
        for (std::size_t i = position + 1; i < sums.size(); i += i & (~i + 1))
            sums[i] += delta;
    }

    // Marks at positions [0, end).
    std::size_t CountBefore(std::size_t end) const
    {
        std::size_t count = 0;
        for (std::size_t i = end; i > 0; i -= i & (~i + 1))
            count += static_cast<std::size_t>(sums[i]);
        return count;
    }

    // The position of the (k+1)-th mark; there must be more than k marks.
    std::size_t FindMark(std::size_t k) const
    {
        std::size_t position = 0;
        std::size_t step = 1;
        while (step * 2 < sums.size())
            step *= 2;
        for (; step > 0; step /= 2)
        {
            const std::size_t next = position + step;
            if (next < sums.size() && static_cast<std::size_t>(sums[next]) <= k)
            {
                position = next;
                k -= static_cast<std::size_t>(sums[next]);
            }
        }
        return position;
    }

private:
    std::vector<int> sums;  // 1-based
};

// Entries whose key comes first have the smaller rank.
using Rank = std::uint64_t;

Rank FormatRank(const CharacterKeys& entry)
{
    // Descending signed formats: 0x7FFFFFFF first, INT32_MIN last.
    return static_cast<Rank>(std::int64_t{0x7FFFFFFF} - entry.fvf);
}

Rank MaterialRank(const CharacterKeys& entry)
{
    return entry.material;
}

// The order of one class, given how many earlier-key entries follow each of
// its m members before the next member (or the end): indices 0..m-1 into the
// class's members as they stood before the pass.
void ClassOrder(const std::vector<std::size_t>& rotations, std::vector<std::size_t>& order)
{
    const std::size_t m = rotations.size();
    // The list is kept as a circle with a start: appending inserts just before
    // the start, rotating moves the start. First find where each member was
    // inserted into the circle, then place them from the last insertion back.
    std::vector<std::size_t> insertedAt(m);
    std::size_t start = 0;
    for (std::size_t t = 0; t < m; ++t)
    {
        if (start == 0)
        {
            insertedAt[t] = t;
        }
        else
        {
            insertedAt[t] = start;
            ++start;
        }
        start = (start + rotations[t]) % (t + 1);
    }
    FenwickTree freeSlots(m);
    freeSlots.MarkAll();
    std::vector<std::size_t> circle(m);
    for (std::size_t t = m; t-- > 0;)
    {
        const std::size_t slot = freeSlots.FindMark(insertedAt[t]);
        freeSlots.Add(slot, -1);
        circle[slot] = t;
    }
    order.resize(m);
    for (std::size_t k = 0; k < m; ++k)
        order[k] = circle[(start + k) % m];
}

// Entries [first, end) as one exchange pass by the given rank leaves them.
template <typename RankOf>
void ExchangePass(std::vector<CharacterKeys>& entries, std::size_t first, std::size_t end, RankOf rankOf)
{
    const std::size_t count = end - first;
    bool ordered = true;
    for (std::size_t i = first + 1; i < end && ordered; ++i)
        ordered = rankOf(entries[i - 1]) <= rankOf(entries[i]);
    if (ordered)
        return;

    // Positions grouped into classes of equal rank, classes in key order,
    // positions ascending within a class.
    std::vector<std::pair<Rank, std::size_t>> byRank(count);
    for (std::size_t i = 0; i < count; ++i)
        byRank[i] = {rankOf(entries[first + i]), i};
    std::sort(byRank.begin(), byRank.end());

    std::vector<CharacterKeys> result;
    result.reserve(count);
    FenwickTree earlier(count);  // positions of the classes already placed
    std::vector<std::size_t> rotations;
    std::vector<std::size_t> order;
    for (std::size_t classFirst = 0; classFirst < count;)
    {
        std::size_t classEnd = classFirst + 1;
        while (classEnd < count && byRank[classEnd].first == byRank[classFirst].first)
            ++classEnd;

        rotations.clear();
        for (std::size_t t = classFirst; t < classEnd; ++t)
        {
            const std::size_t from = byRank[t].second + 1;
            const std::size_t to = t + 1 < classEnd ? byRank[t + 1].second : count;
            rotations.push_back(earlier.CountBefore(to) - earlier.CountBefore(from));
        }
        ClassOrder(rotations, order);
        for (std::size_t member : order)
            result.push_back(entries[first + byRank[classFirst + member].second]);
        for (std::size_t t = classFirst; t < classEnd; ++t)
            earlier.Add(byRank[t].second, 1);
        classFirst = classEnd;
    }
    std::copy(result.begin(), result.end(), entries.begin() + static_cast<std::ptrdiff_t>(first));
}

}  // namespace

void OrderCharacters(std::vector<CharacterKeys>& entries)
{
    ExchangePass(entries, 0, entries.size(), FormatRank);
    for (std::size_t first = 0; first < entries.size();)
    {
        std::size_t end = first + 1;
        while (end < entries.size() && entries[end].fvf == entries[first].fvf)
            ++end;
        ExchangePass(entries, first, end, MaterialRank);
        first = end;
    }
}
