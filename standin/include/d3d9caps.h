#ifndef STANDIN_D3D9CAPS_H
#define STANDIN_D3D9CAPS_H

// Direct3D 9's device capabilities: the SDK's names for the part that the
// plug-in reads.

#include <d3d9types.h>

#define D3DPRESENT_INTERVAL_DEFAULT 0x00000000
#define D3DPRESENT_INTERVAL_IMMEDIATE 0x80000000

typedef struct _D3DCAPS9
{
    DWORD MaxActiveLights;
} D3DCAPS9;

#endif
