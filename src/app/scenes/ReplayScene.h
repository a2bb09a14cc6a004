#pragma once
#include <memory>

#include "app/scenes/Scene.h"
#include "replay/Replay.h"

struct Stage;
namespace replay {
class ReplayScheduler;
}

// A recorded match shown as it was played, at its own pace. Its keys
// (Space, Right, Escape) are read in its frames; the menu comes back when
// it ends or is left.
class ReplayScene : public Scene {
public:
    ReplayScene(Stage& stage, const replay::Replay& recorded);
    ~ReplayScene() override;

    int enter() override;
    SceneChange frame() override;
    platform::Status draw() override;
    int recreateSurfaces() override;
    void skipTime() override;

    bool wantsFrames() const override { return true; }
    bool readsKeyboard() const override { return true; }

    Combat* combat() override;
    replay::ReplayScheduler* watch() { return pWatch.get(); }

private:
    Stage& stage;
    replay::Replay recorded;
    std::unique_ptr<replay::ReplayScheduler> pWatch;
};
