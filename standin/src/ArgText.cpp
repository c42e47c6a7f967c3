#include "ArgText.h"

#include <charconv>
#include <climits>
#include <cstdio>
#include <cwchar>

#include "Objects.h"

namespace standin {

namespace {

std::string FloatText(float value)
{
    char digits[32];
    const std::to_chars_result end = std::to_chars(digits, digits + sizeof(digits), value);
    return std::string(digits, end.ptr);
}

std::string HexText(unsigned long long value, int width)
{
    char digits[24];
    std::snprintf(digits, sizeof(digits), "0x%0*llX", width, value);
    return digits;
}

// "{a, b, c}" from the parts.
std::string Braced(std::initializer_list<std::string> parts)
{
    std::string text = "{";
    for (const std::string& part : parts)
    {
        if (text.size() > 1)
            text += ", ";
        text += part;
    }
    return text + "}";
}

std::string RectText(const RECT& rect)
{
    return Braced({std::to_string(rect.left), std::to_string(rect.top), std::to_string(rect.right),
                   std::to_string(rect.bottom)});
}

std::string VectorText(const D3DVECTOR& vector)
{
    return Braced({FloatText(vector.x), FloatText(vector.y), FloatText(vector.z)});
}

std::string ColorText(const D3DCOLORVALUE& color)
{
    return Braced({FloatText(color.r), FloatText(color.g), FloatText(color.b), FloatText(color.a)});
}

}  // namespace

ArgText::ArgText(std::string& text) : text(text), first(true) {}

std::string& ArgText::Next()
{
    if (!first)
        text += ", ";
    first = false;
    return text;
}

bool ArgText::Null(const void* pointer)
{
    if (pointer != nullptr)
        return false;
    Next() += "null";
    return true;
}

ArgText& ArgText::Int(long long value)
{
    Next() += std::to_string(value);
    return *this;
}

ArgText& ArgText::UInt(unsigned long long value)
{
    Next() += std::to_string(value);
    return *this;
}

ArgText& ArgText::Hex(std::uint32_t value)
{
    Next() += HexText(value, 8);
    return *this;
}

ArgText& ArgText::Float(float value)
{
    Next() += FloatText(value);
    return *this;
}

ArgText& ArgText::Object(const IUnknown* object)
{
    Next() += NameOf(object);
    return *this;
}

ArgText& ArgText::Handle(const void* handle)
{
    if (!Null(handle))
        Next() += HexText(reinterpret_cast<std::uintptr_t>(handle), 1);
    return *this;
}

ArgText& ArgText::Optional(const void* pointer)
{
    if (!Null(pointer))
        Next() += "set";
    return *this;
}

ArgText& ArgText::String(const wchar_t* value)
{
    if (!Null(value))
        Next() += '"' + Narrow(value) + '"';
    return *this;
}

ArgText& ArgText::Rect(const RECT* rect)
{
    if (!Null(rect))
        Next() += RectText(*rect);
    return *this;
}

ArgText& ArgText::Vector(const D3DVECTOR* vector)
{
    if (!Null(vector))
        Next() += VectorText(*vector);
    return *this;
}

ArgText& ArgText::Matrix(const D3DMATRIX* matrix)
{
    if (Null(matrix))
        return *this;
    std::string rows = "{";
    for (int row = 0; row < 4; ++row)
    {
        if (row > 0)
            rows += ", ";
        rows += Braced({FloatText(matrix->m[row][0]), FloatText(matrix->m[row][1]),
                        FloatText(matrix->m[row][2]), FloatText(matrix->m[row][3])});
    }
    Next() += rows + "}";
    return *this;
}

ArgText& ArgText::Material(const D3DMATERIAL9* material)
{
    if (!Null(material))
        Next() += Braced({ColorText(material->Diffuse), ColorText(material->Ambient),
                          ColorText(material->Specular), ColorText(material->Emissive),
                          FloatText(material->Power)});
    return *this;
}

ArgText& ArgText::Light(const D3DLIGHT9* light)
{
    if (!Null(light))
        Next() += Braced({std::to_string(static_cast<long long>(light->Type)), ColorText(light->Diffuse),
                          ColorText(light->Specular), ColorText(light->Ambient),
                          VectorText(light->Position), VectorText(light->Direction),
                          FloatText(light->Range), FloatText(light->Falloff),
                          FloatText(light->Attenuation0), FloatText(light->Attenuation1),
                          FloatText(light->Attenuation2), FloatText(light->Theta), FloatText(light->Phi)});
    return *this;
}

ArgText& ArgText::PresentParameters(const D3DPRESENT_PARAMETERS* parameters)
{
    if (Null(parameters))
        return *this;
    std::string fields;
    ArgText(fields)
        .UInt(parameters->BackBufferWidth)
        .UInt(parameters->BackBufferHeight)
        .Int(parameters->BackBufferFormat)
        .UInt(parameters->BackBufferCount)
        .Int(parameters->MultiSampleType)
        .UInt(parameters->MultiSampleQuality)
        .Int(parameters->SwapEffect)
        .Handle(parameters->hDeviceWindow)
        .Int(parameters->Windowed)
        .Int(parameters->EnableAutoDepthStencil)
        .Int(parameters->AutoDepthStencilFormat)
        .UInt(parameters->Flags)
        .UInt(parameters->FullScreen_RefreshRateInHz)
        .UInt(parameters->PresentationInterval);
    Next() += "{" + fields + "}";
    return *this;
}

ArgText& ArgText::LockedRect(const D3DLOCKED_RECT* lockedRect)
{
    if (!Null(lockedRect))
        Next() += Braced({std::to_string(lockedRect->Pitch), lockedRect->pBits == nullptr ? "null" : "bits"});
    return *this;
}

std::string Narrow(const wchar_t* text)
{
    std::string narrow;
    std::mbstate_t state{};
    char bytes[MB_LEN_MAX];
    for (; *text != L'\0'; ++text)
    {
        const std::size_t length = std::wcrtomb(bytes, *text, &state);
        if (length == static_cast<std::size_t>(-1))
        {
            narrow += '?';
            state = std::mbstate_t{};
        }
        else
        {
            narrow.append(bytes, length);
        }
    }
    return narrow;
}

}  // namespace standin
