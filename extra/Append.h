#ifndef GRAPHICSDLL_APPEND_H
#define GRAPHICSDLL_APPEND_H

#include <utility>
#include <vector>

// Appends to a growable array; false, with the array unchanged, when it
// cannot grow. No exception may reach the host, so the plug-in's arrays grow
// through this.
template <typename Value>
bool Append(std::vector<Value>& values, Value value) noexcept
{
    try
    {
        values.push_back(std::move(value));
        return true;
    }
    catch (...)
    {
        return false;
    }
}

#endif
