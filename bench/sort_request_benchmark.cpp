// Frames that re-sort, each against a steady frame of the same scene, through
// the public interface on the stand-in device with recording off: the frame
// right after one new character (what a game that spawns something each
// frame pays each frame) and the frame after RequestSort on a sorted
// registry. Scenes of 6 vertex formats, 50 material records and 3 layers in
// random creation order. Both ways time each RenderFrame call on its own
// and add the times up, so that what is compared is the frame alone.

#include <random>
#include <stdexcept>
#include <string>

#include "Alternate.h"
#include "Comparisons.h"
#include "Scene.h"

namespace bench {

namespace {

const int kFormats = 6;
const int kLayers = 3;
const int kCounts[] = {1000, 10000, 30000};

double TimedFrame(Scene& scene)
{
    return Seconds([&scene] { scene.graphics->RenderFrame(); });
}

Turn SteadyFrames(Scene& scene)
{
    return [&scene](long iterations) {
        double seconds = 0;
        for (long i = 0; i < iterations; ++i)
            seconds += TimedFrame(scene);
        return seconds;
    };
}

// The new character is drawn in the frame after it, and the scene is back
// at its size once it is gone: the timed frame draws what it should.
void CheckNewCharacterIsDrawn(Scene& scene)
{
    std::mt19937 random(5);
    const int count = static_cast<int>(scene.quads.size());
    ICharacter* added = scene.Add(scene.RandomQuad(random, count));
    const int withIt = scene.RecordedDraws();
    scene.graphics->DestroyCharacter(added);
    if (withIt != count + 1 || scene.RecordedDraws() != count)
        throw std::logic_error("creation hitch: the frame after a new character does not draw it");
}

// A new character, as a host makes one, with a random format, layer and
// record; the frame after it is timed. Then it goes again, and one more
// frame leaves the scene as sorted and steady as it was, at its size.
Turn FramesAfterNewCharacters(Scene& scene)
{
    CheckNewCharacterIsDrawn(scene);
    return [&scene, random = std::mt19937(5)](long iterations) mutable {
        const int place = static_cast<int>(scene.quads.size());
        double seconds = 0;
        for (long i = 0; i < iterations; ++i)
        {
            ICharacter* added = scene.Add(scene.RandomQuad(random, place));
            seconds += TimedFrame(scene);
            scene.graphics->DestroyCharacter(added);
            scene.graphics->RenderFrame();
        }
        return seconds;
    };
}

Turn FramesAfterRequestSort(Scene& scene)
{
    return [&scene](long iterations) {
        double seconds = 0;
        for (long i = 0; i < iterations; ++i)
            seconds += Seconds([&scene] {
                scene.graphics->RequestSort();
                scene.graphics->RenderFrame();
            });
        return seconds;
    };
}

}  // namespace

void CompareSortRequests(Table& table)
{
    struct Request
    {
        const char* job;
        const char* way;
        Turn (*frames)(Scene&);
        double goal;
    };
    const Request requests[] = {{"new character", "frame after it", FramesAfterNewCharacters, 1.10},
                                {"RequestSort", "RequestSort, frame", FramesAfterRequestSort, 1.05}};
    for (const Request& request : requests)
        for (int count : kCounts)
        {
            const std::string job = std::string(request.job) + ", N=" + std::to_string(count);
            if (!table.Wants(job))
                continue;
            Scene scene(count, kFormats, kLayers);
            Comparison comparison;
            comparison.job = job;
            comparison.a = {request.way, request.frames(scene)};
            comparison.b = {"steady frame", SteadyFrames(scene)};
            comparison.goal = request.goal;
            table.Run(comparison);
        }
}

}  // namespace bench
