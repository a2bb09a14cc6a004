#pragma once
#include "app/scenes/Scene.h"

struct Stage;
class OnlinePlay;

// The room's match on this machine. It runs on in the background, a pause
// holds the whole room, and Escape leaves it here only: the others play on.
class OnlineMatchScene : public Scene {
public:
    explicit OnlineMatchScene(Stage& stage);

    int enter() override;
    void leave() override;
    SceneChange frame() override;
    platform::Status draw() override;
    int recreateSurfaces() override;
    SceneChange onNetwork(const net::SessionEvent& event) override;

    bool wantsFrames() const override { return true; }
    bool runsInBackground() const override { return true; }
    bool readsKeyboard() const override { return true; }
    bool isPausable() const override { return true; }
    bool isPaused() const override;
    void askPause(bool paused) override;
    bool pausesRoom() const override { return true; }

    Combat* combat() override;

private:
    // The match is over here; the menu comes back. Its own people's results
    // are offered to this machine's table when it ended by itself.
    SceneChange end(bool byItself);

    Stage& stage;
    OnlinePlay& room;
};
