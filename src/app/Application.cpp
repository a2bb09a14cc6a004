#include "app/Application.h"

#include <new>
#include <string>
#include <vector>

#include "app/CommandLine.h"
#include "app/GameClock.h"
#include "app/OnlinePlay.h"
#include "replay/GameFingerprint.h"
#include "app/PauseNote.h"
#include "app/SettingsWriteBack.h"
#include "app/scenes/MenuScene.h"
#include "app/scenes/ReplayScene.h"
#include "app/scenes/Stage.h"
#include "errors/ErrorLogger.h"
#include "graphics/DisplayDevice.h"
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
#include "resources/LayoutRows.h"
#include "resources/TextFileReader.h"

using namespace platform::status;

Application::Application(platform::Window& window, ErrorLogger& logger)
    : pLogger(&logger),
      hWnd(window),
      devices(window, logger),
      pClock(std::make_unique<GameClock>()),
      bSaveHighScores(1),
      dwRandomSeed(platform::tickCount()) {
    random.seed(dwRandomSeed);
    platform::Audio::setMuted(false);
}

Application::~Application() {
    try {
        // The log keeps the last report only: the table's, if both fail.
        settings.levels = setup.levels;
        writeBackSettings(settings, hWnd, bMuted, *pLogger);
        saveHighScores();
    } catch (const std::bad_alloc&) {
        // Told already; the old files stay as they were.
    }
    try {
        // Closed during a match: what was played is kept all the same.
        if (pScene) pScene->leave();
    } catch (const std::bad_alloc&) {
    }
    // The scene goes first, then the room (the others are told this
    // machine is going), the table, and the devices last.
}

void Application::keepPlayersFiles() {
    writeBackSettings(settings, hWnd, bMuted, *pLogger);
    saveHighScores();
}

void Application::saveHighScores() {
    // The table is kept whichever scene is current: closing the window in
    // the middle of a match must not throw away the names typed earlier.
    // Only a failed first menu, which never read the old file, and a file
    // that could not be read write nothing.
    if (!bSaveHighScores || !pHighScores) return;
    // Outside the menu the players are those the menu handed over.
    const Menu* shown = menu();
    highScoreFile::save(*pHighScores, shown ? shown->playerBits() : highScoreFile::playerBitsOf(setup), *pLogger);
}

void Application::keepSettings(const Settings& started) {
    settings = started;
    setup.levels = started.levels;
    setMuted(started.muted);
}

int Application::initDisplayAndMenu() {
    // Until the old table has been read whole there is nothing to keep: a
    // start that fails or runs out of memory before must not write a table
    // that is empty or half read over the player's file.
    bSaveHighScores = 0;
    if (!devices.startDisplay()) return 0;
    DisplayDevice& display = *devices.display();
    // Muted since the last run: the mark shows from the first picture on.
    display.overlay().setMuted(bMuted);

    TextFileReader reader;
    const int opened = reader.openText("txtMain", "TextFile");
    if (opened != 0) {
        pLogger->reportMissingResource("txtMain", opened);
        return 0;
    }
    const Rect sheet = readRect(reader);
    pHighScores = std::make_unique<HighScoreTable>(display);
    pHighScores->load(reader);
    reader.close();
    if (!devices.makeSpriteSheet(sheet)) return 0;

    pStage.reset(new Stage{*pLogger, display, *devices.spriteSheet(), *pHighScores, setup, claims, random, *pClock});
    pStage->bindings = &settings.keys;
    pStage->settings = &settings;
    pStage->goOnline = [this](const CommandLine& options) { return goOnline(options); };
    auto first = std::make_unique<MenuScene>(*pStage, MenuScene::Arrival::kStart);
    if (!first->enter()) return 0;
    // A table that could not be read is still on the disk; writing the
    // defaults over it would lose it for good.
    bSaveHighScores = first->menu().keepsOldHighScoreFile() ? 0 : 1;
    pScene = std::move(first);
    return 1;
}

int Application::initInput() {
    if (!devices.startKeyboard()) return 0;
    // The menu takes its input from window events; the keyboard is only
    // read while a match runs.
    if (pScene && pScene->readsKeyboard()) devices.keyboard()->acquire();
    pStage->keyboard = devices.keyboard();
    return 1;
}

void Application::initSound() {
    if (!devices.startSound()) return;
    pStage->sound = devices.sound();
    if (pScene) pScene->soundArrived();
}

void Application::initPads() {
    // Pads are welcome but not needed: without them the keyboard plays.
    devices.startPads();
    pStage->pads = devices.pads();
}

void Application::apply(SceneChange change) {
    using Kind = SceneChange::Kind;
    if (change.kind() == Kind::kSwitch) {
        switchTo(change.takeNext());
    } else if (change.kind() == Kind::kQuit || (change.kind() == Kind::kRepaint && !drawScene())) {
        platform::requestClose();
    }
    showPauseNote();
}

void Application::switchTo(std::unique_ptr<Scene> next) {
    if (pScene) {
        const bool wasPausable = pScene->isPausable();
        pScene->leave();
        pScene.reset();
        if (wasPausable) devices.display()->overlay().setNote({});
    }
    // Keys still held from the scene before (Escape, a paddle's, Enter)
    // must not act in the next: their auto-repeat would quit or type.
    platform::ignoreHeldKeys();
    pScene = std::move(next);
    if (Keyboard* keyboard = devices.keyboard()) pScene->readsKeyboard() ? keyboard->acquire() : keyboard->unacquire();
    // A scene that cannot be made closes the game, the player told why.
    if (!pScene->enter()) pScene.reset();
    if (!pScene || !drawScene()) platform::requestClose();
}

void Application::frame() {
    if (pScene) apply(pScene->frame());
}

void Application::onClick(std::int16_t x, std::int16_t y) {
    if (pScene) apply(pScene->onClick(x, y));
}

void Application::onChar(std::uint8_t ch) {
    if (pScene) apply(pScene->onChar(ch));
}

int Application::drawScene() {
    if (!pScene || pScene->draw() != DDERR_WRONGMODE) return 1;
    // The display mode changed under us and every surface went with it;
    // the scene's own are made anew once the display is back.
    return devices.rebuildDisplay() && pScene->recreateSurfaces();
}

void Application::onWindowMoved() {
    if (DisplayDevice* display = devices.display()) display->updateWindowRect();
}

void Application::onFocus(bool active) {
    pClock->setPaused(!active);
    if (pScene) pScene->onFocus(active);
}

void Application::skipTime() {
    if (pScene) pScene->skipTime();
}

void Application::onKey(std::uint8_t code, char letter) {
    if (!pScene) return;
    if (letter == 'm' && !pScene->takesLetters()) setMuted(!bMuted);
    const bool pauseKey = letter == 'p' || code == keys::DIK_PAUSE;
    // Online, a pause is the room's: asked of the host, which tells everybody.
    if (pauseKey && pScene->isPausable()) pScene->askPause(!pScene->isPaused());
    apply(pScene->onKey(code, letter));
}

void Application::onPadAdded(int pad) {
    // A pad plugged in during a match takes over a colour whose pad was
    // pulled out; once every such colour has its pad, play goes on.
    if (!pScene || !pScene->isPausable()) return;
    if (claims.adoptWaiting(pad) != PadClaims::kNone && !claims.anyWaiting()) pScene->askPause(false);
    showPauseNote();
}

void Application::onPadRemoved(int pad) {
    if (claims.colourOf(pad) == PadClaims::kNone) return;
    if (pScene && pScene->isPausable()) {
        claims.holdForReturn(pad);
        pScene->askPause(true);
        showPauseNote();
        return;
    }
    claims.release(pad);
    if (pScene) pScene->padsChanged();
}

void Application::onPadPress(int pad, std::uint16_t button) {
    if (!pScene) return;
    const bool inMatch = pScene->isPausable();
    if (inMatch && button == platform::padButton::kStart) {
        pScene->askPause(!pScene->isPaused());
        showPauseNote();
    } else if (inMatch && button == platform::padButton::kA && claims.colourOf(pad) == PadClaims::kNone) {
        // A pad of no colour takes one whose pad was pulled out, as one
        // plugged in would.
        onPadAdded(pad);
    } else {
        apply(pScene->onPad(pad, button));
    }
}

void Application::showPauseNote() {
    DisplayDevice* display = devices.display();
    if (!display || !pScene || !pScene->isPausable()) return;
    const std::vector<std::string> lines = pauseNoteLines(*pScene, claims);
    if (lines == display->overlay().note()) return;
    display->overlay().setNote(lines);
    display->showAgain();
}

void Application::setMuted(bool muted) {
    bMuted = muted;
    platform::Audio::setMuted(muted);
    if (DisplayDevice* display = devices.display()) {
        display->overlay().setMuted(muted);
        display->showAgain();
    }
}

int Application::watchReplay(const replay::Replay& recorded) {
    if (!menu()) return 0;
    switchTo(std::make_unique<ReplayScene>(*pStage, recorded));
    return pScene ? 1 : 0;
}

bool Application::goOnline(const CommandLine& options) {
    CommandLine chosen = options;
    // The settings can turn the router's forwarding off for good.
    chosen.portMapping = options.portMapping && settings.portMapping;
    pRoom = OnlinePlay::open(chosen, replay::GameFingerprint::own(pStage->display, pStage->misc, pStage->logger));
    if (!pRoom) return false;
    pStage->room = pRoom.get();
    hWnd.setTitle(pRoom->title().c_str());
    pRoom->claimScriptColours();
    if (pScene) pScene->roomOpened();
    return true;
}

void Application::receiveNetwork() {
    if (!pRoom) return;
    pRoom->session().receive(platform::tickCount());
    for (const net::SessionEvent& event : pRoom->session().takeEvents()) onRoomEvent(event);
    if (pScene) apply(pScene->afterNetwork());
    if (pRoom->isLeaving() && pRoom->mayGoNow(platform::tickCount())) platform::requestClose();
}

void Application::onRoomEvent(const net::SessionEvent& event) {
    pRoom->hear(event);
    const bool closed = event.kind == net::SessionEvent::Kind::Closed;
    if (closed) hWnd.setTitle("Quadrill");
    if (pScene) apply(pScene->onNetwork(event));
    if (closed && pRoom->endsAfterMatch()) platform::requestClose();
}

void Application::sendNetwork() {
    if (pRoom) pRoom->session().send(platform::tickCount());
}

Menu* Application::menu() const {
    auto* shown = dynamic_cast<MenuScene*>(pScene.get());
    return shown ? &shown->menu() : nullptr;
}

replay::ReplayScheduler* Application::replayWatch() const {
    auto* shown = dynamic_cast<ReplayScene*>(pScene.get());
    return shown ? shown->watch() : nullptr;
}
