#ifndef STANDIN_OPERATIONS_H
#define STANDIN_OPERATIONS_H

// Every stand-in operation, by the name it is recorded and faulted under.
// Calls are counted per operation in a fixed table, so counting needs no
// allocation.

#include <string>

namespace standin {

// The list, one entry per operation: identifier and recorded name.
#define STANDIN_OPERATIONS(X)                                                   \
    X(Direct3DCreate9, "Direct3DCreate9")                                       \
    X(D3DXMatrixTranslation, "D3DXMatrixTranslation")                           \
    X(D3DXMatrixScaling, "D3DXMatrixScaling")                                   \
    X(D3DXMatrixRotationYawPitchRoll, "D3DXMatrixRotationYawPitchRoll")         \
    X(D3DXMatrixMultiply, "D3DXMatrixMultiply")                                 \
    X(D3DXMatrixLookAtLH, "D3DXMatrixLookAtLH")                                 \
    X(D3DXMatrixPerspectiveFovLH, "D3DXMatrixPerspectiveFovLH")                 \
    X(D3DXCreateTextureFromFileExW, "D3DXCreateTextureFromFileExW")             \
    X(D3DXCreateTexture, "D3DXCreateTexture")                                   \
    X(D3DXCreateFontW, "D3DXCreateFontW")                                       \
    X(D3DXSaveSurfaceToFileW, "D3DXSaveSurfaceToFileW")                         \
    X(Direct3DRelease, "Direct3D.Release")                                      \
    X(GetAdapterCount, "GetAdapterCount")                                       \
    X(GetDeviceCaps, "GetDeviceCaps")                                           \
    X(CheckDeviceType, "CheckDeviceType")                                       \
    X(CheckDeviceMultiSampleType, "CheckDeviceMultiSampleType")                 \
    X(CreateDevice, "CreateDevice")                                             \
    X(DeviceRelease, "Device.Release")                                          \
    X(TestCooperativeLevel, "TestCooperativeLevel")                             \
    X(Reset, "Reset")                                                           \
    X(Present, "Present")                                                       \
    X(GetBackBuffer, "GetBackBuffer")                                           \
    X(CreateVertexBuffer, "CreateVertexBuffer")                                 \
    X(CreateIndexBuffer, "CreateIndexBuffer")                                   \
    X(BeginScene, "BeginScene")                                                 \
    X(EndScene, "EndScene")                                                     \
    X(Clear, "Clear")                                                           \
    X(SetTransform, "SetTransform")                                             \
    X(SetMaterial, "SetMaterial")                                               \
    X(SetLight, "SetLight")                                                     \
    X(LightEnable, "LightEnable")                                               \
    X(SetRenderState, "SetRenderState")                                         \
    X(SetTexture, "SetTexture")                                                 \
    X(SetTextureStageState, "SetTextureStageState")                             \
    X(DrawIndexedPrimitive, "DrawIndexedPrimitive")                             \
    X(SetFVF, "SetFVF")                                                         \
    X(SetStreamSource, "SetStreamSource")                                       \
    X(SetIndices, "SetIndices")                                                 \
    X(VertexBufferRelease, "VertexBuffer.Release")                              \
    X(VertexBufferLock, "VertexBuffer.Lock")                                    \
    X(VertexBufferUnlock, "VertexBuffer.Unlock")                                \
    X(IndexBufferRelease, "IndexBuffer.Release")                                \
    X(IndexBufferLock, "IndexBuffer.Lock")                                      \
    X(IndexBufferUnlock, "IndexBuffer.Unlock")                                  \
    X(TextureRelease, "Texture.Release")                                        \
    X(TextureLockRect, "Texture.LockRect")                                      \
    X(TextureUnlockRect, "Texture.UnlockRect")                                  \
    X(SurfaceRelease, "Surface.Release")                                        \
    X(FontRelease, "Font.Release")                                              \
    X(FontDrawTextW, "Font.DrawTextW")                                          \
    X(FontOnLostDevice, "Font.OnLostDevice")                                    \
    X(FontOnResetDevice, "Font.OnResetDevice")

// One stand-in operation.
enum class Op
{
#define STANDIN_OPERATION_ENUM(id, name) id,
    STANDIN_OPERATIONS(STANDIN_OPERATION_ENUM)
#undef STANDIN_OPERATION_ENUM
    Count
};

constexpr int kOperationCount = static_cast<int>(Op::Count);

// The recorded name ("SetRenderState", "VertexBuffer.Lock").
const char* OperationName(Op op);

// Whether the operation returns an HRESULT, which a fault can replace.
bool ReturnsResult(Op op);

// The operation recorded under `name`; throws std::invalid_argument for a
// name that no operation has, so that a misspelt fault fails loudly.
Op OperationNamed(const std::string& name);

}  // namespace standin

#endif
