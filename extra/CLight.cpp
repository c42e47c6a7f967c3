#include "CLight.h"

#include "ErrorReport.h"

CLight::CLight() : device(nullptr), lightIndex(0xFFFFFFFF), logger(nullptr), enabled(false) {}
int CLight::Init(ILogger*, std::uint32_t) { return 1; }
int CLight::SetProperties(int, float, float, float, float, float, float, float, float, float,
                          float, float, float, float, float, float, float, float, float,
                          float, float, float, float) { return 1; }
void CLight::Release() {}
void CLight::Destroy() { delete this; }
int CLight::OnResetDevice() { return 1; }
int CLight::Enable(bool) { return 1; }
