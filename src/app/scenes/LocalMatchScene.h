#pragma once
#include <memory>

#include "app/scenes/Scene.h"

class LocalScheduler;
struct Stage;
namespace replay {
class MatchRecording;
}

// A match played at this window, recorded into the replays folder as it
// goes. Its players may pause it; Escape (or Back on a pad) while paused
// leaves it, and the menu comes back when it ends.
class LocalMatchScene : public Scene {
public:
    explicit LocalMatchScene(Stage& stage);
    ~LocalMatchScene() override;

    int enter() override;
    void leave() override;
    SceneChange frame() override;
    platform::Status draw() override;
    int recreateSurfaces() override;

    SceneChange onChar(std::uint8_t ch) override;
    SceneChange onPad(int pad, std::uint16_t button) override;
    void skipTime() override;

    bool wantsFrames() const override { return !bPaused; }
    bool readsKeyboard() const override { return true; }
    bool isPausable() const override { return true; }
    bool isPaused() const override { return bPaused; }
    void askPause(bool paused) override;

    Combat* combat() override { return pCombat.get(); }

private:
    Stage& stage;
    std::unique_ptr<Combat> pCombat;
    std::unique_ptr<LocalScheduler> pScheduler;
    std::unique_ptr<replay::MatchRecording> pRecording;
    bool bPaused = false;
};
