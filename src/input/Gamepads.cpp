#include "input/Gamepads.h"

#include <cstdlib>
#include <string>

#include "input/PadKeys.h"
#include "platform/GamePads.h"

namespace {

// The game's folder for the player's own settings: QUADRILL_CONFIG_DIR,
// else $XDG_CONFIG_HOME/quadrill, else ~/.config/quadrill.
std::string configFolder() {
    const char* own = std::getenv("QUADRILL_CONFIG_DIR");
    if (own && *own) return own;
    const char* config = std::getenv("XDG_CONFIG_HOME");
    if (config && *config) return std::string(config) + "/quadrill";
    const char* home = std::getenv("HOME");
    if (home && *home) return std::string(home) + "/.config/quadrill";
    return std::string();
}

}  // namespace

Gamepads::~Gamepads() {
    if (bStarted) platform::systemPads().stop();
}

bool Gamepads::start() {
    bStarted = platform::systemPads().start(configFolder());
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
