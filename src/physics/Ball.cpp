#include "physics/Ball.h"

#include "combat/Paddle.h"
#include "combat/TextLabel.h"
#include "graphics/DisplayDevice.h"
#include "physics/MatchRandom.h"
#include "physics/MatchTrig.h"
#include "physics/Wall.h"
#include "sound/Sound.h"
#include "sound/SoundDevice.h"

namespace {

// Paddles by index (green, yellow, red, blue): their last-hit markers, and
// the window around the straight-back direction that a bounce is nudged
// out of, so a ball hit dead centre never shuttles back and forth forever.
constexpr std::int8_t kPaddleMarker[4] = {3, 0, 2, 1};
constexpr double kNudgeLow[4] = {-0.0005, -1.571, -3.142, -4.713};
constexpr double kNudgeHigh[4] = {0.0005, -1.57, -3.141, -4.712};
constexpr std::int8_t kFirstWallMarker = 4;

double paddleBounce(int index, double along) {
    double angle = Ball::paddleAngle(index, along);
    if (angle > kNudgeLow[index] && angle < kNudgeHigh[index]) angle += 0.01;
    return angle;
}

}  // namespace

double Ball::paddleAngle(int index, double along) {
    const double turn = along * 130;
    double degrees = 0.0;
    switch (index) {
        case 0:
            degrees = -(65 - turn);
            break;
        case 1:
            degrees = -(155 - turn);
            break;
        case 2:
            degrees = -(turn + 115);
            break;
        default:
            degrees = -(turn + 205);
            break;
    }
    return degrees * kPi / 180;
}

Ball::Ball(SoundDevice* soundDevice, const Rect& rcSrcIn, const Rect& rcBackIn, TextLabel (&scoreLabels)[4],
           const std::uint32_t& frameTime, MatchRandom& random, std::uint32_t now)
    : pSoundDevice(soundDevice),
      rcBack(rcBackIn),
      rcSrc(rcSrcIn),
      dAngle(0.0),
      dSpeed(0.0),
      dRadius(0.0),
      dRamp(0.0),
      pScoreLabels(scoreLabels),
      cLastPaddle(-1),
      cLastHit(-1),
      pdwDelta(frameTime),
      pRandom(random),
      dwLastSpeedUp(0) {
    if (pSoundDevice != nullptr) {
        // A sound that does not load just stays silent.
        pSoundOdpal = std::make_unique<Sound>();
        pSoundDevice->loadWave("odpal", pSoundOdpal.get());
        pSoundOkraj = std::make_unique<Sound>();
        pSoundDevice->loadWave("okraj", pSoundOkraj.get());
    }
    reset(now);
}

Ball::~Ball() = default;

void Ball::reset(std::uint32_t now) {
    // Computed wide so that no arena rectangle can overflow; the halves are
    // whole pixels and the arena's left and top are not added.
    dRadius = (static_cast<double>(rcSrc.right) - rcSrc.left) / 2.0;
    vecPos.x = static_cast<double>((static_cast<std::int64_t>(rcBack.right) - rcBack.left) / 2);
    vecPos.y = static_cast<double>((static_cast<std::int64_t>(rcBack.bottom) - rcBack.top) / 2);
    dSpeed = 0.3;
    dRamp = 0.2;
    // Towards one of the four sides, turned by -32 to +31 degrees.
    const int offset = pRandom.draw() % 64;
    const int side = pRandom.draw() % 4;
    const double degrees = offset + 90 * side - 32;
    dAngle = degrees * kPi / 180;
    aimFromAngle();
    cLastPaddle = -1;
    cLastHit = -1;
    // Until the match predicts this ball, it is predicted to stay put.
    vecNext = vecPos;
    // Counting from the launch, the first speed-up comes 1.5 s into play
    // rather than at the very first frame.
    dwLastSpeedUp = now;
}

void Ball::place(const Vector2& pos, double angle) {
    vecPos = pos;
    vecNext = pos;
    dAngle = angle;
    aimFromAngle();
}

Ball::State Ball::state() const {
    return State{vecPos, vecVel, vecNext, dAngle, dSpeed, dRadius, dRamp, cLastPaddle, cLastHit, dwLastSpeedUp};
}

void Ball::setState(const State& state) {
    vecPos = state.vecPos;
    vecVel = state.vecVel;
    vecNext = state.vecNext;
    dAngle = state.dAngle;
    dSpeed = state.dSpeed;
    dRadius = state.dRadius;
    dRamp = state.dRamp;
    cLastPaddle = state.cLastPaddle;
    cLastHit = state.cLastHit;
    dwLastSpeedUp = state.dwLastSpeedUp;
}

// The match's own sine and cosine, not the C library's, whose last bit
// depends on the processor.
void Ball::aimFromAngle() { vecVel = Vector2{MatchTrig::cos(dAngle) * dSpeed, MatchTrig::sin(dAngle) * dSpeed}; }

void Ball::draw(DisplayDevice& display, Surface& sprites) const {
    display.blitFast(truncateToInt(vecPos.x - dRadius), truncateToInt(vecPos.y - dRadius), &sprites, rcSrc);
}

void Ball::predict(Vector2& pos, Vector2& next) {
    if (pdwDelta == 0) return;
    // The full velocity: the start-up ramp only slows the free move.
    vecNext = add(vecPos, scale(vecVel, pdwDelta));
    pos = vecPos;
    next = vecNext;
}

void Ball::playBounce(Sound* sound) {
    if (sound == nullptr || (pHeard != nullptr && !*pHeard)) return;
    if (sound->play() != platform::status::DSERR_BUFFERLOST) return;
    // The platform took the buffers away: bring both back for the next
    // bounce. This one goes unheard.
    pSoundOdpal->restore();
    pSoundDevice->loadWave("odpal", pSoundOdpal.get());
    pSoundOkraj->restore();
    pSoundDevice->loadWave("okraj", pSoundOkraj.get());
}

int Ball::update(const Paddle (&paddles)[4], const Wall (&walls)[4], std::uint32_t now) {
    // A frame without time is a pause: nothing moves, ramps or scores.
    if (pdwDelta == 0) return 1;
    if (dRamp < 1.0) dRamp += 0.01;
    // The new speed shows from the next bounce on; the ball keeps its
    // velocity until then.
    if (now - dwLastSpeedUp > 1500 && dSpeed < 0.5) {
        dSpeed += 0.005;
        dwLastSpeedUp = now;
    }

    bool bounced = false;
    for (int index = 0; index < 4 && !bounced; ++index) {
        const int answer = testPaddle(paddles[index], index);
        if (answer == kBounced) {
            playBounce(pSoundOdpal.get());
            aimFromAngle();
            cLastPaddle = static_cast<std::int8_t>(index);
            bounced = true;
        } else if (answer == kMovedToContact) {
            addInPlace(vecPos, vecVel);
            return testLeaving(paddles);
        }
    }
    if (!bounced) {
        const int answer = testWall(walls);
        if (answer == kBounced) {
            playBounce(pSoundOkraj.get());
            aimFromAngle();
        } else if (answer == kMovedToContact) {
            addInPlace(vecPos, vecVel);
            return testLeaving(paddles);
        }
    }
    addInPlace(vecPos, scale(vecVel, static_cast<double>(pdwDelta) * dRamp));
    return testLeaving(paddles);
}

int Ball::testPaddle(const Paddle& paddle, int index) {
    const bool vertical = paddle.getType() != 0;
    // The face turned to the arena: red's left edge, green's right edge,
    // yellow's top edge, blue's bottom edge.
    Vector2 face{paddle.getX(), paddle.getY()};
    if (vertical && index != 2) face.x += paddle.getWidth();
    if (!vertical && index != 1) face.y += paddle.getHeight();
    const double along = vertical ? vecPos.y : vecPos.x;
    const double start = vertical ? paddle.getY() : paddle.getX();
    const double length = vertical ? paddle.getHeight() : paddle.getWidth();
    const double r = dRadius;

    Vector2 contact;
    const int result = testLineContact(vecPos, vecNext, r, face, paddle.getNormal(), contact);
    if (result == kTouching) {
        if (along < start - r || along > start + length + r) return kNothing;
        // Still touching the paddle that has just bounced it.
        if (cLastHit == kPaddleMarker[index]) return kNothing;
        // A paddle without length has no place along it to bounce from.
        if (length <= 0) return kNothing;
        dAngle = paddleBounce(index, (along - start) / length);
        cLastHit = kPaddleMarker[index];
        return kBounced;
    }
    if (result == kCrossing) {
        const double at = vertical ? contact.y : contact.x;
        if (at < start - r || at > start + length + r) return kNothing;
        // Up to the face this frame; the bounce comes with the next one.
        vecVel = subtract(contact, vecPos);
        return kMovedToContact;
    }
    return kNothing;
}

int Ball::testWall(const Wall (&walls)[4]) {
    // Only the wall of the quarter the ball is in; a centre on either
    // centre line goes to the top-left wall.
    const double k = cornerSelection(walls);
    const double x = vecPos.x;
    const double y = vecPos.y;
    int q = kWallTopLeft;
    if (x < k && y > k) {
        q = kWallBottomLeft;
    } else if (x > k && y > k) {
        q = kWallBottomRight;
    } else if (x > k && y < k) {
        q = kWallTopRight;
    }
    const Wall& wall = walls[q];
    const double r = dRadius;
    const double x1 = wall.bound(0).x;
    const double x2 = wall.bound(1).x;
    const std::int8_t marker = static_cast<std::int8_t>(kFirstWallMarker + q);

    Vector2 contact;
    const int result = testLineContact(vecPos, vecNext, r, wall.bound(0), wall.normal(0), contact);
    if (result == kTouching) {
        if (x < x1 - r || x > x2 + r) return kNothing;
        if (cLastHit == marker) return kNothing;
        // Past a paddle's face the ball meets the square end of a corner
        // block, which turns it back like a flat face.
        const WallEndLimits limits = wallEndLimits(walls);
        if (x < limits.left) {
            dAngle = kTwoPi - dAngle;
        } else if (y > limits.bottom) {
            dAngle = kThreePi - dAngle;
        } else if (x > limits.right) {
            dAngle = kTwoPi - dAngle;
        } else if (y < limits.top) {
            dAngle = kThreePi - dAngle;
        } else if (q == kWallBottomLeft || q == kWallTopRight) {
            dAngle = 2.5 * kPi - dAngle;
        } else {
            dAngle = 1.5 * kPi - dAngle;
        }
        cLastHit = marker;
        return kBounced;
    }
    if (result == kCrossing) {
        if (contact.x < x1 - r || contact.x > x2 + r) return kNothing;
        vecVel = subtract(contact, vecPos);
        return kMovedToContact;
    }
    return kNothing;
}

int Ball::testLeaving(const Paddle (&paddles)[4]) {
    // Sides by the colour guarding them; a centre exactly on an edge is in.
    int side = -1;
    if (vecPos.x < rcBack.left) {
        side = 0;
    } else if (vecPos.x > rcBack.right) {
        side = 2;
    } else if (vecPos.y < rcBack.top) {
        side = 3;
    } else if (vecPos.y > rcBack.bottom) {
        side = 1;
    }
    if (side < 0) return 1;
    // Both changes happen even when they are the same colour: a paddle that
    // sends the ball out past itself still earns its points, less one.
    if (cLastPaddle >= 0 && cLastPaddle < 4) pScoreLabels[cLastPaddle].addToValue(paddles[cLastPaddle].getPoints());
    pScoreLabels[side].addToValue(-1);
    return 0;
}
