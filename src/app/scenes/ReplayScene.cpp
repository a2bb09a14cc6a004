#include "app/scenes/ReplayScene.h"

#include <cstdlib>

#include "app/GameClock.h"
#include "app/scenes/MenuScene.h"
#include "app/scenes/Stage.h"
#include "replay/ReplayScheduler.h"

ReplayScene::ReplayScene(Stage& theStage, const replay::Replay& replay) : stage(theStage), recorded(replay) {}

ReplayScene::~ReplayScene() = default;

int ReplayScene::enter() {
    pWatch = std::make_unique<replay::ReplayScheduler>(recorded, stage.display, stage.sound, stage.misc, stage.logger);
    // A test switch: "FRAME:FILE.bmp,..." writes those frames' pictures.
    if (const char* dumps = std::getenv("QUADRILL_REPLAY_DUMP")) pWatch->dumpFrames(dumps);
    return pWatch->load(stage.clock.now());
}

SceneChange ReplayScene::frame() {
    std::uint8_t keys[256];
    if (!stage.readKeys(keys, false)) return SceneChange::stay();
    if (pWatch->runTurn(stage.clock.now(), keys) != replay::ReplayScheduler::Turn::kWatching) {
        return MenuScene::after(stage, true, "");
    }
    return pWatch->combat().hasArena() ? SceneChange::stay() : SceneChange::repaint();
}

platform::Status ReplayScene::draw() { return pWatch->draw(); }

int ReplayScene::recreateSurfaces() { return pWatch->combat().recreateSurfaces(); }

void ReplayScene::skipTime() { pWatch->dropElapsed(stage.clock.now()); }

Combat* ReplayScene::combat() { return pWatch ? &pWatch->combat() : nullptr; }
