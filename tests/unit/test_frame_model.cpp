// The frame against a plain model of its rules (FrameModel.h): host programs
// run on the plug-in and on the model side by side, random ones and large
// registries in the shapes that are hard for a fast sort. After every call
// the device calls that the draw order and the caches decide, and every
// result, must be the model's. Under AddressSanitizer a destroyed record's
// memory must be kept exactly while a character or the frame's cache refers
// to it.

#include <standin/Recorder.h>

#include <algorithm>
#include <climits>
#include <cstdint>
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
        if (call.name == "Reset" || call.name == "Present" || call.name == "BeginScene" || call.name == "EndScene")
            calls.push_back(call.name);
        else if (call.name == "SetFVF" || call.name == "SetMaterial" || call.name == "DrawIndexedPrimitive" ||
                 (call.name == "SetRenderState" && call.args.compare(0, 3, "7, ") == 0))
            calls.push_back(call.Text());
    return calls;
}

template <typename Item>
void Remove(std::vector<Item>& items, Item item)
{
    items.erase(std::remove(items.begin(), items.end(), item), items.end());
}

class FrameModelTest : public HostTest
{
protected:
    using Device = FrameModel::Device;

    struct Held
    {
        ICharacter* character;
        std::uint32_t vertexCount;  // its own: its draws carry it
        std::uint32_t fvf;
    };

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
        random.seed(seed);
        nextVertexCount = 3;
        topLayer = 2;
        ASSERT_EQ(Create(), 0);
        model.CreateGraphicsSystem();
        Compare();
    }

    // The device calls since the last comparison must be the model's.
    void Compare()
    {
        ASSERT_EQ(ModelledCalls(), model.TakeCalls());
        standin::ClearCalls();
        CheckDestroyedRecords();
    }

    // --- Host calls, made on both sides --------------------------------------------

    ICharacter* AddCharacter(std::uint32_t fvf, int layer)
    {
        ICharacter* character = graphics->CreateCharacter();
        characters.push_back({character, nextVertexCount++, fvf});
        model.CreateCharacter(character, characters.back().vertexCount);
        Recreate(characters.back(), fvf, layer);
        return character;
    }

    void Recreate(Held& held, std::uint32_t fvf, int layer)
    {
        held.fvf = fvf;
        const float vertices[9] = {0, 0, 0, 1, 0, 0, 0, 1, 0};
        const std::uint32_t indices[3] = {0, 1, 2};
        EXPECT_EQ(held.character->Create(held.vertexCount, layer, fvf, sizeof vertices, 12, 3, vertices, indices), 0);
        model.Create(held.character, fvf, layer);
    }

    void SetMaterial(ICharacter* character, MaterialDesc* record)
    {
        EXPECT_EQ(character->SetMaterial(record), 0);
        model.SetMaterial(character, record);
    }

    // A new record never has an address that something still refers to.
    MaterialDesc* CreateMaterial()
    {
        MaterialDesc* record = graphics->CreateMaterial();
        EXPECT_EQ(model.RecordsReferred().count(record), 0u) << "a record in use was handed out again";
        records.push_back(record);
        Remove(destroyed, static_cast<const MaterialDesc*>(record));
        return record;
    }

    // Only the registry sees a destroy: characters keep their pointer and
    // their copy of the values, and the frame only ever compares the pointer.
    void DestroyMaterial(MaterialDesc* record)
    {
        const bool registered = std::find(records.begin(), records.end(), record) != records.end();
        EXPECT_EQ(graphics->DestroyMaterial(record), registered ? 0 : 1);
        if (registered)
            destroyed.push_back(record);
        Remove(records, record);
    }

    void RenderFrame() { EXPECT_EQ(graphics->RenderFrame(), model.RenderFrame()); }

    // --- Random programs -------------------------------------------------------------

    // One host call (or a device event) with random arguments, then the comparison.
    void RandomStep()
    {
        switch (Uniform(0, 19))
        {
        case 0: case 1:
            if (characters.size() < 12)
                AddCharacter(AnyFormat(), AnyLayer());
            break;
        case 2:  // half the time in the same format, which asks for no sort
            if (!characters.empty())
            {
                Held& held = AnyCharacter();
                Recreate(held, Uniform(0, 1) == 0 ? held.fvf : AnyFormat(), AnyLayer());
            }
            break;
        case 3: case 4:  // now and then its own record again, as a host applies changed values
            if (!characters.empty())
            {
                ICharacter* character = AnyCharacter().character;
                MaterialDesc* record = Uniform(0, 3) == 0 ? character->GetMaterial() : AnyRecord();
                if (record != nullptr)
                    SetMaterial(character, record);
            }
            break;
        case 5: ChangeRecord(); break;
        case 6:
            if (records.size() < 6)
                CreateMaterial();
            break;
        case 7:
            if (MaterialDesc* record = AnyRecord())
                DestroyMaterial(record);
            break;
        case 8: DestroyCharacter(); break;
        case 9: graphics->RequestSort(); model.RequestSort(); break;
        case 10:  // lost, then resettable, which the next frame then resets
            if (model.device == Device::Lost)
            {
                standin::MakeDeviceResettable();
                model.device = Device::Resettable;
            }
            else
            {
                standin::LoseDevice();
                model.device = Device::Lost;
            }
            break;
        case 11:
            if (Uniform(0, 4) == 0)
                NewDevice();
            break;
        default: RenderFrame(); break;
        }
        Compare();
    }

    int Uniform(int low, int high) { return std::uniform_int_distribution<int>(low, high)(random); }

    std::size_t AnyIndex(std::size_t size) { return static_cast<std::size_t>(Uniform(0, static_cast<int>(size) - 1)); }

    template <typename Item>
    Item Pick(const std::vector<Item>& items) { return items[AnyIndex(items.size())]; }

    Held& AnyCharacter() { return characters[AnyIndex(characters.size())]; }

    // Formats with the top bit set order as negative numbers.
    std::uint32_t AnyFormat() { return Pick<std::uint32_t>({0, 0x002, 0x042, 0x112, 0x142, 0x152, 0x80000042u}); }

    // Small layers, and now and then a layer above every one so far, so
    // that a Create keeps raising a layer over the highest layer: only a
    // sort lets it be drawn, which shows whether a frame sorted. Rarely one
    // far up.
    int AnyLayer()
    {
        if (Uniform(0, 40) == 0)
            return Pick<int>({1000000, INT_MAX});
        if (Uniform(0, 3) == 0)
            return ++topLayer;
        return Pick<int>({-10, -10, -1, 0, 0, 1, 2});
    }

    // A registered record, or the record a character holds, which may be one
    // the host has destroyed since (and whose second destroy is refused).
    MaterialDesc* AnyRecord()
    {
        if (Uniform(0, 1) == 0 && !characters.empty())
            return AnyCharacter().character->GetMaterial();
        return records.empty() ? nullptr : Pick(records);
    }

    // A value of its own in every field, so that each SetMaterial shows which
    // record, and which state of it, was copied.
    void ChangeRecord()
    {
        if (!records.empty())
            std::fill_n(&Pick(records)->ambient[0], 13, nextValue++);
    }

    void DestroyCharacter()
    {
        if (characters.empty())
            return;
        const auto held = characters.begin() + static_cast<std::ptrdiff_t>(AnyIndex(characters.size()));
        EXPECT_EQ(graphics->DestroyCharacter(held->character), model.DestroyCharacter(held->character));
        characters.erase(held);
    }

    // Shutdown and a new device, on the same graphics system object.
    void NewDevice()
    {
        if (model.device != Device::Working)
            return;
        EXPECT_EQ(graphics->DestroyGraphicsSystem(), 0);
        model.DestroyGraphicsSystem();
        ForgetObjects();
        EXPECT_EQ(Create(), 0);
        model.CreateGraphicsSystem();
    }

    // Shutdown destroys every object: the host forgets them all.
    void ForgetObjects()
    {
        characters.clear();
        records.clear();
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
                << "destroyed record " << record << (kept ? " is referred to but freed" : " is kept");
            if (!kept)
                Remove(destroyed, record);
        }
#endif
    }

    std::mt19937 random;
    FrameModel model;
    std::vector<Held> characters;
    std::vector<MaterialDesc*> records;          // registered
    std::vector<const MaterialDesc*> destroyed;  // and not yet seen freed
    std::uint32_t nextVertexCount = 3;
    int topLayer = 2;
    float nextValue = 1;
};

TEST_F(FrameModelTest, RandomHostProgramsMakeTheModelsDeviceCalls)
{
    for (unsigned seed = 1; seed <= 200; ++seed)
    {
        SCOPED_TRACE("seed " + std::to_string(seed));
        ASSERT_NO_FATAL_FAILURE(Start(seed));
        for (int step = 0; step < 150; ++step)
        {
            SCOPED_TRACE("step " + std::to_string(step));
            ASSERT_NO_FATAL_FAILURE(RandomStep());
        }
        ASSERT_FALSE(HasFailure());
    }
}

// --- Large registries -------------------------------------------------------------------

// A character of a large registry, in creation order: its format and the
// rank of its record's address among the registry's records.
struct Keys
{
    std::uint32_t fvf;
    std::size_t record;
};

// Keys drawn at random from `formats` formats (every other one negative as
// a signed number) and `records` records.
std::vector<Keys> Shuffled(std::mt19937& random, std::size_t count, std::uint32_t formats, std::size_t records)
{
    std::vector<Keys> shape;
    for (std::size_t i = 0; i < count; ++i)
    {
        const std::uint32_t format = random() % formats;
        shape.push_back({0x002 + format * 0x40 + (format % 2 == 1 ? 0x80000000u : 0), random() % records});
    }
    return shape;
}

// Equal keys with ever longer runs of keys that come before them in between:
// about half the members seen so far each time, so that the exchanges turn
// the members round by half a turn each time.
std::vector<Keys> HalfTurns(std::size_t members, Keys member, Keys earlier)
{
    std::vector<Keys> shape;
    for (std::size_t k = 0; k < members; ++k)
    {
        shape.push_back(member);
        shape.insert(shape.end(), k / 2 + k % 3, earlier);
    }
    return shape;
}

// Hundreds of characters sorted from their creation order, then again as an
// ordered registry, then again after a few or many changes of every kind: the
// ordered registry with some characters added or changed is where the sort
// does the least work.
TEST_F(FrameModelTest, LargeRegistriesAreDrawnInTheModelsOrder)
{
    std::mt19937 shapes(7);
    const struct
    {
        const char* name;
        std::vector<Keys> shape;
    } kShapes[] = {
        {"few formats and records", Shuffled(shapes, 600, 4, 3)},
        {"many records", Shuffled(shapes, 400, 2, 80)},
        {"many formats", Shuffled(shapes, 400, 40, 2)},
        {"half turns of a format", HalfTurns(80, {0x42, 0}, {0x142, 0})},
        {"half turns of a record", HalfTurns(80, {0x42, 1}, {0x42, 0})},
    };
    for (const auto& row : kShapes)
    {
        SCOPED_TRACE(row.name);
        ASSERT_NO_FATAL_FAILURE(Start(11));
        std::vector<MaterialDesc*> byAddress;
        for (const Keys& keys : row.shape)
            while (byAddress.size() <= keys.record)
                byAddress.push_back(CreateMaterial());
        std::sort(byAddress.begin(), byAddress.end(), std::less<MaterialDesc*>());
        for (const Keys& keys : row.shape)
            SetMaterial(AddCharacter(keys.fvf, Pick<int>({0, 0, 1, 2, -10})), byAddress[keys.record]);

        for (int changes : {0, 0, 1, 1, 3, 10, 40})
        {
            for (int change = 0; change < changes; ++change)
            {
                Held& held = AnyCharacter();
                switch (Uniform(0, 6))
                {
                case 0: SetMaterial(held.character, Pick(byAddress)); break;
                case 1: SetMaterial(held.character, CreateMaterial()); break;
                case 2: Recreate(held, Pick(row.shape).fvf, Pick<int>({0, 1, -10})); break;
                case 3: Recreate(held, AnyFormat() + 0x1000u * static_cast<std::uint32_t>(Uniform(0, 3)), 0); break;
                case 4: Recreate(held, held.fvf, Pick<int>({0, 1, 2, -10})); break;
                case 5: SetMaterial(AddCharacter(Pick(row.shape).fvf, Pick<int>({0, 1, -10})), Pick(byAddress)); break;
                default: DestroyCharacter(); break;
                }
            }
            graphics->RequestSort();
            model.RequestSort();
            RenderFrame();
            ASSERT_NO_FATAL_FAILURE(Compare());
        }
    }
}

}  // namespace
