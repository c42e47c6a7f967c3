#ifndef GRAPHICSDLL_CTEXTURE_H
#define GRAPHICSDLL_CTEXTURE_H

#include <cstddef>
#include <cstdint>

#include "Direct3D.h"
#include "ITexture.h"

// A single-level default-pool texture, loaded from a file or filled from
// memory, bound to one texture stage.
class CTexture final : public ITexture
{
public:
    explicit CTexture(IDirect3DDevice9* device);

    int Create(ILogger* logger, const char* fileName, int stage) override;
    int Release() override;
    void Destroy() override;
    int Bind() override;
    int Reload() override;
    int Unload() override;
    const char* GetFileName() override;
    int GetStage() override;
    int Unbind() override;
    int AddData(const std::uint32_t* pixels, int width, int height) override;

private:
    IDirect3DDevice9* device;      // the graphics system's, not owned
    IDirect3DTexture9* texture;    // one reference held; null while none
    ILogger* logger;               // not owned
    char* fileName;                // owned copy; null for a blank texture
    int stage;                     // texture stage of Bind and Unbind
    std::uint32_t* staging;        // owned; the last block AddData wrote, at the locked pitch

    // Loads fileName into texture; the caller reports a failure.
    HRESULT LoadFile(D3DCOLOR colorKey);
    // Replaces staging with the pixels laid out at the locked pitch; returns
    // the block's size in words.
    std::size_t FillStaging(const std::uint32_t* pixels, int width, int height, int pitchWords);
};

#endif
