#ifndef STANDIN_STATE_H
#define STANDIN_STATE_H

// The recorder's state behind Recorder.h, and the bookkeeping that every
// stand-in operation goes through (Invocation).

#include <standin/Recorder.h>

#include <memory>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "ArgText.h"
#include "Objects.h"
#include "Operations.h"

namespace standin {

// What TestCooperativeLevel and Present see.
enum class DeviceStatus
{
    Operational,
    Lost,       // lost, not yet resettable
    NotReset    // lost and resettable, or a Reset failed
};

// A scripted result: the calls of `op` numbered `first` (and, when onward,
// every later one) return `result`.
struct Fault
{
    Op op;
    int first;
    bool onward;
    HRESULT result;
};

// The device state that tests inspect.
struct DeviceState
{
    static constexpr DWORD kRenderStates = 256;
    static constexpr DWORD kStages = 8;

    // The state of a new device, with or without an automatic depth buffer.
    void Restore(bool depthBuffer);

    DWORD renderStates[kRenderStates];
    std::set<DWORD> enabledLights;
    const Object* textures[kStages];         // bound per stage; null for none
};

// Everything the recorder knows; one per process.
struct Recorder
{
    AdapterConfig adapter;
    bool recording = true;
    std::vector<Call> calls;
    int counts[kOperationCount] = {};        // calls per operation since Reset
    std::vector<Fault> faults;
    std::vector<HRESULT> cooperativeScript;
    std::size_t cooperativeNext = 0;
    DeviceStatus status = DeviceStatus::Operational;
    std::vector<std::unique_ptr<Object>> objects;  // in order of creation
    int lastDirect3D = 0;                    // numbers handed out: Direct3D#n,
    int lastDevice = 0;                      // Device#n,
    int lastResource = 0;                    // and one count for all resources
    DeviceState device;
    std::vector<std::string> fileNames;
};

// The process's recorder, never destroyed, so that objects released during
// the process's exit still find it.
Recorder& TheRecorder();

// The next number for an object of `kind`: Direct3D objects and devices are
// counted on their own, resources (buffers, textures, surfaces, fonts)
// together, so that "IndexBuffer#2" is the second resource made.
int NextNumber(Recorder& recorder, Kind kind);

// Registers a new object with the recorder and names it "Kind#n".
template <class T, class... Arguments>
T* MakeObject(Arguments&&... arguments)
{
    Recorder& recorder = TheRecorder();
    std::unique_ptr<T> object(new T(std::forward<Arguments>(arguments)...));
    const int number = NextNumber(recorder, object->kind);
    object->name = std::string(KindName(object->kind)) + "#" + std::to_string(number);
    T* made = object.get();
    recorder.objects.push_back(std::move(object));
    return made;
}

// Marks a stand-in operation as under way for as long as it lives (see
// standin::InsideCall).
class CallScope
{
public:
    CallScope();
    ~CallScope();
    CallScope(const CallScope&) = delete;
    CallScope& operator=(const CallScope&) = delete;
};

// One call of a stand-in operation: counts it, finds its scripted result and
// records it when it finishes. Nothing here allocates while recording is off.
class Invocation
{
public:
    // `target`: the object called, null for free functions; a released
    // target stops the process (see RequireAlive).
    explicit Invocation(Op op, const Object* target = nullptr);

    // Whether arguments should be written (recording is on).
    bool Recording() const { return recorder.recording; }
    // The writer of the call's arguments; use only while Recording().
    ArgText& Args() { return args; }
    // Whether a scripted failure replaces the operation: it must then have no effect.
    bool Refused() const { return scripted && FAILED(scriptedResult); }
    // The scripted failure, for operations that end at once when Refused().
    HRESULT ScriptedFailure() const { return scriptedResult; }

    // Records the call with the result the operation came to, or the
    // scripted one, and returns that.
    HRESULT Finish(HRESULT natural);
    // Records a call of an operation that has no HRESULT.
    void Finish();

private:
    CallScope scope;  // first: covers everything the call does
    Recorder& recorder;
    const Op op;
    const Object* const target;
    bool scripted;
    HRESULT scriptedResult;
    std::string text;
    ArgText args;
};

}  // namespace standin

#endif
