#pragma once

#include "combat/PlayerSetup.h"
#include "errors/ErrorLogger.h"
#include "graphics/DisplayDevice.h"
#include "graphics/Surface.h"
#include "physics/MatchRandom.h"
#include "platform/Window.h"

// What a match stands on, made as the game makes it but without sound or a
// visible window: the message table, a hidden window with a started
// display, the keyed sprite sheet, the random numbers and a setup with no
// people.
// Also a plain 400 x 400 picture, to time one copy onto the back buffer.
class HeadlessStage {
public:
    HeadlessStage();
    HeadlessStage(const HeadlessStage&) = delete;
    HeadlessStage& operator=(const HeadlessStage&) = delete;

    bool ready() const { return bReady; }
    // The floor of composing a frame: the arena alone already is this copy.
    void copyPlainPicture();

    ErrorLogger logger;
    platform::Window window;
    DisplayDevice display;
    Surface misc;
    Surface plain;
    PlayerSetup setup;
    MatchRandom random;

private:
    bool bReady = false;
};
