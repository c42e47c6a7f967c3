#ifndef STANDIN_OBJECTS_H
#define STANDIN_OBJECTS_H

// The objects that the stand-in hands out. Every one is owned by the
// recorder from its creation until the recorder's Reset: after its last
// Release it stays behind as a released object, so that a later call on it
// is caught and reported instead of touching freed memory, and tests can
// still inspect what it held.

#include <d3d9.h>
#include <d3dx9.h>

#include <memory>
#include <string>
#include <vector>

#include "Operations.h"

namespace standin {

// What an object is; names and numbers are counted per kind.
enum class Kind
{
    Direct3D,
    Device,
    VertexBuffer,
    IndexBuffer,
    Texture,
    Surface,
    Font
};

// "Direct3D", "Device", "VertexBuffer", ...
const char* KindName(Kind kind);

// The part that every stand-in object shares, whatever its interface.
class Object
{
public:
    explicit Object(Kind kind);
    virtual ~Object();
    Object(const Object&) = delete;
    Object& operator=(const Object&) = delete;

    // Whether the object still has references.
    bool Alive() const { return references > 0; }
    // Whether, while alive, the object keeps the device from being reset.
    virtual bool BlocksReset() const { return false; }

    const Kind kind;
    std::string name;       // "Texture#2", given by the recorder
    ULONG references = 1;   // an object is handed out with one reference
};

// The stand-in object behind an interface pointer; null for null or for an
// object that is not the stand-in's.
Object* ObjectBehind(const IUnknown* pointer);

// The stand-in object of a given class behind a pointer, or null.
template <class T>
T* As(const IUnknown* pointer)
{
    return dynamic_cast<T*>(ObjectBehind(pointer));
}

// "Texture#2"; "null" for null; "foreign" for an object not the stand-in's.
std::string NameOf(const IUnknown* pointer);

// Stops the process with a message when `object` was released to zero:
// whatever calls it next uses an object it no longer holds.
void RequireAlive(const Object& object, Op op);

// IUnknown's Release, shared by all objects.
ULONG DropReference(Object& object);

// A stand-in object with the interface it is handed out as.
template <class Interface>
class Counted : public Interface, public Object
{
public:
    explicit Counted(Kind kind) : Object(kind) {}

    ULONG STDMETHODCALLTYPE Release() override { return DropReference(*this); }
};

// The memory of a vertex or index buffer and its locking, which both kinds share.
class BufferMemory
{
public:
    BufferMemory(UINT length, D3DPOOL pool);

    HRESULT Lock(Object& owner, Op op, UINT offset, UINT size, void** data, DWORD flags);
    HRESULT Unlock(Object& owner, Op op);

    const UINT length;
    const D3DPOOL pool;
    std::unique_ptr<unsigned char[]> memory;     // exactly `length` bytes
    bool locked = false;
    std::vector<unsigned char> unlockedBytes;    // the memory as of the last Unlock
};

// A vertex buffer of the recording device.
class VertexBuffer final : public Counted<IDirect3DVertexBuffer9>
{
public:
    VertexBuffer(UINT length, D3DPOOL pool);

    HRESULT STDMETHODCALLTYPE Lock(UINT offset, UINT size, void** data, DWORD flags) override;
    HRESULT STDMETHODCALLTYPE Unlock() override;
    bool BlocksReset() const override { return buffer.pool == D3DPOOL_DEFAULT; }

    BufferMemory buffer;
};

// An index buffer of the recording device.
class IndexBuffer final : public Counted<IDirect3DIndexBuffer9>
{
public:
    IndexBuffer(UINT length, D3DFORMAT format, D3DPOOL pool);

    HRESULT STDMETHODCALLTYPE Lock(UINT offset, UINT size, void** data, DWORD flags) override;
    HRESULT STDMETHODCALLTYPE Unlock() override;
    bool BlocksReset() const override { return buffer.pool == D3DPOOL_DEFAULT; }
    // Bytes per index.
    UINT IndexSize() const { return format == D3DFMT_INDEX32 ? 4 : 2; }

    BufferMemory buffer;
    const D3DFORMAT format;
};

// A single-level texture; only level 0 can be locked, and only as a whole.
class Texture final : public Counted<IDirect3DTexture9>
{
public:
    // pitch: bytes per row that LockRect reports and the memory is laid out with.
    Texture(UINT height, DWORD usage, D3DPOOL pool, INT pitch);

    HRESULT STDMETHODCALLTYPE LockRect(UINT level, D3DLOCKED_RECT* lockedRect, const RECT* rect,
                                       DWORD flags) override;
    HRESULT STDMETHODCALLTYPE UnlockRect(UINT level) override;
    bool BlocksReset() const override { return pool == D3DPOOL_DEFAULT; }

    const UINT height;
    const D3DPOOL pool;
    const INT pitch;
    std::unique_ptr<unsigned char[]> memory;     // pitch x height bytes; null when not lockable
    bool locked = false;
    std::vector<unsigned char> unlockedBytes;    // the memory as of the last UnlockRect
};

// A device's back buffer.
class Surface final : public Counted<IDirect3DSurface9>
{
public:
    Surface() : Counted(Kind::Surface) {}

    bool BlocksReset() const override { return true; }
};

// A D3DX font; it blocks a device reset except between OnLostDevice and OnResetDevice.
class Font final : public Counted<ID3DXFont>
{
public:
    explicit Font(INT height);

    INT STDMETHODCALLTYPE DrawTextW(ID3DXSprite* sprite, const WCHAR* text, INT count, RECT* rect, DWORD format,
                                    D3DCOLOR color) override;
    HRESULT STDMETHODCALLTYPE OnLostDevice() override;
    HRESULT STDMETHODCALLTYPE OnResetDevice() override;
    bool BlocksReset() const override { return !lost; }

    const INT height;
    bool lost = false;
};

}  // namespace standin

#endif
