#ifndef E2E_BITMAP_H
#define E2E_BITMAP_H

#include <cstdint>
#include <string>
#include <vector>

// A picture as read from an uncompressed 24- or 32-bit Windows bitmap.
struct Bitmap
{
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;  // 0xRRGGBB, top row first

    std::uint32_t At(int x, int y) const { return pixels[y * width + x]; }
};

// Reads a bitmap file; an empty string on success, else what is wrong (and
// the bitmap is left empty).
std::string ReadBitmap(const std::string& path, Bitmap& bitmap);

// Writes a 24-bit bitmap of 0xRRGGBB pixels given top row first.
bool WriteBitmap(const std::string& path, int width, int height,
                 const std::vector<std::uint32_t>& pixels);

#endif
