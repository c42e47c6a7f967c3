#include "Device.h"

#include <algorithm>

#include "State.h"

namespace standin {

namespace {

// The adapter (see AdapterConfig): one, with its display's format and the
// client size of every window.
constexpr UINT kAdapters = 1;
constexpr D3DFORMAT kDesktopFormat = D3DFMT_X8R8G8B8;
constexpr UINT kWindowClientWidth = 640;
constexpr UINT kWindowClientHeight = 480;
// Direct3D 9 allows at most this many back buffers.
constexpr UINT kMaxBackBuffers = 3;
// Larger buffers are refused as out of video memory rather than allocated.
constexpr UINT kMaxBufferBytes = 256u << 20;
constexpr DWORD kMaxStreams = 16;

template <class T>
bool Contains(const std::vector<T>& values, T value)
{
    return std::find(values.begin(), values.end(), value) != values.end();
}

bool HasStencil(D3DFORMAT format)
{
    return format == D3DFMT_D15S1 || format == D3DFMT_D24S8 || format == D3DFMT_D24X4S4 ||
           format == D3DFMT_D24FS8;
}

// Indices that one draw of `count` primitives of `type` reads.
UINT IndicesRead(D3DPRIMITIVETYPE type, UINT count)
{
    switch (type)
    {
    case D3DPT_POINTLIST: return count;
    case D3DPT_LINELIST: return count * 2;
    case D3DPT_LINESTRIP: return count + 1;
    case D3DPT_TRIANGLELIST: return count * 3;
    case D3DPT_TRIANGLESTRIP:
    case D3DPT_TRIANGLEFAN: return count + 2;
    default: return 0;
    }
}

// Whether CreateDevice and Reset accept the presentation parameters.
bool Acceptable(const D3DPRESENT_PARAMETERS& parameters, const AdapterConfig& config)
{
    if (parameters.MultiSampleType != D3DMULTISAMPLE_NONE &&
        !Contains(config.multisampleTypes, parameters.MultiSampleType))
        return false;
    if (parameters.EnableAutoDepthStencil != FALSE &&
        !Contains(config.depthStencilFormats, parameters.AutoDepthStencilFormat))
        return false;
    // Only a windowed device can take the desktop's format for an unknown one.
    if (parameters.Windowed == FALSE && parameters.BackBufferFormat == D3DFMT_UNKNOWN)
        return false;
    return parameters.BackBufferCount <= kMaxBackBuffers;
}

// What Direct3D 9 writes back into presentation parameters it accepted: a
// zero back-buffer count means one, and a windowed device takes the
// desktop's format and the window's client size where they were left zero.
void WriteBack(D3DPRESENT_PARAMETERS& parameters)
{
    parameters.BackBufferCount = std::max(parameters.BackBufferCount, 1u);
    if (parameters.Windowed == FALSE)
        return;
    if (parameters.BackBufferFormat == D3DFMT_UNKNOWN)
        parameters.BackBufferFormat = kDesktopFormat;
    if (parameters.BackBufferWidth == 0)
        parameters.BackBufferWidth = kWindowClientWidth;
    if (parameters.BackBufferHeight == 0)
        parameters.BackBufferHeight = kWindowClientHeight;
}

bool AnyResourceBlocksReset(const Recorder& recorder)
{
    for (const std::unique_ptr<Object>& object : recorder.objects)
        if (object->Alive() && object->BlocksReset())
            return true;
    return false;
}

}  // namespace

// --- The Direct3D object ---------------------------------------------------------------

Direct3D::Direct3D() : Counted(Kind::Direct3D) {}

UINT Direct3D::GetAdapterCount()
{
    Invocation call(Op::GetAdapterCount, this);
    call.Finish();
    return kAdapters;
}

HRESULT Direct3D::GetDeviceCaps(UINT adapter, D3DDEVTYPE deviceType, D3DCAPS9* caps)
{
    Invocation call(Op::GetDeviceCaps, this);
    if (call.Recording())
        call.Args().UInt(adapter).Int(deviceType);
    if (call.Refused())
        return call.Finish(call.ScriptedFailure());
    if (caps == nullptr || adapter >= kAdapters)
        return call.Finish(D3DERR_INVALIDCALL);
    *caps = D3DCAPS9{};
    caps->MaxActiveLights = TheRecorder().adapter.maxActiveLights;
    return call.Finish(D3D_OK);
}

HRESULT Direct3D::CheckDeviceType(UINT adapter, D3DDEVTYPE deviceType, D3DFORMAT adapterFormat,
                                  D3DFORMAT backBufferFormat, BOOL windowed)
{
    Invocation call(Op::CheckDeviceType, this);
    if (call.Recording())
        call.Args().UInt(adapter).Int(deviceType).Int(adapterFormat).Int(backBufferFormat).Int(windowed);
    if (call.Refused())
        return call.Finish(call.ScriptedFailure());
    const AdapterConfig& config = TheRecorder().adapter;
    if (adapter >= kAdapters)
        return call.Finish(D3DERR_INVALIDCALL);
    const bool supported =
        Contains(config.deviceFormats, adapterFormat) && Contains(config.deviceFormats, backBufferFormat);
    return call.Finish(supported ? D3D_OK : D3DERR_NOTAVAILABLE);
}

HRESULT Direct3D::CheckDeviceMultiSampleType(UINT adapter, D3DDEVTYPE deviceType, D3DFORMAT surfaceFormat,
                                             BOOL windowed, D3DMULTISAMPLE_TYPE multiSampleType,
                                             DWORD* qualityLevels)
{
    Invocation call(Op::CheckDeviceMultiSampleType, this);
    if (call.Recording())
        call.Args().UInt(adapter).Int(deviceType).Int(surfaceFormat).Int(windowed).Int(multiSampleType)
            .Optional(qualityLevels);
    if (call.Refused())
        return call.Finish(call.ScriptedFailure());
    const AdapterConfig& config = TheRecorder().adapter;
    if (adapter >= kAdapters)
        return call.Finish(D3DERR_INVALIDCALL);
    if (multiSampleType != D3DMULTISAMPLE_NONE && !Contains(config.multisampleTypes, multiSampleType))
        return call.Finish(D3DERR_NOTAVAILABLE);
    return call.Finish(D3D_OK);
}

HRESULT Direct3D::CreateDevice(UINT adapter, D3DDEVTYPE deviceType, HWND focusWindow, DWORD behaviorFlags,
                               D3DPRESENT_PARAMETERS* parameters, IDirect3DDevice9** device)
{
    Invocation call(Op::CreateDevice, this);
    // Recorded as given, before the device writes its choices back.
    if (call.Recording())
        call.Args().UInt(adapter).Int(deviceType).Handle(focusWindow).UInt(behaviorFlags)
            .PresentParameters(parameters);
    const HRESULT result = [&]() -> HRESULT {
        if (device != nullptr)
            *device = nullptr;
        if (call.Refused())
            return call.ScriptedFailure();
        const AdapterConfig& config = TheRecorder().adapter;
        if (device == nullptr || parameters == nullptr || adapter >= kAdapters || !Acceptable(*parameters, config))
            return D3DERR_INVALIDCALL;
        WriteBack(*parameters);
        Device* made = MakeObject<Device>(*parameters);
        made->RestoreState();
        *device = made;
        return D3D_OK;
    }();
    if (call.Recording())
        call.Args().Object(device == nullptr ? nullptr : *device);
    return call.Finish(result);
}

// --- The device: loss, reset and presenting ---------------------------------------------------

Device::Device(const D3DPRESENT_PARAMETERS& parameters) : Counted(Kind::Device), parameters(parameters) {}

void Device::RestoreState()
{
    inScene = false;
    indices = nullptr;
    TheRecorder().device.Restore(parameters.EnableAutoDepthStencil != FALSE);
}

HRESULT Device::TestCooperativeLevel()
{
    Invocation call(Op::TestCooperativeLevel, this);
    if (call.Refused())
        return call.Finish(call.ScriptedFailure());
    Recorder& recorder = TheRecorder();
    if (recorder.cooperativeNext < recorder.cooperativeScript.size())
        return call.Finish(recorder.cooperativeScript[recorder.cooperativeNext++]);
    switch (recorder.status)
    {
    case DeviceStatus::Lost: return call.Finish(D3DERR_DEVICELOST);
    case DeviceStatus::NotReset: return call.Finish(D3DERR_DEVICENOTRESET);
    case DeviceStatus::Operational: break;
    }
    return call.Finish(D3D_OK);
}

HRESULT Device::Reset(D3DPRESENT_PARAMETERS* newParameters)
{
    Invocation call(Op::Reset, this);
    if (call.Recording())
        call.Args().PresentParameters(newParameters);
    Recorder& recorder = TheRecorder();
    if (recorder.status == DeviceStatus::Lost)
        return call.Finish(call.Refused() ? call.ScriptedFailure() : D3DERR_DEVICELOST);
    // A Reset that fails leaves the device waiting for another one.
    if (call.Refused())
    {
        recorder.status = DeviceStatus::NotReset;
        return call.Finish(call.ScriptedFailure());
    }
    if (newParameters == nullptr || !Acceptable(*newParameters, recorder.adapter) ||
        AnyResourceBlocksReset(recorder))
    {
        recorder.status = DeviceStatus::NotReset;
        return call.Finish(D3DERR_INVALIDCALL);
    }
    WriteBack(*newParameters);
    parameters = *newParameters;
    RestoreState();
    recorder.status = DeviceStatus::Operational;
    return call.Finish(D3D_OK);
}

HRESULT Device::Present(const RECT* sourceRect, const RECT* destRect, HWND destWindowOverride,
                        const RGNDATA* dirtyRegion)
{
    Invocation call(Op::Present, this);
    if (call.Recording())
        call.Args().Rect(sourceRect).Rect(destRect).Handle(destWindowOverride).Optional(dirtyRegion);
    if (call.Refused())
        return call.Finish(call.ScriptedFailure());
    if (TheRecorder().status != DeviceStatus::Operational)
        return call.Finish(D3DERR_DEVICELOST);
    // Wine's device presents inside a scene too.
    return call.Finish(D3D_OK);
}

HRESULT Device::GetBackBuffer(UINT swapChain, UINT index, D3DBACKBUFFER_TYPE type, IDirect3DSurface9** surface)
{
    Invocation call(Op::GetBackBuffer, this);
    const HRESULT result = [&]() -> HRESULT {
        if (surface != nullptr)
            *surface = nullptr;
        if (call.Refused())
            return call.ScriptedFailure();
        const UINT backBuffers = std::max(parameters.BackBufferCount, 1u);
        if (surface == nullptr || swapChain != 0 || index >= backBuffers || type != D3DBACKBUFFER_TYPE_MONO)
            return D3DERR_INVALIDCALL;
        *surface = MakeObject<Surface>();
        return D3D_OK;
    }();
    if (call.Recording())
        call.Args().UInt(swapChain).UInt(index).Int(type).Object(surface == nullptr ? nullptr : *surface);
    return call.Finish(result);
}

// --- The device: resources ----------------------------------------------------------------------

HRESULT Device::CreateVertexBuffer(UINT length, DWORD usage, DWORD vertexFormat, D3DPOOL pool,
                                   IDirect3DVertexBuffer9** buffer, HANDLE* sharedHandle)
{
    Invocation call(Op::CreateVertexBuffer, this);
    const HRESULT result = [&]() -> HRESULT {
        if (buffer != nullptr)
            *buffer = nullptr;
        if (call.Refused())
            return call.ScriptedFailure();
        if (buffer == nullptr || length == 0 || sharedHandle != nullptr || pool == D3DPOOL_SCRATCH)
            return D3DERR_INVALIDCALL;
        if (length > kMaxBufferBytes)
            return D3DERR_OUTOFVIDEOMEMORY;
        *buffer = MakeObject<VertexBuffer>(length, pool);
        return D3D_OK;
    }();
    if (call.Recording())
        call.Args().UInt(length).UInt(usage).UInt(vertexFormat).Int(pool)
            .Object(buffer == nullptr ? nullptr : *buffer).Optional(sharedHandle);
    return call.Finish(result);
}

HRESULT Device::CreateIndexBuffer(UINT length, DWORD usage, D3DFORMAT format, D3DPOOL pool,
                                  IDirect3DIndexBuffer9** buffer, HANDLE* sharedHandle)
{
    Invocation call(Op::CreateIndexBuffer, this);
    const HRESULT result = [&]() -> HRESULT {
        if (buffer != nullptr)
            *buffer = nullptr;
        if (call.Refused())
            return call.ScriptedFailure();
        const bool indexFormat = format == D3DFMT_INDEX16 || format == D3DFMT_INDEX32;
        if (buffer == nullptr || length == 0 || !indexFormat || sharedHandle != nullptr ||
            pool == D3DPOOL_SCRATCH)
            return D3DERR_INVALIDCALL;
        if (length > kMaxBufferBytes)
            return D3DERR_OUTOFVIDEOMEMORY;
        *buffer = MakeObject<IndexBuffer>(length, format, pool);
        return D3D_OK;
    }();
    if (call.Recording())
        call.Args().UInt(length).UInt(usage).Int(format).Int(pool)
            .Object(buffer == nullptr ? nullptr : *buffer).Optional(sharedHandle);
    return call.Finish(result);
}

// --- The device: scenes and clearing ---------------------------------------------------------------

HRESULT Device::BeginScene()
{
    Invocation call(Op::BeginScene, this);
    if (call.Refused())
        return call.Finish(call.ScriptedFailure());
    if (inScene)
        return call.Finish(D3DERR_INVALIDCALL);
    inScene = true;
    return call.Finish(D3D_OK);
}

HRESULT Device::EndScene()
{
    Invocation call(Op::EndScene, this);
    if (call.Refused())
        return call.Finish(call.ScriptedFailure());
    if (!inScene)
        return call.Finish(D3DERR_INVALIDCALL);
    inScene = false;
    return call.Finish(D3D_OK);
}

HRESULT Device::Clear(DWORD count, const D3DRECT* rects, DWORD flags, D3DCOLOR color, float z, DWORD stencil)
{
    Invocation call(Op::Clear, this);
    if (call.Recording())
        call.Args().UInt(count).Optional(rects).UInt(flags).Hex(color).Float(z).UInt(stencil);
    if (call.Refused())
        return call.Finish(call.ScriptedFailure());
    // Depth and stencil can be cleared only where the device has them.
    const bool depthBuffer = parameters.EnableAutoDepthStencil != FALSE;
    const bool clearsDepth = (flags & D3DCLEAR_ZBUFFER) != 0;
    const bool clearsStencil = (flags & D3DCLEAR_STENCIL) != 0;
    if ((count > 0 && rects == nullptr) || ((clearsDepth || clearsStencil) && !depthBuffer) ||
        (clearsStencil && !HasStencil(parameters.AutoDepthStencilFormat)) || !(z >= 0.0f && z <= 1.0f))
        return call.Finish(D3DERR_INVALIDCALL);
    return call.Finish(D3D_OK);
}

// --- The device: states -----------------------------------------------------------------------------

HRESULT Device::SetTransform(D3DTRANSFORMSTATETYPE state, const D3DMATRIX* matrix)
{
    Invocation call(Op::SetTransform, this);
    if (call.Recording())
        call.Args().Int(state).Matrix(matrix);
    if (call.Refused())
        return call.Finish(call.ScriptedFailure());
    if (matrix == nullptr)
        return call.Finish(D3DERR_INVALIDCALL);
    return call.Finish(D3D_OK);
}

HRESULT Device::SetMaterial(const D3DMATERIAL9* material)
{
    Invocation call(Op::SetMaterial, this);
    if (call.Recording())
        call.Args().Material(material);
    if (call.Refused())
        return call.Finish(call.ScriptedFailure());
    if (material == nullptr)
        return call.Finish(D3DERR_INVALIDCALL);
    return call.Finish(D3D_OK);
}

HRESULT Device::SetLight(DWORD index, const D3DLIGHT9* light)
{
    Invocation call(Op::SetLight, this);
    if (call.Recording())
        call.Args().UInt(index).Light(light);
    if (call.Refused())
        return call.Finish(call.ScriptedFailure());
    if (light == nullptr)
        return call.Finish(D3DERR_INVALIDCALL);
    return call.Finish(D3D_OK);
}

HRESULT Device::LightEnable(DWORD index, BOOL enable)
{
    Invocation call(Op::LightEnable, this);
    if (call.Recording())
        call.Args().UInt(index).Int(enable);
    if (call.Refused())
        return call.Finish(call.ScriptedFailure());
    if (call.Recording())
    {
        std::set<DWORD>& enabled = TheRecorder().device.enabledLights;
        if (enable != FALSE)
            enabled.insert(index);
        else
            enabled.erase(index);
    }
    return call.Finish(D3D_OK);
}

HRESULT Device::SetRenderState(D3DRENDERSTATETYPE state, DWORD value)
{
    Invocation call(Op::SetRenderState, this);
    if (call.Recording())
    {
        call.Args().Int(state);
        // The one colour state the plug-in sets, written as colours are.
        if (state == D3DRS_AMBIENT)
            call.Args().Hex(value);
        else
            call.Args().UInt(value);
    }
    if (call.Refused())
        return call.Finish(call.ScriptedFailure());
    if (call.Recording() && static_cast<DWORD>(state) < DeviceState::kRenderStates)
        TheRecorder().device.renderStates[state] = value;
    return call.Finish(D3D_OK);
}

HRESULT Device::SetTexture(DWORD stage, IDirect3DBaseTexture9* texture)
{
    Invocation call(Op::SetTexture, this);
    if (call.Recording())
        call.Args().UInt(stage).Object(texture);
    if (call.Refused())
        return call.Finish(call.ScriptedFailure());
    if (call.Recording() && stage < DeviceState::kStages)
        TheRecorder().device.textures[stage] = ObjectBehind(texture);
    return call.Finish(D3D_OK);
}

HRESULT Device::SetTextureStageState(DWORD stage, D3DTEXTURESTAGESTATETYPE type, DWORD value)
{
    Invocation call(Op::SetTextureStageState, this);
    if (call.Recording())
        call.Args().UInt(stage).Int(type).UInt(value);
    if (call.Refused())
        return call.Finish(call.ScriptedFailure());
    return call.Finish(D3D_OK);
}

// --- The device: drawing -------------------------------------------------------------------------------

HRESULT Device::DrawIndexedPrimitive(D3DPRIMITIVETYPE type, INT baseVertexIndex, UINT minVertexIndex,
                                     UINT numVertices, UINT startIndex, UINT primCount)
{
    Invocation call(Op::DrawIndexedPrimitive, this);
    if (call.Recording())
        call.Args().Int(type).Int(baseVertexIndex).UInt(minVertexIndex).UInt(numVertices).UInt(startIndex)
            .UInt(primCount);
    if (call.Refused())
        return call.Finish(call.ScriptedFailure());
    // Wine's device refuses an indexed draw without indices, but draws
    // without a stream source and outside a scene.
    if (indices == nullptr)
        return call.Finish(D3DERR_INVALIDCALL);
    // The indices read must lie inside the bound buffer.
    if (primCount > 0)
    {
        const UINT read = IndicesRead(type, primCount);
        const unsigned long long end = (static_cast<unsigned long long>(startIndex) + read) * indices->IndexSize();
        if (read == 0 || end > indices->buffer.length)
            return call.Finish(D3DERR_INVALIDCALL);
    }
    return call.Finish(D3D_OK);
}

HRESULT Device::SetFVF(DWORD vertexFormat)
{
    Invocation call(Op::SetFVF, this);
    if (call.Recording())
        call.Args().UInt(vertexFormat);
    if (call.Refused())
        return call.Finish(call.ScriptedFailure());
    return call.Finish(D3D_OK);
}

HRESULT Device::SetStreamSource(UINT streamNumber, IDirect3DVertexBuffer9* buffer, UINT offset, UINT stride)
{
    Invocation call(Op::SetStreamSource, this);
    if (call.Recording())
        call.Args().UInt(streamNumber).Object(buffer).UInt(offset).UInt(stride);
    if (call.Refused())
        return call.Finish(call.ScriptedFailure());
    if (streamNumber >= kMaxStreams)
        return call.Finish(D3DERR_INVALIDCALL);
    return call.Finish(D3D_OK);
}

HRESULT Device::SetIndices(IDirect3DIndexBuffer9* buffer)
{
    Invocation call(Op::SetIndices, this);
    if (call.Recording())
        call.Args().Object(buffer);
    if (call.Refused())
        return call.Finish(call.ScriptedFailure());
    indices = As<IndexBuffer>(buffer);
    return call.Finish(D3D_OK);
}

}  // namespace standin

extern "C" IDirect3D9* WINAPI Direct3DCreate9(UINT sdkVersion)
{
    using namespace standin;
    Invocation call(Op::Direct3DCreate9);
    if (call.Recording())
        call.Args().UInt(sdkVersion);
    // Direct3D refuses any other SDK version with a null object.
    if (call.Refused() || sdkVersion != D3D_SDK_VERSION)
    {
        call.Finish(call.Refused() ? call.ScriptedFailure() : D3DERR_NOTAVAILABLE);
        return nullptr;
    }
    IDirect3D9* direct3D = MakeObject<Direct3D>();
    call.Finish(D3D_OK);
    return direct3D;
}
