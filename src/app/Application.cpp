#include "app/Application.h"

#include <cstdio>
#include <cstdlib>
#include <new>
#include <string>
#include <vector>

#include "app/GameClock.h"
#include "app/HowToPlayPage.h"
#include "app/LocalScheduler.h"
#include "app/OnlinePlay.h"
#include "combat/MatchKeys.h"
#include "combat/Combat.h"
#include "errors/ErrorLogger.h"
#include "graphics/DisplayDevice.h"
#include "graphics/Surface.h"
#include "input/Gamepads.h"
#include "input/InputDevice.h"
#include "input/KeyCodes.h"
#include "input/Keyboard.h"
#include "menu/HighScoreFile.h"
#include "menu/HighScoreTable.h"
#include "menu/Menu.h"
#include "platform/Audio.h"
#include "platform/EventPump.h"
#include "platform/GamePads.h"
#include "platform/ScreenOverlay.h"
#include "platform/Ticks.h"
#include "platform/Window.h"
#include "replay/GameFingerprint.h"
#include "replay/MatchRecording.h"
#include "replay/ReplayScheduler.h"
#include "resources/LayoutRows.h"
#include "resources/TextFileReader.h"
#include "settings/DataFolders.h"
#include "sound/SoundDevice.h"

using namespace platform::status;

Application::Application(platform::Window& window, ErrorLogger& logger)
    : pLogger(&logger),
      pClock(std::make_unique<GameClock>()),
      hWnd(window),
      bSaveHighScores(1),
      dwRandomSeed(platform::tickCount()) {
    random.seed(dwRandomSeed);
    platform::Audio::setMuted(false);
}

Application::~Application() {
    try {
        // The log keeps the last report only: the table's, if both fail.
        saveSettings();
        saveHighScores();
    } catch (const std::bad_alloc&) {
        // Told already; the old files stay as they were.
    }
    try {
        // Closed during a match: what was played is kept all the same.
        if (pCombat && pRecording) pRecording->file(replay::MatchEnd::kCutShort, *pCombat);
        if (isOnlineMatch()) pOnline->endMatch(replay::MatchEnd::kCutShort, "cut short", platform::tickCount());
    } catch (const std::bad_alloc&) {
    }
    // The others are told the room or this machine is going.
    pOnline.reset();
    pHighScores.reset();
    pWatch.reset();
    pRecording.reset();
    pScheduler.reset();
    pCombat.reset();
    pMenu.reset();
    pGamepads.reset();
    if (pKeyboard) pKeyboard->release();
    pKeyboard.reset();
    pMiscSurface.reset();
    pClock.reset();
    if (pSound) pSound->release();
    pSound.reset();
    if (pDirectInput) pDirectInput->release();
    pDirectInput.reset();
    pDisplay.reset();
}

void Application::saveHighScores() {
    // The table is kept whichever scene is current: closing the window in
    // the middle of a match must not throw away the names typed earlier.
    // Only a failed first menu, which never read the old file, and a file
    // that could not be read write nothing.
    if (!bSaveHighScores || !pHighScores) return;
    // Between two scenes (a match that failed to be made) the players are
    // those the menu handed over.
    highScoreFile::save(*pHighScores, pMenu ? pMenu->playerBits() : highScoreFile::playerBitsOf(setup), *pLogger);
}

void Application::keepSettings(const Settings& started) {
    settings = started;
    setMuted(started.muted);
}

void Application::saveSettings() {
    Settings now = settings;
    hWnd.windowedSize(now.windowWidth, now.windowHeight);
    now.fullscreen = hWnd.isFullscreen();
    now.muted = bMuted;
    // Unchanged settings are not written: a start that never got far, or a
    // read-only folder, costs the player no message.
    if (now.windowWidth == settings.windowWidth && now.windowHeight == settings.windowHeight &&
        now.fullscreen == settings.fullscreen && now.muted == settings.muted) {
        return;
    }
    std::string reason;
    if (!now.save(reason)) {
        pLogger->reportText(0, "Could not save the settings to " + Settings::path() + ": " + reason + ".", reason);
    }
}

void Application::initSound() {
    pSound = std::make_unique<SoundDevice>();
    if (!pSound->create(&hWnd, *pLogger)) {
        pSound->release();
        pSound.reset();
    }
}

int Application::initDisplayAndMenu() {
    // Until the old table has been read whole there is nothing to keep: a
    // start that fails or runs out of memory before must not write a table
    // that is empty or half read over the player's file.
    bSaveHighScores = 0;
    pDisplay = std::make_unique<DisplayDevice>();
    if (!pDisplay->start(hWnd, *pLogger)) return 0;
    // Muted since the last run: the mark shows from the first picture on.
    pDisplay->overlay().setMuted(bMuted);

    TextFileReader reader;
    const int opened = reader.openText("txtMain", "TextFile");
    if (opened != 0) {
        pLogger->reportMissingResource("txtMain", opened);
        return 0;
    }
    rcMisc = readRect(reader);
    pHighScores = std::make_unique<HighScoreTable>(*pDisplay);
    pHighScores->load(reader);
    reader.close();

    pMiscSurface = std::make_unique<Surface>();
    if (!pDisplay->createOffscreen(*pMiscSurface, rcMisc.right, rcMisc.bottom, "picMisc", *pLogger)) return 0;
    pMiscSurface->loadBitmap("picMisc", 0, 0);
    pMiscSurface->keyColour(kKeyGreen);

    makeMenu(true, false);
    if (!pMenu) return 0;
    // A table that could not be read is still on the disk; writing the
    // defaults over it would lose it for good.
    bSaveHighScores = pMenu->keepsOldHighScoreFile() ? 0 : 1;
    return 1;
}

void Application::makeMenu(bool first, bool abandoned) {
    pMenu = std::make_unique<Menu>(*pLogger, *pDisplay, pSound.get(), *pMiscSurface, *pHighScores, setup, &claims);
    if (!pMenu->load(first, abandoned)) {
        pMenu.reset();
        return;
    }
    showMenuLobby();
}

void Application::leaveMenu() {
    // A name being typed ends as a click would end it.
    if (pHighScores && pHighScores->isTyping()) pHighScores->endEntry();
    pMenu.reset();
    platform::ignoreHeldKeys();
    if (pKeyboard) pKeyboard->acquire();
}

int Application::initInput() {
    pDirectInput = std::make_unique<InputDevice>();
    const platform::Status created = pDirectInput->create();
    if (platform::failed(created)) {
        pLogger->reportStatus(100, 101, created);
        return 0;
    }
    pKeyboard = std::make_unique<Keyboard>();
    if (pDirectInput->createKeyboard(&hWnd, pKeyboard.get(), *pLogger) != 1) return 0;
    // The menu takes its input from window events; the keyboard is only
    // read while a match runs.
    pKeyboard->unacquire();
    // Pads are welcome but not needed: without them the keyboard plays.
    pGamepads = std::make_unique<Gamepads>();
    pGamepads->start();
    return 1;
}

void Application::onClick(std::int16_t x, std::int16_t y) {
    if (!pMenu) return;
    const std::int8_t action = pMenu->onClick(x, y);
    if (pOnline && pMenu) pOnline->claimsFrom(*pMenu);
    switch (action) {
        case Menu::kExit:
            platform::requestClose();
            break;
        case Menu::kStart:
            startMatch();
            break;
        case Menu::kLogo:
            openHowToPlayPage();
            break;
        default:
            break;
    }
}

void Application::onChar(std::uint8_t ch) {
    // No frame runs while paused to see Escape in the keys: it acts here.
    if (pCombat && bPaused && ch == 27) {
        returnToMenu(true);
        return;
    }
    if (!pMenu) return;
    const std::int8_t action = pMenu->onChar(ch);
    if (pOnline && pMenu) pOnline->claimsFrom(*pMenu);
    switch (action) {
        case Menu::kStartMatch:
            startMatch();
            break;
        case Menu::kQuit:
            platform::requestClose();
            break;
        default:
            break;
    }
}

void Application::startMatch() {
    if (pOnline) {
        // Only the host starts the room's match, for everybody at once.
        if (!pOnline->isHost()) return;
        pOnline->seedFromScript(random);
        const MatchRandom::State& state = random.state();
        if (!pOnline->session().startMatch(state.table, state.front, state.rear)) return;
        // The next match begins elsewhere in the sequence.
        for (int draw = 0; draw < 4; ++draw) random.next();
        startOnlineMatch();
        return;
    }
    leaveMenu();
    const MatchRandom::State start = random.state();
    pCombat = std::make_unique<Combat>(*pDisplay, pSound.get(), random, *pMiscSurface, setup, *pLogger);
    if (!pCombat->load()) {
        platform::requestClose();
        return;
    }
    pScheduler = std::make_unique<LocalScheduler>(*pCombat, *pClock);
    pRecording = std::make_unique<replay::MatchRecording>(
        setup, claims, start, dataFolders::dataDir() + "/replays",
        replay::GameFingerprint::own(*pDisplay, *pMiscSurface, *pLogger), pLogger);
    drawScene();
}

int Application::watchReplay(const replay::Replay& recorded) {
    if (!pMenu) return 0;
    pMenu.reset();
    platform::ignoreHeldKeys();
    if (pKeyboard) pKeyboard->acquire();
    pWatch = std::make_unique<replay::ReplayScheduler>(recorded, *pDisplay, pSound.get(), *pMiscSurface, *pLogger);
    // A test switch: "FRAME:FILE.bmp,..." writes those frames' pictures.
    if (const char* dumps = std::getenv("QUADRILL_REPLAY_DUMP")) pWatch->dumpFrames(dumps);
    if (!pWatch->load(pClock->now())) {
        platform::requestClose();
        return 0;
    }
    drawScene();
    return 1;
}

void Application::watchFrame() {
    std::uint8_t keys[256] = {};
    if (!pKeyboard || platform::failed(pKeyboard->getState(sizeof keys, keys))) {
        reacquireKeyboard();
        return;
    }
    if (pWatch->runTurn(pClock->now(), keys) != replay::ReplayScheduler::Turn::kWatching) {
        returnToMenu(true);
    } else if (!pWatch->combat().hasArena() && !drawScene()) {
        platform::requestClose();
    }
}

void Application::frame() {
    if (isOnlineMatch()) {
        onlineFrame();
        return;
    }
    if (pWatch) {
        watchFrame();
        return;
    }
    if (!pCombat || !pScheduler) return;
    std::uint8_t keys[256] = {};
    if (!pKeyboard || platform::failed(pKeyboard->getState(sizeof keys, keys))) {
        reacquireKeyboard();
        return;
    }
    if (pGamepads) pGamepads->addKeys(claims, keys);
    const Combat::FrameResult result = pScheduler->runFrame(keys);
    if (pRecording) pRecording->addFrame(pScheduler->lastFrameTime(), keys, *pCombat);
    if (result == Combat::FrameResult::kGoing) {
        // A change of display mode took the arena with it during the frame's
        // own drawing; nobody would repaint for us, so rebuild now.
        if (!pCombat->hasArena() && !drawScene()) platform::requestClose();
        return;
    }
    const bool left = result == Combat::FrameResult::kLeft;
    if (pRecording) pRecording->file(left ? replay::MatchEnd::kLeft : replay::MatchEnd::kOver, *pCombat);
    returnToMenu(left);
}

void Application::returnToMenu(bool abandoned) {
    // Left between two frames (while paused): the replay ends there.
    if (pRecording && pCombat) pRecording->file(replay::MatchEnd::kCutShort, *pCombat);
    if (bPaused) setPaused(false);
    // A colour whose pad was pulled out is free again in the menu.
    claims.dropWaiting();
    pWatch.reset();
    pScheduler.reset();
    pCombat.reset();
    if (pKeyboard) pKeyboard->unacquire();
    // Escape or a paddle key still held from the match must not act in the
    // menu: its auto-repeat would quit the game or type into the table.
    platform::ignoreHeldKeys();
    makeMenu(false, abandoned);
    if (!pMenu) {
        platform::requestClose();
        return;
    }
    // A result that entered the table keeps its replay for good.
    if (pRecording && pHighScores->isTyping()) {
        pRecording->keepForGood(pHighScores->editingRow(), pHighScores->score(pHighScores->editingRow()));
    }
    pRecording.reset();
    drawScene();
}

int Application::drawScene() {
    platform::Status status = S_OK;
    if (pMenu) {
        status = pMenu->draw();
    } else if (pCombat) {
        status = pCombat->draw();
    } else if (pWatch) {
        status = pWatch->draw();
    } else if (isOnlineMatch()) {
        status = pOnline->match()->combat().draw();
    }
    if (status != DDERR_WRONGMODE) return 1;

    // The display mode changed under us and every surface went with it. The
    // device and the sprite sheet keep their objects, so every reference the
    // scenes and balls hold stays good; only what is inside is made anew.
    pMiscSurface->release();
    pDisplay->releaseInterfaces();
    if (!pDisplay->start(hWnd, *pLogger)) return 0;
    if (!pDisplay->createOffscreen(*pMiscSurface, rcMisc.right, rcMisc.bottom, "picMisc", *pLogger)) return 0;
    pMiscSurface->loadBitmap("picMisc", 0, 0);
    pMiscSurface->keyColour(kKeyGreen);
    Combat* match = pCombat                     ? pCombat.get()
                    : pWatch                    ? &pWatch->combat()
                    : isOnlineMatch()           ? &pOnline->match()->combat()
                                                : nullptr;
    const int recreated = pMenu ? pMenu->recreateSurfaces() : match ? match->recreateSurfaces() : 1;
    // The menu has no frames of its own: show it again at once rather than
    // leave the rebuilt, empty display up until the next click.
    if (recreated && pMenu) pMenu->draw();
    return recreated;
}

void Application::onWindowMoved() {
    if (pDisplay) pDisplay->updateWindowRect();
}

void Application::pauseClock(bool paused) { pClock->setPaused(paused); }

void Application::resetMatchTimer() {
    if (pScheduler) pScheduler->dropElapsed();
    if (pWatch) pWatch->dropElapsed(pClock->now());
}

void Application::reacquireKeyboard() {
    if (pKeyboard) pKeyboard->acquire();
}

void Application::onKey(std::uint8_t code, char letter) {
    const bool typingName = pMenu && pHighScores && pHighScores->isTyping();
    if (letter == 'm' && !typingName) setMuted(!bMuted);
    const bool pauseKey = letter == 'p' || code == keys::DIK_PAUSE;
    // Online, a pause is the room's: asked of the host, which tells everybody.
    if (isOnlineMatch() && pauseKey) pOnline->session().requestPause(!pOnline->session().isPaused());
    if (pCombat && pauseKey) setPaused(!bPaused);
}

void Application::onPadAdded(int pad) {
    // A pad plugged in during a match takes over a colour whose pad was
    // pulled out; once every such colour has its pad, play goes on.
    if (!pCombat || claims.adoptWaiting(pad) == PadClaims::kNone) return;
    if (claims.anyWaiting()) {
        showPauseNote();
    } else {
        setPaused(false);
    }
}

void Application::onPadRemoved(int pad) {
    if (claims.colourOf(pad) == PadClaims::kNone) return;
    if (pCombat) {
        claims.holdForReturn(pad);
        setPaused(true);
        return;
    }
    claims.release(pad);
    if (pMenu) pMenu->draw();
}

void Application::onPadPress(int pad, std::uint16_t button) {
    if (pMenu) {
        const std::int8_t action = pMenu->onPad(pad, button);
        if (pOnline && pMenu) pOnline->claimsFrom(*pMenu);
        if (action == Menu::kStartMatch) startMatch();
        return;
    }
    if (isOnlineMatch() && button == platform::padButton::kStart) {
        pOnline->session().requestPause(!pOnline->session().isPaused());
        return;
    }
    if (!pCombat) return;
    // Back while playing reaches the match as Escape, through the keys.
    if (button == platform::padButton::kStart) {
        setPaused(!bPaused);
    } else if (button == platform::padButton::kBack && bPaused) {
        returnToMenu(true);
    }
}

void Application::setPaused(bool paused) {
    if (paused && !pCombat) return;
    if (paused != bPaused) {
        bPaused = paused;
        pClock->setPaused(GameClock::Reason::Player, paused);
    }
    // Also when it was paused already: a pad pulled out changes the note.
    showPauseNote();
}

void Application::showPauseNote() {
    if (!pDisplay) return;
    static const char* const kColourNames[PadClaims::kColours] = {"green", "yellow", "red", "blue"};
    std::vector<std::string> lines;
    if (isOnlineMatch() && pOnline->session().isPaused()) {
        lines = {"Paused", "Every machine waits", "Press P, or Start on a pad, to play on", "Escape leaves the match"};
    } else if (bPaused) {
        lines.push_back("Paused");
        for (int colour = 0; colour < PadClaims::kColours; ++colour) {
            if (claims.isWaiting(colour)) lines.push_back(std::string("The ") + kColourNames[colour] + " pad is unplugged");
        }
        lines.push_back(claims.anyWaiting() ? "Plug it back in, or press P or Start to play on"
                                            : "Press P, or Start on a pad, to play on");
        lines.push_back("Escape leaves the match");
    }
    pDisplay->overlay().setNote(lines);
    pDisplay->showAgain();
}

void Application::setMuted(bool muted) {
    bMuted = muted;
    platform::Audio::setMuted(muted);
    if (!pDisplay) return;
    pDisplay->overlay().setMuted(muted);
    pDisplay->showAgain();
}

bool Application::isOnlineMatch() const { return pOnline != nullptr && pOnline->match() != nullptr; }

bool Application::goOnline(const CommandLine& options) {
    pOnline =
        std::make_unique<OnlinePlay>(options, replay::GameFingerprint::own(*pDisplay, *pMiscSurface, *pLogger));
    std::string error;
    if (!pOnline->open(error)) {
        std::fprintf(stderr, "quadrill: %s\n", error.c_str());
        pOnline.reset();
        return false;
    }
    hWnd.setTitle(pOnline->title().c_str());
    pOnline->claimScriptColours();
    // The host's room starts with the colours its menu has ticked; a
    // machine that joins claims only what its player ticks in the room.
    if (pOnline->isHost() && pMenu && !pOnline->hasScript()) pOnline->claimsFrom(*pMenu);
    showMenuLobby();
    if (pMenu) pMenu->draw();
    return true;
}

void Application::showMenuLobby() {
    if (!pOnline || !pMenu) return;
    pOnline->refreshSeats();
    pMenu->setLobby(&pOnline->seats());
    pOnline->claimsTo(*pMenu);
}

void Application::receiveNetwork() {
    if (!pOnline) return;
    pOnline->session().receive(platform::tickCount());
    for (const net::SessionEvent& event : pOnline->session().takeEvents()) {
        onNetworkEvent(event);
        if (!pOnline) return;
    }
    if (pMenu && pOnline->scriptWantsStart()) startMatch();
    if (bLeavingOnline && pOnline->mayGoNow(platform::tickCount())) platform::requestClose();
}

void Application::sendNetwork() {
    if (pOnline) pOnline->session().send(platform::tickCount());
}

void Application::onNetworkEvent(const net::SessionEvent& event) {
    using Kind = net::SessionEvent::Kind;
    const std::uint32_t now = platform::tickCount();
    switch (event.kind) {
        case Kind::Welcomed:
            pOnline->claimScriptColours();
            break;
        case Kind::MatchStarts:
            // A new match while the last one still ran here: the host has
            // moved on, and so does this machine.
            if (isOnlineMatch()) {
                pOnline->endMatch(replay::MatchEnd::kCutShort, "cut short by the next", now);
                showPauseNote();
                returnToMenu(true);
            }
            if (!pCombat && !pWatch) startOnlineMatch();
            return;
        case Kind::PauseChanged:
            if (!isOnlineMatch()) return;
            if (pOnline->session().isPaused()) {
                pOnline->match()->pause(now);
            } else {
                pOnline->match()->resume(now);
            }
            showPauseNote();
            return;
        case Kind::OutOfStep:
            if (!isOnlineMatch()) return;
            pOnline->endOutOfStep(event, now);
            endOnlineMatch(false);
            return;
        case Kind::MatchEnded:
            if (!isOnlineMatch()) return;
            pOnline->endMatch(replay::MatchEnd::kCutShort, "ended: the host left it", now);
            pOnline->setNote("The host left the match");
            endOnlineMatch(false);
            return;
        case Kind::Closed:
            std::fprintf(stderr, "quadrill: %s\n", event.note.c_str());
            hWnd.setTitle("Quadrill");
            if (isOnlineMatch()) pOnline->endMatch(replay::MatchEnd::kCutShort, "ended: the room is gone", now);
            pOnline->setNote(event.note.size() < 48 ? event.note : "The room is gone");
            if (pOnline->endsAfterMatch()) {
                platform::requestClose();
                return;
            }
            if (!pMenu) returnToMenu(true);
            break;
        case Kind::TurnedAway:
            std::fprintf(stderr, "quadrill: %s\n", event.note.c_str());
            pOnline->setNote("A machine was turned away");
            break;
        case Kind::LobbyChanged:
        case Kind::SeatChanged:
            break;
    }
    if (pMenu) {
        showMenuLobby();
        pMenu->draw();
    }
}

void Application::startOnlineMatch() {
    leaveMenu();
    if (bPaused) setPaused(false);
    if (!pOnline->beginMatch(*pDisplay, pSound.get(), *pMiscSurface, *pLogger, platform::tickCount())) {
        platform::requestClose();
        return;
    }
    showPauseNote();
    drawScene();
}

void Application::onlineFrame() {
    std::uint8_t keys[256] = {};
    // Online the match goes on without this machine's keys when the
    // keyboard cannot be read (the window in the background).
    if (!pKeyboard || platform::failed(pKeyboard->getState(sizeof keys, keys))) {
        reacquireKeyboard();
        for (std::uint8_t& key : keys) key = 0;
    }
    if (pGamepads) pGamepads->addKeys(claims, keys);
    net::NetMatch& match = *pOnline->match();
    const std::uint16_t bits = pOnline->keysFor(keys, match.rollback().frame());
    const std::uint32_t now = platform::tickCount();
    if (bits & matchKeys::kEscapeBit) {
        // Escape leaves the match here only; the others play on.
        pOnline->session().leaveMatch();
        // No frame here reads the Escape: the replay ends where the settled
        // frames end, cut short.
        pOnline->endMatch(replay::MatchEnd::kCutShort, "left", now);
        endOnlineMatch(false);
        return;
    }
    OnlinePlay& online = *pOnline;
    const auto held = [&online, &keys](std::uint32_t frame) {
        return static_cast<std::uint8_t>(online.keysFor(keys, frame) & 0xFF);
    };
    if (match.runTurn(now, held) == net::NetMatch::Turn::kOver) {
        const bool over = match.rollback().isOver();
        const net::NetMatch::Result result = match.result();
        // This machine's table hears of its own people only.
        pOnline->session().ownColours(setup.bHuman);
        for (int colour = 0; colour < 4; ++colour) setup.iScore[colour] = result.scores[colour];
        pOnline->session().finishMatch();
        pOnline->endMatch(over ? replay::MatchEnd::kOver : replay::MatchEnd::kCutShort, over ? "over" : "stopped",
                          now);
        endOnlineMatch(over);
        return;
    }
    // A paused room's picture does not change: it was shown with the note.
    if (pOnline->session().isPaused()) return;
    if (!drawScene()) platform::requestClose();
}

void Application::endOnlineMatch(bool byItself) {
    if (pOnline->match()) pOnline->endMatch(replay::MatchEnd::kCutShort, "cut short", platform::tickCount());
    showPauseNote();
    returnToMenu(!byItself);
    // A test's run ends after its match, once the others have what they
    // need from this machine.
    if (pOnline->endsAfterMatch()) bLeavingOnline = true;
}
