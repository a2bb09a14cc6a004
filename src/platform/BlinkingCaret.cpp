#include "platform/BlinkingCaret.h"

namespace platform {

void BlinkingCaret::set(bool caretExists, const PixelRect& placeOfCaret, std::uint32_t now) {
    const bool moved = placeOfCaret.x != rect.x || placeOfCaret.y != rect.y;
    exists = caretExists;
    rect = placeOfCaret;
    if (!exists) shown = false;
    if (moved) phaseStart = now;
}

void BlinkingCaret::show(std::uint32_t now) {
    if (!exists) return;
    if (!shown) phaseStart = now;
    shown = true;
}

bool BlinkingCaret::isOnAt(std::uint32_t now) const {
    if (!exists || !shown || rect.w <= 0 || rect.h <= 0) return false;
    return ((now - phaseStart) / kBlinkMs) % 2 == 0;
}

std::uint32_t BlinkingCaret::untilNextChange(std::uint32_t now) const {
    if (!exists || !shown) return kNoChange;
    return kBlinkMs - (now - phaseStart) % kBlinkMs;
}

}  // namespace platform
