#include "DrawPass.h"

#include <cstddef>

#include "CActor.h"
#include "MaterialRecords.h"
#include "Prefetch.h"

namespace {

// How many characters ahead of the one being drawn the pass fetches:
// characters live wherever the heap put them, and the draw order makes the
// pass jump between them.
const std::size_t kPrefetchDistance = 8;

}  // namespace

int DrawPass::Draw(const std::vector<CActor*>& sequence)
{
    for (std::size_t k = 0; k < sequence.size(); ++k)
    {
        if (k + kPrefetchDistance < sequence.size())
            Prefetch(sequence[k + kPrefetchDistance], sizeof(CActor));
        if (DrawCharacter(sequence[k]) == 1)
            return 1;
    }
    return 0;
}

// The results of switching depth testing are not checked: the overlay is
// drawn either way.
int DrawPass::DrawOverlay(IDirect3DDevice9* device, const std::vector<CActor*>& sequence)
{
    device->SetRenderState(D3DRS_ZENABLE, D3DZB_FALSE);
    const int result = Draw(sequence);
    // Back on even when the pass ended early: the next frame draws with depth.
    device->SetRenderState(D3DRS_ZENABLE, D3DZB_TRUE);
    return result;
}

// Reset returns the device's format and material to their defaults, and a
// new device starts with them: no format, and the zero material of a
// character without a record.
void DrawPass::Forget()
{
    cachedFVF = -1;
    records.SetLastApplied(nullptr);
}

// The cache is written before the apply: a format or material whose apply
// failed counts as applied.
int DrawPass::DrawCharacter(CActor* character)
{
    const DrawKeys& keys = character->Keys();
    if (static_cast<int>(keys.fvf) != cachedFVF)
    {
        cachedFVF = static_cast<int>(keys.fvf);
        if (character->ApplyFVF() == 1)
            return 1;
    }
    if (keys.material != records.LastApplied())
    {
        records.SetLastApplied(keys.material);
        if (character->ApplyMaterial() == 1)
            return 1;
    }
    if (character->ApplyTextures() == 1 || character->ApplyBuffers() == 1)
        return 1;
    return character->Render();
}
