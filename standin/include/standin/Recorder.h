#ifndef STANDIN_RECORDER_H
#define STANDIN_RECORDER_H

// Test control of the recording device that stands behind the stand-in's
// Direct3DCreate9 and D3DX functions. One recorder per process; Reset()
// starts every test from a clean adapter.

#include <d3d9.h>
#include <d3dx9.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace standin {

// One call of a stand-in operation, in the order made.
struct Call
{
    std::string name;    // operation: "SetRenderState", "VertexBuffer.Lock", "D3DXCreateFontW"
    std::string object;  // receiving resource ("VertexBuffer#1"); empty for the device,
                         // the Direct3D object and free functions
    std::string args;    // arguments as text: "7, 1"
    HRESULT result;      // what the call returned (S_OK for calls without a result)

    // "SetRenderState(7, 1)" or, for resources, "VertexBuffer#1.Lock(0, 96, 8192)".
    std::string Text() const;
};

// How argument text is written: integers in decimal; D3DCOLOR values as
// 0xAARRGGBB hex; floats in their shortest round-trip form ("1.5707964");
// pointers to stand-in objects as "Kind#n" ("Texture#2"), null pointers as
// "null"; other pointers to structures by their contents in braces; strings
// in double quotes.
//
// In detail:
// - Objects are numbered from 1 after Reset: Direct3D#n and Device#n each
//   on their own, every resource (VertexBuffer, IndexBuffer, Texture,
//   Surface, Font) on one shared count, so VertexBuffer#1 then IndexBuffer#2.
// - The ambient colour (render state 139), Clear's colour, colour keys and
//   DrawTextW's colour are hex; flags, FVFs, formats, pools and enumerations
//   are decimal.
// - An out-parameter that receives an object is written as that object, or
//   "null" when the call failed: "CreateVertexBuffer(96, 8, 274, 0,
//   VertexBuffer#1, null)". LockRect's locked rectangle is written as it was
//   filled: "{16, bits}" ("{0, null}" on failure). Lock's data pointer and
//   GetDeviceCaps' capabilities are left out. Other pointers whose contents
//   are not written (shared handles, quality levels, image info, palettes,
//   sprites, Clear's rectangles, Present's region) are "null" or "set".
// - Window handles are hex ("0x1234"). Matrices are four rows in braces,
//   materials and lights their fields in SDK order with colours as {r, g, b, a}.
// - The D3DX matrix functions leave out their output: "D3DXMatrixLookAtLH(
//   {0, 0, -1}, {0, 0, 0}, {0, 1, 0})"; D3DXMatrixIdentity is inline and not
//   recorded.
// - Operation names: the Direct3D object's and the device's methods by
//   their plain name ("CreateDevice", "SetRenderState"), their Release as
//   "Direct3D.Release" and "Device.Release"; resource methods as
//   "VertexBuffer.Lock", "IndexBuffer.Unlock", "Texture.LockRect",
//   "Surface.Release", "Font.DrawTextW"; free functions by name
//   ("D3DXCreateFontW").

// The adapter the recording device pretends to be. It is the only one; its
// display has the format D3DFMT_X8R8G8B8 and every window a client area of
// 640 x 480, which a windowed device left at D3DFMT_UNKNOWN or at a zero
// size gets.
struct AdapterConfig
{
    // Formats for which CheckDeviceType succeeds (as adapter and back-buffer format).
    std::vector<D3DFORMAT> deviceFormats = {D3DFMT_X8R8G8B8, D3DFMT_A8R8G8B8, D3DFMT_R5G6B5,
                                            D3DFMT_X1R5G5B5};
    // Multisample types for which CheckDeviceMultiSampleType succeeds.
    std::vector<D3DMULTISAMPLE_TYPE> multisampleTypes = {D3DMULTISAMPLE_NONE};
    // Formats an automatic depth-stencil buffer may have; CreateDevice and
    // Reset refuse any other with D3DERR_INVALIDCALL. Wine's adapter has no
    // D3DFMT_D15S1; this one has, so that every colour depth can make a device.
    std::vector<D3DFORMAT> depthStencilFormats = {D3DFMT_D16, D3DFMT_D15S1, D3DFMT_D24X8, D3DFMT_D24S8};
    DWORD maxActiveLights = 8;
    // Pitch in bytes that Texture.LockRect returns; 0 means width * 4.
    INT lockPitch = 0;
};

// Forgets every call, object, fault and state; configures the adapter.
// Objects still held are destroyed: call it only when nothing holds any.
void Reset(const AdapterConfig& adapter = AdapterConfig());
// The adapter configuration in force; tests may change it between calls.
AdapterConfig& Adapter();

// --- Faults and scripted results --------------------------------------------
// The nth call (1-based, counted since Reset) of the named operation returns
// `result`. A negative result is a failure; a positive one (S_FALSE,
// D3DOK_NOAUTOGEN) is a success the caller must accept. For operations that
// hand out objects, a failure hands out null. Direct3DCreate9 returns null
// when given any negative result. A positive result replaces only a
// success: an operation that fails by the device's own rules keeps its error.
// Throws std::invalid_argument for a name no operation has, or one that
// returns no HRESULT (Release, DrawTextW, the matrix functions).
void FailCall(const std::string& name, int nth, HRESULT result);
// Every call of the named operation from the nth on returns `result`.
void FailFrom(const std::string& name, int nth, HRESULT result);
// The next call of the named operation returns `result`, however many were
// made before; with `skip`, the call after that many more.
void FailNext(const std::string& name, HRESULT result, int skip = 0);
// Whether the named operation returns an HRESULT, which a fault can replace;
// throws std::invalid_argument for a name no operation has.
bool CanFail(const std::string& name);
// Forgets every fault; calls keep their counts.
void ClearFaults();
// TestCooperativeLevel returns these results in turn, then follows the device
// state again.
void ScriptCooperativeLevel(const std::vector<HRESULT>& results);

// --- Device loss ---------------------------------------------------------------
// The device is lost: TestCooperativeLevel and Present return D3DERR_DEVICELOST.
void LoseDevice();
// The device may be reset: TestCooperativeLevel returns D3DERR_DEVICENOTRESET and
// Present D3DERR_DEVICELOST until a Reset succeeds. Any failed Reset also
// leaves the device in this state; Reset while lost gives D3DERR_DEVICELOST.
void MakeDeviceResettable();

// --- Recorded calls -------------------------------------------------------------
const std::vector<Call>& Calls();
// Call texts in order, all of them or those that `keep` accepts.
std::vector<std::string> CallTexts();
std::vector<std::string> CallTexts(const std::function<bool(const Call&)>& keep);
// Call texts of one operation ("SetRenderState", "Texture.LockRect").
std::vector<std::string> CallTexts(const std::string& name);
// Call texts without the D3DX matrix functions and Release: the device
// conversation as a reader thinks of it. Direct3DCreate9 and the Direct3D
// object's calls stay in.
std::vector<std::string> DeviceCallTexts();
// Recorded calls of one operation.
int CountCalls(const std::string& name);
// Forgets the recorded calls only; objects, state, faults and counts stay.
void ClearCalls();
// Switches recording of calls and inspected data off or on (on after Reset);
// results, faults and reference counts work either way.
void SetRecording(bool on);

// --- Inspection -----------------------------------------------------------------
// Objects stay known after their last Release until Reset, so released
// buffers and textures can still be inspected. A call on a released object
// stops the process with a message naming the object.
// The bytes of a vertex or index buffer as of its last Unlock; memory the
// plug-in never wrote holds 0xCD. Empty before the first Unlock.
std::vector<unsigned char> BufferBytes(const IUnknown* buffer);
// The bytes of a texture's level 0 as of its last UnlockRect: pitch x height.
std::vector<unsigned char> TextureBytes(const IUnknown* texture);
// The object of that name, released or not; null when there is none. Lets a
// test inspect an object it knows only from the calls that name it.
IUnknown* ObjectNamed(const std::string& name);
// Device state as last set; a successful Reset brings back the state of a
// new device. A render state never set reads as 0, but D3DRS_ZENABLE as
// D3DZB_TRUE on a device with an automatic depth buffer, as in Direct3D 9.
DWORD RenderState(D3DRENDERSTATETYPE state);
bool LightEnabled(DWORD index);
std::string BoundTexture(DWORD stage);  // the name of the texture bound there ("Texture#2", "null")
bool InScene();

// File names given to the D3DX file functions, in order, converted back to
// narrow strings (texture loads and surface saves alike).
const std::vector<std::string>& FileNames();

// Whether a stand-in operation is under way: what is allocated then is the
// platform's, not the caller's (tests that fail allocations spare these).
bool InsideCall();

// --- References -----------------------------------------------------------------
// Objects whose reference count has not reached zero, as "Texture#2 (1 reference)".
std::vector<std::string> LiveObjects();

}  // namespace standin

#endif
