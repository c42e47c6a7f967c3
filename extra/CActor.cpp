#include "CActor.h"

#include <algorithm>
#include <limits>
#include <new>

#include "Angles.h"
#include "ComRelease.h"
#include "DeletingDestructor.h"
#include "ErrorReport.h"
#include "ILogger.h"
#include "ITexture.h"
#include "MaterialRecords.h"
#include "SortRequest.h"

namespace {

// Create reports like every other operation; a failed rebuild after a
// device reset fails the whole reset, so it is reported as severe.
const int kCreateReportLevel = kLevelError;
const int kResetReportLevel = kLevelSevere;

// Indices are always 32-bit, and a buffer's length is a UINT: more indices
// than this have no buffer size that Direct3D could be asked for.
const int kMaxIndexCount =
    static_cast<int>(std::numeric_limits<UINT>::max() / sizeof(std::uint32_t));

UINT IndexBytes(int indexCount)
{
    return static_cast<UINT>(indexCount) * static_cast<UINT>(sizeof(std::uint32_t));
}

D3DCOLORVALUE ColourOf(const float (&rgb)[3])
{
    return D3DCOLORVALUE{rgb[0], rgb[1], rgb[2], 0.0f};  // records carry no alpha
}

}  // namespace

// Everything the geometry, texture and material setters have not given yet
// is zero or null, so an actor drawn or reset early works with empty values.
CActor::CActor(IDirect3DDevice9* device, SortRequest& sortRequest, MaterialRecords* records)
    : device(device),
      sortRequest(sortRequest),
      records(records),
      vertexBuffer(nullptr),
      indexBuffer(nullptr),
      textures(nullptr),
      vertexCount(0),
      keys{0, 0, nullptr},
      vertexBytes(0),
      stride(0),
      vertexCopy(nullptr),
      indexCopy(nullptr),
      indexCount(0),
      textureCount(0),
      material(),
      logger(nullptr),
      alphaBlend(false),
      textureAlpha(false)
{
    ResetTransforms();
}

// The graphics system calls Release before it destroys an actor.
CActor::~CActor() = default;

int CActor::Init(ILogger* logger)
{
    this->logger = logger;
    return 0;
}

int CActor::Release()
{
    ReleaseBuffers();
    delete[] vertexCopy;
    vertexCopy = nullptr;
    delete[] indexCopy;
    indexCopy = nullptr;
    return 0;
}

int CActor::Render()
{
    // Row vectors: rotated, then translated, then scaled, so the scale
    // applies to the translation as well.
    D3DXMatrixMultiply(&world, &rotation, &translation);
    D3DXMatrixMultiply(&world, &world, &scaling);
    if (D3D_FAILED(kLevelError, device->SetTransform(D3DTS_WORLD, &world)))
        return 1;

    // Set for every draw so that each actor's flags hold for its own draw;
    // the results of these state calls are not checked.
    if (!alphaBlend && !textureAlpha)
    {
        device->SetRenderState(D3DRS_ALPHABLENDENABLE, FALSE);
    }
    else
    {
        device->SetRenderState(D3DRS_ALPHABLENDENABLE, TRUE);
        if (textureAlpha)
            device->SetTextureStageState(0, D3DTSS_ALPHAOP, D3DTOP_MODULATE);
    }

    const UINT triangleCount = static_cast<UINT>(indexCount / 3);
    if (D3D_FAILED(kLevelError, device->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, 0, 0, vertexCount, 0,
                                                             triangleCount)))
        return 1;

    // The stage-0 alpha operation stays at modulate for whatever comes next.
    if (textureAlpha)
        device->SetRenderState(D3DRS_BLENDOP, D3DBLENDOP_ADD);

    // The texture reports its own failure.
    if (ITexture* texture = ListedTexture())
    {
        if (texture->Unbind() == 1)
            return 1;
    }
    return 0;
}

void* CActor::DeletingDestructor(unsigned int flags)
{
    return RunDeletingDestructor(this, flags);
}

void CActor::Destroy()
{
    DeletingDestructor(1);
}

int CActor::Create(std::uint32_t vertexCount, int layer, std::uint32_t fvf,
                   std::uint32_t vertexBytes, std::uint32_t stride, int indexCount,
                   const void* vertices, const std::uint32_t* indices)
{
    // Geometry that cannot be copied is refused before anything changes.
    if (indexCount < 0 || (vertexBytes > 0 && vertices == nullptr) ||
        (indexCount > 0 && indices == nullptr))
        return 1;
    // A new format may move the actor in the draw order; the request comes
    // before the old geometry goes.
    if (fvf != keys.fvf)
        sortRequest.Raise();
    Release();

    ResetTransforms();  // earlier position, rotation and scale do not carry over

    this->vertexCount = vertexCount;
    this->indexCount = indexCount;
    keys.fvf = fvf;
    keys.layer = layer;
    this->vertexBytes = vertexBytes;
    this->stride = stride;

    if (!CreateVertexBuffer(kCreateReportLevel) || !CreateIndexBuffer(kCreateReportLevel))
        return 1;

    if (!SaveCopies(vertices, indices))
        return 1;
    if (!FillVertexBuffer(kCreateReportLevel) || !FillIndexBuffer(kCreateReportLevel))
        return 1;
    return 0;
}

int CActor::SetTextures(ITexture* textures, int textureCount)
{
    this->textures = textures;
    this->textureCount = textureCount;
    return 0;
}

int CActor::SetPosition(float x, float y, float z)
{
    D3DXMatrixTranslation(&translation, x, y, z);
    return 0;
}

int CActor::SetRotation(float x, float y, float z)
{
    D3DXMatrixRotationYawPitchRoll(&rotation, DegreesToRadians(y), DegreesToRadians(x),
                                   DegreesToRadians(z));
    return 0;
}

int CActor::SetScale(float x, float y, float z)
{
    D3DXMatrixScaling(&scaling, x, y, z);
    return 0;
}

int CActor::ApplyFVF()
{
    if (D3D_FAILED(kLevelError, device->SetFVF(keys.fvf)))
        return 1;
    return 0;
}

int CActor::ApplyBuffers()
{
    if (D3D_FAILED(kLevelError, device->SetStreamSource(0, vertexBuffer, 0, stride)))
        return 1;
    if (D3D_FAILED(kLevelError, device->SetIndices(indexBuffer)))
        return 1;
    return 0;
}

int CActor::ApplyTextures()
{
    // A list, even an empty one, means the texture sets the stage itself.
    if (textures != nullptr)
    {
        ITexture* texture = ListedTexture();
        if (texture != nullptr && texture->Bind() == 1)
            return 1;
        return 0;
    }

    // Untextured: the vertex colour alone. The previous actor's Render has
    // already unbound its texture.
    if (D3D_FAILED(kLevelError, device->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_MODULATE)))
        return 1;
    if (D3D_FAILED(kLevelError, device->SetTextureStageState(0, D3DTSS_COLORARG1, D3DTA_DIFFUSE)))
        return 1;
    if (D3D_FAILED(kLevelError, device->SetTextureStageState(0, D3DTSS_COLORARG2, D3DTA_CURRENT)))
        return 1;
    return 0;
}

// Re-reads the record on every call, so values the host changed in the same
// record reach the device too. The values are copied: the frame applies the
// copy, which outlives a record the host destroys.
int CActor::SetMaterial(MaterialDesc* record)
{
    if (record == nullptr)
        return 1;
    // Actors are drawn grouped by record; another record may move this one.
    if (record != keys.material)
    {
        sortRequest.Raise();
        records->Hold(record);
        records->LetGo(keys.material);
    }

    keys.material = record;
    material = D3DMATERIAL9();
    material.Ambient = ColourOf(record->ambient);
    material.Diffuse = ColourOf(record->diffuse);
    material.Specular = ColourOf(record->specular);
    material.Emissive = ColourOf(record->emissive);
    material.Power = record->power;

    if (D3D_FAILED(kLevelError, device->SetMaterial(&material)))
        return 1;
    return 0;
}

int CActor::OnLostDevice()
{
    ReleaseBuffers();
    return 0;
}

int CActor::OnResetDevice()
{
    logger->Log(kLevelInfo, "Resetting an actor...");
    // Normally OnLostDevice has dropped them already; this keeps a reset
    // without it from leaking the old buffers.
    ReleaseBuffers();

    // Without saved copies (no geometry yet, or after Release) there is
    // nothing to rebuild.
    if (vertexCopy != nullptr &&
        (!CreateVertexBuffer(kResetReportLevel) || !FillVertexBuffer(kResetReportLevel)))
        return 1;
    if (indexCopy != nullptr &&
        (!CreateIndexBuffer(kResetReportLevel) || !FillIndexBuffer(kResetReportLevel)))
        return 1;

    logger->Log(kLevelDone, "OK");
    return 0;
}

std::uint32_t CActor::GetFVF()
{
    return keys.fvf;
}

MaterialDesc* CActor::GetMaterial()
{
    return keys.material;
}

int CActor::GetLayer()
{
    return keys.layer;
}

int CActor::SetAlphaBlend(bool enable)
{
    alphaBlend = enable;
    return 0;
}

int CActor::SetTextureAlpha(bool enable)
{
    textureAlpha = enable;
    return 0;
}

int CActor::ApplyMaterial()
{
    if (D3D_FAILED(kLevelError, device->SetMaterial(&material)))
        return 1;
    return 0;
}

void CActor::DetachTexture(const ITexture* texture)
{
    if (texture == nullptr || textures != texture)
        return;
    textures = nullptr;
    textureCount = 0;
}

bool CActor::CreateVertexBuffer(int reportLevel)
{
    return !D3D_FAILED(reportLevel, device->CreateVertexBuffer(vertexBytes, D3DUSAGE_WRITEONLY, keys.fvf,
                                                               D3DPOOL_DEFAULT, &vertexBuffer, nullptr));
}

bool CActor::CreateIndexBuffer(int reportLevel)
{
    // Reported as the device would answer a buffer that size: no memory.
    if (indexCount > kMaxIndexCount)
        return !D3D_FAILED(reportLevel, E_OUTOFMEMORY);
    return !D3D_FAILED(reportLevel, device->CreateIndexBuffer(IndexBytes(indexCount), D3DUSAGE_WRITEONLY,
                                                              D3DFMT_INDEX32, D3DPOOL_DEFAULT, &indexBuffer,
                                                              nullptr));
}

// The host may change or free its blocks once Create returns; these copies
// refill the buffers now and after every device reset. Nothing is reported
// when memory runs out: no Direct3D call failed.
bool CActor::SaveCopies(const void* vertices, const std::uint32_t* indices)
{
    vertexCopy = new (std::nothrow) unsigned char[vertexBytes];
    indexCopy = new (std::nothrow) std::uint32_t[static_cast<std::size_t>(indexCount)];
    if (vertexCopy == nullptr || indexCopy == nullptr)
    {
        delete[] vertexCopy;
        vertexCopy = nullptr;
        delete[] indexCopy;
        indexCopy = nullptr;
        return false;
    }
    std::copy_n(static_cast<const unsigned char*>(vertices), vertexBytes, vertexCopy);
    std::copy_n(indices, indexCount, indexCopy);
    return true;
}

// Each buffer is filled with one whole-buffer lock that discards the old
// contents and one block copy from the saved copy.
bool CActor::FillVertexBuffer(int reportLevel)
{
    void* locked = nullptr;
    if (D3D_FAILED(reportLevel, vertexBuffer->Lock(0, vertexBytes, &locked, D3DLOCK_DISCARD)))
        return false;
    std::copy_n(vertexCopy, vertexBytes, static_cast<unsigned char*>(locked));
    return !D3D_FAILED(reportLevel, vertexBuffer->Unlock());
}

bool CActor::FillIndexBuffer(int reportLevel)
{
    void* locked = nullptr;
    if (D3D_FAILED(reportLevel, indexBuffer->Lock(0, IndexBytes(indexCount), &locked, D3DLOCK_DISCARD)))
        return false;
    std::copy_n(indexCopy, indexCount, static_cast<std::uint32_t*>(locked));
    return !D3D_FAILED(reportLevel, indexBuffer->Unlock());
}

void CActor::ReleaseBuffers()
{
    ReleaseCom(vertexBuffer);
    ReleaseCom(indexBuffer);
}

void CActor::ResetTransforms()
{
    D3DXMatrixIdentity(&world);
    D3DXMatrixIdentity(&translation);
    D3DXMatrixIdentity(&rotation);
    D3DXMatrixIdentity(&scaling);
}

// The host hands over a single texture: a longer count still reaches only
// that one, since nothing it can pass lies behind it.
ITexture* CActor::ListedTexture() const
{
    return textureCount > 0 ? textures : nullptr;
}
