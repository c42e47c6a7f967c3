// The plug-in's interfaces as an engine built with Microsoft's compiler
// declares them from the slot tables alone: IGraphics and ICharacter with an
// ordinary virtual destructor in their first slot, the others without one.
// Nothing here comes from the plug-in's own headers.
#ifndef MSVC_HOST_INTERFACES_H
#define MSVC_HOST_INTERFACES_H

#include "Win32.h"

struct MaterialDesc
{
    float ambient[3];
    float diffuse[3];
    float specular[3];
    float emissive[3];
    float power;
};

class ILogger
{
public:
    virtual void Log(int level, const char* format, ...) = 0;
    virtual void NewLine() = 0;
};

class ITexture
{
public:
    virtual int Create(ILogger* logger, const char* fileName, int stage) = 0;
    virtual int Release() = 0;
    virtual void Destroy() = 0;
    virtual int Bind() = 0;
    virtual int Reload() = 0;
    virtual int Unload() = 0;
    virtual const char* GetFileName() = 0;
    virtual int GetStage() = 0;
    virtual int Unbind() = 0;
    virtual int AddData(const unsigned int* pixels, int width, int height) = 0;
};

class ICamera
{
public:
    virtual int Init(ILogger* logger) = 0;
    virtual int Release() = 0;
    virtual void Destroy() = 0;
    virtual int SetPosition(float x, float y, float z) = 0;
    virtual int SetRotation(float first, float second, float third) = 0;
    virtual int Apply() = 0;
};

class ILight
{
public:
    virtual int Init(ILogger* logger, unsigned int lightIndex) = 0;
    virtual int SetProperties(int type, float positionX, float positionY, float positionZ,
                              float directionX, float directionY, float directionZ,
                              float attenuation0, float attenuation1, float attenuation2,
                              float ambientRed, float ambientGreen, float ambientBlue,
                              float diffuseRed, float diffuseGreen, float diffuseBlue,
                              float specularRed, float specularGreen, float specularBlue,
                              float range, float falloff, float theta, float phi) = 0;
    virtual void Release() = 0;
    virtual void Destroy() = 0;
    virtual int OnResetDevice() = 0;
    virtual int Enable(bool enable) = 0;
};

class IFont
{
public:
    virtual int Create(ILogger* logger, int height, int width, int weight,
                       const char* faceName) = 0;
    virtual int Release() = 0;
    virtual void Destroy() = 0;
    virtual int Render() = 0;
    virtual int AddText(const char* text, unsigned int color,
                        int left, int top, int right, int bottom) = 0;
    virtual int OnLostDevice() = 0;
    virtual int OnResetDevice() = 0;
    virtual const char* GetFaceName() = 0;
    virtual int GetHeight() = 0;
    virtual int GetWidth() = 0;
    virtual int GetWeight() = 0;
};

class ICharacter
{
public:
    virtual ~ICharacter() {}
    virtual int Init(ILogger* logger) = 0;
    virtual int Release() = 0;
    virtual int Render() = 0;
    virtual void Destroy() = 0;
    virtual int Create(unsigned int vertexCount, int layer, unsigned int fvf,
                       unsigned int vertexBytes, unsigned int stride, int indexCount,
                       const void* vertices, const unsigned int* indices) = 0;
    virtual int SetTextures(ITexture* textures, int textureCount) = 0;
    virtual int SetPosition(float x, float y, float z) = 0;
    virtual int SetRotation(float x, float y, float z) = 0;
    virtual int SetScale(float x, float y, float z) = 0;
    virtual int ApplyFVF() = 0;
    virtual int ApplyBuffers() = 0;
    virtual int ApplyTextures() = 0;
    virtual int SetMaterial(MaterialDesc* material) = 0;
    virtual int OnLostDevice() = 0;
    virtual int OnResetDevice() = 0;
    virtual unsigned int GetFVF() = 0;
    virtual MaterialDesc* GetMaterial() = 0;
    virtual int GetLayer() = 0;
    virtual int SetAlphaBlend(bool enable) = 0;
    virtual int SetTextureAlpha(bool enable) = 0;
};

class IGraphics
{
public:
    virtual ~IGraphics() {}
    virtual int CreateGraphicsSystem(HWND window, ILogger* logger, int, int,
                                     int colourDepth, int height, int width,
                                     int backBufferCount, bool windowed, bool vsync,
                                     int multisampleType, int multisampleQuality,
                                     float maxVisibleDepth) = 0;
    virtual int DestroyGraphicsSystem() = 0;
    virtual int RenderFrame() = 0;
    virtual void Destroy() = 0;
    virtual int Clear(unsigned int color) = 0;
    virtual int BeginScene() = 0;
    virtual int EndScene() = 0;
    virtual int SetFillMode(int mode) = 0;
    virtual ICharacter* CreateCharacter() = 0;
    virtual ITexture* CreateTexture(const char* fileName, int stage) = 0;
    virtual MaterialDesc* CreateMaterial() = 0;
    virtual ILight* CreateLight() = 0;
    virtual int SetLighting(bool enable) = 0;
    virtual int DestroyCharacter(ICharacter* character) = 0;
    virtual int DestroyMaterial(MaterialDesc* material) = 0;
    virtual int DestroyTexture(ITexture* texture) = 0;
    virtual int DestroyLight(ILight* light) = 0;
    virtual int SetAmbientLight(unsigned int color) = 0;
    virtual int SaveScreenshot(const char* fileName) = 0;
    virtual void RequestSort() = 0;
    virtual IFont* CreateFont(const char* faceName, int width, int height, int weight) = 0;
    virtual int DestroyFont(IFont* font) = 0;
    virtual int GetScreenHeight() = 0;
    virtual int GetScreenWidth() = 0;
    virtual ICamera* GetCamera() = 0;
};

typedef IGraphics* (*GetPluginFunction)(IGraphics** out);

#endif
