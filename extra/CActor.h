#ifndef GRAPHICSDLL_CACTOR_H
#define GRAPHICSDLL_CACTOR_H

#include <cstdint>

#include "Direct3D.h"
#include "DrawKeys.h"
#include "ICharacter.h"
#include "MaterialDesc.h"

class MaterialRecords;
class SortRequest;

// A character: one indexed triangle list in write-only default-pool buffers,
// with system-memory copies of its vertices and indices from which the
// buffers are rebuilt after a device reset.
//
// Final, with a destructor that is not virtual: the graphics system calls
// ApplyMaterial through the table, so it must stand right after ICharacter's
// operations, and a virtual destructor would put GCC's two destructor slots
// in front of it. Slot 0 destroys a CActor, and nothing derives from it.
class CActor final : public ICharacter
{
public:
    CActor(IDirect3DDevice9* device, SortRequest& sortRequest, MaterialRecords* records);
    ~CActor();

    // Runs the destructor and, with bit 0 of flags, frees the memory.
    void* DeletingDestructor(unsigned int flags) override;
    int Init(ILogger* logger) override;
    int Release() override;
    int Render() override;
    void Destroy() override;
    int Create(std::uint32_t vertexCount, int layer, std::uint32_t fvf,
               std::uint32_t vertexBytes, std::uint32_t stride, int indexCount,
               const void* vertices, const std::uint32_t* indices) override;
    int SetTextures(ITexture* textures, int textureCount) override;
    int SetPosition(float x, float y, float z) override;
    int SetRotation(float x, float y, float z) override;
    int SetScale(float x, float y, float z) override;
    int ApplyFVF() override;
    int ApplyBuffers() override;
    int ApplyTextures() override;
    int SetMaterial(MaterialDesc* material) override;
    int OnLostDevice() override;
    int OnResetDevice() override;
    std::uint32_t GetFVF() override;
    MaterialDesc* GetMaterial() override;
    int GetLayer() override;
    int SetAlphaBlend(bool enable) override;
    int SetTextureAlpha(bool enable) override;
    // Sets the material copied by the last SetMaterial on the device; the
    // frame calls it when the material record changes between characters.
    virtual int ApplyMaterial();
    // The graphics system calls this before it frees a texture, so that no
    // character keeps a pointer to freed memory: a character without its
    // texture draws as one never given a texture.
    void DetachTexture(const ITexture* texture);
    // Where and whether the frame draws the character: its format, layer
    // and record, as GetFVF, GetLayer and GetMaterial give them. Not
    // virtual, and the three side by side: the frame reads them for every
    // character.
    const DrawKeys& Keys() const { return keys; }

private:
    IDirect3DDevice9* device;              // the graphics system's, not owned
    SortRequest& sortRequest;              // raised on a new format or material
    MaterialRecords* records;              // the graphics system's, told which record this one holds
    IDirect3DVertexBuffer9* vertexBuffer;  // one reference held; null while none
    IDirect3DIndexBuffer9* indexBuffer;    // one reference held; null while none
    ITexture* textures;                    // not owned; null: untextured
    std::uint32_t vertexCount;
    DrawKeys keys;                         // format, layer and the record last given
    std::uint32_t vertexBytes;
    std::uint32_t stride;
    unsigned char* vertexCopy;             // owned copy of the last Create's vertices
    std::uint32_t* indexCopy;              // owned copy of the last Create's indices
    int indexCount;
    D3DXMATRIX world;                      // rotation x translation x scaling
    D3DXMATRIX translation;
    D3DXMATRIX rotation;
    D3DXMATRIX scaling;
    int textureCount;
    D3DMATERIAL9 material;                 // the device copy of the record
    ILogger* logger;                       // not owned
    bool alphaBlend;
    bool textureAlpha;

    // Buffer steps shared by Create and OnResetDevice, which report their
    // failures at different levels; each returns false after its report.
    bool CreateVertexBuffer(int reportLevel);
    bool CreateIndexBuffer(int reportLevel);
    bool FillVertexBuffer(int reportLevel);
    bool FillIndexBuffer(int reportLevel);
    // Allocates the saved copies and fills them from the host's blocks;
    // false when memory runs out.
    bool SaveCopies(const void* vertices, const std::uint32_t* indices);
    void ReleaseBuffers();
    // World, translation, rotation and scaling back to identity.
    void ResetTransforms();
    // The texture that the draw operations visit, or null.
    ITexture* ListedTexture() const;
};

#endif
