#ifndef GRAPHICSDLL_REGISTRY_H
#define GRAPHICSDLL_REGISTRY_H

#include <algorithm>
#include <cstddef>
#include <vector>

#include "Append.h"

// The end of every object the graphics system makes: give back what it
// holds, then delete it.
template <typename Object>
void ReleaseAndDestroy(Object* object)
{
    object->Release();
    object->Destroy();
}

// The objects of one kind that the graphics system made for the host, owned
// by it, in registry order: new ones at the end, a destroyed one's gap closed.
// That order is the order of drawing, of the reset sequence and of shutdown.
// The host borrows the pointers until Destroy or DestroyAll.
template <typename Object>
class Registry
{
public:
    Registry() = default;
    Registry(const Registry&) = delete;
    Registry& operator=(const Registry&) = delete;

    // Registers a new object once initialise(object) gave 0. Without an
    // object (it could not be made) the result is null; when initialise
    // gives 1 or the registry cannot grow, the object is released and
    // destroyed and the result is null.
    template <typename Initialise>
    Object* Adopt(Object* object, Initialise initialise)
    {
        if (object == nullptr)
            return nullptr;
        if (initialise(*object) == 1 || !Append(objects, object))
        {
            ReleaseAndDestroy(object);
            return nullptr;
        }
        return object;
    }

    // Destroys a registered object: beforeDestroy(object) first, then its
    // Release and Destroy; the gap closes. 1 for null or a pointer that is
    // not registered (it is only compared: it may be stale or the host's own).
    template <typename Pointer, typename BeforeDestroy>
    int Destroy(const Pointer* object, BeforeDestroy beforeDestroy)
    {
        const auto found = std::find(objects.begin(), objects.end(), object);
        if (object == nullptr || found == objects.end())
            return 1;
        beforeDestroy(*found);
        ReleaseAndDestroy(*found);
        objects.erase(found);
        return 0;
    }
    template <typename Pointer>
    int Destroy(const Pointer* object)
    {
        return Destroy(object, [](Object*) {});
    }

    // Destroys every object in registry order, then empties the registry.
    void DestroyAll()
    {
        for (Object* object : objects)
            ReleaseAndDestroy(object);
        objects.clear();
    }

    // Calls operation on every object in registry order, as the reset
    // sequence does before and after Reset; the first that gives 1 ends the
    // walk with 1, and the objects after it are not visited.
    int CallOnEach(int (Object::*operation)())
    {
        for (Object* object : objects)
            if ((object->*operation)() == 1)
                return 1;
        return 0;
    }

    // The objects in registry order, one contiguous sequence: the frame reads
    // it and re-orders it in place. Only the operations above add or remove.
    std::vector<Object*>& Objects() { return objects; }
    std::size_t size() const { return objects.size(); }
    typename std::vector<Object*>::iterator begin() { return objects.begin(); }
    typename std::vector<Object*>::iterator end() { return objects.end(); }
    typename std::vector<Object*>::const_iterator begin() const { return objects.begin(); }
    typename std::vector<Object*>::const_iterator end() const { return objects.end(); }

private:
    std::vector<Object*> objects;
};

#endif
