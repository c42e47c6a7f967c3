#include "CTexture.h"

#include "ErrorReport.h"

CTexture::CTexture()
    : device(nullptr), texture(nullptr), logger(nullptr), fileName(nullptr), stage(0), staging(nullptr) {}
int CTexture::Create(ILogger*, const char*, int) { return 1; }
int CTexture::Release() { return 0; }
void CTexture::Destroy() { delete this; }
int CTexture::Bind() { return 1; }
int CTexture::Reload() { return 1; }
int CTexture::Unload() { return 0; }
const char* CTexture::GetFileName() { return fileName; }
int CTexture::GetStage() { return stage; }
int CTexture::Unbind() { return 1; }
int CTexture::AddData(const std::uint32_t*, int, int) { return 1; }
