#include "State.h"

namespace standin {

namespace {

// 1.0f, 64.0f as the DWORD bits that float render states hold.
constexpr DWORD kOneBits = 0x3F800000;
constexpr DWORD kSixtyFourBits = 0x42800000;

void RestoreRenderStates(DWORD (&states)[DeviceState::kRenderStates], bool depthBuffer)
{
    for (DWORD& state : states)
        state = 0;
    states[D3DRS_ZENABLE] = depthBuffer ? D3DZB_TRUE : D3DZB_FALSE;
    states[D3DRS_FILLMODE] = D3DFILL_SOLID;
    states[D3DRS_SHADEMODE] = D3DSHADE_GOURAUD;
    states[D3DRS_ZWRITEENABLE] = TRUE;
    states[D3DRS_LASTPIXEL] = TRUE;
    states[D3DRS_SRCBLEND] = D3DBLEND_ONE;
    states[D3DRS_DESTBLEND] = D3DBLEND_ZERO;
    states[D3DRS_CULLMODE] = D3DCULL_CCW;
    states[D3DRS_ZFUNC] = D3DCMP_LESSEQUAL;
    states[D3DRS_ALPHAFUNC] = D3DCMP_ALWAYS;
    states[D3DRS_FOGEND] = kOneBits;
    states[D3DRS_FOGDENSITY] = kOneBits;
    states[D3DRS_STENCILFAIL] = D3DSTENCILOP_KEEP;
    states[D3DRS_STENCILZFAIL] = D3DSTENCILOP_KEEP;
    states[D3DRS_STENCILPASS] = D3DSTENCILOP_KEEP;
    states[D3DRS_STENCILFUNC] = D3DCMP_ALWAYS;
    states[D3DRS_STENCILMASK] = 0xFFFFFFFF;
    states[D3DRS_STENCILWRITEMASK] = 0xFFFFFFFF;
    states[D3DRS_TEXTUREFACTOR] = 0xFFFFFFFF;
    states[D3DRS_CLIPPING] = TRUE;
    states[D3DRS_LIGHTING] = TRUE;
    states[D3DRS_COLORVERTEX] = TRUE;
    states[D3DRS_LOCALVIEWER] = TRUE;
    states[D3DRS_DIFFUSEMATERIALSOURCE] = D3DMCS_COLOR1;
    states[D3DRS_SPECULARMATERIALSOURCE] = D3DMCS_COLOR2;
    states[D3DRS_POINTSIZE] = kOneBits;
    states[D3DRS_POINTSIZE_MIN] = kOneBits;
    states[D3DRS_POINTSCALE_A] = kOneBits;
    states[D3DRS_MULTISAMPLEANTIALIAS] = TRUE;
    states[D3DRS_MULTISAMPLEMASK] = 0xFFFFFFFF;
    states[D3DRS_POINTSIZE_MAX] = kSixtyFourBits;
    states[D3DRS_COLORWRITEENABLE] = 0x0000000F;
    states[D3DRS_BLENDOP] = D3DBLENDOP_ADD;
    states[D3DRS_POSITIONDEGREE] = D3DDEGREE_CUBIC;
    states[D3DRS_NORMALDEGREE] = D3DDEGREE_LINEAR;
    states[D3DRS_MINTESSELLATIONLEVEL] = kOneBits;
    states[D3DRS_MAXTESSELLATIONLEVEL] = kOneBits;
    states[D3DRS_ADAPTIVETESS_Z] = kOneBits;
    states[D3DRS_CCW_STENCILFAIL] = D3DSTENCILOP_KEEP;
    states[D3DRS_CCW_STENCILZFAIL] = D3DSTENCILOP_KEEP;
    states[D3DRS_CCW_STENCILPASS] = D3DSTENCILOP_KEEP;
    states[D3DRS_CCW_STENCILFUNC] = D3DCMP_ALWAYS;
    states[D3DRS_COLORWRITEENABLE1] = 0x0000000F;
    states[D3DRS_COLORWRITEENABLE2] = 0x0000000F;
    states[D3DRS_COLORWRITEENABLE3] = 0x0000000F;
    states[D3DRS_BLENDFACTOR] = 0xFFFFFFFF;
    states[D3DRS_SRCBLENDALPHA] = D3DBLEND_ONE;
    states[D3DRS_DESTBLENDALPHA] = D3DBLEND_ZERO;
    states[D3DRS_BLENDOPALPHA] = D3DBLENDOP_ADD;
}

void RestoreStageStates(DWORD (&states)[DeviceState::kStageStates], DWORD stage)
{
    for (DWORD& state : states)
        state = 0;
    states[D3DTSS_COLOROP] = stage == 0 ? D3DTOP_MODULATE : D3DTOP_DISABLE;
    states[D3DTSS_COLORARG1] = D3DTA_TEXTURE;
    states[D3DTSS_COLORARG2] = D3DTA_CURRENT;
    states[D3DTSS_ALPHAOP] = stage == 0 ? D3DTOP_SELECTARG1 : D3DTOP_DISABLE;
    states[D3DTSS_ALPHAARG1] = D3DTA_TEXTURE;
    states[D3DTSS_ALPHAARG2] = D3DTA_CURRENT;
    states[D3DTSS_TEXCOORDINDEX] = stage;
    states[D3DTSS_COLORARG0] = D3DTA_CURRENT;
    states[D3DTSS_ALPHAARG0] = D3DTA_CURRENT;
    states[D3DTSS_RESULTARG] = D3DTA_CURRENT;
}

}  // namespace

void DeviceState::Restore(bool depthBuffer)
{
    RestoreRenderStates(renderStates, depthBuffer);
    for (DWORD stage = 0; stage < kStages; ++stage)
    {
        RestoreStageStates(stageStates[stage], stage);
        textures[stage] = nullptr;
    }
    transforms.clear();
    material = D3DMATERIAL9{};
    lights.clear();
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
