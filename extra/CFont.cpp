#include "CFont.h"

#include "ErrorReport.h"

CFont::CFont()
    : device(nullptr), logger(nullptr), font(nullptr), faceNameW(nullptr), faceName(nullptr),
      height(0), width(0), weight(0), nextEntry(0) {}
int CFont::Create(ILogger*, int, int, int, const char*) { return 1; }
int CFont::Release() { return 0; }
void CFont::Destroy() { delete this; }
int CFont::Render() { return 0; }
int CFont::AddText(const char*, std::uint32_t, int, int, int, int) { return 0; }
int CFont::OnLostDevice() { return 1; }
int CFont::OnResetDevice() { return 1; }
const char* CFont::GetFaceName() { return faceName; }
int CFont::GetHeight() { return height; }
int CFont::GetWidth() { return width; }
int CFont::GetWeight() { return weight; }
