// A hostile host: turns its input into a sequence of calls through the
// plug-in's interfaces on the recording device, misuse included (objects
// destroyed while in use or twice, stale and null pointers, any layer and
// size, very long names and texts, calls before the system exists and after
// it is gone, objects and the camera released by the host, device loss and
// resets at any point, failing device calls). What it never does is break
// the part of the contract the plug-in cannot check: every block it hands
// over holds as many bytes as the sizes beside it say, and it calls no
// object operation on an object that has been destroyed.
//
// Any crash, sanitizer finding or Direct3D object left alive after shutdown
// is a finding.

#include <fuzzer/FuzzedDataProvider.h>

#include <standin/Recorder.h>

#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "IGraphics.h"
#include "RecordingLogger.h"
#include "VideoSettings.h"

namespace {

// Real allocations stay within what the machine holds: blocks handed to
// the plug-in are at most this many bytes.
const std::size_t kMaxBlockBytes = 64 * 1024;
// Names and texts up to tens of thousands of characters.
const std::size_t kMaxTextLength = 40000;
// Host calls per input.
const int kMaxCalls = 300;

// The operations a fault may hit, with the results they then give.
const char* const kFallibleCalls[] = {
    "CreateDevice", "Reset", "Present", "BeginScene", "EndScene", "Clear", "SetTransform",
    "SetMaterial", "SetLight", "LightEnable", "SetRenderState", "SetTexture",
    "SetTextureStageState", "DrawIndexedPrimitive", "SetFVF", "SetStreamSource", "SetIndices",
    "CreateVertexBuffer", "CreateIndexBuffer", "VertexBuffer.Lock", "VertexBuffer.Unlock",
    "IndexBuffer.Lock", "IndexBuffer.Unlock", "Texture.LockRect", "Texture.UnlockRect",
    "D3DXCreateTexture", "D3DXCreateTextureFromFileExW", "D3DXCreateFontW",
    "Font.OnLostDevice", "Font.OnResetDevice", "GetBackBuffer", "GetDeviceCaps",
    "Direct3DCreate9", "D3DXSaveSurfaceToFileW", "TestCooperativeLevel"};
const HRESULT kFailures[] = {D3DERR_INVALIDCALL, E_OUTOFMEMORY, D3DERR_OUTOFVIDEOMEMORY,
                             D3DERR_DEVICELOST, D3DERR_DEVICENOTRESET, E_FAIL, S_FALSE};

template <typename T>
T* Pick(FuzzedDataProvider& input, const std::vector<T*>& pool)
{
    if (pool.empty())
        return nullptr;
    return pool[input.ConsumeIntegralInRange<std::size_t>(0, pool.size() - 1)];
}

template <typename T>
void AddOnce(std::vector<T*>& pool, T* object)
{
    if (object != nullptr && std::find(pool.begin(), pool.end(), object) == pool.end())
        pool.push_back(object);
}

// Moves an object the graphics system has destroyed from the live pool to
// the stale one; stale pointers go only to the graphics system's destroy
// operations, which must refuse them.
template <typename T>
void Bury(std::vector<T*>& live, std::vector<T*>& stale, T* object)
{
    const auto found = std::find(live.begin(), live.end(), object);
    if (found == live.end())
        return;
    live.erase(found);
    stale.push_back(object);
}

// Shutdown destroys every object of a kind.
template <typename T>
void BuryAll(std::vector<T*>& live, std::vector<T*>& stale)
{
    stale.insert(stale.end(), live.begin(), live.end());
    live.clear();
}

class HostileHost
{
public:
    explicit HostileHost(FuzzedDataProvider& input) : input(input) {}

    void Run()
    {
        standin::AdapterConfig adapter;
        adapter.maxActiveLights = input.ConsumeIntegralInRange<DWORD>(0, 12);
        adapter.lockPitch = input.ConsumeBool() ? 0 : 4 * input.ConsumeIntegralInRange<INT>(1, 64);
        standin::Reset(adapter);
        standin::SetRecording(false);

        GetPlugin(&graphics);
        if (graphics == nullptr)
            return;
        for (int call = 0; call < kMaxCalls && input.remaining_bytes() > 0; ++call)
            OneCall();
        graphics->DestroyGraphicsSystem();
        graphics->Destroy();
        standin::ClearFaults();

        const std::vector<std::string> alive = standin::LiveObjects();
        if (!alive.empty())
        {
            std::fprintf(stderr, "Direct3D objects alive after shutdown: %s ...\n", alive[0].c_str());
            std::abort();
        }
    }

private:
    // Frames and character operations come twice as often as the rest.
    void OneCall()
    {
        switch (input.ConsumeIntegralInRange(0, 21))
        {
        case 0: CreateSystem(); break;
        case 1: DestroySystem(); break;
        case 2: case 21: graphics->RenderFrame(); break;
        case 3: GraphicsSetters(); break;
        case 4: AddCharacter(); break;
        case 5: case 6: CharacterCall(Pick(input, characters)); break;
        case 7: AddTexture(); break;
        case 8: TextureCall(Pick(input, textures)); break;
        case 9: AddOnce(materials, graphics->CreateMaterial()); break;
        case 10: ChangeRecord(); break;
        case 11: AddOnce(lights, graphics->CreateLight()); break;
        case 12: LightCall(Pick(input, lights)); break;
        case 13: AddFont(); break;
        case 14: FontCall(Pick(input, fonts)); break;
        case 15: CameraCall(); break;
        case 16: Destroy(false); break;
        case 17: Destroy(true); break;
        case 18: DeviceLoss(); break;
        case 19: InjectFault(); break;
        case 20: graphics->SaveScreenshot(input.ConsumeBool() ? nullptr : Text().c_str()); break;
        }
    }

    // --- Strings, numbers and blocks --------------------------------------------

    // Mostly short names; sometimes tens of thousands of characters.
    const std::string& Text()
    {
        const std::size_t length = input.ConsumeBool()
                                       ? input.ConsumeIntegralInRange<std::size_t>(0, 16)
                                       : input.ConsumeIntegralInRange<std::size_t>(0, kMaxTextLength);
        text = input.ConsumeBytesAsString(std::min<std::size_t>(length, 64));
        // A long text repeats what the input gave, so that long inputs are not needed.
        while (text.size() < length)
            text += text.empty() ? std::string("x") : text;
        text.resize(length);
        return text;
    }

    // Small values, edges and anything at all.
    int AnyInt()
    {
        switch (input.ConsumeIntegralInRange(0, 3))
        {
        case 0: return input.ConsumeIntegralInRange(-16, 16);
        case 1: return input.PickValueInArray({INT_MIN, INT_MIN + 1, -10, -1, 0, 1, 2, INT_MAX - 1, INT_MAX});
        default: return input.ConsumeIntegral<int>();
        }
    }

    std::uint32_t AnySize()
    {
        if (input.ConsumeBool())
            return input.ConsumeIntegralInRange<std::uint32_t>(0, 64);
        return input.PickValueInArray<std::uint32_t>({0u, 1u, 3u, 0x3FFFFFFFu, 0x40000000u, 0x7FFFFFFFu,
                                                      0x80000000u, 0xFFFFFFFEu, 0xFFFFFFFFu,
                                                      input.ConsumeIntegral<std::uint32_t>()});
    }

    float AnyFloat()
    {
        if (input.ConsumeBool())
            return static_cast<float>(input.ConsumeIntegralInRange(-720, 720));
        return input.PickValueInArray({0.0f, -0.0f, 1e30f, -1e30f, 1e-40f, 360.0f, 1e9f,
                                       __builtin_inff(), -__builtin_inff(), __builtin_nanf(""),
                                       input.ConsumeFloatingPoint<float>()});
    }

    // Any layer, INT_MIN to INT_MAX: the frame's cost does not depend on the numbers.
    int AnyLayer() { return AnyInt(); }

    // A block of exactly `bytes` bytes (bounded), filled from the input.
    const unsigned char* Block(std::size_t bytes)
    {
        block.assign(bytes, 0);
        const std::vector<unsigned char> given = input.ConsumeBytes<unsigned char>(std::min<std::size_t>(bytes, 256));
        std::copy(given.begin(), given.end(), block.begin());
        return block.data();
    }

    // --- The graphics system ------------------------------------------------------

    void CreateSystem()
    {
        // A second CreateGraphicsSystem without DestroyGraphicsSystem in between
        // is not a call a host can make: there is only one device.
        if (systemMade)
            return;
        systemMade = true;
        ILogger* hostLogger = input.ConsumeBool() ? &logger : nullptr;
        VideoSettings video;
        video.colourDepth = input.PickValueInArray({32, 16, 24, 0});
        video.height = input.ConsumeIntegralInRange(1, 2048);
        video.width = input.ConsumeIntegralInRange(1, 2048);
        video.backBufferCount = input.ConsumeIntegralInRange(0, 3);
        video.windowed = input.ConsumeBool();
        video.vsync = input.ConsumeBool();
        video.multisampleType = input.ConsumeIntegralInRange(0, 16);
        video.multisampleQuality = input.ConsumeIntegralInRange(0, 4);
        video.maxVisibleDepth = AnyFloat();
        CreateGraphicsSystem(*graphics, nullptr, hostLogger, video);
    }

    void DestroySystem()
    {
        graphics->DestroyGraphicsSystem();
        systemMade = false;
        BuryAll(characters, deadCharacters);
        BuryAll(textures, deadTextures);
        BuryAll(materials, deadMaterials);
        BuryAll(lights, deadLights);
        BuryAll(fonts, deadFonts);
    }

    void GraphicsSetters()
    {
        switch (input.ConsumeIntegralInRange(0, 8))
        {
        case 0: graphics->Clear(input.ConsumeIntegral<std::uint32_t>()); break;
        case 1: graphics->SetFillMode(AnyInt()); break;
        case 2: graphics->SetLighting(input.ConsumeBool()); break;
        case 3: graphics->SetAmbientLight(input.ConsumeIntegral<std::uint32_t>()); break;
        case 4: graphics->BeginScene(); break;
        case 5: graphics->EndScene(); break;
        case 6: graphics->RequestSort(); break;
        case 7: graphics->GetScreenHeight(); break;
        case 8: graphics->GetScreenWidth(); break;
        }
    }

    void DeviceLoss()
    {
        switch (input.ConsumeIntegralInRange(0, 2))
        {
        case 0: standin::LoseDevice(); break;
        case 1: standin::MakeDeviceResettable(); break;
        case 2:
            standin::ScriptCooperativeLevel({input.PickValueInArray(
                {D3D_OK, D3DERR_DEVICELOST, D3DERR_DEVICENOTRESET, D3DERR_DRIVERINTERNALERROR})});
            break;
        }
    }

    void InjectFault()
    {
        const char* operation = input.PickValueInArray(kFallibleCalls);
        const HRESULT failure = input.PickValueInArray(kFailures);
        if (input.ConsumeBool())
            standin::FailNext(operation, failure, input.ConsumeIntegralInRange(0, 8));
        else
            standin::ClearFaults();
    }

    // --- Characters ---------------------------------------------------------------------

    void AddCharacter()
    {
        ICharacter* character = graphics->CreateCharacter();
        AddOnce(characters, character);
        if (character != nullptr && input.ConsumeBool())
            Create(character);
    }

    // Geometry of any counts, layer and format; the blocks always hold what
    // the byte size and the index count say, or the index count is one the
    // plug-in refuses before it reads (negative, or no 32-bit buffer size).
    void Create(ICharacter* character)
    {
        const std::uint32_t vertexBytes = input.ConsumeIntegralInRange<std::uint32_t>(0, kMaxBlockBytes / 2);
        const int indexCount = input.ConsumeIntegralInRange(0, 3) == 0
                             ? input.PickValueInArray({-1, INT_MIN, 0x40000000, INT_MAX})
                             : input.ConsumeIntegralInRange(0, 3000);
        Block(vertexBytes);
        const std::vector<unsigned char> vertices = block;
        const std::size_t indexWords = indexCount > 0 && indexCount <= 3000 ? static_cast<std::size_t>(indexCount) : 0;
        std::vector<std::uint32_t> indices(indexWords);
        for (std::uint32_t& index : indices)
            index = input.ConsumeBool() ? input.ConsumeIntegralInRange<std::uint32_t>(0, 8) : AnySize();
        // Counts the plug-in must refuse come with a real (small) block, so
        // that they are refused for their size and not for a null pointer.
        static const std::uint32_t kSmallBlock[3] = {0, 1, 2};
        const std::uint32_t* indexBlock = indexWords > 0 ? indices.data() : kSmallBlock;
        character->Create(AnySize(), AnyLayer(), input.ConsumeIntegral<std::uint32_t>(), vertexBytes, AnySize(),
                          indexCount, input.ConsumeBool() && vertexBytes == 0 ? nullptr : vertices.data(),
                          input.ConsumeBool() && indexWords == 0 ? nullptr : indexBlock);
    }

    void CharacterCall(ICharacter* character)
    {
        if (character == nullptr)
            return;
        switch (input.ConsumeIntegralInRange(0, 14))
        {
        case 0: Create(character); break;
        case 1: character->SetTextures(Pick(input, textures), AnyInt()); break;
        case 2:
        {
            // A registered record, or the one another character holds, which
            // may have been destroyed since.
            ICharacter* source = Pick(input, characters);
            character->SetMaterial(input.ConsumeBool() ? Pick(input, materials) : source->GetMaterial());
            break;
        }
        case 3: character->SetPosition(AnyFloat(), AnyFloat(), AnyFloat()); break;
        case 4: character->SetRotation(AnyFloat(), AnyFloat(), AnyFloat()); break;
        case 5: character->SetScale(AnyFloat(), AnyFloat(), AnyFloat()); break;
        case 6: character->SetAlphaBlend(input.ConsumeBool()); break;
        case 7: character->SetTextureAlpha(input.ConsumeBool()); break;
        case 8: character->Release(); break;
        case 9: character->OnLostDevice(); break;
        case 10: character->OnResetDevice(); break;
        case 11: character->ApplyFVF(); character->ApplyBuffers(); break;
        case 12: character->ApplyTextures(); break;
        case 13: character->Render(); break;
        case 14: character->GetFVF(); character->GetLayer(); break;
        }
    }

    // --- Textures, records, lights, fonts, camera --------------------------------------

    void AddTexture()
    {
        const bool fromFile = input.ConsumeBool();
        const int stage = input.ConsumeBool() ? input.ConsumeIntegralInRange(0, 7) : AnyInt();
        AddOnce(textures, graphics->CreateTexture(fromFile ? Text().c_str() : nullptr, stage));
    }

    void TextureCall(ITexture* texture)
    {
        if (texture == nullptr)
            return;
        switch (input.ConsumeIntegralInRange(0, 7))
        {
        case 0:
        {
            // Pixels for exactly width x height words when both are positive.
            int width = AnyInt();
            int height = AnyInt();
            if (width > 0 && height > 0)
            {
                width = std::min(width, 128);
                height = std::min(height, 128);
            }
            const std::size_t words = width > 0 && height > 0 ? static_cast<std::size_t>(width) * height : 0;
            const unsigned char* pixels = Block(words * 4 + 4);
            texture->AddData(reinterpret_cast<const std::uint32_t*>(pixels), width, height);
            break;
        }
        case 1: texture->Bind(); break;
        case 2: texture->Unbind(); break;
        case 3: texture->Unload(); break;
        case 4: texture->Unload(); texture->Reload(); break;
        case 5: texture->Release(); break;
        case 6: texture->GetFileName(); texture->GetStage(); break;
        case 7: texture->AddData(nullptr, AnyInt(), AnyInt()); break;
        }
    }

    void ChangeRecord()
    {
        MaterialDesc* record = Pick(input, materials);
        if (record == nullptr)
            return;
        float* values = &record->ambient[0];
        values[input.ConsumeIntegralInRange(0, 12)] = AnyFloat();
    }

    void LightCall(ILight* light)
    {
        if (light == nullptr)
            return;
        switch (input.ConsumeIntegralInRange(0, 3))
        {
        case 0:
            light->SetProperties(AnyInt(), AnyFloat(), AnyFloat(), AnyFloat(), AnyFloat(), AnyFloat(),
                                 AnyFloat(), AnyFloat(), AnyFloat(), AnyFloat(), AnyFloat(), AnyFloat(),
                                 AnyFloat(), AnyFloat(), AnyFloat(), AnyFloat(), AnyFloat(), AnyFloat(),
                                 AnyFloat(), AnyFloat(), AnyFloat(), AnyFloat(), AnyFloat());
            break;
        case 1: light->Enable(input.ConsumeBool()); break;
        case 2: light->OnResetDevice(); break;
        case 3: light->Release(); break;
        }
    }

    void AddFont()
    {
        const bool nullName = input.ConsumeIntegralInRange(0, 15) == 0;
        AddOnce(fonts, graphics->CreateFont(nullName ? nullptr : Text().c_str(), AnyInt(), AnyInt(), AnyInt()));
    }

    void FontCall(IFont* font)
    {
        if (font == nullptr)
            return;
        switch (input.ConsumeIntegralInRange(0, 5))
        {
        case 0:
            font->AddText(input.ConsumeIntegralInRange(0, 15) == 0 ? nullptr : Text().c_str(),
                          input.ConsumeIntegral<std::uint32_t>(), AnyInt(), AnyInt(), AnyInt(), AnyInt());
            break;
        case 1: font->Render(); break;
        case 2: font->OnLostDevice(); break;
        case 3: font->OnResetDevice(); break;
        case 4: font->Release(); break;
        case 5: font->GetFaceName(); font->GetHeight(); font->GetWidth(); font->GetWeight(); break;
        }
    }

    void CameraCall()
    {
        ICamera* camera = graphics->GetCamera();
        if (camera == nullptr)
            return;
        switch (input.ConsumeIntegralInRange(0, 3))
        {
        case 0: camera->SetPosition(AnyFloat(), AnyFloat(), AnyFloat()); break;
        case 1: camera->SetRotation(AnyFloat(), AnyFloat(), AnyFloat()); break;
        case 2: camera->Apply(); break;
        case 3: camera->Release(); break;
        }
    }

    // --- Destroying ------------------------------------------------------------------------

    // A live object of one kind (or null), destroyed and moved to the stale
    // ones; or a stale one (or null), which every destroy operation must refuse.
    void Destroy(bool stale)
    {
        switch (input.ConsumeIntegralInRange(0, stale ? 5 : 4))
        {
        case 0: DestroyOne(characters, deadCharacters, &IGraphics::DestroyCharacter, stale); break;
        case 1: DestroyOne(textures, deadTextures, &IGraphics::DestroyTexture, stale); break;
        case 2: DestroyOne(materials, deadMaterials, &IGraphics::DestroyMaterial, stale); break;
        case 3: DestroyOne(lights, deadLights, &IGraphics::DestroyLight, stale); break;
        case 4: DestroyOne(fonts, deadFonts, &IGraphics::DestroyFont, stale); break;
        case 5: DestroyHeldRecord(); break;
        }
    }

    template <typename T>
    void DestroyOne(std::vector<T*>& live, std::vector<T*>& dead, int (IGraphics::*destroy)(T*), bool stale)
    {
        T* object = Pick(input, stale ? dead : live);
        (graphics->*destroy)(object);
        if (!stale)
            Bury(live, dead, object);
    }

    // The record a character holds: refused once it was destroyed.
    void DestroyHeldRecord()
    {
        ICharacter* character = Pick(input, characters);
        MaterialDesc* record = character != nullptr ? character->GetMaterial() : nullptr;
        if (std::find(materials.begin(), materials.end(), record) == materials.end())
            graphics->DestroyMaterial(record);
    }

    FuzzedDataProvider& input;
    // Formats every line as a host would, so that a wrong argument list for a
    // format shows up under the sanitizers.
    RecordingLogger logger;
    IGraphics* graphics = nullptr;
    bool systemMade = false;
    std::string text;
    std::vector<unsigned char> block;
    std::vector<ICharacter*> characters, deadCharacters;
    std::vector<ITexture*> textures, deadTextures;
    std::vector<MaterialDesc*> materials, deadMaterials;
    std::vector<ILight*> lights, deadLights;
    std::vector<IFont*> fonts, deadFonts;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzedDataProvider input(data, size);
    HostileHost(input).Run();
    return 0;
}
