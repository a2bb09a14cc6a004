#include "input/InputDevice.h"

#include "input/Keyboard.h"
#include "platform/KeyboardDevice.h"

InputDevice::InputDevice() : bCreated(false) {}

InputDevice::~InputDevice() { release(); }

platform::Status InputDevice::create() {
    const platform::Status status = platform::openInputSystem();
    bCreated = !platform::failed(status);
    return status;
}

std::int32_t InputDevice::createKeyboard(platform::Window* window, Keyboard* keyboard, ErrorLogger& logger) {
    if (!bCreated || keyboard == nullptr) return platform::status::E_POINTER;
    return keyboard->init(window, *this, logger);
}

void InputDevice::release() { bCreated = false; }
