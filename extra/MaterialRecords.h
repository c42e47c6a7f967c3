#ifndef GRAPHICSDLL_MATERIALRECORDS_H
#define GRAPHICSDLL_MATERIALRECORDS_H

#include <cstddef>
#include <unordered_map>

#include "MaterialDesc.h"

// The material records the graphics system hands out, and the record the
// frame applied last.
//
// Characters and the frame know a record only by its address: a character
// keeps the pointer it was given (GetMaterial returns it), and the frame skips
// a material whose record is the one it applied last. So a record the host
// destroys leaves the registry at once, but its memory is kept while a
// character holds it or the frame applied it last: a new record must never
// get its address and be taken for it. It is freed as soon as neither holds.
class MaterialRecords
{
public:
    MaterialRecords() = default;
    // Frees the registry's storage only: the records themselves go with
    // FreeAll (the graphics system's shutdown). A host that frees the graphics
    // system without shutting it down keeps every record it holds readable.
    ~MaterialRecords() = default;
    MaterialRecords(const MaterialRecords&) = delete;
    MaterialRecords& operator=(const MaterialRecords&) = delete;

    // A new zero-filled record, registered; null when memory runs out.
    MaterialDesc* Create();
    // Takes a registered record off the registry; false for any other pointer.
    bool Destroy(const MaterialDesc* record);
    // A character took or let go of a record. Pointers that were not made
    // here are the host's own memory and are not counted.
    void Hold(const MaterialDesc* record);
    void LetGo(const MaterialDesc* record);

    // The record whose values the frame set on the device last; null for the
    // zero material of a character without a record, which is also what the
    // device holds when it is new or has been reset.
    const MaterialDesc* LastApplied() const { return lastApplied; }
    void SetLastApplied(const MaterialDesc* record)
    {
        lastApplied = record;
        if (keptForLastApplied != nullptr && keptForLastApplied != record)
            FreeKeptForLastApplied();
    }

    // Frees every record, registered or kept.
    void FreeAll();

private:
    struct Holders
    {
        std::size_t characters;
        bool registered;
    };
    using Records = std::unordered_map<const MaterialDesc*, Holders>;

    void FreeIfUnused(Records::iterator record);
    void FreeKeptForLastApplied();

    Records records;  // every record not yet freed
    const MaterialDesc* lastApplied = nullptr;
    // A destroyed record that only lastApplied still refers to.
    const MaterialDesc* keptForLastApplied = nullptr;
};

#endif
