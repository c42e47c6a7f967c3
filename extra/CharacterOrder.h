#ifndef GRAPHICSDLL_CHARACTERORDER_H
#define GRAPHICSDLL_CHARACTERORDER_H

#include <cstdint>
#include <vector>

class ICharacter;

// A character with the keys the registry is ordered by, read once per sort.
struct CharacterKeys
{
    std::int32_t fvf;
    std::uintptr_t material;
    ICharacter* character;
};

// Puts the entries in the order that the graphics system's exchange procedure
// gives: vertex formats descending, then, within each run of equal formats,
// material addresses ascending. Among equal keys that procedure is not stable,
// and hosts see its order (it is the drawing order of overlapping meshes), so
// this reproduces it exactly, in O(N log N) time; an already ordered registry
// costs one linear check.
void OrderCharacters(std::vector<CharacterKeys>& entries);

#endif
