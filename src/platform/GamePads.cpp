#include "platform/GamePads.h"

#include <SDL.h>
#include <sys/stat.h>

namespace platform {
namespace {

struct ButtonName {
    SDL_GameControllerButton sdl;
    std::uint16_t bit;
};

// The buttons the game reads, under SDL's names for a pad of the standard
// layout (A the south face button, B the east one).
const ButtonName kButtons[] = {
    {SDL_CONTROLLER_BUTTON_DPAD_UP, padButton::kUp},     {SDL_CONTROLLER_BUTTON_DPAD_DOWN, padButton::kDown},
    {SDL_CONTROLLER_BUTTON_DPAD_LEFT, padButton::kLeft}, {SDL_CONTROLLER_BUTTON_DPAD_RIGHT, padButton::kRight},
    {SDL_CONTROLLER_BUTTON_A, padButton::kA},            {SDL_CONTROLLER_BUTTON_B, padButton::kB},
    {SDL_CONTROLLER_BUTTON_START, padButton::kStart},    {SDL_CONTROLLER_BUTTON_BACK, padButton::kBack},
};

std::uint16_t buttonBit(Uint8 button) {
    for (const ButtonName& name : kButtons) {
        if (name.sdl == button) return name.bit;
    }
    return 0;
}

bool fileExists(const std::string& path) {
    struct stat info {};
    return stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

}  // namespace

int standardButtonOf(std::uint16_t button) {
    for (const ButtonName& name : kButtons) {
        if (name.bit == button) return name.sdl;
    }
    return -1;
}

std::uint16_t stickDirections(std::int16_t x, std::int16_t y) {
    std::uint16_t directions = 0;
    if (x < -kStickDeadZone) directions |= padButton::kLeft;
    if (x > kStickDeadZone) directions |= padButton::kRight;
    if (y < -kStickDeadZone) directions |= padButton::kUp;
    if (y > kStickDeadZone) directions |= padButton::kDown;
    return directions;
}

GamePads::GamePads() : bStarted(false) {}

bool GamePads::start(const std::string& configFolder) {
    if (bStarted) return true;
    if (SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) != 0) return false;
    bStarted = true;
    // A file that is missing is the usual case; one that is garbled adds
    // whatever lines SDL can read and no more.
    const std::string database = configFolder + "/gamecontrollerdb.txt";
    if (!configFolder.empty() && fileExists(database)) SDL_GameControllerAddMappingsFromFile(database.c_str());
    return true;
}

void GamePads::stop() {
    for (Pad& pad : aPads) {
        if (pad.controller != nullptr) SDL_GameControllerClose(pad.controller);
        pad = Pad{};
    }
    if (bStarted) SDL_QuitSubSystem(SDL_INIT_GAMECONTROLLER);
    bStarted = false;
}

GamePads::Pad* GamePads::find(std::int32_t instance) {
    for (Pad& pad : aPads) {
        if (pad.controller != nullptr && pad.instance == instance) return &pad;
    }
    return nullptr;
}

PadChange GamePads::add(int deviceIndex) {
    if (find(SDL_JoystickGetDeviceInstanceID(deviceIndex)) != nullptr) return PadChange{};
    for (Pad& pad : aPads) {
        if (pad.controller != nullptr) continue;
        SDL_GameController* controller = SDL_GameControllerOpen(deviceIndex);
        if (controller == nullptr) return PadChange{};
        pad = Pad{};
        pad.controller = controller;
        pad.instance = SDL_JoystickInstanceID(SDL_GameControllerGetJoystick(controller));
        return PadChange{PadChange::Kind::Added, numberOf(pad), 0};
    }
    return PadChange{};
}

PadChange GamePads::remove(std::int32_t instance) {
    Pad* pad = find(instance);
    if (pad == nullptr) return PadChange{};
    const int number = numberOf(*pad);
    SDL_GameControllerClose(pad->controller);
    *pad = Pad{};
    return PadChange{PadChange::Kind::Removed, number, 0};
}

PadChange GamePads::update(Pad& pad, std::uint16_t fromButtons, std::uint16_t fromStick) {
    const std::uint16_t before = pad.fromButtons | pad.fromStick;
    pad.fromButtons = fromButtons;
    pad.fromStick = fromStick;
    const std::uint16_t after = pad.fromButtons | pad.fromStick;
    const std::uint16_t pressed = after & ~before;
    const std::uint16_t released = before & ~after;
    pad.unpolled |= pressed;
    pad.releasePending &= static_cast<std::uint16_t>(~pressed);
    pad.releasePending |= released & pad.unpolled;
    // One event moves one button or one axis, so at most one new press.
    if (pressed == 0) return PadChange{};
    return PadChange{PadChange::Kind::Pressed, numberOf(pad), pressed};
}

PadChange GamePads::handleEvent(const SDL_Event& event) {
    switch (event.type) {
        case SDL_CONTROLLERDEVICEADDED:
            return add(event.cdevice.which);
        case SDL_CONTROLLERDEVICEREMOVED:
            return remove(event.cdevice.which);
        case SDL_CONTROLLERBUTTONDOWN:
        case SDL_CONTROLLERBUTTONUP: {
            Pad* pad = find(event.cbutton.which);
            const std::uint16_t bit = buttonBit(event.cbutton.button);
            if (pad == nullptr || bit == 0) return PadChange{};
            const std::uint16_t buttons = event.type == SDL_CONTROLLERBUTTONDOWN
                                              ? static_cast<std::uint16_t>(pad->fromButtons | bit)
                                              : static_cast<std::uint16_t>(pad->fromButtons & ~bit);
            return update(*pad, buttons, pad->fromStick);
        }
        case SDL_CONTROLLERAXISMOTION: {
            Pad* pad = find(event.caxis.which);
            if (pad == nullptr) return PadChange{};
            if (event.caxis.axis == SDL_CONTROLLER_AXIS_LEFTX) {
                pad->stickX = event.caxis.value;
            } else if (event.caxis.axis == SDL_CONTROLLER_AXIS_LEFTY) {
                pad->stickY = event.caxis.value;
            } else {
                return PadChange{};
            }
            return update(*pad, pad->fromButtons, stickDirections(pad->stickX, pad->stickY));
        }
        default:
            return PadChange{};
    }
}

std::uint16_t GamePads::buttons(int pad) const {
    if (pad < 1 || pad > kMaxPads) return 0;
    const Pad& entry = aPads[pad - 1];
    return entry.fromButtons | entry.fromStick | entry.releasePending;
}

void GamePads::notePolled() {
    for (Pad& pad : aPads) {
        pad.unpolled = 0;
        pad.releasePending = 0;
    }
}

bool GamePads::isConnected(int pad) const { return pad >= 1 && pad <= kMaxPads && aPads[pad - 1].controller; }

void GamePads::releaseAll() {
    for (Pad& pad : aPads) {
        pad.fromButtons = pad.fromStick = pad.unpolled = pad.releasePending = 0;
        pad.stickX = pad.stickY = 0;
    }
}

GamePads& systemPads() {
    static GamePads pads;
    return pads;
}

}  // namespace platform
