#include "app/Devices.h"

#include "errors/ErrorLogger.h"
#include "graphics/DisplayDevice.h"
#include "graphics/Surface.h"
#include "input/Gamepads.h"
#include "input/InputDevice.h"
#include "input/Keyboard.h"
#include "platform/Window.h"
#include "sound/SoundDevice.h"

Devices::Devices(platform::Window& theWindow, ErrorLogger& theLogger) : window(theWindow), logger(theLogger) {}

Devices::~Devices() {
    pGamepads.reset();
    if (pKeyboard) pKeyboard->release();
    pKeyboard.reset();
    pMiscSurface.reset();
    if (pSound) pSound->release();
    pSound.reset();
    if (pDirectInput) pDirectInput->release();
    pDirectInput.reset();
    pDisplay.reset();
}

int Devices::startDisplay() {
    pDisplay = std::make_unique<DisplayDevice>();
    return pDisplay->start(window, logger);
}

int Devices::makeSpriteSheet(const Rect& sheet) {
    rcMisc = sheet;
    if (!pMiscSurface) pMiscSurface = std::make_unique<Surface>();
    if (!pDisplay->createOffscreen(*pMiscSurface, rcMisc.right, rcMisc.bottom, "picMisc", logger)) return 0;
    pMiscSurface->loadBitmap("picMisc", 0, 0);
    pMiscSurface->keyColour(kKeyGreen);
    return 1;
}

int Devices::rebuildDisplay() {
    pMiscSurface->release();
    pDisplay->releaseInterfaces();
    if (!pDisplay->start(window, logger)) return 0;
    return makeSpriteSheet(rcMisc);
}

int Devices::startKeyboard() {
    pDirectInput = std::make_unique<InputDevice>();
    const platform::Status created = pDirectInput->create();
    if (platform::failed(created)) {
        logger.reportStatus(100, 101, created);
        return 0;
    }
    pKeyboard = std::make_unique<Keyboard>();
    if (pDirectInput->createKeyboard(&window, pKeyboard.get(), logger) != 1) return 0;
    pKeyboard->unacquire();
    return 1;
}

bool Devices::startSound() {
    pSound = std::make_unique<SoundDevice>();
    if (pSound->create(&window, logger)) return true;
    pSound->release();
    pSound.reset();
    return false;
}

void Devices::startPads() {
    pGamepads = std::make_unique<Gamepads>();
    pGamepads->start();
}
