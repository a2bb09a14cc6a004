#pragma once
#include <cstdint>

#include "platform/Status.h"

// What can happen to the display behind the game's back: its surface memory
// lost (another program took the screen), its device reset or its mode
// changed. The renderer tells of these through events; tests cause them
// with the switches below. A running display notices them at its next call.
namespace platform {

// The event pump hands every renderer event here, by its SDL event type:
// lost render targets count as lost surfaces, a lost device as a changed
// display mode (the device must be built again).
void noteRenderEvent(std::uint32_t eventType);

namespace testing {

// The steps of starting a display, in the order they are taken; each has
// its own start-up message (201 to 204).
enum class DisplayStep { Device, CooperativeLevel, PrimarySurface, BackBuffer };

// Every start from now on fails at this step with this status.
void failDisplayStep(DisplayStep step, Status status);
// Surfaces asked for without the system-memory capability fail with
// DDERR_OUTOFVIDEOMEMORY, so the fallback to system memory runs.
void failVideoMemory(bool on);
// Surfaces asked for in system memory fail with this status; S_OK ends it.
void failSystemMemory(Status status);
// Every surface of the running display, the back buffer included, is lost:
// present and blits answer DDERR_SURFACELOST until restoreAll, which gives
// the memory back filled with garbage, not the picture.
void loseSurfaces();
// Another program holds the display: cooperativeState answers
// DDERR_EXCLUSIVEMODEALREADYSET until this is switched off again.
void holdDisplayElsewhere(bool on);
// The desktop's mode changes: the running display answers DDERR_WRONGMODE
// until it is released and started again, and starts at this depth.
void changeDisplayMode(int bitsPerPixel);
// Displays started from now on use 16-bit RGB565 pixels (16) or the
// normal 32-bit XRGB8888 ones (32); a running display keeps its format.
void useDisplayDepth(int bitsPerPixel);
// Back to a healthy 32-bit display with no faults.
void clearDisplayFaults();

}  // namespace testing

// For the display itself: what the events and switches above have done.
namespace displayfaults {
// Counters that only grow: a display remembers them when it starts and
// compares them later, so a display started after an event is not hit by it.
std::uint32_t lossCount();
std::uint32_t modeChangeCount();
bool heldElsewhere();
int depthForNextStart();
// S_OK when the step may go ahead.
Status stepStatus(testing::DisplayStep step);
Status surfaceStatus(bool systemMemory);
}  // namespace displayfaults

}  // namespace platform
