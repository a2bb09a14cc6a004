#include "errors/StatusText.h"

#include <cstddef>

namespace {

struct StatusText {
    platform::Status status;
    const char* name;
    const char* description;
};

using namespace platform::status;

// One row per code the platform layer can answer. Where two libraries share
// a value (a keyboard that another program holds is E_ACCESSDENIED), the
// row gives the name the game is most likely to meet.
const StatusText kStatusTexts[] = {
    {S_OK, "S_OK", "The operation completed successfully."},
    {S_FALSE, "S_FALSE", "The operation completed with nothing to do."},
    {E_NOTIMPL, "E_NOTIMPL", "The operation is not supported."},
    {E_NOINTERFACE, "E_NOINTERFACE", "The requested interface is not available."},
    {E_POINTER, "E_POINTER", "An object needed for the operation does not exist."},
    {E_FAIL, "E_FAIL", "An undetermined error occurred."},
    {E_ACCESSDENIED, "E_ACCESSDENIED", "Access is denied: another application holds the device."},
    {E_OUTOFMEMORY, "E_OUTOFMEMORY", "There is not enough memory to complete the operation."},
    {E_INVALIDARG, "E_INVALIDARG", "An argument of the operation is invalid."},
    {DDERR_INVALIDCAPS, "DDERR_INVALIDCAPS", "The capabilities asked for are not supported by the display."},
    {DDERR_INVALIDOBJECT, "DDERR_INVALIDOBJECT", "The display object handed to the operation is not valid."},
    {DDERR_INVALIDRECT, "DDERR_INVALIDRECT", "The rectangle does not fit the surface."},
    {DDERR_NOCOOPERATIVELEVELSET, "DDERR_NOCOOPERATIVELEVELSET", "The display was used before it was set up for the window."},
    {DDERR_OUTOFVIDEOMEMORY, "DDERR_OUTOFVIDEOMEMORY", "There is not enough video memory for the surface."},
    {DDERR_SURFACEBUSY, "DDERR_SURFACEBUSY", "The surface is locked by another operation."},
    {DDERR_SURFACELOST, "DDERR_SURFACELOST", "The surface memory was lost and must be restored."},
    {DDERR_NODIRECTDRAWHW, "DDERR_NODIRECTDRAWHW", "No display device could be opened."},
    {DDERR_EXCLUSIVEMODEALREADYSET, "DDERR_EXCLUSIVEMODEALREADYSET", "Another application holds the display exclusively."},
    {DDERR_NOTLOCKED, "DDERR_NOTLOCKED", "The surface was not locked."},
    {DDERR_WRONGMODE, "DDERR_WRONGMODE", "The display mode has changed since the surface was created."},
    {DDERR_CANTCREATEDC, "DDERR_CANTCREATEDC", "No drawing context can be made for the surface."},
    {DDERR_NODC, "DDERR_NODC", "The surface has no drawing context."},
    {DIERR_NOTFOUND, "DIERR_NOTFOUND", "The keyboard device was not found."},
    {DIERR_NOTACQUIRED, "DIERR_NOTACQUIRED", "The keyboard is not acquired."},
    {DIERR_NOTINITIALIZED, "DIERR_NOTINITIALIZED", "The keyboard device has not been set up."},
    {DIERR_INPUTLOST, "DIERR_INPUTLOST", "Access to the keyboard was lost and it must be acquired again."},
    {DIERR_ACQUIRED, "DIERR_ACQUIRED", "The keyboard is acquired and cannot be changed now."},
    {DIERR_DEVICENOTREG, "DIERR_DEVICENOTREG", "The keyboard device is not registered with the system."},
    {DSERR_ALLOCATED, "DSERR_ALLOCATED", "The sound device is in use by another application."},
    {DSERR_INVALIDCALL, "DSERR_INVALIDCALL", "The sound call is not valid in the current state."},
    {DSERR_PRIOLEVELNEEDED, "DSERR_PRIOLEVELNEEDED", "The sound operation needs a higher cooperative level."},
    {DSERR_BADFORMAT, "DSERR_BADFORMAT", "The sound format is not supported."},
    {DSERR_NODRIVER, "DSERR_NODRIVER", "No sound driver is available."},
    {DSERR_BUFFERLOST, "DSERR_BUFFERLOST", "The sound buffer memory was lost and must be restored."},
    {DSERR_UNINITIALIZED, "DSERR_UNINITIALIZED", "The sound device has not been set up."},
};

const StatusText* find(platform::Status status) {
    for (const StatusText& text : kStatusTexts) {
        if (text.status == status) return &text;
    }
    return nullptr;
}

}  // namespace

const char* statusName(platform::Status status) {
    const StatusText* text = find(status);
    return text ? text->name : "Unknown";
}

const char* statusDescription(platform::Status status) {
    const StatusText* text = find(status);
    return text ? text->description : "n/a";
}
