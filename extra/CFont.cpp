#include "CFont.h"

#include <cstddef>
#include <cstring>
#include <new>

#include "Append.h"
#include "ComRelease.h"
#include "ErrorReport.h"
#include "ILogger.h"
#include "WideText.h"

namespace {

// Both name buffers: 255 characters and the terminator.
const std::size_t kFaceNameCapacity = 256;

// Top-left aligned, wrapped at the rectangle's right edge, clipped to it.
const DWORD kTextFormat = DT_LEFT | DT_TOP | DT_WORDBREAK;

// A text of n bytes never gives more than n wide characters, so n + 2 holds
// it with its terminator.
std::size_t BufferSizeFor(const char* text)
{
    return std::strlen(text) + 2;
}

}  // namespace

CFont::CFont(IDirect3DDevice9* device)
    : device(device), logger(nullptr), font(nullptr), faceNameW(nullptr), faceName(nullptr),
      height(0), width(0), weight(0), nextEntry(0) {}

int CFont::Create(ILogger* hostLogger, int fontHeight, int fontWidth, int fontWeight,
                  const char* name)
{
    // A name that fills the buffers would reach D3DX without its terminator.
    if (name == nullptr || std::strlen(name) >= kFaceNameCapacity)
        return 1;
    ReleaseCom(font);
    FreeNames();

    height = fontHeight;
    width = fontWidth;
    weight = fontWeight;
    faceNameW = new (std::nothrow) wchar_t[kFaceNameCapacity]();
    faceName = new (std::nothrow) char[kFaceNameCapacity]();
    if (faceNameW == nullptr || faceName == nullptr)
    {
        FreeNames();
        return 1;
    }
    std::strcpy(faceName, name);
    // A name the locale cannot convert reaches D3DX as far as it converted;
    // the zero fill terminates that part.
    ToWide(faceNameW, kFaceNameCapacity, faceName);
    logger = hostLogger;

    logger->Log(kLevelInfo, "Creating Font: %s", faceName);
    logger->Log(kLevelInfo, "Width: %i", width);
    logger->Log(kLevelInfo, "Height: %i", height);
    logger->Log(kLevelInfo, "Weight: %i", weight);
    if (D3D_FAILED(kLevelError, D3DXCreateFontW(device, height, width, weight, 1, FALSE, DEFAULT_CHARSET,
                                                OUT_DEFAULT_PRECIS, DEFAULT_QUALITY,
                                                DEFAULT_PITCH | FF_DONTCARE, faceNameW, &font)))
        return 1;
    logger->NewLine();
    logger->NewLine();
    return 0;
}

int CFont::Release()
{
    ReleaseCom(font);
    FreeNames();
    entries.clear();
    return 0;
}

void CFont::Destroy()
{
    delete this;
}

int CFont::Render()
{
    // Without its D3DX font (after Release) there is nothing to draw with.
    if (font != nullptr)
    {
        for (const Entry& entry : entries)
        {
            // DrawTextW may write to the rectangle; the entry keeps its own.
            RECT rect = entry.rect;
            font->DrawTextW(nullptr, entry.text.get(), -1, &rect, kTextFormat, entry.color);
        }
    }
    nextEntry = 0;
    return 0;
}

// Out of memory the text is dropped and the result is 1; the entries queued
// so far stay as they were.
int CFont::AddText(const char* text, std::uint32_t color, int left, int top, int right,
                   int bottom)
{
    if (text == nullptr)
        text = "";  // an entry that draws nothing, rather than a crash
    const std::size_t needed = BufferSizeFor(text);
    const std::size_t index = static_cast<std::size_t>(nextEntry);

    // Past the last entry (also after Release, which empties the array but
    // keeps counting until the next Render) a new one is appended.
    const bool appended = index >= entries.size();
    if (appended && !Append(entries, Entry{RECT{0, 0, 0, 0}, 0, nullptr, 0}))
        return 1;
    Entry& entry = appended ? entries.back() : entries[index];
    // Buffers only grow, so a frame like the last one allocates nothing.
    if (entry.capacity < needed)
    {
        wchar_t* larger = new (std::nothrow) wchar_t[needed];
        if (larger == nullptr)
        {
            if (appended)
                entries.pop_back();
            return 1;
        }
        entry.text.reset(larger);
        entry.capacity = needed;
    }
    // A text the locale cannot convert is kept as an empty one rather than
    // as whatever the buffer held before.
    if (!ToWide(entry.text.get(), needed, text))
        entry.text[0] = L'\0';
    entry.rect = RECT{left, top, right, bottom};
    entry.color = color;
    ++nextEntry;
    return 0;
}

int CFont::OnLostDevice()
{
    if (font == nullptr)
        return 0;
    if (D3D_FAILED(kLevelError, font->OnLostDevice()))
        return 1;
    return 0;
}

int CFont::OnResetDevice()
{
    if (font == nullptr)
        return 0;
    if (D3D_FAILED(kLevelError, font->OnResetDevice()))
        return 1;
    return 0;
}

const char* CFont::GetFaceName()
{
    return faceName;
}

int CFont::GetHeight()
{
    return height;
}

int CFont::GetWidth()
{
    return width;
}

int CFont::GetWeight()
{
    return weight;
}

void CFont::FreeNames()
{
    delete[] faceNameW;
    faceNameW = nullptr;
    delete[] faceName;
    faceName = nullptr;
}
