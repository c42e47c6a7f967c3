#include "CActor.h"

#include "CGraphicsD3D.h"
#include "ErrorReport.h"

CActor::CActor() {}
CActor::~CActor() = default;
int CActor::Init(ILogger*) { return 1; }
int CActor::Release() { return 0; }
int CActor::Render() { return 1; }
void CActor::Destroy() { delete this; }
int CActor::Create(std::uint32_t, int, std::uint32_t, std::uint32_t, std::uint32_t, int,
                   const void*, const std::uint32_t*) { return 1; }
int CActor::SetTextures(ITexture*, int) { return 0; }
int CActor::SetPosition(float, float, float) { return 0; }
int CActor::SetRotation(float, float, float) { return 0; }
int CActor::SetScale(float, float, float) { return 0; }
int CActor::ApplyFVF() { return 1; }
int CActor::ApplyBuffers() { return 1; }
int CActor::ApplyTextures() { return 1; }
int CActor::SetMaterial(MaterialDesc*) { return 1; }
int CActor::OnLostDevice() { return 0; }
int CActor::OnResetDevice() { return 1; }
std::uint32_t CActor::GetFVF() { return fvf; }
MaterialDesc* CActor::GetMaterial() { return materialDesc; }
int CActor::GetLayer() { return layer; }
int CActor::SetAlphaBlend(bool) { return 0; }
int CActor::SetTextureAlpha(bool) { return 0; }
int CActor::ApplyMaterial() { return 1; }
