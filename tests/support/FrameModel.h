#ifndef TESTS_FRAMEMODEL_H
#define TESTS_FRAMEMODEL_H

#include <charconv>
#include <cstdint>
#include <set>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "MaterialDesc.h"

// The frame's rules written out one by one as they are stated, sharing no
// code with the plug-in: the reference that host programs run beside it
// (test_frame_model.cpp). It holds what the draw order and the two caches
// depend on and writes the device calls that these decide, in the order made,
// as the recording device writes them ("SetFVF(66)", "SetRenderState(7, 0)",
// ...), Reset, Present, BeginScene and EndScene by their name only.
// Characters are told apart by their vertex count, which every draw carries.
class FrameModel
{
public:
    // Lost, Present fails; resettable, the next frame's device check starts
    // the reset sequence.
    enum class Device { Working, Lost, Resettable };
    Device device = Device::Working;

    // Creation switches depth testing on.
    void CreateGraphicsSystem() { Call("SetRenderState(7, 1)"); }

    // Every character goes, and the device with the caches; the highest
    // layer and a requested sort stay for the next device.
    void DestroyGraphicsSystem()
    {
        registry.clear();
        cachedFVF = -1;
        cachedMaterial = nullptr;
    }

    // CreateCharacter: appended, and the next frame sorts.
    void CreateCharacter(const void* handle, std::uint32_t vertexCount)
    {
        registry.push_back(Character{handle, vertexCount});
        resortRequested = true;
    }

    // A character's Create: a format other than its last asks for a sort.
    void Create(const void* handle, std::uint32_t fvf, int layer)
    {
        Character& character = Find(handle);
        if (fvf != character.fvf)
            resortRequested = true;
        character.fvf = fvf;
        character.layer = layer;
    }

    // A character's SetMaterial: another record asks for a sort; the record's
    // values are copied now and set on the device at once.
    void SetMaterial(const void* handle, const MaterialDesc* record)
    {
        Character& character = Find(handle);
        if (record != character.record)
            resortRequested = true;
        character.record = record;
        character.values = *record;
        Call(MaterialCall(character.values));
    }

    void RequestSort() { resortRequested = true; }

    // The registry closes the gap; nothing else changes.
    int DestroyCharacter(const void* handle)
    {
        for (std::size_t i = 0; i < registry.size(); ++i)
            if (registry[i].handle == handle)
            {
                registry.erase(registry.begin() + static_cast<std::ptrdiff_t>(i));
                return 0;
            }
        return 1;
    }

    int RenderFrame()
    {
        if (device == Device::Resettable)
            ResetSequence();
        Call("Present");
        if (device == Device::Lost)
            return 1;
        Call("BeginScene");
        if (resortRequested)
        {
            resortRequested = false;
            Sort();
            for (const Character& character : registry)
                if (character.layer > highestLayer)
                    highestLayer = character.layer;
        }
        // Every layer from 0 to the highest layer, each a walk of the whole
        // registry; only the layers that characters have, so as not to count
        // through empty layers up to 2^31.
        std::set<int> layers;
        for (const Character& character : registry)
            if (character.layer >= 0 && character.layer <= highestLayer)
                layers.insert(character.layer);
        for (int layer : layers)
            for (const Character& character : registry)
                if (character.layer == layer)
                    Draw(character);
        Call("SetRenderState(7, 0)");
        for (const Character& character : registry)
            if (character.layer == -10)
                Draw(character);
        Call("SetRenderState(7, 1)");
        Call("EndScene");
        return 0;
    }

    // The calls made since the last time, which are forgotten.
    std::vector<std::string> TakeCalls() { return std::exchange(calls, {}); }

    // Every record a character holds, and the record the frame applied last.
    std::set<const MaterialDesc*> RecordsReferred() const
    {
        std::set<const MaterialDesc*> referred = {cachedMaterial};
        for (const Character& character : registry)
            referred.insert(character.record);
        return referred;
    }

private:
    struct Character
    {
        const void* handle = nullptr;
        std::uint32_t vertexCount = 0;
        std::uint32_t fvf = 0;
        int layer = 0;
        const MaterialDesc* record = nullptr;
        MaterialDesc values = {};  // zero until the first SetMaterial
    };

    Character& Find(const void* handle)
    {
        for (Character& character : registry)
            if (character.handle == handle)
                return character;
        throw std::logic_error("no such character in the model");
    }

    void Call(const std::string& text) { calls.push_back(text); }

    // The D3DMATERIAL9 made from a record: diffuse, ambient, specular and
    // emissive as {r, g, b, a}, then the power; records carry no alpha.
    static std::string MaterialCall(const MaterialDesc& record)
    {
        std::string text = "SetMaterial({";
        for (const float* rgb : {record.diffuse, record.ambient, record.specular, record.emissive})
            text += "{" + Number(rgb[0]) + ", " + Number(rgb[1]) + ", " + Number(rgb[2]) + ", 0}, ";
        return text + Number(record.power) + "})";
    }

    static std::string Number(float value)
    {
        char text[32];
        return std::string(text, std::to_chars(text, text + sizeof text, value).ptr);
    }

    // Objects drop and rebuild their resources around Reset; the format
    // cache is set back to none. The plug-in also sets the material cache
    // back to null, the zero material a reset device holds.
    void ResetSequence()
    {
        Call("Reset");
        device = Device::Working;
        cachedFVF = -1;
        cachedMaterial = nullptr;
        Call("SetRenderState(7, 1)");
    }

    // The exchange procedure: by format, descending, comparing signed
    // integers; then within each run of equal formats by material,
    // ascending, comparing addresses as unsigned numbers.
    void Sort()
    {
        const std::size_t count = registry.size();
        for (std::size_t i = 0; i < count; ++i)
            for (std::size_t j = i + 1; j < count; ++j)
                if (static_cast<std::int32_t>(registry[i].fvf) < static_cast<std::int32_t>(registry[j].fvf))
                    std::swap(registry[i], registry[j]);

        for (std::size_t first = 0; first < count;)
        {
            std::size_t end = first + 1;
            while (end < count && registry[end].fvf == registry[first].fvf)
                ++end;
            for (std::size_t i = first; i < end; ++i)
                for (std::size_t j = i + 1; j < end; ++j)
                    if (reinterpret_cast<std::uintptr_t>(registry[j].record) <
                        reinterpret_cast<std::uintptr_t>(registry[i].record))
                        std::swap(registry[i], registry[j]);
            first = end;
        }
    }

    // Format and material only when they differ from the ones applied last,
    // in this frame or an earlier one; the cache is written first.
    void Draw(const Character& character)
    {
        if (static_cast<std::int32_t>(character.fvf) != cachedFVF)
        {
            cachedFVF = static_cast<std::int32_t>(character.fvf);
            Call("SetFVF(" + std::to_string(character.fvf) + ")");
        }
        if (character.record != cachedMaterial)
        {
            cachedMaterial = character.record;
            Call(MaterialCall(character.values));
        }
        Call("DrawIndexedPrimitive(4, 0, 0, " + std::to_string(character.vertexCount) + ", 0, 1)");
    }

    std::vector<Character> registry;
    std::int32_t cachedFVF = -1;
    const MaterialDesc* cachedMaterial = nullptr;
    int highestLayer = 0;
    bool resortRequested = false;
    std::vector<std::string> calls;
};

#endif
