// The test-facing side of the recorder (Recorder.h).

#include <standin/Recorder.h>

#include <cstring>
#include <stdexcept>

#include "Device.h"
#include "MathRecording.h"
#include "State.h"

namespace standin {

namespace {

bool StartsWith(const std::string& text, const char* start)
{
    return text.compare(0, std::strlen(start), start) == 0;
}

bool EndsWith(const std::string& text, const char* end)
{
    const std::size_t length = std::strlen(end);
    return text.size() >= length && text.compare(text.size() - length, length, end) == 0;
}

void AddFault(const std::string& name, int nth, HRESULT result, bool onward)
{
    const Op op = OperationNamed(name);
    if (!ReturnsResult(op))
        throw std::invalid_argument("standin: " + name + " returns no HRESULT to fail with");
    if (nth < 1)
        throw std::invalid_argument("standin: calls are counted from 1");
    TheRecorder().faults.push_back(Fault{op, nth, onward, result});
}

const std::vector<unsigned char> kNoBytes;

// The matrix operation of a D3DX function name, compared without allocating.
Op MathOperation(const char* function)
{
    const Op candidates[] = {Op::D3DXMatrixTranslation, Op::D3DXMatrixScaling, Op::D3DXMatrixRotationYawPitchRoll,
                             Op::D3DXMatrixMultiply,    Op::D3DXMatrixLookAtLH, Op::D3DXMatrixPerspectiveFovLH};
    for (Op op : candidates)
        if (std::strcmp(OperationName(op), function) == 0)
            return op;
    throw std::logic_error(std::string("standin: no matrix function ") + function);
}

}  // namespace

std::string Call::Text() const
{
    if (object.empty())
        return name + "(" + args + ")";
    // "VertexBuffer.Lock" on VertexBuffer#1 reads "VertexBuffer#1.Lock(...)".
    const std::size_t dot = name.find('.');
    const std::string method = dot == std::string::npos ? "." + name : name.substr(dot);
    return object + method + "(" + args + ")";
}

void Reset(const AdapterConfig& adapter)
{
    Recorder& recorder = TheRecorder();
    recorder.adapter = adapter;
    recorder.recording = true;
    recorder.calls.clear();
    for (int& count : recorder.counts)
        count = 0;
    recorder.faults.clear();
    recorder.cooperativeScript.clear();
    recorder.cooperativeNext = 0;
    recorder.status = DeviceStatus::Operational;
    recorder.objects.clear();
    recorder.lastDirect3D = 0;
    recorder.lastDevice = 0;
    recorder.lastResource = 0;
    recorder.device.Restore(true);
    recorder.fileNames.clear();
}

AdapterConfig& Adapter()
{
    return TheRecorder().adapter;
}

void FailCall(const std::string& name, int nth, HRESULT result)
{
    AddFault(name, nth, result, false);
}

bool CanFail(const std::string& name)
{
    return ReturnsResult(OperationNamed(name));
}

void FailFrom(const std::string& name, int nth, HRESULT result)
{
    AddFault(name, nth, result, true);
}

void FailNext(const std::string& name, HRESULT result, int skip)
{
    const int made = TheRecorder().counts[static_cast<int>(OperationNamed(name))];
    AddFault(name, made + 1 + skip, result, false);
}

void ClearFaults()
{
    TheRecorder().faults.clear();
}

void ScriptCooperativeLevel(const std::vector<HRESULT>& results)
{
    Recorder& recorder = TheRecorder();
    recorder.cooperativeScript = results;
    recorder.cooperativeNext = 0;
}

void LoseDevice()
{
    TheRecorder().status = DeviceStatus::Lost;
}

void MakeDeviceResettable()
{
    TheRecorder().status = DeviceStatus::NotReset;
}

const std::vector<Call>& Calls()
{
    return TheRecorder().calls;
}

std::vector<std::string> CallTexts()
{
    return CallTexts([](const Call&) { return true; });
}

std::vector<std::string> CallTexts(const std::function<bool(const Call&)>& keep)
{
    std::vector<std::string> texts;
    for (const Call& call : TheRecorder().calls)
        if (keep(call))
            texts.push_back(call.Text());
    return texts;
}

std::vector<std::string> CallTexts(const std::string& name)
{
    return CallTexts([&name](const Call& call) { return call.name == name; });
}

std::vector<std::string> DeviceCallTexts()
{
    return CallTexts([](const Call& call) {
        return !StartsWith(call.name, "D3DXMatrix") && !EndsWith(call.name, "Release");
    });
}

int CountCalls(const std::string& name)
{
    int count = 0;
    for (const Call& call : TheRecorder().calls)
        if (call.name == name)
            ++count;
    return count;
}

void ClearCalls()
{
    TheRecorder().calls.clear();
}

void SetRecording(bool on)
{
    TheRecorder().recording = on;
}

std::vector<unsigned char> BufferBytes(const IUnknown* buffer)
{
    if (const VertexBuffer* vertices = As<VertexBuffer>(buffer))
        return vertices->buffer.unlockedBytes;
    if (const IndexBuffer* indices = As<IndexBuffer>(buffer))
        return indices->buffer.unlockedBytes;
    return kNoBytes;
}

std::vector<unsigned char> TextureBytes(const IUnknown* texture)
{
    const Texture* found = As<Texture>(texture);
    return found == nullptr ? kNoBytes : found->unlockedBytes;
}

IUnknown* ObjectNamed(const std::string& name)
{
    for (const std::unique_ptr<Object>& object : TheRecorder().objects)
        if (object->name == name)
            return dynamic_cast<IUnknown*>(object.get());
    return nullptr;
}

DWORD RenderState(D3DRENDERSTATETYPE state)
{
    const DWORD index = static_cast<DWORD>(state);
    return index < DeviceState::kRenderStates ? TheRecorder().device.renderStates[index] : 0;
}

bool LightEnabled(DWORD index)
{
    return TheRecorder().device.enabledLights.count(index) > 0;
}

std::string BoundTexture(DWORD stage)
{
    if (stage >= DeviceState::kStages)
        return "null";
    const Object* texture = TheRecorder().device.textures[stage];
    return texture == nullptr ? "null" : texture->name;
}

bool InScene()
{
    // The device made last is the one a test drives.
    const std::vector<std::unique_ptr<Object>>& objects = TheRecorder().objects;
    for (auto object = objects.rbegin(); object != objects.rend(); ++object)
        if (const Device* device = dynamic_cast<const Device*>(object->get()))
            return device->inScene;
    return false;
}

const std::vector<std::string>& FileNames()
{
    return TheRecorder().fileNames;
}

std::vector<std::string> LiveObjects()
{
    std::vector<std::string> live;
    for (const std::unique_ptr<Object>& object : TheRecorder().objects)
    {
        if (!object->Alive())
            continue;
        const ULONG count = object->references;
        live.push_back(object->name + " (" + std::to_string(count) + (count == 1 ? " reference)" : " references)"));
    }
    return live;
}

void RecordMathCall(const char* function, MathArguments grouping, const float* values, int count)
{
    Invocation call(MathOperation(function));
    if (call.Recording())
    {
        ArgText& args = call.Args();
        if (grouping == MathArguments::Scalars)
        {
            for (int i = 0; i < count; ++i)
                args.Float(values[i]);
        }
        else if (grouping == MathArguments::Vectors)
        {
            for (int i = 0; i + 3 <= count; i += 3)
            {
                const D3DVECTOR vector = {values[i], values[i + 1], values[i + 2]};
                args.Vector(&vector);
            }
        }
        else
        {
            for (int i = 0; i + 16 <= count; i += 16)
            {
                D3DMATRIX matrix;
                std::memcpy(matrix.m, values + i, sizeof(matrix.m));
                args.Matrix(&matrix);
            }
        }
    }
    call.Finish();
}

}  // namespace standin
