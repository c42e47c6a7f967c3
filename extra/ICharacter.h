#ifndef GRAPHICSDLL_ICHARACTER_H
#define GRAPHICSDLL_ICHARACTER_H

#include <cstdint>

class ILogger;
class ITexture;
struct MaterialDesc;

// A renderable mesh: an indexed triangle list with its own vertex format,
// buffers, texture, material, alpha settings, render layer and transform.
class ICharacter
{
public:
    // Slot 0: Microsoft's one-slot deleting destructor, declared as an
    // operation for other compilers (see IGraphics.h). The graphics system
    // destroys characters; hosts use DestroyCharacter.
#ifdef _MSC_VER
    virtual ~ICharacter() {}
#else
    virtual void* DeletingDestructor(unsigned int flags) = 0;
#endif
    // Stores the logger; always 0.
    virtual int Init(ILogger* logger) = 0;
    // Gives back the buffers and the saved geometry; always 0.
    virtual int Release() = 0;
    // Sets the world transform and the alpha states, draws, unbinds; 0 or 1.
    virtual int Render() = 0;
    // Deletes the character; call Release first.
    virtual void Destroy() = 0;
    // Replaces the geometry; the character copies both blocks. Indices are
    // 32-bit; layer 0 and up are drawn in order, -10 is the overlay; 0 or 1.
    virtual int Create(std::uint32_t vertexCount, int layer, std::uint32_t fvf,
                       std::uint32_t vertexBytes, std::uint32_t stride, int indexCount,
                       const void* vertices, const std::uint32_t* indices) = 0;
    // Uses the given texture (null: untextured); always 0.
    virtual int SetTextures(ITexture* textures, int textureCount) = 0;
    // Translation; always 0.
    virtual int SetPosition(float x, float y, float z) = 0;
    // Rotation in degrees: x is the pitch, y the yaw, z the roll; always 0.
    virtual int SetRotation(float x, float y, float z) = 0;
    // Scaling, which also scales the translation; always 0.
    virtual int SetScale(float x, float y, float z) = 0;
    // Sets the vertex format on the device; 0 or 1.
    virtual int ApplyFVF() = 0;
    // Sets the vertex and index buffers on the device; 0 or 1.
    virtual int ApplyBuffers() = 0;
    // Binds the texture, or sets the untextured colour operation; 0 or 1.
    virtual int ApplyTextures() = 0;
    // Copies the record's current values and sets them on the device; 0 or 1.
    virtual int SetMaterial(MaterialDesc* material) = 0;
    // Drops the device buffers before a device reset; always 0.
    virtual int OnLostDevice() = 0;
    // Rebuilds the device buffers from the saved geometry; 0 or 1.
    virtual int OnResetDevice() = 0;
    // The vertex format.
    virtual std::uint32_t GetFVF() = 0;
    // The material record last given to SetMaterial.
    virtual MaterialDesc* GetMaterial() = 0;
    // The render layer.
    virtual int GetLayer() = 0;
    // Blends with the stage-0 alpha operation as it stands; always 0.
    virtual int SetAlphaBlend(bool enable) = 0;
    // Blends with the texture's alpha modulated in; always 0.
    virtual int SetTextureAlpha(bool enable) = 0;

#ifndef _MSC_VER
protected:
    // Freed through slot 0 or Destroy(), never by a delete of this type.
    ~ICharacter() = default;
#endif
};

#endif
