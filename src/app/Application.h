#pragma once
#include <cstdint>
#include <memory>

#include "combat/PlayerSetup.h"
#include "graphics/Rect.h"
#include "input/PadClaims.h"
#include "physics/MatchRandom.h"
#include "settings/Settings.h"

class Combat;
class DisplayDevice;
class ErrorLogger;
class GameClock;
class Gamepads;
class HighScoreTable;
class InputDevice;
class LocalScheduler;
class Keyboard;
class Menu;
class OnlinePlay;
struct CommandLine;
class SoundDevice;
class Surface;
namespace platform {
class Window;
}
namespace net {
struct SessionEvent;
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

    // The settings the game started with; what has changed in them (the
    // window's size, fullscreen, mute) is written back at the end.
    void keepSettings(const Settings& started);

    // Keys the game itself answers, apart from the match's own: P or Pause
    // pause a match and resume it, M switches the sound off and on (except
    // while a name is typed, where it is a letter). letter is the key's
    // letter in the keyboard's layout, 0 for other keys.
    void onKey(std::uint8_t code, char letter);
    // Pads come and go at any time. One pulled out in a match pauses it
    // until it comes back or the players resume.
    void onPadAdded(int pad);
    void onPadRemoved(int pad);
    // A button of platform/GamePads.h pressed on a pad.
    void onPadPress(int pad, std::uint16_t button);

    // The players' pause: the match's clock stands still, no frame runs,
    // and a note over the picture says how to go on. Only a match pauses.
    void setPaused(bool paused);
    bool isPaused() const { return bPaused; }
    // All sound off, or on again; a mark shows while it is off.
    void setMuted(bool muted);
    bool isMuted() const { return bMuted; }

    // A start that fails after the first menu writes no table at the end:
    // a game that never ran has nothing new to keep.
    void skipSavingHighScores() { bSaveHighScores = 0; }

    // Leaves the menu to show a recorded match as it was played; back to the
    // menu when it ends or Escape is pressed. 0 when it cannot be shown.
    int watchReplay(const replay::Replay& replay);

    // Into an online room as the command line says: hosting, joining or
    // watching. False, told on stderr, when the room cannot be opened.
    bool goOnline(const CommandLine& options);
    bool isOnline() const { return pOnline != nullptr; }
    // Every turn of the main loop while online, the menu's too: what has
    // arrived is taken in before the frame, what is due goes out after it.
    void receiveNetwork();
    void sendNetwork();
    // An online match runs on while the window is in the background: the
    // other machines do not wait.
    bool isOnlineMatch() const;

    // A match, played or watched.
    bool isMatchRunning() const { return pCombat != nullptr || pWatch != nullptr || isOnlineMatch(); }
    // A match that is not paused wants every idle turn; the menu and a
    // paused match wait for events. An online match, even paused, turns on
    // to hear the others.
    bool wantsFrames() const { return (pCombat != nullptr && !bPaused) || pWatch != nullptr || isOnlineMatch(); }

    // For tests and the headless tools.
    Menu* menu() const { return pMenu.get(); }
    Combat* combat() const { return pCombat.get(); }
    replay::ReplayScheduler* replayWatch() const { return pWatch.get(); }
    PlayerSetup& playerSetup() { return setup; }
    DisplayDevice* display() const { return pDisplay.get(); }
    HighScoreTable* highScores() const { return pHighScores.get(); }
    std::uint32_t randomSeed() const { return dwRandomSeed; }
    const PadClaims& padClaims() const { return claims; }
    GameClock& clock() { return *pClock; }

private:
    void startMatch();
    // Out of the menu into a match; the keyboard is the match's now.
    void leaveMenu();
    void makeMenu(bool first, bool abandoned);
    void watchFrame();
    void startOnlineMatch();
    void onlineFrame();
    void onNetworkEvent(const net::SessionEvent& event);
    // The online match ends here and the menu comes back: its own people's
    // results are offered to this machine's table when it ended by itself.
    void endOnlineMatch(bool byItself);
    void showMenuLobby();
    // The match is over, or left (abandoned: no result is offered).
    void returnToMenu(bool abandoned);
    void showPauseNote();
    void saveHighScores();
    void saveSettings();

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
    Settings settings;

    std::unique_ptr<OnlinePlay> pOnline;
    bool bLeavingOnline = false;

    std::unique_ptr<Gamepads> pGamepads;
    PadClaims claims;
    bool bPaused = false;
    bool bMuted = false;
};
