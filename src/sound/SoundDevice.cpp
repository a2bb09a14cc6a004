#include "sound/SoundDevice.h"

SoundDevice::SoundDevice() : bCreated(false) {}
SoundDevice::~SoundDevice() { release(); }
int SoundDevice::create(platform::Window*, ErrorLogger&) { return 0; }
platform::Status SoundDevice::loadWave(const char*, Sound*) { return platform::status::E_POINTER; }
void SoundDevice::release() { bCreated = false; }
