// The plug-in as a host loads it: the shared library's one export and the
// object's life.

#include <dlfcn.h>

#include <standin/Recorder.h>

#include <new>

#include "HostTest.h"

#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/asan_interface.h>
#include <sanitizer/lsan_interface.h>
#endif

namespace {

using Plugin = HostTest;

// GetPlugin hands out a new object through its out-parameter too; objects
// are independent: a material made by one is unknown to another. The shared
// library exports GetPlugin alone.
TEST_F(Plugin, GetPluginHandsOutIndependentObjectsAndIsTheOneExport)
{
    IGraphics* other = nullptr;
    EXPECT_EQ(GetPlugin(&other), other);
    ASSERT_NE(other, nullptr);
    EXPECT_NE(other, graphics);
    EXPECT_EQ(graphics->DestroyMaterial(other->CreateMaterial()), 1);
    other->DestroyGraphicsSystem();
    other->Destroy();

    void* module = dlopen(GRAPHICSDLL_SO, RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(module, nullptr) << dlerror();
    auto getPlugin = reinterpret_cast<GetPluginFunction>(dlsym(module, "GetPlugin"));
    ASSERT_NE(getPlugin, nullptr);
    EXPECT_EQ(dlsym(module, "ReportIfFailed"), nullptr);
    IGraphics* loaded = getPlugin(nullptr);
    EXPECT_EQ(CreateGraphicsSystem(*loaded, nullptr, &logger, VideoSettings()), 0);
    EXPECT_EQ(loaded->DestroyGraphicsSystem(), 0);
    loaded->Destroy();
    dlclose(module);
}

// Deleting the object frees the registries' storage and nothing else: every
// object DestroyGraphicsSystem would have released stays alive, and a record
// the host holds stays readable. What is left is the host's to give back.
TEST_F(Plugin, DestroyWithoutShutdownReleasesNothing)
{
    ASSERT_EQ(Create(), 0);
    ICamera* camera = graphics->GetCamera();
    ICharacter* character = AddCharacter();
    ITexture* texture = graphics->CreateTexture("wood.bmp", 0);
    ILight* light = graphics->CreateLight();
    IFont* font = graphics->CreateFont("Arial", 0, 16, 400);
    MaterialDesc* record = graphics->CreateMaterial();
    record->power = 7.0f;
    graphics->Destroy();
    graphics = GetPlugin(nullptr);

    EXPECT_EQ(record->power, 7.0f);
    EXPECT_EQ(standin::LiveObjects(),
              Lines({"Direct3D#1 (1 reference)", "Device#1 (1 reference)", "VertexBuffer#1 (1 reference)",
                     "IndexBuffer#2 (1 reference)", "Texture#3 (1 reference)", "Font#4 (1 reference)"}));
    character->Release();
    character->Destroy();
    texture->Release();
    texture->Destroy();
    light->Release();
    light->Destroy();
    font->Release();
    font->Destroy();
    camera->Release();
    camera->Destroy();
#if defined(__SANITIZE_ADDRESS__)
    __lsan_ignore_object(record);  // a host has no way to free it
#endif
    standin::Reset();
}

// Slot 0 is what a host built with Microsoft's compiler calls: with bit 0
// of the flags for delete, which frees the memory (the sanitizer reports a
// leak otherwise); without it for a destructor call, after which the memory
// is still the caller's to free. Either way the result is the object.
TEST_F(Plugin, SlotZeroFreesTheMemoryOnlyWithBitZero)
{
    IGraphics* inPlace = GetPlugin(nullptr);
    EXPECT_EQ(inPlace->DeletingDestructor(0), static_cast<void*>(inPlace));
#if defined(__SANITIZE_ADDRESS__)
    EXPECT_EQ(__asan_address_is_poisoned(inPlace), 0);
#endif
    ::operator delete(inPlace);

    ASSERT_EQ(Create(), 0);
    ASSERT_EQ(graphics->DestroyGraphicsSystem(), 0);
    EXPECT_EQ(graphics->DeletingDestructor(1), static_cast<void*>(graphics));
    graphics = GetPlugin(nullptr);
}

}  // namespace
