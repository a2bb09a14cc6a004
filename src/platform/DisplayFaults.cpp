#include "platform/DisplayFaults.h"

#include <SDL.h>

namespace platform {
namespace {

struct FaultState {
    std::uint32_t losses = 0;
    std::uint32_t modeChanges = 0;
    bool heldElsewhere = false;
    int depth = 32;
    bool stepFails = false;
    testing::DisplayStep failingStep = testing::DisplayStep::Device;
    Status stepStatus = status::S_OK;
    bool videoMemoryFails = false;
    Status systemMemoryStatus = status::S_OK;
};

FaultState& state() {
    static FaultState faults;
    return faults;
}

}  // namespace

void noteRenderEvent(std::uint32_t eventType) {
    if (eventType == SDL_RENDER_TARGETS_RESET) ++state().losses;
    if (eventType == SDL_RENDER_DEVICE_RESET) ++state().modeChanges;
}

namespace testing {

void failDisplayStep(DisplayStep step, Status status) {
    state().stepFails = true;
    state().failingStep = step;
    state().stepStatus = status;
}

void failVideoMemory(bool on) { state().videoMemoryFails = on; }
void failSystemMemory(Status status) { state().systemMemoryStatus = status; }
void loseSurfaces() { ++state().losses; }
void holdDisplayElsewhere(bool on) { state().heldElsewhere = on; }

void changeDisplayMode(int bitsPerPixel) {
    ++state().modeChanges;
    useDisplayDepth(bitsPerPixel);
}

void useDisplayDepth(int bitsPerPixel) { state().depth = bitsPerPixel == 16 ? 16 : 32; }

void clearDisplayFaults() {
    // The counters stay: a display alive now must not see an event that
    // never happened to it.
    const std::uint32_t losses = state().losses;
    const std::uint32_t modeChanges = state().modeChanges;
    state() = FaultState{};
    state().losses = losses;
    state().modeChanges = modeChanges;
}

}  // namespace testing

namespace displayfaults {

std::uint32_t lossCount() { return state().losses; }
std::uint32_t modeChangeCount() { return state().modeChanges; }
bool heldElsewhere() { return state().heldElsewhere; }
int depthForNextStart() { return state().depth; }

Status stepStatus(testing::DisplayStep step) {
    if (state().stepFails && state().failingStep == step) return state().stepStatus;
    return status::S_OK;
}

Status surfaceStatus(bool systemMemory) {
    if (systemMemory) return state().systemMemoryStatus;
    return state().videoMemoryFails ? status::DDERR_OUTOFVIDEOMEMORY : status::S_OK;
}

}  // namespace displayfaults
}  // namespace platform
