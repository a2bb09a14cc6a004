#include "replay/ReplayScheduler.h"

#include <cstdio>
#include <cstdlib>

#include "graphics/BackBufferFile.h"
#include "graphics/DisplayDevice.h"
#include "input/KeyCodes.h"
#include "platform/ScreenOverlay.h"

namespace replay {
namespace {

constexpr std::uint32_t kFastForward = 4;
// However far behind the picture is, one turn plays no more frames than
// this, so the window keeps answering.
constexpr int kMostFramesATurn = 1000;

}  // namespace

ReplayScheduler::ReplayScheduler(const Replay& replay, DisplayDevice& displayIn, SoundDevice* sound, Surface& misc,
                                 ErrorLogger& logger)
    : player(replay, displayIn, sound, misc, logger), display(displayIn) {
    player.combat().setFrameDrawing(false);
}

ReplayScheduler::~ReplayScheduler() { display.overlay().setNote({}); }

void ReplayScheduler::dumpFrames(const std::string& list) {
    std::size_t from = 0;
    while (from < list.size()) {
        std::size_t end = list.find(',', from);
        if (end == std::string::npos) end = list.size();
        const std::string item = list.substr(from, end - from);
        const std::size_t colon = item.find(':');
        char* rest = nullptr;
        const unsigned long frame = colon == std::string::npos ? 0 : std::strtoul(item.c_str(), &rest, 10);
        if (frame > 0 && frame <= UINT32_MAX && rest == item.c_str() + colon && colon + 1 < item.size()) {
            dumpFrame(static_cast<std::uint32_t>(frame), item.substr(colon + 1));
        }
        from = end + 1;
    }
}

int ReplayScheduler::load(std::uint32_t now) {
    dwLastReading = now;
    return player.load();
}

void ReplayScheduler::playDueFrames() {
    for (int played = 0; played < kMostFramesATurn && !bEnded; ++played) {
        const std::uint32_t ms = player.nextFrameTime();
        if (qwBudget < ms) return;
        qwBudget -= ms;
        const ReplayPlayer::Step step = player.playFrame();
        for (const auto& dump : dumps) {
            if (dump.first == player.framesPlayed()) {
                player.combat().compose();
                saveBackBuffer(display, dump.second.c_str());
            }
        }
        if (step == ReplayPlayer::Step::kDiverged) {
            std::fprintf(stderr, "quadrill: the replay differs from its recording at frame %u\n",
                         player.divergedAt());
            showNote();
        }
        if (step != ReplayPlayer::Step::kPlayed) bEnded = true;
    }
    // Behind by more than a turn may play: let the rest go.
    qwBudget = 0;
}

ReplayScheduler::Turn ReplayScheduler::runTurn(std::uint32_t now, const std::uint8_t* keys) {
    const std::uint32_t elapsed = now - dwLastReading;
    dwLastReading = now;
    if (keys::isDown(keys, keys::DIK_ESCAPE)) return Turn::kLeft;
    const bool spaceDown = keys::isDown(keys, keys::DIK_SPACE);
    if (spaceDown && !bSpaceWasDown) {
        bPaused = !bPaused;
        showNote();
    }
    bSpaceWasDown = spaceDown;
    if (!bPaused) qwBudget += static_cast<std::uint64_t>(elapsed) * (keys::isDown(keys, keys::DIK_RIGHT) ? kFastForward : 1);
    playDueFrames();
    draw();
    // A replay that went another way stays on its note until Escape.
    if (bEnded && player.divergedAt() == 0) return Turn::kEnded;
    return Turn::kWatching;
}

void ReplayScheduler::showNote() {
    std::vector<std::string> lines;
    if (player.divergedAt() != 0) {
        lines.push_back("Replay stopped");
        lines.push_back("It differs from its recording at frame " + std::to_string(player.divergedAt()));
        lines.push_back("Escape leaves");
    } else if (bPaused) {
        lines.push_back("Paused");
        lines.push_back("Space plays on, Escape leaves");
    }
    display.overlay().setNote(lines);
}

}  // namespace replay
