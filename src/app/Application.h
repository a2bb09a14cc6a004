#pragma once
#include <cstdint>
#include <memory>

#include "app/Devices.h"
#include "app/scenes/Scene.h"
#include "combat/PlayerSetup.h"
#include "input/PadClaims.h"
#include "physics/MatchRandom.h"
#include "settings/Settings.h"

class Combat;
class DisplayDevice;
class ErrorLogger;
class GameClock;
class HighScoreTable;
class Menu;
class OnlinePlay;
struct CommandLine;
struct Stage;
namespace platform {
class Window;
}
namespace net {
struct SessionEvent;
}
namespace replay {
class ReplayScheduler;
struct Replay;
}  // namespace replay

// Owns everything that lives longer than one scene: the display, the
// sprite sheet, the table of best results, the clock, sound, keyboard and
// pads, the settings, the match generator and the player setup, and the
// online room when there is one. Exactly one scene is current (the menu, a
// match, a replay, an online match); every event goes to it, after the
// rules all scenes share: the pause, the mute, pads pulled out, saving.
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

    // The start, in the order the first picture needs it: the display and
    // the menu first; the keyboard, then sound and pads once it is shown.
    int initDisplayAndMenu();
    int initInput();
    void initSound();
    void initPads();

    void frame();
    int drawScene();
    void onClick(std::int16_t x, std::int16_t y);
    void onChar(std::uint8_t ch);
    void onWindowMoved();
    // The window went to the background or came back: the clock stands
    // still meanwhile.
    void onFocus(bool active);
    // Time spent minimised, moving the window or switching the screen.
    void skipTime();

    // The settings the game started with; what has changed in them (the
    // window's size, fullscreen, mute) is written back at the end.
    void keepSettings(const Settings& started);

    // Keys the game itself answers, apart from the match's own: P or Pause
    // pause a match and resume it, M switches the sound off and on (except
    // while a name is typed, where it is a letter). letter is the key's
    // letter in the keyboard's layout, 0 for other keys.
    void onKey(std::uint8_t code, char letter);
    // Pads come and go at any time. One pulled out in a match pauses it
    // (online, the room) until it comes back, another pad takes its colour
    // with A, or the players resume.
    void onPadAdded(int pad);
    void onPadRemoved(int pad);
    // A button of platform/GamePads.h pressed on a pad.
    void onPadPress(int pad, std::uint16_t button);

    bool isPaused() const { return pScene && pScene->isPaused(); }
    // All sound off, or on again; a mark shows while it is off.
    void setMuted(bool muted);
    bool isMuted() const { return bMuted; }

    // A start that fails after the first menu writes no table at the end:
    // a game that never ran has nothing new to keep.
    void skipSavingHighScores() { bSaveHighScores = 0; }
    // The table and the changed settings written now, as at the end of a
    // run: a browser page can be closed at any moment without an end.
    void keepPlayersFiles();

    // Leaves the menu to show a recorded match as it was played; back to the
    // menu when it ends or Escape is pressed. 0 when it cannot be shown.
    int watchReplay(const replay::Replay& replay);

    // Into an online room as the command line says: hosting, joining or
    // watching. False, told on stderr, when the room cannot be opened.
    bool goOnline(const CommandLine& options);
    bool isOnline() const { return pRoom != nullptr; }
    // Every turn of the main loop while online, the menu's too: what has
    // arrived is taken in before the frame, what is due goes out after it.
    void receiveNetwork();
    void sendNetwork();

    // A match, played or watched.
    bool isMatchRunning() const { return combat() != nullptr; }
    // A match that is not paused wants every idle turn; the menu and a
    // paused match wait for events.
    bool wantsFrames() const { return pScene && pScene->wantsFrames(); }
    // An online match runs on while the window is in the background: the
    // other machines do not wait.
    bool runsInBackground() const { return pScene && pScene->runsInBackground(); }

    // For tests and the headless tools.
    Scene* scene() const { return pScene.get(); }
    Menu* menu() const;
    Combat* combat() const { return pScene ? pScene->combat() : nullptr; }
    replay::ReplayScheduler* replayWatch() const;
    PlayerSetup& playerSetup() { return setup; }
    DisplayDevice* display() const { return devices.display(); }
    HighScoreTable* highScores() const { return pHighScores.get(); }
    std::uint32_t randomSeed() const { return dwRandomSeed; }
    const PadClaims& padClaims() const { return claims; }
    GameClock& clock() { return *pClock; }

private:
    // Carries out what the scene answered, then brings the pause note up
    // to date.
    void apply(SceneChange change);
    void switchTo(std::unique_ptr<Scene> next);
    void onRoomEvent(const net::SessionEvent& event);
    void showPauseNote();
    void saveHighScores();

    ErrorLogger* pLogger;
    platform::Window& hWnd;
    Devices devices;
    std::unique_ptr<GameClock> pClock;
    std::int32_t bSaveHighScores;
    std::unique_ptr<HighScoreTable> pHighScores;
    PlayerSetup setup;
    std::uint32_t dwRandomSeed;
    // Seeded once at start-up; every match goes on drawing from it.
    MatchRandom random;
    Settings settings;
    PadClaims claims;
    bool bMuted = false;
    std::unique_ptr<OnlinePlay> pRoom;
    std::unique_ptr<Stage> pStage;
    std::unique_ptr<Scene> pScene;
};
