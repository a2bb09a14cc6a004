#pragma once
#include <cstdint>

// The layer answers with the signed 32-bit status codes the game's messages
// name ("DDERR_WRONGMODE", "E_POINTER"), so a failure reads the same in the
// message box and in the log whatever library sits underneath.
namespace platform {

using Status = std::int32_t;

constexpr Status code(std::uint32_t bits) { return static_cast<Status>(bits); }

inline bool failed(Status status) { return status < 0; }

namespace status {
constexpr Status S_OK = 0;
constexpr Status S_FALSE = 1;
constexpr Status E_NOTIMPL = code(0x80004001);
constexpr Status E_NOINTERFACE = code(0x80004002);
constexpr Status E_POINTER = code(0x80004003);
constexpr Status E_FAIL = code(0x80004005);
constexpr Status E_ACCESSDENIED = code(0x80070005);
constexpr Status E_OUTOFMEMORY = code(0x8007000E);
constexpr Status E_INVALIDARG = code(0x80070057);

// Display.
constexpr Status DDERR_INVALIDCAPS = code(0x88760064);
constexpr Status DDERR_INVALIDOBJECT = code(0x88760082);
constexpr Status DDERR_INVALIDRECT = code(0x88760096);
constexpr Status DDERR_NOCOOPERATIVELEVELSET = code(0x887600D4);
constexpr Status DDERR_OUTOFVIDEOMEMORY = code(0x8876017C);
constexpr Status DDERR_SURFACEBUSY = code(0x887601AE);
constexpr Status DDERR_SURFACELOST = code(0x887601C2);
constexpr Status DDERR_NODIRECTDRAWHW = code(0x88760223);
constexpr Status DDERR_EXCLUSIVEMODEALREADYSET = code(0x88760245);
constexpr Status DDERR_NOTLOCKED = code(0x88760248);
constexpr Status DDERR_WRONGMODE = code(0x8876024B);
constexpr Status DDERR_CANTCREATEDC = code(0x8876024D);
constexpr Status DDERR_NODC = code(0x8876024F);

// Keyboard.
constexpr Status DIERR_NOTFOUND = code(0x80070002);
constexpr Status DIERR_NOTACQUIRED = code(0x8007000C);
constexpr Status DIERR_NOTINITIALIZED = code(0x80070015);
constexpr Status DIERR_INPUTLOST = code(0x8007001E);
constexpr Status DIERR_ACQUIRED = code(0x800700AA);
constexpr Status DIERR_DEVICENOTREG = code(0x80040154);

// Sound.
constexpr Status DSERR_ALLOCATED = code(0x8878000A);
constexpr Status DSERR_INVALIDCALL = code(0x88780032);
constexpr Status DSERR_PRIOLEVELNEEDED = code(0x88780046);
constexpr Status DSERR_BADFORMAT = code(0x88780064);
constexpr Status DSERR_NODRIVER = code(0x88780078);
constexpr Status DSERR_BUFFERLOST = code(0x88780096);
constexpr Status DSERR_UNINITIALIZED = code(0x887800AA);
}  // namespace status

}  // namespace platform
