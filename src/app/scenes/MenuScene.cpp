#include "app/scenes/MenuScene.h"

#include <cstdio>

#include "app/HowToPlayPage.h"
#include "app/OnlinePlay.h"
#include "app/scenes/JoinRoomScene.h"
#include "app/scenes/LocalMatchScene.h"
#include "app/scenes/OnlineMatchScene.h"
#include "app/scenes/Stage.h"
#include "input/PadClaims.h"
#include "menu/HighScoreTable.h"
#include "menu/Menu.h"
#include "physics/MatchRandom.h"
#include "platform/ScreenOverlay.h"
#include "replay/ReplayArchive.h"

MenuScene::MenuScene(Stage& theStage, Arrival how, std::string keptReplay)
    : stage(theStage), arrival(how), sKeptReplay(std::move(keptReplay)) {}

MenuScene::~MenuScene() = default;

SceneChange MenuScene::after(Stage& stage, bool abandoned, const std::string& keptReplay) {
    return SceneChange::to(
        std::make_unique<MenuScene>(stage, abandoned ? Arrival::kAbandoned : Arrival::kMatchOver, keptReplay));
}

int MenuScene::enter() {
    // A colour whose pad was pulled out in the match is free again here.
    stage.claims.dropWaiting();
    pMenu = std::make_unique<Menu>(stage.logger, stage.display, stage.sound, stage.misc, stage.highScores, stage.setup,
                                   &stage.claims, stage.bindings);
    if (!pMenu->load(arrival == Arrival::kStart, arrival == Arrival::kAbandoned)) return 0;
    // Already in a room, there is no other to join.
    pMenu->offerJoin(!stage.room);
    keepReplayForGood();
    showLobby();
    return 1;
}

void MenuScene::keepReplayForGood() {
    // A result that entered the table keeps its replay for good, online as
    // here; the index moves the older ones down as the table does.
    HighScoreTable& table = stage.highScores;
    if (sKeptReplay.empty() || !table.isTyping()) return;
    std::string reason;
    replay::ReplayArchive archive(Stage::replaysFolder());
    if (!archive.keepForGood(sKeptReplay, table.editingRow(), table.score(table.editingRow()), reason)) {
        std::fprintf(stderr, "quadrill: %s could not be kept for good: %s\n", sKeptReplay.c_str(), reason.c_str());
    }
}

void MenuScene::leave() {
    // A name being typed ends as a click would end it.
    if (stage.highScores.isTyping()) stage.highScores.endEntry();
}

platform::Status MenuScene::draw() { return pMenu->draw(); }

int MenuScene::recreateSurfaces() {
    if (!pMenu->recreateSurfaces()) return 0;
    // The menu has no frames of its own: shown again at once rather than
    // the rebuilt, empty display left up until the next click.
    pMenu->draw();
    return 1;
}

void MenuScene::showLobby() {
    if (!stage.room) return;
    stage.room->refreshSeats();
    pMenu->setLobby(&stage.room->seats());
    stage.room->claimsTo(*pMenu);
}

SceneChange MenuScene::act(std::int8_t action) {
    // Online, the boxes ticked here are the room's claims.
    if (stage.room) stage.room->claimsFrom(*pMenu);
    switch (action) {
        case Menu::kStartMatch:
            return startMatch();
        case Menu::kQuit:
            return SceneChange::quit();
        case Menu::kHowToPlay:
            openHowToPlayPage();
            break;
        case Menu::kJoinPage:
            return openJoinPage();
        default:
            break;
    }
    return SceneChange::stay();
}

SceneChange MenuScene::onChar(std::uint8_t ch) { return act(pMenu->onChar(ch)); }

SceneChange MenuScene::onKey(std::uint8_t code, char letter) {
    // C copies the address others join with, unless it is a name's letter
    // or a key being chosen.
    if (letter == 'c' && stage.room && !takesLetters() && stage.room->copyJoinAddress()) {
        showLobby();
        pMenu->draw();
        return SceneChange::stay();
    }
    // J opens the page that joins a room by its code, unless it is a
    // name's letter or a key being chosen.
    if (letter == 'j' && !stage.room && !takesLetters()) return openJoinPage(true);
    return act(pMenu->onKey(code, letter));
}

SceneChange MenuScene::openJoinPage(bool byKey) {
    if (stage.room) return SceneChange::stay();
    return SceneChange::to(std::make_unique<JoinRoomScene>(stage, byKey));
}

SceneChange MenuScene::onClick(std::int16_t x, std::int16_t y) {
    // A click on the room's lines copies the address they show.
    if (stage.room && platform::ScreenOverlay::inStatusArea(x, y) && stage.room->copyJoinAddress()) {
        showLobby();
        pMenu->draw();
        return SceneChange::stay();
    }
    const std::int8_t action = pMenu->onClick(x, y);
    if (stage.room) stage.room->claimsFrom(*pMenu);
    switch (action) {
        case Menu::kExit:
            return SceneChange::quit();
        case Menu::kStart:
            return startMatch();
        case Menu::kLogo:
            openHowToPlayPage();
            break;
        case Menu::kJoinRoom:
            return openJoinPage();
        default:
            break;
    }
    return SceneChange::stay();
}

SceneChange MenuScene::onPad(int pad, std::uint16_t button) { return act(pMenu->onPad(pad, button)); }

SceneChange MenuScene::startMatch() {
    if (!stage.room) return SceneChange::to(std::make_unique<LocalMatchScene>(stage));
    // Only the host starts the room's match, for everybody at once.
    OnlinePlay& room = *stage.room;
    if (!room.isHost()) return SceneChange::stay();
    room.seedFromScript(stage.random);
    const MatchRandom::State& state = stage.random.state();
    std::uint8_t levels[4];
    for (int colour = 0; colour < 4; ++colour) {
        levels[colour] = static_cast<std::uint8_t>(stage.setup.levels.of(colour));
    }
    if (!room.session().startMatch(state.table, state.front, state.rear, &levels)) return SceneChange::stay();
    // The next match begins elsewhere in the sequence.
    for (int draw = 0; draw < 4; ++draw) stage.random.next();
    return SceneChange::to(std::make_unique<OnlineMatchScene>(stage));
}

SceneChange MenuScene::onNetwork(const net::SessionEvent& event) {
    using Kind = net::SessionEvent::Kind;
    switch (event.kind) {
        case Kind::MatchStarts:
            return SceneChange::to(std::make_unique<OnlineMatchScene>(stage));
        case Kind::PauseChanged:
        case Kind::OutOfStep:
        case Kind::MatchEnded:
            // A match this machine is not in.
            return SceneChange::stay();
        default:
            break;
    }
    showLobby();
    pMenu->draw();
    return SceneChange::stay();
}

void MenuScene::roomOpened() {
    // The host's room starts with the colours its menu has ticked; a
    // machine that joins claims only what its player ticks in the room.
    if (stage.room->isHost() && !stage.room->hasScript()) stage.room->claimsFrom(*pMenu);
    showLobby();
    pMenu->draw();
}

SceneChange MenuScene::afterNetwork() {
    // A test's host starts once its script's players and watchers are in.
    if (stage.room && stage.room->scriptWantsStart()) return startMatch();
    // The router's answer arrives in its own time, and shows when it does.
    if (stage.room && stage.room->checkPortMapping()) {
        showLobby();
        pMenu->draw();
    }
    return SceneChange::stay();
}

void MenuScene::padsChanged() { pMenu->draw(); }

void MenuScene::soundArrived() { pMenu->attachSound(stage.sound); }

bool MenuScene::takesLetters() const { return stage.highScores.isTyping() || (pMenu && pMenu->isAskingKeys()); }
