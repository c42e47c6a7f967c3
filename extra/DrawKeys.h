#ifndef GRAPHICSDLL_DRAWKEYS_H
#define GRAPHICSDLL_DRAWKEYS_H

#include <cstdint>

#include "MaterialDesc.h"

// What decides where and whether a character is drawn: the registry is
// ordered by vertex format, then by record address; the layer picks the pass.
struct DrawKeys
{
    std::uint32_t fvf;
    int layer;
    MaterialDesc* material;  // compared by address only
};

#endif
