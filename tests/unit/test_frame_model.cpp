// The frame against a plain model of its rules (FrameModel.h). Host programs
// run on the plug-in and on the model side by side: random ones, of creates
// and destroys of every kind, geometry with new formats and layers, material
// records set, changed and destroyed while characters hold them, re-sort
// requests, device loss and reset, shutdown and a new device; and large
// registries in the shapes that are hard for a fast sort. After every call
// the device calls that the draw order and the caches decide must be the
// model's, and so must every result. Under AddressSanitizer the memory of
// destroyed records is checked too: kept exactly while a character or the
// frame's cache refers to it, freed as soon as nothing does.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <standin/Recorder.h>

#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstdio>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "FrameModel.h"
#include "HostTest.h"

#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/asan_interface.h>
#endif

namespace {

// The recorded device calls that the model writes, in its words.
Lines ModelledCalls()
{
    Lines calls;
    for (const standin::Call& call : standin::Calls())
    {
        if (call.name == "Reset" || call.name == "Present" || call.name == "BeginScene" || call.name == "EndScene")
            calls.push_back(call.name);
        else if (call.name == "SetFVF" || call.name == "SetMaterial" || call.name == "DrawIndexedPrimitive" ||
                 (call.name == "SetRenderState" && call.args.compare(0, 3, "7, ") == 0))
            calls.push_back(call.Text());
    }
    return calls;
}

std::string Name(const void* object)
{
    char text[32];
    std::snprintf(text, sizeof text, "%p", object);
    return text;
}

template <typename Item>
void Remove(std::vector<Item>& items, Item item)
{
    items.erase(std::remove(items.begin(), items.end(), item), items.end());
}

class FrameModelTest : public HostTest
{
protected:
    // A graphics system object of its own for each program, beside a new model.
    void Start(unsigned seed)
    {
        graphics->DestroyGraphicsSystem();
        graphics->Destroy();
        EXPECT_THAT(standin::LiveObjects(), ::testing::IsEmpty());
        standin::Reset();
        graphics = GetPlugin(nullptr);
        model = FrameModel();
        ForgetObjects();
        destroyed.clear();
        steps.clear();
        nextVertexCount = 3;
        random.seed(seed);
        Note("CreateGraphicsSystem");
        ASSERT_EQ(Create(), 0);
        model.CreateGraphicsSystem();
        Compare();
    }

    // The device calls since the last comparison must be the model's.
    void Compare()
    {
        ASSERT_EQ(ModelledCalls(), model.TakeCalls()) << Program();
        standin::ClearCalls();
        CheckDestroyedRecords();
    }

    // --- Host calls, made on both sides --------------------------------------------

    // A character whose draws carry a vertex count of its own.
    ICharacter* AddCharacter(std::uint32_t fvf, int layer)
    {
        ICharacter* character = graphics->CreateCharacter();
        Note("CreateCharacter() = " + Name(character));
        EXPECT_NE(character, nullptr);
        if (character == nullptr)
            return nullptr;
        characters.push_back({character, nextVertexCount++});
        model.CreateCharacter(character, characters.back().vertexCount);
        Recreate(characters.back(), fvf, layer);
        return character;
    }

    struct Held
    {
        ICharacter* character;
        std::uint32_t vertexCount;
    };

    void Recreate(const Held& held, std::uint32_t fvf, int layer)
    {
        const float vertices[9] = {0, 0, 0, 1, 0, 0, 0, 1, 0};
        const std::uint32_t indices[3] = {0, 1, 2};
        Note(Name(held.character) + "->Create(fvf " + std::to_string(fvf) + ", layer " + std::to_string(layer) + ")");
        Expect(held.character->Create(held.vertexCount, layer, fvf, sizeof vertices, 12, 3, vertices, indices), 0);
        model.Create(held.character, fvf, layer);
    }

    void SetMaterial(ICharacter* character, MaterialDesc* record)
    {
        Note(Name(character) + "->SetMaterial(" + Name(record) + ")");
        Expect(character->SetMaterial(record), 0);
        model.SetMaterial(character, record);
    }

    // A new record never has an address that a character or the frame's
    // cache still refers to.
    MaterialDesc* CreateMaterial()
    {
        MaterialDesc* record = graphics->CreateMaterial();
        Note("CreateMaterial() = " + Name(record));
        EXPECT_NE(record, nullptr);
        EXPECT_EQ(model.RecordsReferred().count(record), 0u) << "a record in use got a new record's address"
                                                             << Program();
        records.push_back(record);
        model.CreateMaterial(record);
        Remove(destroyed, static_cast<const MaterialDesc*>(record));
        return record;
    }

    void DestroyMaterial(MaterialDesc* record)
    {
        Note("DestroyMaterial(" + Name(record) + ")");
        const int result = model.DestroyMaterial(record);
        Expect(graphics->DestroyMaterial(record), result);
        Remove(records, record);
        if (result == 0)
            destroyed.push_back(record);
    }

    void DestroyCharacter(std::size_t i)
    {
        Note("DestroyCharacter(" + Name(characters[i].character) + ")");
        Expect(graphics->DestroyCharacter(characters[i].character), model.DestroyCharacter(characters[i].character));
        characters.erase(characters.begin() + static_cast<std::ptrdiff_t>(i));
    }

    void RequestSort()
    {
        Note("RequestSort");
        graphics->RequestSort();
        model.RequestSort();
    }

    void RenderFrame()
    {
        Note("RenderFrame");
        Expect(graphics->RenderFrame(), model.RenderFrame());
    }

    // --- Random programs -------------------------------------------------------------

    // One host call (or a device event) with random arguments, then the comparison.
    void RandomStep()
    {
        switch (Uniform(0, 20))
        {
        case 0: case 1:
            if (characters.size() < 12)
                AddCharacter(AnyFormat(), AnyLayer());
            break;
        case 2:
            if (!characters.empty())
                Recreate(Pick(characters), AnyFormat(), AnyLayer());
            break;
        case 3: case 4: RandomSetMaterial(); break;
        case 5: ChangeRecord(); break;
        case 6:
            if (records.size() < 6)
                CreateMaterial();
            break;
        case 7: RandomDestroyMaterial(); break;
        case 8:
            if (!characters.empty())
                DestroyCharacter(static_cast<std::size_t>(Uniform(0, static_cast<int>(characters.size()) - 1)));
            break;
        case 9: RequestSort(); break;
        case 10: DeviceEvent(); break;
        case 11: OtherObjects(); break;
        case 12:
            if (Uniform(0, 4) == 0)
                NewDevice();
            break;
        default: RenderFrame(); break;
        }
        Compare();
    }

    int Uniform(int low, int high) { return std::uniform_int_distribution<int>(low, high)(random); }

    template <typename Item>
    Item Pick(const std::vector<Item>& items)
    {
        return items[static_cast<std::size_t>(Uniform(0, static_cast<int>(items.size()) - 1))];
    }

    // Formats with the top bit set order as negative numbers.
    std::uint32_t AnyFormat() { return Pick<std::uint32_t>({0, 0x002, 0x042, 0x112, 0x142, 0x152, 0x80000042u}); }

    int AnyLayer() { return Pick<int>({-10, -10, -1, 0, 0, 1, 2, 3, 7, 1000000, INT_MAX}); }

    // A registered record, or the record another character holds, which may
    // be one the host has destroyed since.
    void RandomSetMaterial()
    {
        if (characters.empty())
            return;
        MaterialDesc* record = Pick(characters).character->GetMaterial();
        if (Uniform(0, 1) == 0 && !records.empty())
            record = Pick(records);
        if (record != nullptr)
            SetMaterial(Pick(characters).character, record);
    }

    // Values of their own in every field, so that each SetMaterial shows
    // which record, and which state of it, was copied.
    void ChangeRecord()
    {
        if (records.empty())
            return;
        MaterialDesc* record = Pick(records);
        Note("change " + Name(record) + " to " + std::to_string(nextValue));
        float* values = &record->ambient[0];
        for (int i = 0; i < 13; ++i)
            values[i] = nextValue + i / 16.0f;
        nextValue += 1;
    }

    // A registered record, or what a character holds: a destroyed record's
    // second destroy must be refused.
    void RandomDestroyMaterial()
    {
        MaterialDesc* record = nullptr;
        if (Uniform(0, 2) == 0 && !characters.empty())
            record = Pick(characters).character->GetMaterial();
        else if (!records.empty())
            record = Pick(records);
        if (record != nullptr)
            DestroyMaterial(record);
    }

    // Lost, then resettable, which the next frame then resets.
    void DeviceEvent()
    {
        if (model.DeviceState() == FrameModel::Device::Lost)
        {
            Note("device may be reset");
            standin::MakeDeviceResettable();
            model.MakeDeviceResettable();
        }
        else
        {
            Note("device lost");
            standin::LoseDevice();
            model.LoseDevice();
        }
    }

    // Shutdown and a new device, on the same graphics system object.
    void NewDevice()
    {
        if (model.DeviceState() != FrameModel::Device::Working)
            return;
        Note("DestroyGraphicsSystem, CreateGraphicsSystem");
        Expect(graphics->DestroyGraphicsSystem(), 0);
        model.DestroyGraphicsSystem();
        ForgetObjects();
        Expect(Create(), 0);
        model.CreateGraphicsSystem();
    }

    // Textures (on characters too), lights and fonts come and go; none of
    // them changes the draw order or the caches.
    void OtherObjects()
    {
        switch (Uniform(0, 6))
        {
        case 0:
        {
            const bool blank = Uniform(0, 1) == 0;
            Note(blank ? "CreateTexture(null)" : "CreateTexture(file)");
            ITexture* texture = graphics->CreateTexture(blank ? nullptr : "wall.bmp", 0);
            ASSERT_NE(texture, nullptr);
            const std::uint32_t pixels[4] = {};
            if (blank)
                texture->AddData(pixels, 2, 2);
            Remove(textures, texture);
            textures.push_back(texture);
            break;
        }
        case 1:
            if (!characters.empty() && !textures.empty())
            {
                Note("SetTextures(...)");
                Pick(characters).character->SetTextures(Pick(textures), 1);
            }
            break;
        case 2:
            if (!textures.empty())
            {
                Note("DestroyTexture(...)");
                ITexture* texture = Pick(textures);
                EXPECT_EQ(graphics->DestroyTexture(texture), 0);
                Remove(textures, texture);
            }
            break;
        case 3:
            Note("CreateLight()");
            if (ILight* light = graphics->CreateLight())
            {
                light->Enable(true);
                lights.push_back(light);
            }
            break;
        case 4:
            if (!lights.empty())
            {
                Note("DestroyLight(...)");
                ILight* light = Pick(lights);
                EXPECT_EQ(graphics->DestroyLight(light), 0);
                Remove(lights, light);
            }
            break;
        case 5:
        {
            Note("CreateFont(...)->AddText(...)");
            IFont* font = graphics->CreateFont("Arial", 0, 12 + Uniform(0, 1), 400);
            ASSERT_NE(font, nullptr);
            font->AddText("text", 0xFFFFFFFF, 0, 0, 100, 20);
            Remove(fonts, font);
            fonts.push_back(font);
            break;
        }
        case 6:
            if (!fonts.empty())
            {
                Note("DestroyFont(...)");
                IFont* font = Pick(fonts);
                EXPECT_EQ(graphics->DestroyFont(font), 0);
                Remove(fonts, font);
            }
            break;
        }
    }

    // --- What a failure shows ----------------------------------------------------------

    void Note(const std::string& call) { steps.push_back(call); }

    void Expect(int actual, int modelled) { EXPECT_EQ(actual, modelled) << "result of " << steps.back() << Program(); }

    // The last calls made, for a failure's message.
    std::string Program() const
    {
        const std::size_t shown = std::min<std::size_t>(steps.size(), 60);
        std::string text = "\nThe host program (" + std::to_string(steps.size() - shown) + " calls before):\n";
        for (std::size_t i = steps.size() - shown; i < steps.size(); ++i)
            text += "  " + steps[i] + "\n";
        return text;
    }

    // A destroyed record's memory lives exactly as long as something refers
    // to it; once freed, its address may come back as a new record's.
    void CheckDestroyedRecords()
    {
#if defined(__SANITIZE_ADDRESS__)
        const std::set<const MaterialDesc*> referred = model.RecordsReferred();
        for (const MaterialDesc* record : std::vector<const MaterialDesc*>(destroyed))
        {
            const bool kept = referred.count(record) > 0;
            ASSERT_EQ(__asan_address_is_poisoned(record) == 0, kept)
                << "destroyed record " << Name(record) << (kept ? " is referred to but freed" : " is kept")
                << Program();
            if (!kept)
                Remove(destroyed, record);
        }
#endif
    }

    // Shutdown destroys every object: the host forgets them all.
    void ForgetObjects()
    {
        characters.clear();
        records.clear();
        textures.clear();
        lights.clear();
        fonts.clear();
    }

    std::mt19937 random;
    FrameModel model;
    std::vector<Held> characters;
    std::vector<MaterialDesc*> records;          // registered
    std::vector<const MaterialDesc*> destroyed;  // and not yet seen freed
    std::vector<ITexture*> textures;
    std::vector<ILight*> lights;
    std::vector<IFont*> fonts;
    std::uint32_t nextVertexCount = 3;
    float nextValue = 1;
    Lines steps;
};

TEST_F(FrameModelTest, RandomHostProgramsMakeTheModelsDeviceCalls)
{
    for (unsigned seed = 1; seed <= 200; ++seed)
    {
        SCOPED_TRACE("seed " + std::to_string(seed));
        ASSERT_NO_FATAL_FAILURE(Start(seed));
        for (int step = 0; step < 150; ++step)
            ASSERT_NO_FATAL_FAILURE(RandomStep());
        ASSERT_FALSE(HasFailure());
    }
}

// --- Large registries -------------------------------------------------------------------

// One character of a large registry, in creation order: its format and the
// rank of its record's address among the registry's records.
struct Keys
{
    std::uint32_t fvf;
    std::size_t record;
};

using Shape = std::vector<Keys>;

// Keys drawn at random from a few formats (or many) and a few records (or many).
Shape Shuffled(std::mt19937& random, std::size_t count, std::vector<std::uint32_t> formats, std::size_t records)
{
    Shape shape;
    for (std::size_t i = 0; i < count; ++i)
        shape.push_back({formats[random() % formats.size()], random() % records});
    return shape;
}

std::vector<std::uint32_t> ManyFormats(std::size_t count)
{
    std::vector<std::uint32_t> formats;
    for (std::size_t i = 0; i < count; ++i)
        formats.push_back(0x002 + static_cast<std::uint32_t>(i) * 0x10 + (i % 2 == 0 ? 0x80000000u : 0));
    return formats;
}

// A run of `members` equal keys with ever longer runs of keys that come
// before them in between: each member's run is about half the members seen
// so far, so the exchanges turn the members round by half a turn each time.
Shape HalfTurns(std::size_t members, Keys member, Keys earlier)
{
    Shape shape;
    for (std::size_t k = 0; k < members; ++k)
    {
        shape.push_back(member);
        shape.insert(shape.end(), k / 2 + k % 3, earlier);
    }
    return shape;
}

// Every character a record of its own, in descending or ascending address order.
Shape OwnRecords(std::size_t count, bool descending)
{
    Shape shape;
    for (std::size_t i = 0; i < count; ++i)
        shape.push_back({0x142, descending ? count - 1 - i : i});
    return shape;
}

// Hundreds of characters, sorted from their creation order and then again
// after some of them change their keys, with the registry otherwise kept (a
// re-sort of an ordered registry among them).
TEST_F(FrameModelTest, LargeRegistriesAreDrawnInTheModelsOrder)
{
    std::mt19937 shapes(7);
    const struct
    {
        const char* name;
        Shape shape;
    } kShapes[] = {
        {"few formats and records", Shuffled(shapes, 600, {0x142, 0x42, 0x112, 0x80000042u}, 3)},
        {"many records", Shuffled(shapes, 400, {0x42, 0x112}, 80)},
        {"many formats", Shuffled(shapes, 400, ManyFormats(40), 2)},
        {"own records, descending", OwnRecords(300, true)},
        {"own records, ascending", OwnRecords(300, false)},
        {"half turns of a format", HalfTurns(80, {0x42, 0}, {0x142, 0})},
        {"half turns of a record", HalfTurns(80, {0x42, 1}, {0x42, 0})},
    };
    for (const auto& row : kShapes)
    {
        SCOPED_TRACE(row.name);
        ASSERT_NO_FATAL_FAILURE(Start(11));
        std::size_t recordCount = 0;
        for (const Keys& keys : row.shape)
            recordCount = std::max(recordCount, keys.record + 1);
        std::vector<MaterialDesc*> byAddress;
        for (std::size_t i = 0; i < recordCount; ++i)
            byAddress.push_back(CreateMaterial());
        std::sort(byAddress.begin(), byAddress.end(), std::less<MaterialDesc*>());
        for (const Keys& keys : row.shape)
            SetMaterial(AddCharacter(keys.fvf, Pick<int>({0, 0, 1, 2, -10})), byAddress[keys.record]);
        ASSERT_NO_FATAL_FAILURE(Compare());

        // The first sort, one of the ordered registry, then two after changes.
        for (int changes : {0, 0, 10, 40})
        {
            for (int change = 0; change < changes; ++change)
            {
                const Held& held = Pick(characters);
                if (Uniform(0, 1) == 0)
                    SetMaterial(held.character, Pick(byAddress));
                else
                    Recreate(held, Pick(row.shape).fvf, Pick<int>({0, 1, -10}));
            }
            RequestSort();
            RenderFrame();
            ASSERT_NO_FATAL_FAILURE(Compare());
        }
    }
}

}  // namespace
