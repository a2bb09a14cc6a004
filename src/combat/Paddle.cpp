#include "combat/Paddle.h"

#include "combat/Bonus.h"
#include "graphics/DisplayDevice.h"
#include "combat/MatchKeys.h"
#include "resources/LayoutRows.h"
#include "resources/TextFileReader.h"

Paddle::Paddle()
    : dAngMin(0.0),
      dAngMax(0.0),
      dX(0.0),
      dY(0.0),
      dWidth(0.0),
      dHeight(0.0),
      cType(0),
      dSpeed(0.3),
      dSpeedFactor(1.0),
      cPoints(1),
      pBonus(nullptr),
      dwBonusTime(0),
      dwIdleSince(0),
      dwTrackSince(0),
      pFrameTime(nullptr),
      pNow(nullptr),
      bIdle(1),
      bIdleReady(0),
      bTrackReady(0),
      bIdleTimer(0),
      bTrackTimer(0),
      cLevel(ComputerLevel::kNormal) {}

void Paddle::load(TextFileReader& reader, const std::uint32_t& frameTime, const std::uint32_t& now) {
    rcSrc = readRect(reader);
    rcBound = readRect(reader);
    normal.x = reader.readInt();
    normal.y = reader.readInt();
    dAngMin = reader.readDouble();
    dAngMax = reader.readDouble();
    cType = static_cast<std::int8_t>(reader.readByte());
    ptBonus.x = reader.readInt();
    ptBonus.y = reader.readInt();
    dWidth = static_cast<double>(rcSrc.right) - rcSrc.left;
    dHeight = static_cast<double>(rcSrc.bottom) - rcSrc.top;
    pBonus = nullptr;
    pFrameTime = &frameTime;
    pNow = &now;
    reset();
}

void Paddle::reset() {
    // The middle of the travel, which is a half pixel (167.5) with our strips.
    if (cType != 0) {
        dX = rcBound.left;
        dY = rcBound.top + ((rcBound.bottom - dHeight) - rcBound.top) / 2.0;
    } else {
        dX = rcBound.left + ((rcBound.right - dWidth) - rcBound.left) / 2.0;
        dY = rcBound.top;
    }
    dSpeed = 0.3;
    dSpeedFactor = 1.0;
    cPoints = 1;
    pBonus = nullptr;
    bIdle = 1;
    bIdleReady = 0;
    bTrackReady = 0;
    bIdleTimer = 0;
    bTrackTimer = 0;
}

double Paddle::step() const { return dSpeed * dSpeedFactor * static_cast<double>(*pFrameTime); }

// The bounds are tested on the truncated position, so on the right and at
// the bottom a paddle may stand up to a pixel beyond its travel, while on
// the left and at the top it is pulled back exactly onto the bound.
void Paddle::moveLeft() {
    if (pFrameTime == nullptr || *pFrameTime == 0) return;
    dX -= step();
    if (truncateToInt(dX) < rcBound.left) dX = rcBound.left;
}

void Paddle::moveRight() {
    if (pFrameTime == nullptr || *pFrameTime == 0) return;
    dX += step();
    if (truncateToInt(dX) > rcBound.right - dWidth) dX = rcBound.right - dWidth;
}

void Paddle::moveUp() {
    if (pFrameTime == nullptr || *pFrameTime == 0) return;
    dY -= step();
    if (truncateToInt(dY) < rcBound.top) dY = rcBound.top;
}

void Paddle::moveDown() {
    if (pFrameTime == nullptr || *pFrameTime == 0) return;
    dY += step();
    if (truncateToInt(dY) > rcBound.bottom - dHeight) dY = rcBound.bottom - dHeight;
}

void Paddle::drive(const std::uint8_t* keyState, int colour) {
    if (keyState == nullptr || colour < 0 || colour > 3) return;
    const std::uint8_t* pair = matchKeys::kPaddleKeys[colour];
    // Green and red go up and down, yellow and blue left and right. Both
    // keys held move the paddle there and back in the same frame.
    const bool upDown = colour == 0 || colour == 2;
    if (keys::isDown(keyState, pair[0])) upDown ? moveUp() : moveLeft();
    if (keys::isDown(keyState, pair[1])) upDown ? moveDown() : moveRight();
}

void Paddle::tick() {
    if (pNow == nullptr) return;
    const std::uint32_t now = *pNow;
    tickComputer(now);
    if (pBonus != nullptr && pBonus->getDuration() != Bonus::kUnlimited &&
        now - dwBonusTime > static_cast<std::uint32_t>(pBonus->getDuration())) {
        pBonus = nullptr;
        dSpeedFactor = 1.0;
        cPoints = 1;
    }
}

void Paddle::takeBonus(const Bonus* bonus, std::uint32_t time) {
    pBonus = bonus;
    dwBonusTime = time;
}

// Taking a bonus replaces the one held, so each effect undoes the other.
void Paddle::setSpeedFactor(double factor) {
    dSpeedFactor = factor;
    cPoints = 1;
}

void Paddle::setPoints(std::int8_t points) {
    cPoints = points;
    dSpeedFactor = 1.0;
}

Paddle::State Paddle::state(const Bonus (&kinds)[4]) const {
    std::int8_t held = -1;
    for (std::int8_t kind = 0; kind < 4; ++kind) {
        if (pBonus == &kinds[kind]) held = kind;
    }
    return State{dX,          dY,           dSpeed,       dSpeedFactor, cPoints,     held,       dwBonusTime,
                 dwIdleSince, dwTrackSince, bIdle,        bIdleReady,   bTrackReady, bIdleTimer, bTrackTimer};
}

void Paddle::setState(const State& state, const Bonus (&kinds)[4]) {
    dX = state.dX;
    dY = state.dY;
    dSpeed = state.dSpeed;
    dSpeedFactor = state.dSpeedFactor;
    cPoints = state.cPoints;
    pBonus = state.cHeldBonus >= 0 && state.cHeldBonus < 4 ? &kinds[state.cHeldBonus] : nullptr;
    dwBonusTime = state.dwBonusTime;
    dwIdleSince = state.dwIdleSince;
    dwTrackSince = state.dwTrackSince;
    bIdle = state.bIdle;
    bIdleReady = state.bIdleReady;
    bTrackReady = state.bTrackReady;
    bIdleTimer = state.bIdleTimer;
    bTrackTimer = state.bTrackTimer;
}

void Paddle::draw(DisplayDevice& display, Surface& sprites) const {
    display.blitFast(truncateToInt(dX), truncateToInt(dY), &sprites, rcSrc);
    if (pBonus != nullptr) pBonus->drawLittle(display, sprites, ptBonus);
}
