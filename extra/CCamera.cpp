#include "CCamera.h"

#include "ErrorReport.h"

CCamera::CCamera() : device(nullptr), logger(nullptr) {}
int CCamera::Init(ILogger*) { return 1; }
int CCamera::Release() { return 0; }
void CCamera::Destroy() { delete this; }
int CCamera::SetPosition(float, float, float) { return 0; }
int CCamera::SetRotation(float, float, float) { return 0; }
int CCamera::Apply() { return 1; }
