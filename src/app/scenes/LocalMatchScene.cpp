#include "app/scenes/LocalMatchScene.h"

#include "app/GameClock.h"
#include "app/LocalScheduler.h"
#include "app/scenes/MenuScene.h"
#include "app/scenes/Stage.h"
#include "combat/Combat.h"
#include "physics/MatchRandom.h"
#include "platform/GamePads.h"
#include "replay/GameFingerprint.h"
#include "replay/MatchRecording.h"

LocalMatchScene::LocalMatchScene(Stage& theStage) : stage(theStage) {}

LocalMatchScene::~LocalMatchScene() = default;

int LocalMatchScene::enter() {
    const MatchRandom::State start = stage.random.state();
    pCombat = std::make_unique<Combat>(stage.display, stage.sound, stage.random, stage.misc, stage.setup, stage.logger);
    if (!pCombat->load()) return 0;
    pScheduler = std::make_unique<LocalScheduler>(*pCombat, stage.clock);
    pRecording = std::make_unique<replay::MatchRecording>(
        stage.setup, stage.claims, start, Stage::replaysFolder(),
        replay::GameFingerprint::own(stage.display, stage.misc, stage.logger), &stage.logger);
    return 1;
}

void LocalMatchScene::leave() {
    // Left between two frames (while paused, or the window closed): the
    // replay ends there. One that ended in a frame is filed already.
    if (pRecording && pCombat) pRecording->file(replay::MatchEnd::kCutShort, *pCombat);
    askPause(false);
}

SceneChange LocalMatchScene::frame() {
    if (!pScheduler) return SceneChange::stay();
    std::uint8_t keys[256];
    if (!stage.readKeys(keys, true)) return SceneChange::stay();
    const Combat::FrameResult result = pScheduler->runFrame(keys);
    pRecording->addFrame(pScheduler->lastFrameTime(), keys, *pCombat);
    if (result == Combat::FrameResult::kGoing) {
        // A change of display mode took the arena with it during the frame's
        // own drawing; nobody would repaint for us, so rebuild now.
        return pCombat->hasArena() ? SceneChange::stay() : SceneChange::repaint();
    }
    const bool left = result == Combat::FrameResult::kLeft;
    pRecording->file(left ? replay::MatchEnd::kLeft : replay::MatchEnd::kOver, *pCombat);
    return MenuScene::after(stage, left, pRecording->filedAs());
}

platform::Status LocalMatchScene::draw() { return pCombat->draw(); }

int LocalMatchScene::recreateSurfaces() { return pCombat->recreateSurfaces(); }

SceneChange LocalMatchScene::onChar(std::uint8_t ch) {
    // No frame runs while paused to see Escape in the keys: it acts here.
    if (bPaused && ch == 27) return MenuScene::after(stage, true, "");
    return SceneChange::stay();
}

SceneChange LocalMatchScene::onPad(int, std::uint16_t button) {
    // Back while playing reaches the match as Escape, through the keys.
    if (bPaused && button == platform::padButton::kBack) return MenuScene::after(stage, true, "");
    return SceneChange::stay();
}

void LocalMatchScene::skipTime() {
    if (pScheduler) pScheduler->dropElapsed();
}

void LocalMatchScene::askPause(bool paused) {
    if (paused == bPaused) return;
    bPaused = paused;
    stage.clock.setPaused(GameClock::Reason::Player, paused);
}
