// The match's picture: arena, paddles with their held bonuses, the bonus on
// the field, the balls, the scores and the centre number, and at the end
// the line that names the winner.
#include "combat/Combat.h"

#include "graphics/Colour.h"
#include "graphics/DisplayDevice.h"
#include "graphics/Surface.h"
#include "platform/Ticks.h"

using namespace platform::status;

namespace {
constexpr std::uint32_t kDisplayBusyPauseMs = 10;
}  // namespace

platform::Status Combat::draw() {
    const platform::Status state = compose();
    if (state != S_OK) return state;
    // Other present failures pass: the next frame is drawn whole anyway.
    if (pDisplay.present() == DDERR_SURFACELOST) restoreSurfaces();
    return S_OK;
}

platform::Status Combat::compose() {
    const platform::Status state = pDisplay.cooperativeState();
    if (state == DDERR_EXCLUSIVEMODEALREADYSET) {
        // Another program has the screen; don't spin while it does.
        platform::sleepMilliseconds(kDisplayBusyPauseMs);
        return state;
    }
    if (state == DDERR_WRONGMODE) {
        // Useless in the new mode; the application rebuilds the display
        // and then asks for the arena again.
        pArena.reset();
        return state;
    }
    if (platform::failed(state)) return state;

    // The arena covers the whole back buffer, so nothing of the last
    // picture survives. A layer that fails is just missing from this one.
    pDisplay.blitFast(0, 0, pArena.get(), rcBack);
    for (const Paddle& paddle : paddles) paddle.draw(pDisplay, pMisc);
    if (cBonus >= 0 && cBonus < 4) bonuses[cBonus].draw(pDisplay, pMisc);
    balls.drawAll();
    for (const TextLabel& label : scoreLabels) label.drawDigits(digitFont);
    centreLabel.drawText(pDisplay, hFont);
    if (namesWinner()) {
        std::int32_t scores[4];
        for (int i = 0; i < 4; ++i) scores[i] = scoreLabels[i].getValue();
        winnerLine.draw(pDisplay, scores);
    }
    return S_OK;
}

void Combat::restoreSurfaces() {
    pDisplay.restoreAll();
    if (pArena) pArena->loadBitmap("picCombat", 0, 0);
    pMisc.loadBitmap("picMisc", 0, 0);
    pMisc.keyColour(kKeyGreen);
    digitFont.reload();
}
