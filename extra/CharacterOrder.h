#ifndef GRAPHICSDLL_CHARACTERORDER_H
#define GRAPHICSDLL_CHARACTERORDER_H

#include <cstddef>
#include <cstdint>
#include <vector>

class CActor;

// A character with the keys the registry is ordered by, read once per sort.
struct CharacterKeys
{
    std::int32_t fvf;
    std::uintptr_t material;
    CActor* character;
};

// Puts entries in the order that the exchange procedure gives (for each
// position i, for each later j, swap when j's key comes before i's): vertex
// formats descending, then, within each run of equal formats, material
// addresses ascending. That procedure is not stable among equal keys, and
// hosts see its order (it is the drawing order of overlapping meshes), so
// this reproduces it exactly, in O(N log N) time; an already ordered registry
// costs one linear check.
class CharacterOrder
{
public:
    void Sort(std::vector<CharacterKeys>& entries);

    // Working storage, kept from one sort to the next: sorting a registry no
    // larger than before allocates nothing.
    struct Scratch
    {
        std::vector<std::uint64_t> ranks;        // by position in the pass's range
        std::vector<std::size_t> byClass;        // positions by rank, ascending within equal ranks
        std::vector<std::size_t> spare;          // the radix sort's other buffer
        std::vector<std::size_t> classFirst;     // where each class starts in byClass; one more at the end
        std::vector<std::size_t> classOf;        // by position
        std::vector<std::size_t> earlierBefore;  // by position: entries of earlier classes before it
        std::vector<std::size_t> rotations;      // per member of the class at hand
        std::vector<std::size_t> insertedAt;
        std::vector<std::size_t> circle;
        std::vector<std::size_t> following;      // the circle as links: member after each member
        std::vector<std::size_t> preceding;
        std::vector<std::size_t> order;          // a pass's result: position now at each place
        std::vector<CharacterKeys> moved;        // the entries of a pass in their new order
        std::vector<std::size_t> classCounts;    // tree storage
        std::vector<std::size_t> freeSlots;      // tree storage
    };

private:
    Scratch scratch;
};

#endif
