#ifndef GRAPHICSDLL_COMRELEASE_H
#define GRAPHICSDLL_COMRELEASE_H

// Gives back the one reference that `object` holds, if any, and forgets the
// pointer, so that no pointer to a released object survives. Every Direct3D
// and D3DX reference the plug-in owns is given back through this.
template <typename Interface>
void ReleaseCom(Interface*& object)
{
    if (object != nullptr)
    {
        object->Release();
        object = nullptr;
    }
}

#endif
