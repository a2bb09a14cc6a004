#include "app/scenes/Stage.h"

#include "errors/ErrorLogger.h"
#include "input/Gamepads.h"
#include "input/KeyBindings.h"
#include "input/Keyboard.h"
#include "settings/DataFolders.h"

std::string Stage::replaysFolder() { return dataFolders::dataDir() + "/replays"; }

bool Stage::readKeys(std::uint8_t* keys, bool withPads) const {
    bool read = keyboard != nullptr && !platform::failed(keyboard->getState(256, keys));
    if (!read) {
        if (keyboard) keyboard->acquire();
        for (int code = 0; code < 256; ++code) keys[code] = 0;
    }
    // A replay watched reads the keys where they are (Space, Right).
    if (read && withPads && bindings) bindings->apply(keys);
    if (withPads && pads) pads->addKeys(claims, keys);
    return read;
}

void Stage::tellFailedSave(ErrorLogger& logger, const std::string& message, const std::string& reason) {
    logger.reportText(0, message, reason);
}
