#pragma once
#include <cstdint>
#include <functional>
#include <string>

class DisplayDevice;
class ErrorLogger;
class GameClock;
class Gamepads;
class HighScoreTable;
class KeyBindings;
class Keyboard;
class MatchRandom;
class OnlinePlay;
class PadClaims;
class SoundDevice;
class Surface;
struct PlayerSetup;
struct CommandLine;
class Settings;

// What outlives every scene and what the scenes work with: the display and
// its sprite sheet, the table, the players, the pads' colours, the match
// generator and clock. The application owns all of it; a scene holds the
// stage, never the application. Sound, keyboard and pads come up after the
// first picture, so the scenes find them here when they need them.
struct Stage {
    ErrorLogger& logger;
    DisplayDevice& display;
    Surface& misc;
    HighScoreTable& highScores;
    PlayerSetup& setup;
    PadClaims& claims;
    MatchRandom& random;
    GameClock& clock;
    // Null until ready, or for good when there is none.
    SoundDevice* sound = nullptr;
    Keyboard* keyboard = nullptr;
    Gamepads* pads = nullptr;
    // The online room, when the game is in one.
    OnlinePlay* room = nullptr;
    // The keys each colour plays with, as the menu lets the players choose.
    KeyBindings* bindings = nullptr;
    // The player's settings, which a scene may change and save at once.
    Settings* settings = nullptr;
    // Into an online room, as the command line would ask: the application's
    // own way in, which a scene started without options can take too.
    std::function<bool(const CommandLine&)> goOnline = nullptr;

    // Where every match played here is recorded.
    static std::string replaysFolder();

    // The keyboard's 256-byte state; for a match (withPads), each colour's
    // chosen keys read as its default ones and the pads' keys added.
    // False, the keyboard's part all up and the keyboard asked for again,
    // when it cannot be read, as in the background.
    bool readKeys(std::uint8_t* keys, bool withPads) const;

    // A file the player owns could not be written (the table, the
    // settings, a replay): told in the window and in the log, once, in
    // the words given. The old file stays as it was.
    void tellFailedSave(const std::string& message, const std::string& reason) const {
        tellFailedSave(logger, message, reason);
    }
    // The same, before there is a stage.
    static void tellFailedSave(ErrorLogger& logger, const std::string& message, const std::string& reason);
};
