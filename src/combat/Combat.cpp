#include "combat/Combat.h"

Combat::Combat(DisplayDevice&, SoundDevice*, GameClock&, Surface&, PlayerSetup&, ErrorLogger&) {}
Combat::~Combat() = default;
int Combat::load() { return 0; }
int Combat::update(const std::uint8_t*) { return 0; }
platform::Status Combat::draw() { return platform::status::S_OK; }
int Combat::recreateSurfaces() { return 0; }
void Combat::resetFrameTime() {}
