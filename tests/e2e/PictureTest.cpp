// Frames drawn by Wine's Direct3D 9 through the plug-in and read back from
// SaveScreenshot, checked pixel by pixel where the answer is known.
//
// Untextured meshes are drawn with modulate(diffuse, current), and at
// stage 0 "current" is the diffuse colour itself: a channel c shows as c²,
// so full and zero channels are exact and 0x80 shows as 0x40.
#include <gmock/gmock.h>

#include <vector>

#include "GraphicsTest.h"

namespace {

using Picture = GraphicsTest;

const std::uint32_t kBlack = 0x000000;
const std::uint32_t kRed = 0xFF0000;
const std::uint32_t kGreen = 0x00FF00;
const std::uint32_t kBlue = 0x0000FF;
const std::uint32_t kYellow = 0xFFFF00;

// The camera five units before the origin, looking along +z, upright: the
// first angle turns the view to +z, a second angle of 270 degrees keeps the
// up direction pointing up.
void LookAlongZ(IGraphics& graphics)
{
    ICamera* camera = graphics.GetCamera();
    ASSERT_NE(nullptr, camera);
    camera->SetPosition(0, 0, -5);
    camera->SetRotation(270, 270, 0);
}

// A square of side 1 in the plane z = 0, facing the camera.
template <typename Vertex>
ICharacter* AddSquare(IGraphics& graphics, float x, float y, D3DCOLOR colour)
{
    Mesh<Vertex> mesh;
    AddQuad(mesh, {x, y, 0}, {0.5f, 0, 0}, {0, 0.5f, 0}, colour);
    return CreateMesh(graphics, mesh, 0);
}

// Where squares at known places land shows the camera, the world transform
// and the projection (pi/4, 4:3, near 1) working together: at five units
// one scene unit is 57.9 pixels across and 57.9 pixels high.
TEST_F(Picture, FlatMeshesLandWhereCameraAndProjectionPutThem)
{
    StartPlain(0xFF000000);
    LookAlongZ(*graphics);
    ASSERT_NE(nullptr, AddSquare<ColouredVertex>(*graphics, -1, 1, 0xFFFF0000));
    ASSERT_NE(nullptr, AddSquare<ColouredVertex>(*graphics, 1, -1, 0xFF00FF00));
    ICharacter* moved = AddSquare<ColouredVertex>(*graphics, 0, 0, 0xFF808080);
    ASSERT_NE(nullptr, moved);
    moved->SetPosition(1, 1, 0);

    Bitmap bitmap = Capture();

    // Red above left (x 73..131, y 33..91), green below right (x 189..247, y 149..207).
    EXPECT_TRUE(PixelIs(bitmap, 102, 62, kRed));
    EXPECT_TRUE(PixelIs(bitmap, 76, 36, kRed));
    EXPECT_TRUE(PixelIs(bitmap, 128, 88, kRed));
    EXPECT_TRUE(PixelIs(bitmap, 70, 62, kBlack));
    EXPECT_TRUE(PixelIs(bitmap, 102, 30, kBlack));
    EXPECT_TRUE(PixelIs(bitmap, 134, 62, kBlack));
    EXPECT_TRUE(PixelIs(bitmap, 218, 178, kGreen));
    EXPECT_TRUE(PixelIs(bitmap, 102, 178, kBlack));
    // The grey square moved up and right by its position: 0x80 shows squared.
    EXPECT_TRUE(PixelIs(bitmap, 218, 62, 0x404040, 2));
    EXPECT_TRUE(PixelIs(bitmap, 160, 120, kBlack));
}

// Lit: material diffuse (0.5, 1, 0.25) under a white directional light
// shining straight at the square, no ambient light; then squared.
TEST_F(Picture, LightAndMaterialColourALitMesh)
{
    StartPlain(0xFF000000);
    LookAlongZ(*graphics);
    ASSERT_EQ(0, graphics->SetLighting(true));
    ASSERT_EQ(0, graphics->SetAmbientLight(0xFF000000));
    ILight* light = graphics->CreateLight();
    ASSERT_NE(nullptr, light);
    ASSERT_EQ(0, light->SetProperties(3, 0, 0, 0, 0, 0, 1, 1, 0, 0, 0, 0, 0, 1, 1, 1, 0, 0, 0, 0, 0,
                                      0, 0));
    ASSERT_EQ(0, light->Enable(true));
    MaterialDesc* material = graphics->CreateMaterial();
    ASSERT_NE(nullptr, material);
    material->diffuse[0] = 0.5f;
    material->diffuse[1] = 1.0f;
    material->diffuse[2] = 0.25f;
    ICharacter* square = AddSquare<LitVertex>(*graphics, 0, 0, 0);
    ASSERT_NE(nullptr, square);
    ASSERT_EQ(0, square->SetMaterial(material));

    Bitmap lit = Capture();
    EXPECT_TRUE(PixelIs(lit, 160, 120, 0x40FF10, 2));
    EXPECT_TRUE(PixelIs(lit, 20, 20, kBlack));

    ASSERT_EQ(0, light->Enable(false));
    Bitmap dark = Capture();
    EXPECT_TRUE(PixelIs(dark, 160, 120, kBlack));
}

TEST_F(Picture, TheOverlayCoversANearerMeshAndNegativeLayersAreNotDrawn)
{
    StartPlain(0xFF000000);
    ASSERT_NE(nullptr, AddRect(*graphics, 40, 40, 280, 200, 0.1f, 0xFF0000FF, 0));
    ASSERT_NE(nullptr, AddRect(*graphics, 120, 80, 200, 160, 0.9f, 0xFFFFFF00, -10));
    ASSERT_NE(nullptr, AddRect(*graphics, 0, 0, 30, 30, 0.5f, 0xFFFF0000, -1));

    Bitmap bitmap = Capture();
    EXPECT_TRUE(PixelIs(bitmap, 160, 120, kYellow));
    EXPECT_TRUE(PixelIs(bitmap, 60, 60, kBlue));
    EXPECT_EQ(0, CountOther(bitmap, 0, 0, 30, 30, kBlack));
}

// The higher layer is drawn later, but depth still counts: at equal depth
// the later drawing wins, behind the lower layer it is hidden. The higher
// layer's rectangles come first in the registry, so their order of
// creation would put them below.
TEST_F(Picture, AHigherLayerIsDrawnOverALowerOneWhereDepthAllows)
{
    StartPlain(0xFF000000);
    ASSERT_NE(nullptr, AddRect(*graphics, 120, 40, 280, 120, 0.5f, 0xFF00FF00, 1));
    ASSERT_NE(nullptr, AddRect(*graphics, 120, 120, 280, 200, 0.8f, 0xFF0000FF, 1));
    ASSERT_NE(nullptr, AddRect(*graphics, 40, 40, 200, 200, 0.5f, 0xFFFF0000, 0));

    Bitmap bitmap = Capture();
    EXPECT_TRUE(PixelIs(bitmap, 160, 80, kGreen));  // same depth, higher layer
    EXPECT_TRUE(PixelIs(bitmap, 160, 160, kRed));   // higher layer, but behind
    EXPECT_TRUE(PixelIs(bitmap, 240, 80, kGreen));
    EXPECT_TRUE(PixelIs(bitmap, 240, 160, kBlue));
    EXPECT_TRUE(PixelIs(bitmap, 80, 120, kRed));
}

// A texture file whose left half is the key colour 0xDE00DE: with texture
// alpha on, those texels are transparent and the blue behind shows.
TEST_F(Picture, ColourKeyedTexelsShowWhatIsBehind)
{
    std::vector<std::uint32_t> texels(16 * 16);
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x)
            texels[y * 16 + x] = x < 8 ? 0xDE00DE : 0x00C000;
    std::string file = OutputPath("keyed.bmp");
    ASSERT_TRUE(WriteBitmap(file, 16, 16, texels));

    StartPlain(0xFF000000);
    ITexture* texture = graphics->CreateTexture(file.c_str(), 0);
    ASSERT_NE(nullptr, texture);
    ASSERT_NE(nullptr, AddRect(*graphics, 20, 20, 300, 220, 0.9f, 0xFF0000FF, 0));
    ICharacter* picture = AddPicture(*graphics, texture, 40, 40, 280, 200, 0.5f, 1);
    ASSERT_NE(nullptr, picture);
    picture->SetTextureAlpha(true);

    Bitmap bitmap = Capture();
    EXPECT_TRUE(PixelIs(bitmap, 100, 120, kBlue));
    EXPECT_TRUE(PixelIs(bitmap, 220, 120, 0x00C000, 1));
    EXPECT_TRUE(PixelIs(bitmap, 30, 120, kBlue));
    EXPECT_TRUE(PixelIs(bitmap, 10, 10, kBlack));
}

// Eight colours in a 4 x 2 block, row after row from the top, stretched
// over 320 x 160 pixels: each texel covers 80 x 80.
TEST_F(Picture, AddDataPixelsAppearOnAMesh)
{
    const std::uint32_t block[8] = {0xFFFF0000, 0xFF00FF00, 0xFF0000FF, 0xFFFFFFFF,
                                    0xFFFFFF00, 0xFF00FFFF, 0xFFFF00FF, 0xFF808080};
    StartPlain(0xFF000000);
    ITexture* texture = graphics->CreateTexture(nullptr, 0);
    ASSERT_NE(nullptr, texture);
    std::size_t mark = Mark();
    ASSERT_EQ(0, texture->AddData(block, 4, 2));
    EXPECT_THAT(LinesSince(mark),
                ::testing::ElementsAre("2: Adding data to texture : Width=4 Height=2", "NewLine"));
    ASSERT_NE(nullptr, AddPicture(*graphics, texture, -0.5f, -0.5f, 319.5f, 159.5f, 0.5f, 0));

    Bitmap bitmap = Capture();
    for (int row = 0; row < 2; ++row)
        for (int column = 0; column < 4; ++column)
        {
            SCOPED_TRACE("texel " + std::to_string(column) + ", " + std::to_string(row));
            EXPECT_TRUE(
                PixelIs(bitmap, 40 + 80 * column, 40 + 80 * row, Rgb(block[row * 4 + column])));
            EXPECT_EQ(0, CountOther(bitmap, 80 * column + 2, 80 * row + 2, 80 * column + 78,
                                    80 * row + 78, Rgb(block[row * 4 + column])));
        }
    EXPECT_EQ(0, CountOther(bitmap, 0, 162, 320, 240, kBlack));
}

// Wine's D3DX lets a glyph's anti-aliased edge reach one pixel past the
// rectangle (the W's slanted stroke, left of x = 40); beyond that nothing.
TEST_F(Picture, TextIsDrawnInsideItsRectangleOnly)
{
    StartPlain(0xFF000000);
    IFont* font = graphics->CreateFont("Tahoma", 0, 24, 700);
    ASSERT_NE(nullptr, font);
    font->AddText("Hello, world", 0xFFFFFFFF, 40, 40, 220, 100);
    // One word too long for its rectangle: wrapped, and cut off at the bottom.
    font->AddText("WWWWWWWWWWWWWWWWWWWW", 0xFFFFFF00, 40, 150, 120, 190);

    Bitmap bitmap = Capture();
    int inFirst = CountOther(bitmap, 39, 39, 221, 101, kBlack);
    int inSecond = CountOther(bitmap, 39, 149, 121, 191, kBlack);
    EXPECT_GT(inFirst, 300);
    EXPECT_GT(inSecond, 300);
    int everywhere = CountOther(bitmap, 0, 0, bitmap.width, bitmap.height, kBlack);
    EXPECT_EQ(inFirst + inSecond, everywhere) << "text pixels outside the rectangles";

    // The colours reach the glyphs: grey levels of white, and of yellow.
    int brightWhite = 0;
    int brightYellow = 0;
    for (int y = 0; y < bitmap.height; ++y)
        for (int x = 0; x < bitmap.width; ++x)
        {
            std::uint32_t pixel = bitmap.At(x, y);
            int red = pixel >> 16, green = (pixel >> 8) & 0xFF, blue = pixel & 0xFF;
            if (pixel == kBlack)
                continue;
            if (y < 120)
            {
                EXPECT_TRUE(red == green && green == blue) << std::hex << pixel;
                brightWhite += red >= 0xC0;
            }
            else
            {
                EXPECT_TRUE(red == green && blue == 0) << std::hex << pixel;
                brightYellow += red >= 0xC0;
            }
        }
    EXPECT_GT(brightWhite, 50);
    EXPECT_GT(brightYellow, 50);
}

TEST_F(Picture, WireframeDrawsTheEdgesAndSolidFillsTheInside)
{
    StartPlain(0xFF000000);
    ASSERT_NE(nullptr, AddRect(*graphics, 40, 40, 280, 200, 0.5f, 0xFFFFFFFF, 0));

    ASSERT_EQ(0, graphics->SetFillMode(0));
    Bitmap wire = Capture();
    // The outline and the diagonal between the two triangles: about 1,100
    // of the 38,400 pixels.
    int lines = CountOther(wire, 35, 35, 285, 205, kBlack);
    EXPECT_GT(lines, 600);
    EXPECT_LT(lines, 2000);
    EXPECT_TRUE(PixelIs(wire, 100, 60, kBlack));

    ASSERT_EQ(0, graphics->SetFillMode(1));
    Bitmap solid = Capture();
    EXPECT_EQ(0, CountOther(solid, 42, 42, 278, 198, 0xFFFFFF));
}

}  // namespace
