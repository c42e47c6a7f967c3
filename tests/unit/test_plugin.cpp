// The plug-in frame: GetPlugin, the object's start values and life, and the
// form of error reports.

#include <dlfcn.h>

#include <new>

#include <gtest/gtest.h>

#include <standin/Recorder.h>

#include "CActor.h"
#include "CGraphicsD3D.h"
#include "GraphicsTest.h"
#include "SourceLine.h"

namespace {

void ExpectStartValues(const CGraphicsD3D& graphics)
{
    EXPECT_EQ(graphics.camera, nullptr);
    EXPECT_EQ(graphics.d3d, nullptr);
    EXPECT_EQ(graphics.device, nullptr);
    EXPECT_EQ(graphics.adapterCount, 0u);
    EXPECT_TRUE(graphics.characters.empty());
    EXPECT_TRUE(graphics.textures.empty());
    EXPECT_TRUE(graphics.lights.empty());
    EXPECT_TRUE(graphics.fonts.empty());
    EXPECT_EQ(graphics.cachedFVF, -1);
    EXPECT_EQ(graphics.highestLayer, 0);
    EXPECT_FALSE(graphics.sortRequested);
}

TEST(Plugin, GetPluginMakesIndependentObjectsWithStartValues)
{
    IGraphics* first = nullptr;
    IGraphics* second = nullptr;
    IGraphics* returned = GetPlugin(&first);
    EXPECT_EQ(returned, first);
    GetPlugin(&second);
    ASSERT_NE(first, nullptr);
    ASSERT_NE(second, nullptr);
    EXPECT_NE(first, second);
    ExpectStartValues(*static_cast<CGraphicsD3D*>(first));
    ExpectStartValues(*static_cast<CGraphicsD3D*>(second));

    // Registries are separate: a material made by one is unknown to the other.
    MaterialDesc* material = first->CreateMaterial();
    EXPECT_EQ(second->DestroyMaterial(material), 1);
    EXPECT_EQ(first->DestroyMaterial(material), 0);

    IGraphics* third = GetPlugin(nullptr);
    EXPECT_NE(third, nullptr) << "a null out-parameter still gets a result";
    third->Destroy();
    first->Destroy();
    second->Destroy();
}

TEST(Plugin, SharedLibraryHandsOutGraphicsSystems)
{
    void* module = dlopen(GRAPHICSDLL_SO, RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(module, nullptr) << dlerror();
    auto getPlugin = reinterpret_cast<GetPluginFunction>(dlsym(module, "GetPlugin"));
    ASSERT_NE(getPlugin, nullptr);
    EXPECT_EQ(dlsym(module, "ReportIfFailed"), nullptr) << "only GetPlugin is exported";

    standin::Reset();
    RecordingLogger logger;
    IGraphics* graphics = nullptr;
    getPlugin(&graphics);
    ASSERT_NE(graphics, nullptr);
    EXPECT_EQ(graphics->CreateGraphicsSystem(nullptr, &logger, 0, 0, 32, 480, 640, 1, true, true,
                                             0, 0, 100.0f), 0);
    EXPECT_EQ(graphics->GetScreenWidth(), 640);
    EXPECT_NE(graphics->GetCamera(), nullptr);
    EXPECT_EQ(graphics->DestroyGraphicsSystem(), 0);
    graphics->Destroy();
    EXPECT_TRUE(standin::LiveObjects().empty());
    dlclose(module);
}

// The destructor frees the registries' storage and nothing else: what
// DestroyGraphicsSystem would have released stays alive.
TEST(Plugin, DestroyWithoutShutdownReleasesNothing)
{
    standin::Reset();
    RecordingLogger logger;
    IGraphics* graphics = GetPlugin(nullptr);
    ASSERT_EQ(CreateGraphicsSystem(*graphics, nullptr, &logger, VideoSettings()), 0);
    CGraphicsD3D* system = static_cast<CGraphicsD3D*>(graphics);
    ICamera* camera = system->camera;
    IDirect3DDevice9* device = system->device;
    IDirect3D9* d3d = system->d3d;
    graphics->Destroy();

    EXPECT_EQ(standin::LiveObjects().size(), 2u);
    camera->Release();
    camera->Destroy();
    device->Release();
    d3d->Release();
    EXPECT_TRUE(standin::LiveObjects().empty());
}

// Slot 0 is what a host built with Microsoft's compiler calls for delete:
// the destructor, then the memory only when bit 0 of the flags is set.
TEST(Plugin, SlotZeroDestroysAndFreesOnlyWithBitZero)
{
    standin::Reset();
    RecordingLogger logger;
    IGraphics* graphics = GetPlugin(nullptr);
    ASSERT_EQ(CreateGraphicsSystem(*graphics, nullptr, &logger, VideoSettings()), 0);
    ASSERT_EQ(graphics->DestroyGraphicsSystem(), 0);

    // Without bit 0 the object is destroyed in place and its memory stays
    // the caller's; the result is the object itself.
    alignas(CActor) unsigned char storage[sizeof(CActor)];
    ICharacter* inPlace = new (storage) CActor();
    EXPECT_EQ(inPlace->DeletingDestructor(0), static_cast<void*>(inPlace));
    alignas(CGraphicsD3D) unsigned char systemStorage[sizeof(CGraphicsD3D)];
    IGraphics* systemInPlace = new (systemStorage) CGraphicsD3D();
    EXPECT_EQ(systemInPlace->DeletingDestructor(0), static_cast<void*>(systemInPlace));

    // With bit 0 it is freed as well: the sanitizer reports a leak otherwise.
    EXPECT_EQ(graphics->DeletingDestructor(1), static_cast<void*>(graphics));
    EXPECT_TRUE(standin::LiveObjects().empty());
}

class ErrorReport : public GraphicsTest
{
};

TEST_F(ErrorReport, NamesTheResultLineAndFileAtTheSitesLevel)
{
    standin::FailCall("GetDeviceCaps", 1, D3DERR_INVALIDCALL);
    EXPECT_EQ(Create(), 1);
    EXPECT_EQ(logger.lines.back(), ExpectedReport(3, "D3DERR_INVALIDCALL", "extra/CGraphicsD3D.cpp",
                                                  "d3d->GetDeviceCaps("));
}

TEST_F(ErrorReport, UnknownCodesAreNamedUnknown)
{
    standin::FailCall("GetDeviceCaps", 1, static_cast<HRESULT>(0x80ABCDEF));
    EXPECT_EQ(Create(), 1);
    EXPECT_EQ(logger.lines.back(),
              ExpectedReport(3, "Unknown", "extra/CGraphicsD3D.cpp", "d3d->GetDeviceCaps("));
}

TEST_F(ErrorReport, PositiveSuccessCodesAreNotReported)
{
    standin::FailCall("SetRenderState", 1, S_FALSE);
    standin::FailCall("CreateDevice", 1, D3DOK_NOAUTOGEN);
    EXPECT_EQ(Create(), 0);
    EXPECT_TRUE(logger.Errors().empty());
}

}  // namespace
