#include "input/Keyboard.h"

Keyboard::Keyboard() : bDevice(false) {}
Keyboard::~Keyboard() { release(); }
int Keyboard::init(platform::Window*, InputDevice&, ErrorLogger&) { return 0; }
platform::Status Keyboard::getState(std::uint32_t, std::uint8_t*) { return platform::status::E_POINTER; }
platform::Status Keyboard::acquire() { return platform::status::E_POINTER; }
platform::Status Keyboard::unacquire() { return platform::status::E_POINTER; }
void Keyboard::release() { bDevice = false; }
