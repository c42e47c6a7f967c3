#include "DrawOrder.h"

#include <algorithm>
#include <new>
#include <numeric>

#include "CActor.h"
#include "Prefetch.h"

// One exchange pass over a range (for each i, each later j, swap when j comes
// first) orders a class of equal keys in closed form. Walk the range in its
// order before the pass, keeping the class's members seen so far in a list: a
// member is appended when reached, and every entry whose key comes first
// rotates the list by one (first member to the end) once it is not empty.
// Runs of equal keys are appended whole, so a sorted registry with k
// characters added or changed costs a walk and a copy. A list is simulated as
// a queue while its rotations move few members; else each member is placed,
// on a tree of free places, where it was inserted into the array the list is
// read from: O(m log m) for m members whatever the keys.

namespace {

// Stably orders the indices by their rank, one counting pass for each byte
// in which the ranks differ at all (one for layers, two or three for
// formats and heap addresses).
template <typename RankOf>
void RadixSort(std::vector<std::size_t>& indices, std::vector<std::size_t>& spare, RankOf rankOf)
{
    std::uint64_t differing = 0;
    for (std::size_t index : indices)
        differing |= rankOf(index) ^ rankOf(indices[0]);
    spare.resize(indices.size());
    for (unsigned shift = 0; shift < 64; shift += 8)
    {
        if (((differing >> shift) & 0xFF) == 0)
            continue;
        std::size_t next[257] = {};
        for (std::size_t index : indices)
            ++next[((rankOf(index) >> shift) & 0xFF) + 1];
        std::partial_sum(next, next + 257, next);
        for (std::size_t index : indices)
            spare[next[(rankOf(index) >> shift) & 0xFF]++] = index;
        indices.swap(spare);
    }
}

// Counts at places 0..n-1, 1-based in the storage it is given: the sum of
// the places before one, and the place of the k-th unit, in O(log n).
struct FenwickTree
{
    std::vector<std::size_t>& sums;
    std::size_t top = 1;  // the largest power of two among the places

    FenwickTree(std::vector<std::size_t>& storage, std::size_t size, std::size_t each) : sums(storage)
    {
        sums.assign(size + 1, each);
        sums[0] = 0;
        for (std::size_t i = 1; i <= size; ++i)
            if (i + (i & (~i + 1)) <= size)
                sums[i + (i & (~i + 1))] += sums[i];
        while (top * 2 <= size)
            top *= 2;
    }

    // A negative amount as its two's complement: the sums stay exact.
    void Add(std::size_t place, std::size_t amount)
    {
        for (std::size_t i = place + 1; i < sums.size(); i += i & (~i + 1))
            sums[i] += amount;
    }

    std::size_t SumBefore(std::size_t end) const
    {
        std::size_t sum = 0;
        for (std::size_t i = end; i > 0; i &= i - 1)
            sum += sums[i];
        return sum;
    }

    std::size_t Find(std::size_t k) const
    {
        std::size_t place = 0;
        for (std::size_t step = top; step > 0; step /= 2)
            if (place + step < sums.size() && sums[place + step] <= k)
                k -= sums[place += step];
        return place;
    }
};

// value % size, without a division in the common case of a value below it.
std::size_t Modulo(std::size_t value, std::size_t size)
{
    return value < size ? value : value % size;
}

}  // namespace

bool DrawOrder::Update(std::vector<CActor*>& registry)
{
    try
    {
        bool changed = ReadKeys(registry);
        if (request.Raised())
        {
            if (Sort(entries))
            {
                for (std::size_t i = 0; i < entries.size(); ++i)
                    registry[i] = entries[i].character;
                changed = true;
            }
            request.Clear();
            for (const Entry& entry : entries)
                if (entry.keys.layer > highestLayer)
                {
                    highestLayer = entry.keys.layer;
                    changed = true;
                }
        }
        if (changed)
            BuildSequences();
        return true;
    }
    catch (const std::bad_alloc&)
    {
        Forget();
        return false;
    }
}

void DrawOrder::Forget()
{
    entries.clear();
    layered.clear();
    overlay.clear();
}

// True when a layer differs from the last frame's, or there are more or
// fewer characters; a destroy makes the order forget them all first.
bool DrawOrder::ReadKeys(const std::vector<CActor*>& registry)
{
    const std::size_t kAhead = 64;  // little is done per character: fetch far ahead
    bool changed = entries.size() != registry.size();
    entries.resize(registry.size());
    for (std::size_t i = 0; i < registry.size(); ++i)
    {
        if (i + kAhead < registry.size())
            Prefetch(&registry[i + kAhead]->Keys(), sizeof(DrawKeys));
        changed = changed || registry[i]->Keys().layer != entries[i].keys.layer;
        entries[i] = {registry[i]->Keys(), registry[i]};
    }
    return changed;
}

// By format, descending as signed numbers; then each run of equal formats by
// record address, ascending. A smaller rank comes first.
bool DrawOrder::Sort(std::vector<Entry>& sequence)
{
    bool moved = ExchangePass(sequence, 0, sequence.size(), [](const Entry& entry) {
        return static_cast<std::uint64_t>(std::int64_t{0x7FFFFFFF} - static_cast<std::int32_t>(entry.keys.fvf));
    });
    for (std::size_t first = 0, end = 0; first < sequence.size(); first = end)
    {
        while (end < sequence.size() && sequence[end].keys.fvf == sequence[first].keys.fvf)
            ++end;
        moved = ExchangePass(sequence, first, end, [](const Entry& entry) {
            return static_cast<std::uint64_t>(reinterpret_cast<std::uintptr_t>(entry.keys.material));
        }) || moved;
    }
    return moved;
}

template <typename RankOf>
bool DrawOrder::ExchangePass(std::vector<Entry>& sequence, std::size_t first, std::size_t end, RankOf rankOf)
{
    // Every entry is written as a run, and kept as one where its key changes;
    // the storage only grows.
    runs.resize(std::max(runs.size(), end - first + 1));
    std::size_t count = 0;
    bool ordered = true;
    std::uint64_t previous = 0;
    for (std::size_t i = first; i < end; ++i)
    {
        const std::uint64_t rank = rankOf(sequence[i]);
        const bool starts = i == first || rank != previous;
        ordered = ordered && !(rank < previous);
        runs[count] = {rank, i - first, 0, 0, 0};
        count += starts ? 1 : 0;
        previous = rank;
    }
    for (std::size_t r = 0; r < count; ++r)
        runs[r].length = (r + 1 < count ? runs[r + 1].start : end - first) - runs[r].start;
    if (ordered)
        return false;

    // The runs of each key together, in range order, the keys in order;
    // then, walking the range, the entries of earlier keys before each run.
    byKey.resize(count);
    std::iota(byKey.begin(), byKey.end(), std::size_t{0});
    RadixSort(byKey, spare, [this](std::size_t run) { return runs[run].rank; });
    for (std::size_t k = 1; k < byKey.size(); ++k)
        runs[byKey[k]].keyClass = runs[byKey[k - 1]].keyClass + (runs[byKey[k]].rank != runs[byKey[k - 1]].rank);
    FenwickTree seen(counts, runs[byKey.back()].keyClass + 1, 0);
    for (std::size_t r = 0; r < count; ++r)
    {
        runs[r].earlierBefore = seen.SumBefore(runs[r].keyClass);
        seen.Add(runs[r].keyClass, runs[r].length);
    }

    // Gathered into a kept buffer, then copied back: independent loads,
    // unlike following the permutation's cycles in place.
    gathered.clear();
    for (std::size_t k = 0, earlierInRange = 0; k < byKey.size();)
    {
        std::size_t next = k + 1;
        while (next < byKey.size() && runs[byKey[next]].keyClass == runs[byKey[k]].keyClass)
            ++next;
        PlaceClass(k, next, earlierInRange, sequence.data() + first);
        for (; k < next; ++k)
            earlierInRange += runs[byKey[k]].length;
    }
    std::copy(gathered.begin(), gathered.end(), sequence.begin() + static_cast<std::ptrdiff_t>(first));
    return true;
}

// The class's runs byKey[firstRun, endRun), in range order, appended to its
// list; the entries of earlier keys between a run and the class's next one
// (or the range's end) rotate the list. Its entries are gathered in order.
void DrawOrder::PlaceClass(std::size_t firstRun, std::size_t endRun, std::size_t earlierInRange,
                           const Entry* range)
{
    blocks.clear();
    std::size_t members = 0;
    std::size_t head = 0;   // where the list starts in the array of the insertions
    std::size_t moves = 0;  // members that the rotations move in a queue
    for (std::size_t k = firstRun; k < endRun; ++k)
    {
        const Run& run = runs[byKey[k]];
        const std::size_t earlierAfter = k + 1 < endRun ? runs[byKey[k + 1]].earlierBefore : earlierInRange;
        members += run.length;
        const std::size_t rotation = Modulo(earlierAfter - run.earlierBefore, members);
        blocks.push_back({head == 0 ? members - run.length : head, run.start, run.length, rotation});
        head = Modulo(head + (head == 0 ? 0 : run.length) + rotation, members);
        moves += k + 1 < endRun ? rotation : 0;
    }
    // A queue costs what it moves, placing members one by one m log m.
    if (moves <= 8 * members)
        head = QueueMembers(members, moves);
    else
        PlaceMembers(members);
    for (std::size_t k = head; k < head + members; ++k)
        gathered.push_back(range[placed[k]]);
}

// The list as a window of `placed`: appending writes at its end, a rotation
// copies members from its front to its end; both copy whole chunks, the room
// after the end taking what spills. The last rotation only says where the
// list starts; the window is doubled so that it reads on from there.
std::size_t DrawOrder::QueueMembers(std::size_t members, std::size_t moves)
{
    const std::size_t kChunk = 8;
    placed.resize(std::max(placed.size(), 2 * members + moves + kChunk));
    std::size_t low = 0;
    std::size_t high = 0;
    for (const Block& block : blocks)
    {
        for (std::size_t j = 0; j < block.length; j += kChunk)
            for (std::size_t q = 0; q < kChunk; ++q)
                placed[high + j + q] = block.start + j + q;
        high += block.length;
        if (&block == &blocks.back())
            break;
        for (std::size_t j = 0; j < block.rotation; j += kChunk)
            for (std::size_t q = 0; q < kChunk; ++q)
                placed[high + j + q] = placed[low + j + q];
        low += block.rotation;
        high += block.rotation;
    }
    std::copy_n(placed.begin() + static_cast<std::ptrdiff_t>(low), members,
                placed.begin() + static_cast<std::ptrdiff_t>(high));
    return low + blocks.back().rotation;
}

// From the last member inserted back to the first, each takes the free place
// that its index counted when it was inserted; doubled as a queue's window.
void DrawOrder::PlaceMembers(std::size_t members)
{
    FenwickTree free(counts, members, 1);
    placed.resize(std::max(placed.size(), 2 * members));
    for (std::size_t b = blocks.size(); b-- > 0;)
        for (std::size_t j = blocks[b].length; j-- > 0;)
        {
            const std::size_t place = free.Find(blocks[b].at + j);
            free.Add(place, static_cast<std::size_t>(-1));
            placed[place] = placed[members + place] = blocks[b].start + j;
        }
}

// The characters of layers 0 up to the highest layer, ordered by layer
// stably whatever the layer numbers are, then those of the overlay layer.
void DrawOrder::BuildSequences()
{
    const int kOverlayLayer = -10;
    byKey.clear();
    overlay.clear();
    for (std::size_t i = 0; i < entries.size(); ++i)
    {
        const int layer = entries[i].keys.layer;
        if (layer >= 0 && layer <= highestLayer)
            byKey.push_back(i);
        else if (layer == kOverlayLayer)
            overlay.push_back(entries[i].character);
    }
    if (!byKey.empty())
        RadixSort(byKey, spare, [this](std::size_t i) { return static_cast<std::uint64_t>(entries[i].keys.layer); });
    layered.clear();
    for (std::size_t i : byKey)
        layered.push_back(entries[i].character);
}
