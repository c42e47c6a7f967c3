// The factories' sharing rules and the registries' destroys, and screenshots.

#include <standin/Recorder.h>

#include <set>
#include <string>
#include <vector>

#include "HostTest.h"
#include "SourceLine.h"

namespace {

using Factories = SystemTest;

// File textures are shared by exact name (letter case included) and stage,
// blank ones never; a file that does not load is not kept. A destroy is for
// every holder at once.
TEST_F(Factories, FileTexturesAreSharedByExactNameAndStage)
{
    ITexture* stone = graphics->CreateTexture("stone.bmp", 0);
    EXPECT_EQ(graphics->CreateTexture("stone.bmp", 0), stone);
    const std::set<ITexture*> distinct = {stone, graphics->CreateTexture("stone.bmp", 1),
                                          graphics->CreateTexture("Stone.bmp", 0), graphics->CreateTexture(nullptr, 0),
                                          graphics->CreateTexture(nullptr, 0)};
    EXPECT_EQ(distinct.size(), 5u);
    standin::FailNext("D3DXCreateTextureFromFileExW", D3DXERR_INVALIDDATA);
    EXPECT_EQ(graphics->CreateTexture("missing.bmp", 0), nullptr);
    EXPECT_NE(graphics->CreateTexture("missing.bmp", 0), nullptr);
    EXPECT_EQ(standin::FileNames(), Lines({"stone.bmp", "stone.bmp", "Stone.bmp", "missing.bmp", "missing.bmp"}));

    EXPECT_EQ(graphics->DestroyTexture(stone), 0);
    EXPECT_EQ(graphics->DestroyTexture(stone), 1);
    EXPECT_EQ(graphics->DestroyTexture(nullptr), 1);
}

// A font is shared only when face (letter case included), width, height and
// weight all match; D3DX gets the height before the width.
TEST_F(Factories, FontsAreSharedOnlyWhenFaceWidthHeightAndWeightAllMatch)
{
    IFont* font = graphics->CreateFont("Arial", 8, 16, 400);
    EXPECT_EQ(graphics->CreateFont("Arial", 8, 16, 400), font);
    const struct
    {
        const char* face;
        int width, height, weight;
    } kOthers[] = {{"Tahoma", 8, 16, 400}, {"arial", 8, 16, 400}, {"Arial", 9, 16, 400},
                   {"Arial", 8, 17, 400},  {"Arial", 8, 16, 700}, {"Arial", 16, 8, 400}};
    for (const auto& other : kOthers)
        EXPECT_NE(graphics->CreateFont(other.face, other.width, other.height, other.weight), font)
            << other.face << " " << other.width << " x " << other.height << ", " << other.weight;
    const Lines created = standin::CallTexts("D3DXCreateFontW");
    ASSERT_EQ(created.size(), 7u);
    EXPECT_EQ(created.back().substr(0, 36), "D3DXCreateFontW(Device#1, 8, 16, 400");
}

// No more lights than the device has; each takes the lowest index that no
// light holds, so a destroyed light's index is given to the next.
TEST_F(Factories, LightsUpToTheDeviceLimitOnTheLowestFreeIndex)
{
    std::vector<ILight*> lights;
    for (int i = 0; i < 8; ++i)
        lights.push_back(graphics->CreateLight());
    EXPECT_EQ(graphics->CreateLight(), nullptr);
    ASSERT_EQ(graphics->DestroyLight(lights[2]), 0);
    lights[2] = graphics->CreateLight();
    EXPECT_EQ(graphics->CreateLight(), nullptr);

    standin::ClearCalls();
    for (ILight* light : lights)
        ASSERT_EQ(light->Enable(true), 0);
    EXPECT_EQ(standin::CallTexts("LightEnable"),
              Lines({"LightEnable(0, 1)", "LightEnable(1, 1)", "LightEnable(2, 1)", "LightEnable(3, 1)",
                     "LightEnable(4, 1)", "LightEnable(5, 1)", "LightEnable(6, 1)", "LightEnable(7, 1)"}));
}

using Screenshot = SystemTest;

// The back buffer, written as a bitmap under exactly the given name; once it
// is in hand a failed write still answers 0. Without it, or with a name too
// long for the wide buffer, the answer is 1.
TEST_F(Screenshot, WritesTheBackBufferAsABitmapUnderTheGivenName)
{
    EXPECT_EQ(graphics->SaveScreenshot("frame.jpg"), 0);
    standin::FailNext("D3DXSaveSurfaceToFileW", E_FAIL);
    EXPECT_EQ(graphics->SaveScreenshot(std::string(999, 'a').c_str()), 0);
    EXPECT_EQ(standin::CallTexts(), Lines({
        "GetBackBuffer(0, 0, 0, Surface#1)",
        "D3DXSaveSurfaceToFileW(\"frame.jpg\", 0, Surface#1, null, null)",
        "Surface#1.Release()",
        "GetBackBuffer(0, 0, 0, Surface#2)",
        "D3DXSaveSurfaceToFileW(\"" + std::string(999, 'a') + "\", 0, Surface#2, null, null)",
        "Surface#2.Release()",
    }));
    EXPECT_TRUE(logger.lines.empty());

    standin::ClearCalls();
    EXPECT_EQ(graphics->SaveScreenshot(std::string(1000, 'a').c_str()), 1);
    EXPECT_TRUE(standin::Calls().empty());
    standin::FailNext("GetBackBuffer", D3DERR_INVALIDCALL);
    EXPECT_EQ(graphics->SaveScreenshot("frame.bmp"), 1);
    EXPECT_EQ(logger.lines,
              Lines({ExpectedReport(2, "D3DERR_INVALIDCALL", "extra/CGraphicsD3D.cpp", "GetBackBuffer(")}));
}

}  // namespace
