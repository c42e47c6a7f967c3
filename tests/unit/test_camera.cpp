// The camera: where it looks from, at and with which up direction, as the
// next frame gives its view to the device.

#include <gtest/gtest.h>

#include <standin/Recorder.h>

#include <string>

#include "HostTest.h"

namespace {

using Camera = SystemTest;

// One placement: moved, then turned (or turned, then moved), and the view
// of the next frame as eye, at and up.
struct Placement
{
    const char* name;
    float position[3];
    float angles[3];
    bool moveLast;
    const char* lookAt;
};

// The first angle turns around the vertical, the second leans from it, the
// third turns nothing. The up direction is vertical, of length |sin second|,
// down while the view leans away from +y. The first and third angles wrap
// into [0, 360); the second is corrected by one turn at most. Every number
// is a float computed as the host's own float arithmetic would.
const Placement kPlacements[] = {
    {"along +x, upside down", {0, 0, 0}, {0, 90, 0}, false,
     "({0, 0, 0}, {1, -4.371139e-08, 0}, {0, -1, 0})"},
    {"along -x", {0, 0, 0}, {0, 270, 0}, false,
     "({0, 0, 0}, {-1, 1.1924881e-08, 0}, {0, 1, 0})"},
    {"straight up", {0, 0, 0}, {0, 0, 0}, false,
     "({0, 0, 0}, {0, 1, 0}, {0, -4.371139e-08, 0})"},
    {"along +z", {0, 0, 0}, {90, 90, 0}, false,
     "({0, 0, 0}, {-4.371139e-08, -4.371139e-08, 1}, {0, -1, 0})"},
    {"leaning", {1, 2, 3}, {45, 60, 0}, false,
     "({1, 2, 3}, {1.6123724, 2.5, 3.6123724}, {0, -0.8660254, 0})"},
    {"the third angle turns nothing", {1, 2, 3}, {45, 60, 30}, false,
     "({1, 2, 3}, {1.6123724, 2.5, 3.6123724}, {0, -0.8660254, 0})"},
    {"whole turns", {0, 0, 0}, {720, 720, 720}, false,
     "({0, 0, 0}, {1.7484555e-07, 1, 0}, {0, -3.3776624e-07, 0})"},
    {"negative angles", {0, 0, 0}, {-30, -30, -30}, false,
     "({0, 0, 0}, {-0.43301257, 0.86602557, 0.24999976}, {0, 0.4999996, 0})"},
    {"beyond one turn", {0, 0, 0}, {-400, -400, 1000}, false,
     "({0, 0, 0}, {-0.492404, 0.76604444, 0.4131758}, {0, 0.64278764, 0})"},
    {"moving keeps the direction", {10, 0, 0}, {45, 60, 0}, true,
     "({10, 0, 0}, {10.612372, 0.49999997, 0.61237246}, {0, -0.8660254, 0})"},
};

TEST_F(Camera, TheNextFrameLooksAsTheCameraWasMovedAndTurned)
{
    ICamera* camera = graphics->GetCamera();
    ASSERT_NE(camera, nullptr);
    // From the start, one unit in front of the origin; turned before any move,
    // around that start.
    ASSERT_EQ(graphics->RenderFrame(), 0);
    camera->SetRotation(0, 90, 0);
    ASSERT_EQ(graphics->RenderFrame(), 0);
    EXPECT_EQ(standin::CallTexts("D3DXMatrixLookAtLH"), Lines({
        "D3DXMatrixLookAtLH({0, 0, -1}, {0, 0, 0}, {0, 1, 0})",
        "D3DXMatrixLookAtLH({0, 0, -1}, {1, -4.371139e-08, -1}, {0, -1, 0})",
    }));
    for (const Placement& row : kPlacements)
    {
        SCOPED_TRACE(row.name);
        Forget();
        if (!row.moveLast)
            camera->SetPosition(row.position[0], row.position[1], row.position[2]);
        camera->SetRotation(row.angles[0], row.angles[1], row.angles[2]);
        if (row.moveLast)
            camera->SetPosition(row.position[0], row.position[1], row.position[2]);
        EXPECT_TRUE(standin::Calls().empty()) << "the setters leave the device alone";
        ASSERT_EQ(graphics->RenderFrame(), 0);
        EXPECT_EQ(standin::CallTexts("D3DXMatrixLookAtLH"), Lines({"D3DXMatrixLookAtLH" + std::string(row.lookAt)}));
        EXPECT_EQ(CallsStartingWith({"SetTransform(2,"}).size(), 1u);
    }
}

}  // namespace
