#ifndef STANDIN_ARGTEXT_H
#define STANDIN_ARGTEXT_H

// Writes the arguments of a recorded call as text, separated by ", ", in the
// conventions of Recorder.h.

#include <d3d9.h>

#include <string>

namespace standin {

class ArgText
{
public:
    // Appends to `text`, which must outlive the writer.
    explicit ArgText(std::string& text);

    // Signed and unsigned integers in decimal.
    ArgText& Int(long long value);
    ArgText& UInt(unsigned long long value);
    // A D3DCOLOR as 0xAARRGGBB.
    ArgText& Hex(std::uint32_t value);
    // A float in its shortest round-trip form.
    ArgText& Float(float value);
    // A stand-in object as "Kind#n", null as "null".
    ArgText& Object(const IUnknown* object);
    // A handle that is not a stand-in object (a window) as hex, or "null".
    ArgText& Handle(const void* handle);
    // An optional pointer whose contents are not written (out-parameters,
    // shared handles, palettes, regions): "null" or "set".
    ArgText& Optional(const void* pointer);
    // A wide string in double quotes, converted in the current locale; "null".
    ArgText& String(const wchar_t* text);
    // Structures by their contents in braces, or "null".
    ArgText& Rect(const RECT* rect);
    ArgText& Vector(const D3DVECTOR* vector);
    ArgText& Matrix(const D3DMATRIX* matrix);
    ArgText& Material(const D3DMATERIAL9* material);
    ArgText& Light(const D3DLIGHT9* light);
    ArgText& PresentParameters(const D3DPRESENT_PARAMETERS* parameters);
    // A locked rectangle as filled by LockRect: "{pitch, bits}", "{0, null}" or "null".
    ArgText& LockedRect(const D3DLOCKED_RECT* lockedRect);

private:
    // Starts the next argument.
    std::string& Next();
    // Writes "null" for a null pointer and says whether it did.
    bool Null(const void* pointer);

    std::string& text;
    bool first;
};

// The narrow form of a wide string, character by character in the current
// locale; characters that have none become '?'.
std::string Narrow(const wchar_t* text);

}  // namespace standin

#endif
