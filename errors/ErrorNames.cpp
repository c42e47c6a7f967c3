#include "ErrorNames.h"

// Placeholder until the generated table lands.
const wchar_t* ErrorName(std::int32_t)
{
    return L"Unknown";
}
