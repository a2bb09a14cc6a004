#include "app/scenes/OnlineMatchScene.h"

#include "app/OnlinePlay.h"
#include "app/scenes/MenuScene.h"
#include "app/scenes/Stage.h"
#include "combat/MatchKeys.h"
#include "combat/PlayerSetup.h"
#include "platform/Ticks.h"

OnlineMatchScene::OnlineMatchScene(Stage& theStage) : stage(theStage), room(*theStage.room) {}

int OnlineMatchScene::enter() {
    return room.beginMatch(stage.display, stage.sound, stage.misc, stage.logger, platform::tickCount());
}

void OnlineMatchScene::leave() {
    // The window closed, or the next match began: what was settled is kept.
    if (room.match()) room.endMatch(replay::MatchEnd::kCutShort, "cut short", platform::tickCount());
}

SceneChange OnlineMatchScene::frame() {
    std::uint8_t keys[256];
    // Online the match goes on without this machine's keys when the
    // keyboard cannot be read (the window in the background).
    stage.readKeys(keys, true);
    net::NetMatch& match = *room.match();
    const std::uint16_t bits = room.keysFor(keys, match.rollback().frame());
    const std::uint32_t now = platform::tickCount();
    if (bits & matchKeys::kEscapeBit) {
        // Escape leaves the match here only; the others play on.
        room.session().leaveMatch();
        // No frame here reads the Escape: the replay ends where the settled
        // frames end, cut short.
        room.endMatch(replay::MatchEnd::kCutShort, "left", now);
        return end(false);
    }
    OnlinePlay& online = room;
    const auto held = [&online, &keys](std::uint32_t frame) {
        return static_cast<std::uint8_t>(online.keysFor(keys, frame) & 0xFF);
    };
    if (match.runTurn(now, held) == net::NetMatch::Turn::kOver) {
        const bool over = match.rollback().isOver();
        const net::NetMatch::Result result = match.result();
        // This machine's table hears of its own people only.
        room.session().ownColours(stage.setup.bHuman);
        for (int colour = 0; colour < 4; ++colour) stage.setup.iScore[colour] = result.scores[colour];
        room.session().finishMatch();
        room.endMatch(over ? replay::MatchEnd::kOver : replay::MatchEnd::kCutShort, over ? "over" : "stopped", now);
        return end(over);
    }
    // A paused room's picture does not change: it was shown with the note.
    if (room.session().isPaused()) return SceneChange::stay();
    return SceneChange::repaint();
}

SceneChange OnlineMatchScene::end(bool byItself) {
    if (room.match()) room.endMatch(replay::MatchEnd::kCutShort, "cut short", platform::tickCount());
    // A test's run ends after its match, once the others have what they
    // need from this machine.
    room.leaveAfterMatch();
    return MenuScene::after(stage, !byItself, byItself ? room.lastReplay() : std::string());
}

platform::Status OnlineMatchScene::draw() { return room.match()->combat().draw(); }

int OnlineMatchScene::recreateSurfaces() { return room.match()->combat().recreateSurfaces(); }

SceneChange OnlineMatchScene::onNetwork(const net::SessionEvent& event) {
    using Kind = net::SessionEvent::Kind;
    const std::uint32_t now = platform::tickCount();
    switch (event.kind) {
        case Kind::MatchStarts:
            // A new match while the last one still ran here: the host has
            // moved on, and so does this machine.
            room.endMatch(replay::MatchEnd::kCutShort, "cut short by the next", now);
            return SceneChange::to(std::make_unique<OnlineMatchScene>(stage));
        case Kind::PauseChanged:
            if (room.session().isPaused()) {
                room.match()->pause(now);
            } else {
                room.match()->resume(now);
            }
            return SceneChange::stay();
        case Kind::OutOfStep:
            room.endOutOfStep(event, now);
            return end(false);
        case Kind::MatchEnded:
            room.endMatch(replay::MatchEnd::kCutShort, "ended: the host left it", now);
            room.setNote("The host left the match");
            return end(false);
        case Kind::Closed:
            room.endMatch(replay::MatchEnd::kCutShort, "ended: the room is gone", now);
            return MenuScene::after(stage, true, "");
        default:
            return SceneChange::stay();
    }
}

bool OnlineMatchScene::isPaused() const { return room.session().isPaused(); }

void OnlineMatchScene::askPause(bool paused) {
    if (paused != room.session().isPaused()) room.session().requestPause(paused);
}

Combat* OnlineMatchScene::combat() { return room.match() ? &room.match()->combat() : nullptr; }
