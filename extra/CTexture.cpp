#include "CTexture.h"

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <new>

#include "ComRelease.h"
#include "ErrorReport.h"
#include "ILogger.h"
#include "WideText.h"

namespace {

// The colour that D3DX turns transparent on the first load of a file...
const D3DCOLOR kCreateColorKey = 0xFFDE00DE;
// ...and on every load after a device reset.
const D3DCOLOR kReloadColorKey = 0xFF000000;

// A name that fills the buffer would reach D3DX without its terminator.
// Counted in bytes, before any conversion: a name never converts to more
// wide characters than it has bytes, so every name taken here fits.
bool FitsFileNameBuffer(const char* name)
{
    return std::strlen(name) < kFileNameCapacity;
}

// Null when memory runs out.
char* CopyOf(const char* text)
{
    const std::size_t size = std::strlen(text) + 1;
    char* copy = new (std::nothrow) char[size];
    if (copy != nullptr)
        std::memcpy(copy, text, size);
    return copy;
}

}  // namespace

CTexture::CTexture(IDirect3DDevice9* device)
    : device(device), texture(nullptr), logger(nullptr), fileName(nullptr), stage(0), staging(nullptr) {}

int CTexture::Create(ILogger* hostLogger, const char* name, int textureStage)
{
    if (name != nullptr && !FitsFileNameBuffer(name))
        return 1;
    // A second Create never leaves the first one's texture behind.
    ReleaseCom(texture);

    if (name == nullptr)
    {
        stage = textureStage;
        logger = hostLogger;
        logger->Log(kLevelInfo, "Creating blank texture...OK");
        return 0;
    }

    // A texture that already has a name keeps it, and the logger it came
    // with: the factory finds textures by that name.
    stage = textureStage;
    if (fileName == nullptr)
    {
        logger = hostLogger;
        fileName = CopyOf(name);
        if (fileName == nullptr)
            return 1;
    }
    logger->Log(kLevelInfo, "Loading texture %s", name);
    logger->NewLine();
    logger->NewLine();

    if (D3D_FAILED(kLevelError, LoadFile(kCreateColorKey)))
        return 1;
    return 0;
}

int CTexture::Release()
{
    ReleaseCom(texture);
    delete[] staging;
    staging = nullptr;
    delete[] fileName;
    fileName = nullptr;
    logger = nullptr;
    device = nullptr;
    return 0;
}

void CTexture::Destroy()
{
    delete this;
}

// After Release (by the host, too) there is no device: every operation that
// needs it answers 1.
int CTexture::Bind()
{
    if (device == nullptr)
        return 1;
    const DWORD unit = static_cast<DWORD>(stage);
    if (D3D_FAILED(kLevelError, device->SetTextureStageState(unit, D3DTSS_COLOROP, D3DTOP_MODULATE)))
        return 1;
    if (D3D_FAILED(kLevelError, device->SetTextureStageState(unit, D3DTSS_COLORARG1, D3DTA_TEXTURE)))
        return 1;
    if (D3D_FAILED(kLevelError, device->SetTextureStageState(unit, D3DTSS_COLORARG2, D3DTA_CURRENT)))
        return 1;
    // A blank texture not yet filled binds null and leaves the stage empty.
    if (D3D_FAILED(kLevelError, device->SetTexture(unit, texture)))
        return 1;
    return 0;
}

int CTexture::Reload()
{
    // Blank textures stay empty until the host fills them again.
    if (fileName == nullptr)
        return 0;
    if (device == nullptr)
        return 1;
    ReleaseCom(texture);
    if (D3D_FAILED(kLevelError, LoadFile(kReloadColorKey)))
        return 1;
    return 0;
}

int CTexture::Unload()
{
    ReleaseCom(texture);
    return 0;
}

const char* CTexture::GetFileName()
{
    return fileName;
}

int CTexture::GetStage()
{
    return stage;
}

int CTexture::Unbind()
{
    if (device == nullptr)
        return 1;
    if (D3D_FAILED(kLevelError, device->SetTexture(static_cast<DWORD>(stage), nullptr)))
        return 1;
    return 0;
}

int CTexture::AddData(const std::uint32_t* pixels, int width, int height)
{
    if (device == nullptr)
        return 1;  // released: no logger to report to, no device to fill
    logger->Log(kLevelInfo, "Adding data to texture : Width=%i Height=%i", width, height);
    logger->NewLine();
    if (fileName != nullptr)
        return 0;
    // Without pixels there is nothing to fill the texture with.
    if (pixels == nullptr && width > 0 && height > 0)
        return 1;

    // A new texture every time, whatever the size of the last one.
    ReleaseCom(texture);
    if (D3D_FAILED_AS(kAddDataReportFormat, kLevelError,
                      D3DXCreateTexture(device, width, height, 1, D3DUSAGE_DYNAMIC,
                                        D3DFMT_A8R8G8B8, D3DPOOL_DEFAULT, &texture)))
        return 1;

    D3DLOCKED_RECT locked;
    if (D3D_FAILED_AS(kAddDataReportFormat, kLevelError,
                      texture->LockRect(0, &locked, nullptr, D3DLOCK_DISCARD)))
        return 1;
    const int pitchWords = locked.Pitch / 4;
    const std::size_t stagingWords = FillStaging(pixels, width, height, pitchWords);
    // Out of memory there is nothing to copy: the texture is still closed
    // again, and then given up, since it holds no pixels of the host's.
    // Running out of memory is not the device's failure and is not reported.
    if (staging != nullptr)
        std::memcpy(locked.pBits, staging, stagingWords * sizeof *staging);
    if (D3D_FAILED_AS(kAddDataReportFormat, kLevelError, texture->UnlockRect(0)))
        return 1;
    if (staging == nullptr)
    {
        ReleaseCom(texture);
        return 1;
    }
    return 0;
}

HRESULT CTexture::LoadFile(D3DCOLOR colorKey)
{
    // A name the locale cannot convert names no file D3DX could open, while
    // the part converted before the failure might name another one: D3DX
    // gets an empty name then, and answers with its own error.
    wchar_t wideName[kFileNameCapacity];
    if (!ToWide(wideName, kFileNameCapacity, fileName))
        wideName[0] = L'\0';
    return D3DXCreateTextureFromFileExW(device, wideName, 0, 0, 1, 0, D3DFMT_A8R8G8B8,
                                        D3DPOOL_DEFAULT, D3DX_DEFAULT, D3DX_DEFAULT, colorKey,
                                        nullptr, nullptr, &texture);
}

std::size_t CTexture::FillStaging(const std::uint32_t* pixels, int width, int height,
                                  int pitchWords)
{
    const int rows = std::max(height, 0);
    const int rowWords = std::max(pitchWords, 0);
    const std::size_t words = static_cast<std::size_t>(rows) * static_cast<std::size_t>(rowWords);

    // The words past the image's width in each row are padding of the
    // surface; they are not written, and start out as zero so that the
    // driver never receives undefined memory.
    std::uint32_t* block = new (std::nothrow) std::uint32_t[words]();
    delete[] staging;
    staging = block;
    if (staging == nullptr)
        return 0;

    // A pitch narrower than a row (no real driver returns one) holds only
    // the part of each row that fits.
    const int columns = std::min(width, rowWords);
    for (int y = 0; y < rows; ++y)
        for (int x = 0; x < columns; ++x)
            staging[static_cast<std::size_t>(y) * rowWords + x] =
                pixels[static_cast<std::size_t>(y) * width + x];
    return words;
}

