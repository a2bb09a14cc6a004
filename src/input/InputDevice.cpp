#include "input/InputDevice.h"

InputDevice::InputDevice() : bCreated(false) {}
InputDevice::~InputDevice() { release(); }
platform::Status InputDevice::create() { return platform::status::E_FAIL; }
std::int32_t InputDevice::createKeyboard(platform::Window*, Keyboard*, ErrorLogger&) { return platform::status::E_POINTER; }
void InputDevice::release() { bCreated = false; }
