#include "replay/ReplayScheduler.h"

#include <cstdio>
#include <cstdlib>

#include "graphics/BackBufferFile.h"
#include "graphics/Colour.h"
#include "graphics/DisplayDevice.h"
#include "input/KeyCodes.h"

using namespace platform::status;

namespace replay {
namespace {

constexpr std::uint32_t kFastForward = 4;
// However far behind the picture is, one turn plays no more frames than
// this, so the window keeps answering.
constexpr int kMostFramesATurn = 1000;
const Rect kNoteRect{0, 186, 400, 214};
constexpr ColourRef kNoteColour = 0x00FFFFFF;
constexpr std::uint32_t kCentred = 1;

}  // namespace

ReplayScheduler::ReplayScheduler(const Replay& replay, DisplayDevice& displayIn, SoundDevice* sound, Surface& misc,
                                 ErrorLogger& logger)
    : player(replay, displayIn, sound, misc, logger), display(displayIn) {
    player.combat().setFrameDrawing(false);
    noteFont.create("arial narrow", 22);
}

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

bool ReplayScheduler::playDueFrames() {
    for (int played = 0; played < kMostFramesATurn && !bEnded; ++played) {
        const std::uint32_t ms = player.nextFrameTime();
        if (qwBudget < ms) return true;
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
        }
        if (step != ReplayPlayer::Step::kPlayed) bEnded = true;
    }
    // Behind by more than a turn may play: let the rest go.
    qwBudget = 0;
    return true;
}

ReplayScheduler::Turn ReplayScheduler::runTurn(std::uint32_t now, const std::uint8_t* keys) {
    const std::uint32_t elapsed = now - dwLastReading;
    dwLastReading = now;
    if (keys::isDown(keys, keys::DIK_ESCAPE)) return Turn::kLeft;
    const bool spaceDown = keys::isDown(keys, keys::DIK_SPACE);
    if (spaceDown && !bSpaceWasDown) bPaused = !bPaused;
    bSpaceWasDown = spaceDown;
    if (!bPaused) qwBudget += static_cast<std::uint64_t>(elapsed) * (keys::isDown(keys, keys::DIK_RIGHT) ? kFastForward : 1);
    playDueFrames();
    draw();
    // A replay that went another way stays on its note until Escape.
    if (bEnded && player.divergedAt() == 0) return Turn::kEnded;
    return Turn::kWatching;
}

platform::Status ReplayScheduler::draw() {
    const platform::Status state = player.combat().compose();
    if (state != S_OK) return state;
    if (player.divergedAt() != 0) {
        char note[96];
        std::snprintf(note, sizeof note, "This replay differs from its recording at frame %u", player.divergedAt());
        display.drawText(noteFont, note, kNoteRect, kNoteColour, kCentred);
    } else if (bPaused) {
        display.drawText(noteFont, "Paused: Space goes on", kNoteRect, kNoteColour, kCentred);
    }
    if (display.present() == DDERR_SURFACELOST) player.combat().restoreSurfaces();
    return S_OK;
}

}  // namespace replay
