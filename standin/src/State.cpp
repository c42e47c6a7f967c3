#include "State.h"

namespace standin {

void DeviceState::Restore(bool depthBuffer)
{
    for (DWORD& state : renderStates)
        state = 0;
    renderStates[D3DRS_ZENABLE] = depthBuffer ? D3DZB_TRUE : D3DZB_FALSE;
    enabledLights.clear();
    for (const Object*& texture : textures)
        texture = nullptr;
}

int NextNumber(Recorder& recorder, Kind kind)
{
    if (kind == Kind::Direct3D)
        return ++recorder.lastDirect3D;
    if (kind == Kind::Device)
        return ++recorder.lastDevice;
    return ++recorder.lastResource;
}

Recorder& TheRecorder()
{
    static Recorder* recorder = [] {
        Recorder* made = new Recorder;
        made->device.Restore(true);
        return made;
    }();
    return *recorder;
}

namespace {
int callsUnderWay = 0;
}  // namespace

CallScope::CallScope() { ++callsUnderWay; }
CallScope::~CallScope() { --callsUnderWay; }

bool InsideCall()
{
    return callsUnderWay > 0;
}

Invocation::Invocation(Op op, const Object* target)
    : recorder(TheRecorder()), op(op), target(target), scripted(false), scriptedResult(S_OK), args(text)
{
    if (target != nullptr)
        RequireAlive(*target, op);
    const int number = ++recorder.counts[static_cast<int>(op)];
    // The fault added last wins where several cover the same call.
    for (const Fault& fault : recorder.faults)
    {
        if (fault.op == op && (number == fault.first || (fault.onward && number > fault.first)))
        {
            scripted = true;
            scriptedResult = fault.result;
        }
    }
}

namespace {

// The device and the Direct3D object are not named in their calls.
std::string ReceiverName(const Object* target)
{
    if (target == nullptr || target->kind == Kind::Device || target->kind == Kind::Direct3D)
        return std::string();
    return target->name;
}

}  // namespace

HRESULT Invocation::Finish(HRESULT natural)
{
    // A scripted failure stands; a scripted success replaces only a success.
    HRESULT result = natural;
    if (scripted && (FAILED(scriptedResult) || SUCCEEDED(natural)))
        result = scriptedResult;
    if (recorder.recording)
        recorder.calls.push_back(Call{OperationName(op), ReceiverName(target), std::move(text), result});
    return result;
}

void Invocation::Finish()
{
    if (recorder.recording)
        recorder.calls.push_back(Call{OperationName(op), ReceiverName(target), std::move(text), S_OK});
}

}  // namespace standin
