#ifndef GRAPHICSDLL_DRAWPASS_H
#define GRAPHICSDLL_DRAWPASS_H

#include <vector>

#include "Direct3D.h"

class CActor;
class MaterialRecords;

// Draws characters in the order given. A vertex format or a material record
// is applied only when it differs from the last one applied, in this frame
// or an earlier one: consecutive characters of the draw order mostly share
// both. The pass remembers the format; the records remember which of them
// was applied last, since that one must outlive its destroy.
class DrawPass
{
public:
    explicit DrawPass(MaterialRecords& records) : records(records) {}

    // The first character that fails ends the pass with 1.
    int Draw(const std::vector<CActor*>& sequence);
    // The same with depth testing off, and on again even after a failure.
    int DrawOverlay(IDirect3DDevice9* device, const std::vector<CActor*>& sequence);
    // For a device that holds neither: a new one, or one after Reset.
    void Forget();

private:
    int DrawCharacter(CActor* character);

    MaterialRecords& records;
    int cachedFVF = -1;  // the vertex format applied last; -1 none
};

#endif
