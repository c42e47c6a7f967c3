#ifndef GRAPHICSDLL_DRAWORDER_H
#define GRAPHICSDLL_DRAWORDER_H

#include <cstddef>
#include <cstdint>
#include <vector>

#include "DrawKeys.h"
#include "SortRequest.h"

class CActor;

// The order in which a frame draws the characters. Two things make it:
//
// - The registry's order, changed only when a sort was requested: vertex
//   formats descending, then within each run of equal formats record
//   addresses ascending, exactly as the exchange procedure leaves it (for each
//   place i, for each later place j, swap when j's key comes first). That
//   procedure is not stable among equal keys, and hosts see its order among
//   them (it is the drawing order of overlapping meshes), so Sort gives that
//   order, without the procedure's N^2 steps.
// - The layers: layers 0 up to the highest layer seen at a sort, each in
//   registry order, then the overlay layer in registry order; other layers
//   are not drawn. The highest layer only grows, so a character moved above
//   it is drawn only after the next sort.
//
// A frame reads every character's keys once; what it draws is rebuilt only
// when a character's place or layer or the highest layer changed, so a
// steady frame reuses it and allocates nothing.
class DrawOrder
{
public:
    // A character and its keys as the frame read them.
    struct Entry
    {
        DrawKeys keys;
        CActor* character;
    };

    // Raised by CreateCharacter, RequestSort and the characters themselves.
    SortRequest& Request() { return request; }

    // Reads every character's keys; when a sort was requested, re-orders the
    // registry in place and raises the highest layer; rebuilds the sequences
    // when anything they depend on changed. False when memory ran out:
    // nothing is drawn then, and the next frame starts again from the
    // registry.
    bool Update(std::vector<CActor*>& registry);
    // Forgets the characters (not the highest layer or a requested sort)
    // before any of them is destroyed, so that no pointer to one is kept.
    void Forget();

    // Layers 0 up to the highest layer in increasing order, each in registry
    // order; then the overlay layer, drawn without depth test.
    const std::vector<CActor*>& Layered() const { return layered; }
    const std::vector<CActor*>& Overlay() const { return overlay; }

    // Puts the entries in the exchange procedure's order, in O(N log N); a
    // sorted sequence with k entries added or changed in a walk and a copy
    // plus work on the k. True when an entry moved.
    bool Sort(std::vector<Entry>& sequence);

private:
    // Equal keys side by side in a pass's range, and the earlier keys before.
    struct Run
    {
        std::uint64_t rank;
        std::size_t start, length, earlierBefore, keyClass;
    };
    // A run appended to its class's list, then rotated; `at` is where it
    // went in the array the list is read from.
    struct Block
    {
        std::size_t at, start, length, rotation;
    };

    bool ReadKeys(const std::vector<CActor*>& registry);
    template <typename RankOf>
    bool ExchangePass(std::vector<Entry>& sequence, std::size_t first, std::size_t end, RankOf rankOf);
    void PlaceClass(std::size_t firstRun, std::size_t endRun, std::size_t earlierInRange, const Entry* range);
    std::size_t QueueMembers(std::size_t members, std::size_t moves);
    void PlaceMembers(std::size_t members);
    void BuildSequences();

    SortRequest request;
    int highestLayer = 0;
    std::vector<Entry> entries;    // the registry as the last frame read it
    std::vector<CActor*> layered, overlay;  // what a frame draws

    // Working storage, kept from one sort or build to the next.
    std::vector<Run> runs;              // of a pass's range, in its order, and spare room
    std::vector<std::size_t> byKey;     // runs by key; positions by layer when building
    std::vector<std::size_t> spare;     // the radix sort's other buffer
    std::vector<std::size_t> counts;    // a tree of entries by key, or of free places
    std::vector<Block> blocks;          // the class at hand's runs
    std::vector<std::size_t> placed;    // its list, as range places
    std::vector<Entry> gathered;        // the range's entries in their new order
};

#endif
