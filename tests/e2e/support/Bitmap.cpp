#include "Bitmap.h"

#include <fstream>
#include <iterator>

namespace {

std::uint32_t Read32(const std::vector<unsigned char>& data, std::size_t at)
{
    return data[at] | data[at + 1] << 8 | data[at + 2] << 16 |
           static_cast<std::uint32_t>(data[at + 3]) << 24;
}

void Put(std::vector<unsigned char>& out, std::uint32_t value, int bytes)
{
    for (int i = 0; i < bytes; ++i)
        out.push_back(static_cast<unsigned char>(value >> (8 * i)));
}

}  // namespace

std::string ReadBitmap(const std::string& path, Bitmap& bitmap)
{
    std::ifstream file(path, std::ios::binary);
    if (!file)
        return "cannot open " + path;
    std::vector<unsigned char> data((std::istreambuf_iterator<char>(file)),
                                    std::istreambuf_iterator<char>());
    if (data.size() < 54 || data[0] != 'B' || data[1] != 'M')
        return path + " is not a Windows bitmap";
    std::uint32_t pixelOffset = Read32(data, 10);
    auto width = static_cast<std::int32_t>(Read32(data, 18));
    auto height = static_cast<std::int32_t>(Read32(data, 22));
    int bitsPerPixel = data[28] | data[29] << 8;
    std::uint32_t compression = Read32(data, 30);
    if ((bitsPerPixel != 24 && bitsPerPixel != 32) || (compression != 0 && compression != 3))
        return path + ": unsupported format, " + std::to_string(bitsPerPixel) +
               " bits, compression " + std::to_string(compression);
    bool topDown = height < 0;
    int bytesPerPixel = bitsPerPixel / 8;
    std::size_t stride = (static_cast<std::size_t>(width) * bytesPerPixel + 3) & ~std::size_t(3);
    if (pixelOffset + stride * (topDown ? -height : height) > data.size())
        return path + " is cut short";
    bitmap.width = width;
    bitmap.height = topDown ? -height : height;
    bitmap.pixels.resize(static_cast<std::size_t>(bitmap.width) * bitmap.height);
    for (int y = 0; y < bitmap.height; ++y)
    {
        std::size_t row = pixelOffset + stride * (topDown ? y : bitmap.height - 1 - y);
        for (int x = 0; x < bitmap.width; ++x)
        {
            const unsigned char* p = &data[row + static_cast<std::size_t>(x) * bytesPerPixel];
            bitmap.pixels[y * bitmap.width + x] = p[2] << 16 | p[1] << 8 | p[0];
        }
    }
    return std::string();
}

bool WriteBitmap(const std::string& path, int width, int height,
                 const std::vector<std::uint32_t>& pixels)
{
    std::uint32_t stride = (width * 3 + 3) & ~3;
    std::vector<unsigned char> out;
    out.push_back('B');
    out.push_back('M');
    Put(out, 54 + stride * height, 4);
    Put(out, 0, 4);
    Put(out, 54, 4);
    Put(out, 40, 4);
    Put(out, width, 4);
    Put(out, height, 4);  // positive: bottom row first
    Put(out, 1, 2);
    Put(out, 24, 2);
    Put(out, 0, 4);
    Put(out, stride * height, 4);
    Put(out, 2835, 4);
    Put(out, 2835, 4);
    Put(out, 0, 4);
    Put(out, 0, 4);
    for (int y = height - 1; y >= 0; --y)
    {
        for (int x = 0; x < width; ++x)
            Put(out, pixels[y * width + x], 3);
        for (std::uint32_t pad = width * 3; pad < stride; ++pad)
            out.push_back(0);
    }
    std::ofstream file(path, std::ios::binary);
    file.write(reinterpret_cast<const char*>(out.data()), static_cast<std::streamsize>(out.size()));
    return static_cast<bool>(file);
}
