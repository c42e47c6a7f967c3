#ifndef GRAPHICSDLL_DIRECT3D_H
#define GRAPHICSDLL_DIRECT3D_H

// The platform headers of the plug-in's classes, in one place. Interface
// headers that hosts include never include this one.

#ifndef NOMINMAX
#define NOMINMAX // std::min and std::max stay usable
#endif
#include <windows.h>
#include <d3d9.h>
#include <d3dx9.h>

// <windows.h> renames CreateFont to CreateFontA or CreateFontW; the graphics
// system's factory of that name must keep it.
#undef CreateFont

#endif
