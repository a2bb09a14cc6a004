#pragma once
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "replay/ReplayPlayer.h"

namespace replay {

// Plays a replay in the window as it was played: each frame when as much
// time has passed since the start as the frames before it took, with its
// sounds. Space pauses and goes on, Right held plays four times as fast,
// Escape leaves. A replay that stops verifying stops there and says at
// which frame. Its notes go on the display's overlay, never into the
// match's picture.
class ReplayScheduler {
public:
    enum class Turn { kWatching, kEnded, kLeft };

    ReplayScheduler(const Replay& replay, DisplayDevice& display, SoundDevice* sound, Surface& misc,
                    ErrorLogger& logger);
    ~ReplayScheduler();
    ReplayScheduler(const ReplayScheduler&) = delete;
    ReplayScheduler& operator=(const ReplayScheduler&) = delete;

    // Loads the match; its time starts at `now` (game clock ms). 0 after a
    // reported failure.
    int load(std::uint32_t now);
    // One turn of the main loop: the frames whose time has come, then the
    // picture. `keys` is the keyboard's 256-byte state.
    Turn runTurn(std::uint32_t now, const std::uint8_t* keys);
    // Time spent minimised or moving the window is not watching time.
    void dropElapsed(std::uint32_t now) { dwLastReading = now; }
    // Draws the match's picture and shows it, the note over it.
    platform::Status draw() { return player.combat().draw(); }

    Combat& combat() { return player.combat(); }
    std::uint32_t framesPlayed() const { return player.framesPlayed(); }
    // 0 while the replay verifies.
    std::uint32_t divergedAt() const { return player.divergedAt(); }

    // For tests: after frame `frame` has run, its composed picture is
    // written to `path` (a 24-bit BMP). dumpFrames takes a list of them,
    // "FRAME:PATH,FRAME:PATH"; what makes no sense in it is left out.
    void dumpFrame(std::uint32_t frame, const std::string& path) { dumps.emplace_back(frame, path); }
    void dumpFrames(const std::string& list);

private:
    void playDueFrames();
    void showNote();

    ReplayPlayer player;
    DisplayDevice& display;
    std::uint32_t dwLastReading = 0;
    // Watching time not yet spent on frames, in ms.
    std::uint64_t qwBudget = 0;
    bool bPaused = false;
    bool bSpaceWasDown = false;
    bool bEnded = false;
    std::vector<std::pair<std::uint32_t, std::string>> dumps;
};

}  // namespace replay
