#ifndef GRAPHICSDLL_ITEXTURE_H
#define GRAPHICSDLL_ITEXTURE_H

#include <cstdint>

class ILogger;

// A texture loaded from an image file, or a blank one filled from memory,
// bound to one fixed texture stage.
class ITexture
{
public:
    // Loads the file (colour key 0xFFDE00DE), or with a null name sets up a
    // blank texture; 0 or 1.
    virtual int Create(ILogger* logger, const char* fileName, int stage) = 0;
    // Gives back the Direct3D texture and the owned memory; always 0.
    virtual int Release() = 0;
    // Deletes the texture; call Release first.
    virtual void Destroy() = 0;
    // Sets the stage's colour operation and binds the texture there; 0 or 1.
    virtual int Bind() = 0;
    // Loads the file again after a device reset (colour key 0xFF000000); 0 or 1.
    virtual int Reload() = 0;
    // Drops the Direct3D texture before a device reset; always 0.
    virtual int Unload() = 0;
    // The file name given to Create, or null for a blank texture.
    virtual const char* GetFileName() = 0;
    // The texture stage that Bind and Unbind use.
    virtual int GetStage() = 0;
    // Removes any texture from the stage; 0 or 1.
    virtual int Unbind() = 0;
    // Refills a blank texture with width x height A8R8G8B8 words, row after
    // row from the top; a file texture ignores it; 0 or 1.
    virtual int AddData(const std::uint32_t* pixels, int width, int height) = 0;

protected:
    // Textures are deleted with Destroy, never through this interface.
    ~ITexture() = default;
};

#endif
