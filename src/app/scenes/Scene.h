#pragma once
#include <cstdint>
#include <memory>

#include "platform/Status.h"

class Combat;
class Scene;
namespace net {
struct SessionEvent;
}

// What a scene says should come next, as the answer to an event or a
// frame: stay as it is, be drawn again now, hand over to another scene, or
// end the game. The application carries it out; no scene reaches into it.
class SceneChange {
public:
    enum class Kind { kStay, kRepaint, kSwitch, kQuit };

    static SceneChange stay() { return SceneChange(Kind::kStay); }
    // The picture must be drawn now: the arena went with a change of
    // display mode, or the scene draws only when told (an online match).
    static SceneChange repaint() { return SceneChange(Kind::kRepaint); }
    static SceneChange quit() { return SceneChange(Kind::kQuit); }
    static SceneChange to(std::unique_ptr<Scene> next);

    Kind kind() const { return what; }
    std::unique_ptr<Scene> takeNext();

    SceneChange(SceneChange&&) noexcept;
    SceneChange& operator=(SceneChange&&) noexcept;
    ~SceneChange();

private:
    explicit SceneChange(Kind kind);

    Kind what;
    std::unique_ptr<Scene> next;
};

// One way of being of the game: the menu (alone or as an online room), a
// match played here, a replay watched, an online match. Exactly one is
// current. It answers the events it cares about; whatever it does not
// answer it ignores, so an event it never heard of is never half-handled.
// The rules every scene shares (the pause, the mute, pads coming and
// going, saving) are the application's, not the scene's.
class Scene {
public:
    virtual ~Scene();

    // Loads what the scene shows; 0 after a failure that has been told.
    virtual int enter() = 0;
    // Before the next scene enters, or the window closes: what the scene
    // leaves behind (a replay, a name being typed) is kept.
    virtual void leave() {}
    // One turn of the main loop, while wantsFrames() says so.
    virtual SceneChange frame() { return SceneChange::stay(); }
    virtual platform::Status draw() = 0;
    // After a change of display mode: the scene's own surfaces made anew.
    virtual int recreateSurfaces() = 0;

    // Keys as pressed (letter: the key's letter in the layout, or 0).
    virtual SceneChange onKey(std::uint8_t code, char letter);
    // Typed characters, with Enter 13, Backspace 8 and Escape 27.
    virtual SceneChange onChar(std::uint8_t ch);
    virtual SceneChange onClick(std::int16_t x, std::int16_t y);
    // A button of platform/GamePads.h pressed on a pad.
    virtual SceneChange onPad(int pad, std::uint16_t button);
    // The window gained or lost the focus.
    virtual void onFocus(bool active);
    // Something happened in the online room.
    virtual SceneChange onNetwork(const net::SessionEvent& event);
    // The game has just gone into an online room.
    virtual void roomOpened() {}
    // The room has been heard this turn, whether it said anything or not.
    virtual SceneChange afterNetwork() { return SceneChange::stay(); }
    // A pad came or went and the claims changed.
    virtual void padsChanged() {}
    // The sound device is ready, later than the scene was.
    virtual void soundArrived() {}
    // Time spent minimised, moving the window or switching to fullscreen
    // is nobody's: the next frame counts from now.
    virtual void skipTime() {}

    // Whether the main loop runs frames for the scene now.
    virtual bool wantsFrames() const { return false; }
    // Frames run on while the window is in the background: an online
    // match, which the other machines do not stop for.
    virtual bool runsInBackground() const { return false; }
    // The keyboard's state is read in frames, rather than its events.
    virtual bool readsKeyboard() const { return false; }
    // A name is typed: M is a letter then, not the mute.
    virtual bool takesLetters() const { return false; }

    // A match its players can pause; a pad pulled out of it waits for its
    // return rather than letting its colour go.
    virtual bool isPausable() const { return false; }
    virtual bool isPaused() const { return false; }
    virtual void askPause(bool paused);
    // Online, a pause holds every machine of the room.
    virtual bool pausesRoom() const { return false; }

    // The match on the screen, played or watched; null elsewhere.
    virtual Combat* combat() { return nullptr; }
};
