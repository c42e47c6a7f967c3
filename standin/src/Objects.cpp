#include "Objects.h"

#include <algorithm>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "State.h"

namespace standin {

namespace {

// Memory handed out by Lock starts with this byte, so that bytes the
// plug-in never wrote show in the recorded contents.
constexpr unsigned char kFreshByte = 0xCD;

// The Release operation of each kind.
Op ReleaseOf(Kind kind)
{
    switch (kind)
    {
    case Kind::Direct3D: return Op::Direct3DRelease;
    case Kind::Device: return Op::DeviceRelease;
    case Kind::VertexBuffer: return Op::VertexBufferRelease;
    case Kind::IndexBuffer: return Op::IndexBufferRelease;
    case Kind::Texture: return Op::TextureRelease;
    case Kind::Surface: return Op::SurfaceRelease;
    case Kind::Font: break;
    }
    return Op::FontRelease;
}

std::unique_ptr<unsigned char[]> FreshMemory(std::size_t size)
{
    std::unique_ptr<unsigned char[]> memory(new unsigned char[size]);
    std::memset(memory.get(), kFreshByte, size);
    return memory;
}

}  // namespace

const char* KindName(Kind kind)
{
    switch (kind)
    {
    case Kind::Direct3D: return "Direct3D";
    case Kind::Device: return "Device";
    case Kind::VertexBuffer: return "VertexBuffer";
    case Kind::IndexBuffer: return "IndexBuffer";
    case Kind::Texture: return "Texture";
    case Kind::Surface: return "Surface";
    case Kind::Font: break;
    }
    return "Font";
}

Object::Object(Kind kind) : kind(kind) {}

Object::~Object() = default;

Object* ObjectBehind(const IUnknown* pointer)
{
    return dynamic_cast<Object*>(const_cast<IUnknown*>(pointer));
}

std::string NameOf(const IUnknown* pointer)
{
    if (pointer == nullptr)
        return "null";
    const Object* object = ObjectBehind(pointer);
    return object == nullptr ? "foreign" : object->name;
}

void RequireAlive(const Object& object, Op op)
{
    if (object.Alive())
        return;
    std::fprintf(stderr, "standin: %s called on %s after its last Release\n", OperationName(op),
                 object.name.c_str());
    std::abort();
}

ULONG DropReference(Object& object)
{
    Invocation call(ReleaseOf(object.kind), &object);
    --object.references;
    call.Finish();
    return object.references;
}

// --- Buffers ---------------------------------------------------------------------

BufferMemory::BufferMemory(UINT length, D3DPOOL pool)
    : length(length), pool(pool), memory(FreshMemory(length))
{
}

HRESULT BufferMemory::Lock(Object& owner, Op op, UINT offset, UINT size, void** data, DWORD flags)
{
    Invocation call(op, &owner);
    if (call.Recording())
        call.Args().UInt(offset).UInt(size).UInt(flags);
    if (data != nullptr)
        *data = nullptr;
    if (call.Refused())
        return call.Finish(call.ScriptedFailure());
    // Size 0 maps everything from the offset on.
    const UINT end = size == 0 ? length : offset + size;
    if (data == nullptr || offset > length || end > length || end < offset || locked)
        return call.Finish(D3DERR_INVALIDCALL);
    locked = true;
    *data = memory.get() + offset;
    return call.Finish(D3D_OK);
}

HRESULT BufferMemory::Unlock(Object& owner, Op op)
{
    Invocation call(op, &owner);
    if (call.Refused())
        return call.Finish(call.ScriptedFailure());
    if (!locked)
        return call.Finish(D3DERR_INVALIDCALL);
    locked = false;
    if (call.Recording())
        unlockedBytes.assign(memory.get(), memory.get() + length);
    return call.Finish(D3D_OK);
}

VertexBuffer::VertexBuffer(UINT length, D3DPOOL pool) : Counted(Kind::VertexBuffer), buffer(length, pool)
{
}

HRESULT VertexBuffer::Lock(UINT offset, UINT size, void** data, DWORD flags)
{
    return buffer.Lock(*this, Op::VertexBufferLock, offset, size, data, flags);
}

HRESULT VertexBuffer::Unlock()
{
    return buffer.Unlock(*this, Op::VertexBufferUnlock);
}

IndexBuffer::IndexBuffer(UINT length, D3DFORMAT format, D3DPOOL pool)
    : Counted(Kind::IndexBuffer), buffer(length, pool), format(format)
{
}

HRESULT IndexBuffer::Lock(UINT offset, UINT size, void** data, DWORD flags)
{
    return buffer.Lock(*this, Op::IndexBufferLock, offset, size, data, flags);
}

HRESULT IndexBuffer::Unlock()
{
    return buffer.Unlock(*this, Op::IndexBufferUnlock);
}

// --- Textures ---------------------------------------------------------------------------

Texture::Texture(UINT height, DWORD usage, D3DPOOL pool, INT pitch)
    : Counted(Kind::Texture), height(height), pool(pool), pitch(pitch)
{
    // Direct3D maps default-pool textures only when they are dynamic.
    const bool lockable = pool != D3DPOOL_DEFAULT || (usage & D3DUSAGE_DYNAMIC) != 0;
    if (lockable)
        memory = FreshMemory(static_cast<std::size_t>(pitch) * height);
}

HRESULT Texture::LockRect(UINT level, D3DLOCKED_RECT* lockedRect, const RECT* rect, DWORD flags)
{
    Invocation call(Op::TextureLockRect, this);
    const HRESULT result = [&]() -> HRESULT {
        if (lockedRect != nullptr)
            *lockedRect = D3DLOCKED_RECT{0, nullptr};
        if (call.Refused())
            return call.ScriptedFailure();
        if (lockedRect == nullptr || level != 0 || rect != nullptr || memory == nullptr || locked)
            return D3DERR_INVALIDCALL;
        locked = true;
        lockedRect->Pitch = pitch;
        lockedRect->pBits = memory.get();
        return D3D_OK;
    }();
    if (call.Recording())
        call.Args().UInt(level).LockedRect(lockedRect).Rect(rect).UInt(flags);
    return call.Finish(result);
}

HRESULT Texture::UnlockRect(UINT level)
{
    Invocation call(Op::TextureUnlockRect, this);
    if (call.Recording())
        call.Args().UInt(level);
    if (call.Refused())
        return call.Finish(call.ScriptedFailure());
    if (level != 0 || !locked)
        return call.Finish(D3DERR_INVALIDCALL);
    locked = false;
    if (call.Recording())
        unlockedBytes.assign(memory.get(), memory.get() + static_cast<std::size_t>(pitch) * height);
    return call.Finish(D3D_OK);
}

// --- Fonts ------------------------------------------------------------------------------

Font::Font(INT height) : Counted(Kind::Font), height(height) {}

INT Font::DrawTextW(ID3DXSprite* sprite, const WCHAR* text, INT count, RECT* rect, DWORD format, D3DCOLOR color)
{
    Invocation call(Op::FontDrawTextW, this);
    if (call.Recording())
    {
        // A count of -1 means the text runs to its terminator.
        std::wstring drawn;
        if (text != nullptr)
            drawn = count < 0 ? std::wstring(text) : std::wstring(text, static_cast<std::size_t>(count));
        call.Args().Optional(sprite).String(text == nullptr ? nullptr : drawn.c_str()).Int(count).Rect(rect)
            .UInt(format).Hex(color);
    }
    call.Finish();
    const bool empty = text == nullptr || count == 0 || text[0] == L'\0';
    // The magnitude of the height, computed wide: -INT_MIN is no int.
    const long long magnitude = height < 0 ? -static_cast<long long>(height) : height;
    return empty ? 0 : static_cast<INT>(std::min<long long>(magnitude, INT_MAX));
}

HRESULT Font::OnLostDevice()
{
    Invocation call(Op::FontOnLostDevice, this);
    if (call.Refused())
        return call.Finish(call.ScriptedFailure());
    lost = true;
    return call.Finish(D3D_OK);
}

HRESULT Font::OnResetDevice()
{
    Invocation call(Op::FontOnResetDevice, this);
    if (call.Refused())
        return call.Finish(call.ScriptedFailure());
    lost = false;
    return call.Finish(D3D_OK);
}

}  // namespace standin
