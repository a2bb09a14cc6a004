#pragma once
#include <cstdint>

#include "platform/Status.h"

class DisplayDevice;
class ErrorLogger;
class GameClock;
class SoundDevice;
class Surface;
struct PlayerSetup;

// One match: ten serves in the square arena, four paddles, the balls, a
// bonus now and then, the scores in the corners.
class Combat {
public:
    Combat(DisplayDevice& display, SoundDevice* sound, GameClock& clock, Surface& misc, PlayerSetup& setup,
           ErrorLogger& logger);
    ~Combat();
    Combat(const Combat&) = delete;
    Combat& operator=(const Combat&) = delete;

    int load();
    // One frame; 0 once the match is finished.
    int update(const std::uint8_t* keys);
    platform::Status draw();
    int recreateSurfaces();
    void resetFrameTime();
};
