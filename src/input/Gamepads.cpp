#include "input/Gamepads.h"

#include "input/PadKeys.h"
#include "platform/GamePads.h"
#include "settings/DataFolders.h"

Gamepads::~Gamepads() {
    if (bStarted) platform::systemPads().stop();
}

bool Gamepads::start() {
    bStarted = platform::systemPads().start(dataFolders::configDir());
    return bStarted;
}

void Gamepads::addKeys(const PadClaims& claims, std::uint8_t* keys) {
    if (!bStarted) return;
    platform::GamePads& pads = platform::systemPads();
    padKeys::PadButtons buttons = {};
    for (int pad = 1; pad <= platform::kMaxPads; ++pad) buttons[pad] = pads.buttons(pad);
    pads.notePolled();
    padKeys::addKeys(claims, buttons, keys);
}
