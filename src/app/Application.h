#pragma once
#include <cstdint>
#include <memory>

#include "app/PlayerSetup.h"
#include "graphics/Rect.h"
#include "physics/MatchRandom.h"

class Combat;
class DisplayDevice;
class ErrorLogger;
class GameClock;
class HighScoreTable;
class InputDevice;
class LocalScheduler;
class Keyboard;
class Menu;
class SoundDevice;
class Surface;
namespace platform {
class Window;
}
namespace replay {
class MatchRecording;
class ReplayScheduler;
struct Replay;
}  // namespace replay

// Owns everything that lives longer than one scene: the display, the
// sprite sheet, the table of best results, the clock, sound and keyboard,
// and the player setup. Exactly one scene, the menu or a match, is current.
//
// Whatever asks for the window to close (the Exit button, Escape in the
// menu, a scene that fails to load, running out of memory) only files the
// request; the main loop carries it out once the operation has returned,
// so nothing here is used after the Application is gone.
class Application {
public:
    Application(platform::Window& window, ErrorLogger& logger);
    ~Application();
    Application(const Application&) = delete;
    Application& operator=(const Application&) = delete;

    void initSound();
    int initDisplayAndMenu();
    int initInput();

    void frame();
    int drawScene();
    void onClick(std::int16_t x, std::int16_t y);
    void onChar(std::uint8_t ch);
    void onWindowMoved();
    void pauseClock(bool paused);
    void resetMatchTimer();
    void reacquireKeyboard();

    // A start that fails after the first menu writes no table at the end:
    // a game that never ran has nothing new to keep.
    void skipSavingHighScores() { bSaveHighScores = 0; }

    // Leaves the menu to show a recorded match as it was played; back to the
    // menu when it ends or Escape is pressed. 0 when it cannot be shown.
    int watchReplay(const replay::Replay& replay);

    // A match, played or watched, wants every idle turn; the menu waits
    // for events.
    bool isMatchRunning() const { return pCombat != nullptr || pWatch != nullptr; }

    // For tests and the headless tools.
    Menu* menu() const { return pMenu.get(); }
    Combat* combat() const { return pCombat.get(); }
    replay::ReplayScheduler* replayWatch() const { return pWatch.get(); }
    PlayerSetup& playerSetup() { return setup; }
    DisplayDevice* display() const { return pDisplay.get(); }
    HighScoreTable* highScores() const { return pHighScores.get(); }
    std::uint32_t randomSeed() const { return dwRandomSeed; }

private:
    void startMatch();
    void watchFrame();
    void backToMenu(bool abandoned);
    void saveHighScores();

    ErrorLogger* pLogger;
    std::unique_ptr<DisplayDevice> pDisplay;
    std::unique_ptr<InputDevice> pDirectInput;
    std::unique_ptr<SoundDevice> pSound;
    std::unique_ptr<GameClock> pClock;
    Rect rcMisc;
    std::unique_ptr<Surface> pMiscSurface;
    platform::Window& hWnd;
    std::unique_ptr<Keyboard> pKeyboard;
    std::int32_t bSaveHighScores;
    std::unique_ptr<Menu> pMenu;
    std::unique_ptr<Combat> pCombat;
    std::unique_ptr<LocalScheduler> pScheduler;
    // Every match played here is recorded into the replays folder.
    std::unique_ptr<replay::MatchRecording> pRecording;
    std::unique_ptr<replay::ReplayScheduler> pWatch;
    std::unique_ptr<HighScoreTable> pHighScores;
    PlayerSetup setup;
    std::uint32_t dwRandomSeed;
    // Seeded once at start-up; every match goes on drawing from it.
    MatchRandom random;
};
