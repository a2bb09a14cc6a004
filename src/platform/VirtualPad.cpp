#include "platform/VirtualPad.h"

#include <SDL.h>

#include "platform/GamePads.h"

namespace platform {
VirtualPad::VirtualPad() {
    SDL_VirtualJoystickDesc description;
    SDL_zero(description);
    description.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
    // A game controller of the standard layout: SDL makes its mapping from
    // the button and axis masks.
    description.type = SDL_JOYSTICK_TYPE_GAMECONTROLLER;
    description.naxes = SDL_CONTROLLER_AXIS_MAX;
    description.nbuttons = SDL_CONTROLLER_BUTTON_MAX;
    description.button_mask = (1u << SDL_CONTROLLER_BUTTON_MAX) - 1;
    description.axis_mask = (1u << SDL_CONTROLLER_AXIS_MAX) - 1;
    description.name = "Quadrill test pad";
    attach(&description);
}

VirtualPad::VirtualPad(std::uint16_t vendor, std::uint16_t product) {
    SDL_VirtualJoystickDesc description;
    SDL_zero(description);
    description.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
    description.type = SDL_JOYSTICK_TYPE_UNKNOWN;
    description.naxes = 2;
    description.nbuttons = 4;
    description.vendor_id = vendor;
    description.product_id = product;
    description.name = "Quadrill test joystick";
    attach(&description);
}

void VirtualPad::attach(const void* description) {
    // The pad keeps SDL's joysticks up for as long as it lives, so that the
    // game may stop and start its pads around it.
    if (SDL_InitSubSystem(SDL_INIT_JOYSTICK) != 0) return;
    subsystemHeld = true;
    const int index = SDL_JoystickAttachVirtualEx(static_cast<const SDL_VirtualJoystickDesc*>(description));
    if (index < 0) return;
    // Opened as a plain joystick to set its buttons; the game opens it as a pad.
    joystick = SDL_JoystickOpen(index);
    if (joystick != nullptr) instance = SDL_JoystickInstanceID(joystick);
}

VirtualPad::~VirtualPad() {
    unplug();
    if (subsystemHeld) SDL_QuitSubSystem(SDL_INIT_JOYSTICK);
}

void VirtualPad::unplug() {
    if (joystick == nullptr) return;
    SDL_JoystickClose(joystick);
    joystick = nullptr;
    // Device indices move as pads come and go: find ours by its instance.
    for (int index = 0; index < SDL_NumJoysticks(); ++index) {
        if (SDL_JoystickGetDeviceInstanceID(index) == instance) {
            SDL_JoystickDetachVirtual(index);
            break;
        }
    }
    instance = -1;
}

void VirtualPad::setButton(std::uint16_t button, bool down) {
    const int index = standardButtonOf(button);
    if (index >= 0) setJoystickButton(index, down);
}

void VirtualPad::press(std::uint16_t button) { setButton(button, true); }
void VirtualPad::release(std::uint16_t button) { setButton(button, false); }

void VirtualPad::tap(std::uint16_t button) {
    press(button);
    release(button);
}

void VirtualPad::moveStick(std::int16_t x, std::int16_t y) {
    if (joystick == nullptr) return;
    SDL_JoystickSetVirtualAxis(joystick, SDL_CONTROLLER_AXIS_LEFTX, x);
    SDL_JoystickSetVirtualAxis(joystick, SDL_CONTROLLER_AXIS_LEFTY, y);
    SDL_JoystickUpdate();
}

void VirtualPad::setJoystickButton(int index, bool down) {
    if (joystick == nullptr) return;
    SDL_JoystickSetVirtualButton(joystick, index, down ? SDL_PRESSED : SDL_RELEASED);
    // A virtual pad reports its state when SDL updates its joysticks: each
    // change is sent at once, so a tap is not lost to its own release.
    SDL_JoystickUpdate();
}

}  // namespace platform
