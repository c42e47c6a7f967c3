#ifndef GRAPHICSDLL_DELETINGDESTRUCTOR_H
#define GRAPHICSDLL_DELETINGDESTRUCTOR_H

#include <new>

// Slot 0 of IGraphics and ICharacter, as Microsoft's compiler calls it for
// delete: runs the destructor and, with bit 0 of flags, frees the memory;
// gives back the object's address.
template <typename Object>
void* RunDeletingDestructor(Object* object, unsigned int flags)
{
    object->~Object();
    if ((flags & 1) != 0)
        ::operator delete(object);
    return object;
}

#endif
