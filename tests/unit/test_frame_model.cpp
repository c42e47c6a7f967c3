// The frame against a plain model of its rules (FrameModel.h): random host
// programs of creates and destroys of every kind, geometry with new formats
// and layers, material records set, changed and destroyed while characters
// hold them, re-sort requests, device loss and reset. After every call the
// plug-in's device calls that the draw order and the caches decide must be
// the model's, and so must every result. Under AddressSanitizer the memory
// of destroyed records is checked too: kept exactly while a character or the
// frame's cache refers to it, freed as soon as nothing does.

#include <gtest/gtest.h>

#include <standin/Recorder.h>

#include <climits>
#include <cstdint>
#include <random>
#include <regex>
#include <set>
#include <string>
#include <vector>

#include "AllocationCounter.h"
#include "FrameModel.h"
#include "IGraphics.h"
#include "RecordingLogger.h"
#include "VideoSettings.h"

#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/asan_interface.h>
#endif

namespace {

using Lines = std::vector<std::string>;

// The recorded device calls that the model writes, in its words.
Lines ModelledCalls()
{
    static const std::regex number(R"([-+]?(\d+\.?\d*(e[-+]?\d+)?|inf|nan))");
    Lines calls;
    for (const standin::Call& call : standin::Calls())
    {
        if (call.name == "SetFVF")
            calls.push_back("SetFVF(" + call.args + ")");
        else if (call.name == "SetRenderState" && call.args.compare(0, 3, "7, ") == 0)
            calls.push_back(call.Text());
        else if (call.name == "Reset" || call.name == "Present" || call.name == "BeginScene" ||
                 call.name == "EndScene")
            calls.push_back(call.name);
        else if (call.name == "DrawIndexedPrimitive")
        {
            // Type, base vertex, minimum index, then the vertex count.
            std::vector<std::string> fields;
            for (std::sregex_iterator it(call.args.begin(), call.args.end(), number), end; it != end; ++it)
                fields.push_back(it->str());
            calls.push_back("Draw(" + fields.at(3) + ")");
        }
        else if (call.name == "SetMaterial")
        {
            std::string values;
            for (std::sregex_iterator it(call.args.begin(), call.args.end(), number), end; it != end; ++it)
                values += (values.empty() ? "" : ", ") + FrameModel::Number(std::stod(it->str()));
            calls.push_back("SetMaterial(" + values + ")");
        }
    }
    return calls;
}

// One random host program, run on the plug-in and on the model side by side.
class HostProgram
{
public:
    explicit HostProgram(unsigned seed) : random(seed) {}

    ~HostProgram()
    {
        if (graphics != nullptr)
        {
            graphics->DestroyGraphicsSystem();
            graphics->Destroy();
        }
    }

    void Start()
    {
        standin::Reset();
        GetPlugin(&graphics);
        ASSERT_NE(graphics, nullptr);
        ASSERT_EQ(CreateGraphicsSystem(*graphics, nullptr, &logger, VideoSettings()), 0);
        standin::ClearCalls();
    }

    // One host call (or a device event), then the comparison.
    void Step()
    {
        switch (Uniform(0, 19))
        {
        case 0: case 1: AddCharacter(); break;
        case 2: Recreate(); break;
        case 3: case 4: SetMaterial(); break;
        case 5: ChangeRecord(); break;
        case 6: CreateMaterial(); break;
        case 7: DestroyMaterial(); break;
        case 8: DestroyCharacter(); break;
        case 9: Note("RequestSort"); graphics->RequestSort(); model.RequestSort(); break;
        case 10: LoseDevice(); break;
        case 11: OtherObjects(); break;
        default: Note("RenderFrame"); Expect(graphics->RenderFrame(), model.RenderFrame()); break;
        }
        ASSERT_EQ(ModelledCalls(), model.TakeCalls()) << Program();
        standin::ClearCalls();
        CheckDestroyedRecords();
    }

    // The calls so far, for a failure's message.
    std::string Program() const
    {
        std::string text = "\nThe host program:\n";
        for (const std::string& call : steps)
            text += "  " + call + "\n";
        return text;
    }

private:
    int Uniform(int low, int high) { return std::uniform_int_distribution<int>(low, high)(random); }

    template <typename Item>
    Item Pick(const std::vector<Item>& items)
    {
        return items.empty() ? nullptr : items[static_cast<std::size_t>(Uniform(0, static_cast<int>(items.size()) - 1))];
    }

    template <typename Item>
    static void Forget(std::vector<Item>& items, Item item)
    {
        items.erase(std::remove(items.begin(), items.end(), item), items.end());
    }

    static std::string Name(const void* object)
    {
        char text[32];
        std::snprintf(text, sizeof text, "%p", object);
        return text;
    }

    void Note(const std::string& call) { steps.push_back(call); }

    void Expect(int actual, int modelled)
    {
        EXPECT_EQ(actual, modelled) << "result of " << steps.back() << Program();
    }

    // Formats with the top bit set order as negative numbers.
    std::uint32_t AnyFormat()
    {
        static const std::uint32_t formats[] = {0, 0x002, 0x042, 0x112, 0x142, 0x152, 0x80000042u};
        return formats[Uniform(0, 6)];
    }

    int AnyLayer()
    {
        static const int layers[] = {-10, -10, -1, 0, 0, 1, 2, 3, 7, 1000000, INT_MAX};
        return layers[Uniform(0, 10)];
    }

    // Geometry with a vertex count of the character's own: its draws carry it.
    void Create(ICharacter* character, std::uint32_t vertexCount)
    {
        const float vertices[9] = {0, 0, 0, 1, 0, 0, 0, 1, 0};
        const std::uint32_t indices[3] = {0, 1, 2};
        const std::uint32_t fvf = AnyFormat();
        const int layer = AnyLayer();
        Note(Name(character) + "->Create(fvf " + std::to_string(fvf) + ", layer " + std::to_string(layer) + ")");
        Expect(character->Create(vertexCount, layer, fvf, sizeof vertices, 12, 3, vertices, indices), 0);
        model.Create(character, fvf, layer);
    }

    void AddCharacter()
    {
        if (characters.size() >= 12)
            return;
        ICharacter* character = graphics->CreateCharacter();
        Note("CreateCharacter() = " + Name(character));
        ASSERT_NE(character, nullptr);
        characters.push_back(character);
        vertexCounts.push_back(nextVertexCount);
        model.CreateCharacter(character, nextVertexCount);
        Create(character, nextVertexCount++);
    }

    void Recreate()
    {
        if (characters.empty())
            return;
        const std::size_t i = static_cast<std::size_t>(Uniform(0, static_cast<int>(characters.size()) - 1));
        Create(characters[i], vertexCounts[i]);
    }

    // A registered record, or the record another character holds, which may
    // be one the host has destroyed since.
    void SetMaterial()
    {
        ICharacter* character = Pick(characters);
        if (character == nullptr)
            return;
        ICharacter* source = Pick(characters);
        MaterialDesc* record = Uniform(0, 1) == 0 ? Pick(records) : source->GetMaterial();
        if (record == nullptr)
            return;
        Note(Name(character) + "->SetMaterial(" + Name(record) + ")");
        Expect(character->SetMaterial(record), 0);
        model.SetMaterial(character, record);
    }

    // Values of their own in every field, so that each SetMaterial shows
    // which record, and which state of it, was copied.
    void ChangeRecord()
    {
        MaterialDesc* record = Pick(records);
        if (record == nullptr)
            return;
        Note("change " + Name(record) + " to " + std::to_string(nextValue));
        float* values = &record->ambient[0];
        for (int i = 0; i < 13; ++i)
            values[i] = nextValue + i / 16.0f;
        nextValue += 1;
    }

    // A new record never has an address that a character or the frame's
    // cache still refers to.
    void CreateMaterial()
    {
        if (records.size() >= 6)
            return;
        MaterialDesc* record = graphics->CreateMaterial();
        Note("CreateMaterial() = " + Name(record));
        ASSERT_NE(record, nullptr);
        ASSERT_EQ(model.RecordsReferred().count(record), 0u) << "a record in use got a new record's address"
                                                             << Program();
        records.push_back(record);
        model.CreateMaterial(record);
        Forget(destroyed, static_cast<const MaterialDesc*>(record));
    }

    // A registered record, or what a character holds: a destroyed record's
    // second destroy must be refused.
    void DestroyMaterial()
    {
        ICharacter* holder = Pick(characters);
        MaterialDesc* record = Uniform(0, 2) > 0 || holder == nullptr ? Pick(records) : holder->GetMaterial();
        if (record == nullptr)
            return;
        Note("DestroyMaterial(" + Name(record) + ")");
        const int result = model.DestroyMaterial(record);
        Expect(graphics->DestroyMaterial(record), result);
        Forget(records, record);
        if (result == 0)
            destroyed.push_back(record);
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
                Forget(destroyed, record);
        }
#endif
    }

    void DestroyCharacter()
    {
        ICharacter* character = Pick(characters);
        if (character == nullptr)
            return;
        Note("DestroyCharacter(" + Name(character) + ")");
        Expect(graphics->DestroyCharacter(character), model.DestroyCharacter(character));
        const std::size_t i = static_cast<std::size_t>(std::find(characters.begin(), characters.end(), character) -
                                                       characters.begin());
        characters.erase(characters.begin() + static_cast<std::ptrdiff_t>(i));
        vertexCounts.erase(vertexCounts.begin() + static_cast<std::ptrdiff_t>(i));
    }

    // Lost until it may be reset, which the next frame then does.
    void LoseDevice()
    {
        if (!lost)
        {
            Note("device lost");
            standin::LoseDevice();
            model.LoseDevice();
        }
        else
        {
            Note("device may be reset");
            standin::MakeDeviceResettable();
            model.MakeDeviceResettable();
        }
        lost = !lost;
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
            if (blank)
            {
                const std::uint32_t pixels[4] = {};
                texture->AddData(pixels, 2, 2);
            }
            if (std::find(textures.begin(), textures.end(), texture) == textures.end())
                textures.push_back(texture);
            break;
        }
        case 1:
            if (ICharacter* character = Pick(characters))
            {
                Note(Name(character) + "->SetTextures(...)");
                character->SetTextures(Pick(textures), 1);
            }
            break;
        case 2:
            if (ITexture* texture = Pick(textures))
            {
                Note("DestroyTexture(...)");
                EXPECT_EQ(graphics->DestroyTexture(texture), 0);
                Forget(textures, texture);
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
            if (ILight* light = Pick(lights))
            {
                Note("DestroyLight(...)");
                EXPECT_EQ(graphics->DestroyLight(light), 0);
                Forget(lights, light);
            }
            break;
        case 5:
        {
            Note("CreateFont(...)->AddText(...)");
            IFont* font = graphics->CreateFont("Arial", 0, 12 + Uniform(0, 1), 400);
            ASSERT_NE(font, nullptr);
            font->AddText("text", 0xFFFFFFFF, 0, 0, 100, 20);
            if (std::find(fonts.begin(), fonts.end(), font) == fonts.end())
                fonts.push_back(font);
            break;
        }
        case 6:
            if (IFont* font = Pick(fonts))
            {
                Note("DestroyFont(...)");
                EXPECT_EQ(graphics->DestroyFont(font), 0);
                Forget(fonts, font);
            }
            break;
        }
    }

    std::mt19937 random;
    RecordingLogger logger;
    IGraphics* graphics = nullptr;
    FrameModel model;
    std::vector<ICharacter*> characters;
    std::vector<std::uint32_t> vertexCounts;  // beside each character
    std::vector<MaterialDesc*> records;       // registered
    std::vector<const MaterialDesc*> destroyed;  // and not yet seen freed
    std::vector<ITexture*> textures;
    std::vector<ILight*> lights;
    std::vector<IFont*> fonts;
    std::uint32_t nextVertexCount = 3;
    float nextValue = 1;
    bool lost = false;
    std::vector<std::string> steps;
};

TEST(FrameModel, RandomHostProgramsMakeTheModelsDeviceCalls)
{
    for (unsigned seed = 1; seed <= 200; ++seed)
    {
        SCOPED_TRACE("seed " + std::to_string(seed));
        HostProgram program(seed);
        ASSERT_NO_FATAL_FAILURE(program.Start());
        for (int step = 0; step < 150 && !::testing::Test::HasFailure(); ++step)
            ASSERT_NO_FATAL_FAILURE(program.Step());
        ASSERT_FALSE(::testing::Test::HasFailure());
    }
}

}  // namespace
