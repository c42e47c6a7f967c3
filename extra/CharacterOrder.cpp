#include "CharacterOrder.h"

#include <algorithm>

// One exchange pass (for each i, for each later j, swap when entry j comes
// before entry i) ends with the keys in order; what it does to a class of
// equal keys has a closed form. Walk the entries in their order before the
// pass, keeping the class members seen so far in a list: a member is appended
// when reached, and every entry whose key comes before the class's key rotates
// the list left by one (first member to the end) when the list is not empty.
// The list at the end is the class's order.
//
// So a pass groups the positions by key (a radix sort), counts for each
// position the entries of earlier classes before it (one walk with a count
// per class, or a Fenwick tree over the classes when there are many), and
// replays each class's appends and rotations on a list: an array for a few
// members, a circle of links while the rotations are short, else insertions
// at computed places resolved offline with a Fenwick tree. Every step is
// O(N log N) at worst.

namespace {

// Counts marked positions; prefix sums and "k-th mark" in O(log n).
class FenwickTree
{
public:
    // Works in the given storage, which is kept from one use to the next.
    explicit FenwickTree(std::vector<std::size_t>& storage) : sums(storage) {}

    // Size positions, none marked.
    void Clear(std::size_t size) { sums.assign(size + 1, 0); }

    // Size positions, every one marked once, built in linear time.
    void MarkAll(std::size_t size)
    {
        sums.assign(size + 1, 1);
        sums[0] = 0;
        for (std::size_t i = 1; i < sums.size(); ++i)
        {
            const std::size_t parent = i + LowestBit(i);
            if (parent < sums.size())
                sums[parent] += sums[i];
        }
    }

    void Mark(std::size_t position)
    {
        for (std::size_t i = position + 1; i < sums.size(); i += LowestBit(i))
            ++sums[i];
    }

    void Unmark(std::size_t position)
    {
        for (std::size_t i = position + 1; i < sums.size(); i += LowestBit(i))
            --sums[i];
    }

    // Marks at positions [0, end).
    std::size_t CountBefore(std::size_t end) const
    {
        std::size_t count = 0;
        for (std::size_t i = end; i > 0; i -= LowestBit(i))
            count += sums[i];
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
            if (next < sums.size() && sums[next] <= k)
            {
                position = next;
                k -= sums[next];
            }
        }
        return position;
    }

private:
    static std::size_t LowestBit(std::size_t i) { return i & (~i + 1); }

    std::vector<std::size_t>& sums;  // 1-based
};

// Entries whose key comes first have the smaller rank.
using Rank = std::uint64_t;

struct FormatRank
{
    // Descending signed formats: 0x7FFFFFFF first, INT32_MIN last.
    Rank operator()(const CharacterKeys& entry) const
    {
        return static_cast<Rank>(std::int64_t{0x7FFFFFFF} - entry.fvf);
    }
};

struct MaterialRank
{
    Rank operator()(const CharacterKeys& entry) const { return entry.material; }
};

using Scratch = CharacterOrder::Scratch;

// byClass = positions 0..count-1 stably sorted by rank: a radix sort on the
// bytes in which the ranks differ at all (two or three for formats and heap
// addresses), so at most eight linear passes.
void SortPositionsByRank(Scratch& scratch, std::size_t count)
{
    scratch.byClass.resize(count);
    scratch.spare.resize(count);
    Rank differing = 0;
    for (std::size_t i = 0; i < count; ++i)
    {
        scratch.byClass[i] = i;
        differing |= scratch.ranks[i] ^ scratch.ranks[0];
    }
    for (unsigned shift = 0; shift < 64; shift += 8)
    {
        if (((differing >> shift) & 0xFF) == 0)
            continue;
        std::size_t next[257] = {};
        for (std::size_t i = 0; i < count; ++i)
            ++next[((scratch.ranks[i] >> shift) & 0xFF) + 1];
        for (std::size_t digit = 1; digit < 257; ++digit)
            next[digit] += next[digit - 1];
        for (std::size_t position : scratch.byClass)
            scratch.spare[next[(scratch.ranks[position] >> shift) & 0xFF]++] = position;
        scratch.byClass.swap(scratch.spare);
    }
}

// Up to this many classes, counting earlier entries needs no tree.
const std::size_t kFewClasses = 16;

// Numbers the classes in key order and counts, for every position, the
// entries of earlier classes before it.
void CountEarlierEntries(Scratch& scratch, std::size_t count)
{
    scratch.classFirst.clear();
    scratch.classOf.resize(count);
    Rank previous = 0;
    for (std::size_t k = 0; k < count; ++k)
    {
        const std::size_t position = scratch.byClass[k];
        const Rank rank = scratch.ranks[position];
        if (k == 0 || rank != previous)
            scratch.classFirst.push_back(k);
        previous = rank;
        scratch.classOf[position] = scratch.classFirst.size() - 1;
    }
    const std::size_t classes = scratch.classFirst.size();
    scratch.classFirst.push_back(count);

    scratch.earlierBefore.resize(count);
    if (classes <= kFewClasses)
    {
        // Few classes (formats, mostly): a running count per class of the
        // entries in the classes before it, all raised in one fixed loop
        // (without a branch that the class would decide).
        std::size_t inEarlierClasses[kFewClasses] = {};
        for (std::size_t position = 0; position < count; ++position)
        {
            const std::size_t c = scratch.classOf[position];
            scratch.earlierBefore[position] = inEarlierClasses[c];
            for (std::size_t later = 0; later < kFewClasses; ++later)
                inEarlierClasses[later] += later > c ? 1 : 0;
        }
        return;
    }
    FenwickTree seen(scratch.classCounts);  // entries so far, by class
    seen.Clear(classes);
    for (std::size_t position = 0; position < count; ++position)
    {
        scratch.earlierBefore[position] = seen.CountBefore(scratch.classOf[position]);
        seen.Mark(scratch.classOf[position]);
    }
}

// Up to this many members, a class's circle is an array that members are
// shifted into: at most kSmallClass moves per member, and no walking.
const std::size_t kSmallClass = 16;

// The class's circle as an array with a start: appending inserts at the
// start (the members from there on move up one), rotating moves the start.
void ShiftInCircle(Scratch& scratch, std::size_t& start)
{
    const std::size_t m = scratch.rotations.size();
    scratch.circle.clear();
    start = 0;
    for (std::size_t t = 0; t < m; ++t)
    {
        if (start == 0)
        {
            scratch.circle.push_back(t);
        }
        else
        {
            scratch.circle.insert(scratch.circle.begin() + static_cast<std::ptrdiff_t>(start), t);
            ++start;
        }
        const std::size_t length = t + 1;
        const std::size_t rotation = scratch.rotations[t];
        start = (start + (rotation < length ? rotation : rotation % length)) % length;
    }
}

// The class's list kept as a circle of links with a head: appending links the
// member in just before the head, rotating walks the head round, the shorter
// way. Rotations are mostly short; false when the walking exceeds a linear
// budget, so that a class never costs more than O(m log m) in all.
bool WalkCircle(Scratch& scratch, std::size_t& head)
{
    const std::size_t m = scratch.rotations.size();
    std::size_t budget = 16 * m + 64;
    scratch.following.resize(m);
    scratch.preceding.resize(m);
    head = 0;
    for (std::size_t t = 0; t < m; ++t)
    {
        const std::size_t last = t == 0 ? 0 : scratch.preceding[head];
        scratch.following[last] = t;
        scratch.preceding[t] = last;
        scratch.following[t] = head;
        scratch.preceding[head] = t;

        const std::size_t length = t + 1;
        const std::size_t rotation = scratch.rotations[t];
        const std::size_t forward = rotation < length ? rotation : rotation % length;  // mostly no division
        const std::size_t steps = std::min(forward, length - forward);
        if (steps > budget)
            return false;
        budget -= steps;
        if (forward == steps)
            for (std::size_t step = 0; step < steps; ++step)
                head = scratch.following[head];
        else
            for (std::size_t step = 0; step < steps; ++step)
                head = scratch.preceding[head];
    }
    return true;
}

// The same circle without walking: where each member went in, then the
// members placed from the last insertion back, in O(m log m).
void PlaceInCircle(Scratch& scratch, std::size_t& start)
{
    const std::size_t m = scratch.rotations.size();
    scratch.insertedAt.resize(m);
    start = 0;
    for (std::size_t t = 0; t < m; ++t)
    {
        if (start == 0)
        {
            scratch.insertedAt[t] = t;
        }
        else
        {
            scratch.insertedAt[t] = start;
            ++start;
        }
        start = (start + scratch.rotations[t]) % (t + 1);
    }
    scratch.circle.resize(m);
    FenwickTree freeSlots(scratch.freeSlots);
    freeSlots.MarkAll(m);
    for (std::size_t t = m; t-- > 0;)
    {
        const std::size_t slot = freeSlots.FindMark(scratch.insertedAt[t]);
        freeSlots.Unmark(slot);
        scratch.circle[slot] = t;
    }
}

// Hands `place` the class's members in their order after the pass, as indices
// 0..m-1 into the members as they stood before it, given how many earlier-key
// entries follow each member before the next member (or the end).
template <typename Place>
void PlaceClass(Scratch& scratch, Place place)
{
    const std::size_t m = scratch.rotations.size();
    if (m <= kSmallClass)
    {
        std::size_t start = 0;
        ShiftInCircle(scratch, start);
        for (std::size_t k = 0; k < m; ++k)
            place(scratch.circle[(start + k) % m]);
        return;
    }
    std::size_t head = 0;
    if (WalkCircle(scratch, head))
    {
        for (std::size_t k = 0; k < m; ++k, head = scratch.following[head])
            place(head);
        return;
    }
    std::size_t start = 0;
    PlaceInCircle(scratch, start);
    for (std::size_t k = 0; k < m; ++k)
        place(scratch.circle[(start + k) % m]);
}

// Entries [first, end) as one exchange pass by the given rank leaves them.
template <typename RankOf>
void ExchangePass(std::vector<CharacterKeys>& entries, std::size_t first, std::size_t end, RankOf rankOf,
                  Scratch& scratch)
{
    const std::size_t count = end - first;
    bool ordered = true;
    for (std::size_t i = first + 1; i < end && ordered; ++i)
        ordered = rankOf(entries[i - 1]) <= rankOf(entries[i]);
    if (ordered)
        return;

    scratch.ranks.resize(count);
    for (std::size_t i = 0; i < count; ++i)
        scratch.ranks[i] = rankOf(entries[first + i]);
    SortPositionsByRank(scratch, count);
    CountEarlierEntries(scratch, count);

    scratch.order.clear();
    for (std::size_t c = 0; c + 1 < scratch.classFirst.size(); ++c)
    {
        const std::size_t* members = scratch.byClass.data() + scratch.classFirst[c];
        const std::size_t m = scratch.classFirst[c + 1] - scratch.classFirst[c];
        scratch.rotations.clear();
        for (std::size_t t = 0; t < m; ++t)
        {
            // Every entry of an earlier class comes before the last member's
            // end: there are classFirst[c] of them.
            const std::size_t upToNext = t + 1 < m ? scratch.earlierBefore[members[t + 1]] : scratch.classFirst[c];
            scratch.rotations.push_back(upToNext - scratch.earlierBefore[members[t]]);
        }
        PlaceClass(scratch, [&](std::size_t member) { scratch.order.push_back(members[member]); });
    }
    // Gathered into a kept buffer, then copied back: independent loads,
    // unlike following the permutation's cycles in place.
    scratch.moved.resize(count);
    for (std::size_t k = 0; k < count; ++k)
        scratch.moved[k] = entries[first + scratch.order[k]];
    std::copy(scratch.moved.begin(), scratch.moved.end(), entries.begin() + static_cast<std::ptrdiff_t>(first));
}

}  // namespace

void CharacterOrder::Sort(std::vector<CharacterKeys>& entries)
{
    ExchangePass(entries, 0, entries.size(), FormatRank(), scratch);
    for (std::size_t first = 0; first < entries.size();)
    {
        std::size_t end = first + 1;
        while (end < entries.size() && entries[end].fvf == entries[first].fvf)
            ++end;
        ExchangePass(entries, first, end, MaterialRank(), scratch);
        first = end;
    }
}
