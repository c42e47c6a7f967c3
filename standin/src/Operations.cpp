#include "Operations.h"

#include <cstring>
#include <stdexcept>

namespace standin {

namespace {

const char* const kNames[] = {
#define STANDIN_OPERATION_NAME(id, name) name,
    STANDIN_OPERATIONS(STANDIN_OPERATION_NAME)
#undef STANDIN_OPERATION_NAME
};

static_assert(sizeof(kNames) / sizeof(kNames[0]) == kOperationCount, "one name per operation");

bool EndsWith(const char* text, const char* end)
{
    const std::size_t textLength = std::strlen(text);
    const std::size_t endLength = std::strlen(end);
    return textLength >= endLength && std::strcmp(text + textLength - endLength, end) == 0;
}

}  // namespace

const char* OperationName(Op op)
{
    return kNames[static_cast<int>(op)];
}

bool ReturnsResult(Op op)
{
    const char* name = OperationName(op);
    if (EndsWith(name, "Release") || EndsWith(name, "DrawTextW"))
        return false;
    if (std::strncmp(name, "D3DXMatrix", 10) == 0)
        return false;
    return op != Op::GetAdapterCount;
}

Op OperationNamed(const std::string& name)
{
    for (int i = 0; i < kOperationCount; ++i)
        if (name == kNames[i])
            return static_cast<Op>(i);
    throw std::invalid_argument("standin: no operation is named \"" + name + "\"");
}

}  // namespace standin
