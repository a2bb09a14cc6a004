// The computer player: it chases the nearest ball coming its way, after a
// moment to react, and drifts back to the middle when none is coming. It
// moves only as a person could, through the paddle's own moves, and never
// faster than a person's paddle.
//
// Three strengths. Normal is the player the game always had. Easy is the
// same player with a slower eye and a slower hand. Hard asks the forecast
// where each ball will meet its line, after the corner walls and the other
// paddles, and slides there so as to land on the spot, taking the ball off
// the middle of its paddle to send it where the opposite player is not.
#include <cmath>

#include "combat/BallForecast.h"
#include "combat/Paddle.h"
#include "physics/BallSet.h"

namespace {

// Balls whose straight path would miss the strip by more than this are
// left alone.
constexpr double kReachMargin = 20.0;
constexpr double kNoBall = 1000.0;
// The arena's middle, where an idle paddle waits.
constexpr double kMiddle = 200.0;
constexpr double kMiddleSlack = 2.0;
// Hard stops once it is this close to where it wants the ball.
constexpr double kHardDeadZone = 1.0;
// Hard takes the ball this far from its paddle's middle (a fraction of the
// paddle), which sends it back turned by some 40 degrees: a ball returned
// straight would go back and forth between two players who never miss.
constexpr double kHardAim = 0.3;
// Like a person, Hard reads only so far ahead; a ball further off than
// this leaves it waiting in the middle.
constexpr double kHardHorizonMs = 350.0;

struct Style {
    // From seeing a ball to the first move, and from losing it to going
    // back to the middle.
    std::uint32_t reactMs;
    std::uint32_t idleMs;
    double fullSpeed;
    double fineSpeed;
    // The fast bonus doubles the speed; the fine approach stays as slow as
    // without it.
    double fineSpeedWhenFast;
    double deadZone;
};

// Easy, Normal, Hard. A person's paddle always moves at 0.3: no style is
// quicker.
constexpr Style kStyles[3] = {
    {250, 500, 0.2, 0.07, 0.035, 8.0},
    {100, 300, 0.3, 0.1, 0.05, 5.0},
    {100, 300, 0.3, 0.1, 0.05, 5.0},
};

const Style& styleOf(ComputerLevel strength) {
    const std::uint8_t index = static_cast<std::uint8_t>(strength);
    return kStyles[index <= kLastComputerLevel ? index : 1];
}

bool within(double value, double low, double high) { return low <= value && value <= high; }

}  // namespace

void Paddle::tickComputer(std::uint32_t now) {
    const Style& style = styleOf(cLevel);
    if (bIdleTimer && now - dwIdleSince > style.idleMs) {
        bIdleReady = 1;
        bIdleTimer = 0;
    }
    if (bTrackTimer && now - dwTrackSince > style.reactMs) {
        bTrackReady = 1;
        bTrackTimer = 0;
    }
}

void Paddle::steer(const BallSet& balls, int side) {
    if (pNow == nullptr || pFrameTime == nullptr) return;
    const bool vertical = cType != 0;

    double best = kNoBall;
    double target = 0.0;
    for (std::int32_t i = 0; i < balls.count(); ++i) {
        const Vector2& p = balls.ballPos(i);
        const Vector2& v = balls.ballVel(i);
        // Side 0 is green's (balls coming left) and yellow's (coming down),
        // side 1 red's (coming right) and blue's (coming up).
        const bool coming = vertical ? (side == 0 ? v.x < 0 : v.x > 0) : (side == 0 ? v.y > 0 : v.y < 0);
        if (!coming) continue;
        double crossing = 0.0;
        double distance = 0.0;
        double along = 0.0;
        bool reaches = false;
        if (vertical) {
            const double line = rcBound.left;
            crossing = p.y + ((line - p.x) / v.x) * v.y;
            reaches = within(crossing, rcBound.top - kReachMargin, rcBound.bottom + kReachMargin);
            distance = std::fabs(dX - p.x);
            along = p.y;
        } else {
            const double line = rcBound.bottom;
            crossing = p.x + ((line - p.y) / v.y) * v.x;
            reaches = within(crossing, rcBound.left - kReachMargin, rcBound.right + kReachMargin);
            distance = std::fabs(dY - p.y);
            along = p.x;
        }
        // The crossing only says whether the ball counts; the paddle aims
        // at where the ball is now. A tie keeps the earlier ball.
        if (reaches && distance < best) {
            best = distance;
            target = along;
        }
    }
    if (best == kNoBall) {
        wait();
    } else if (startTracking()) {
        chase(target);
    }
}

void Paddle::steerAhead(const BallSet& balls, const BallForecast& forecast, int colour) {
    if (pNow == nullptr || pFrameTime == nullptr) return;
    const bool vertical = cType != 0;
    const double low = (vertical ? rcBound.top : rcBound.left) - kReachMargin;
    const double high = (vertical ? rcBound.bottom : rcBound.right) + kReachMargin;

    // The ball that comes first, wherever it is heading now.
    bool found = false;
    BallForecast::Arrival first{};
    for (std::int32_t i = 0; i < balls.count(); ++i) {
        BallForecast::Arrival arrival{};
        if (!forecast.arrival(balls, i, colour, arrival) || !within(arrival.along, low, high)) continue;
        if (arrival.ms > kHardHorizonMs) continue;
        if (!found || arrival.ms < first.ms) first = arrival;
        found = true;
    }
    if (!found) {
        wait();
    } else if (startTracking()) {
        // Hitting the ball with the part of the paddle towards larger
        // coordinates sends it that way, for every colour.
        const double span = vertical ? dHeight : dWidth;
        meet(first.along - forecast.openingAcross(colour) * kHardAim * span);
    }
}

bool Paddle::startTracking() {
    if (bIdle) {
        bTrackTimer = 1;
        bTrackReady = 0;
        dwTrackSince = *pNow;
    }
    bIdle = 0;
    // Reaction time: tick says when it is over.
    return bTrackReady != 0;
}

void Paddle::chase(double target) {
    const Style& style = styleOf(cLevel);
    const bool vertical = cType != 0;
    const double pos = vertical ? dY : dX;
    const double half = (vertical ? dHeight : dWidth) / 2.0;
    if (std::fabs(target - pos - half) > 2.0 * half / 3.0) {
        dSpeed = style.fullSpeed;
    } else {
        dSpeed = dSpeedFactor == 2.0 ? style.fineSpeedWhenFast : style.fineSpeed;
    }
    if (target - style.deadZone > pos + half) {
        vertical ? moveDown() : moveRight();
    } else if (target + style.deadZone < pos + half) {
        vertical ? moveUp() : moveLeft();
    }
}

void Paddle::meet(double target) {
    const Style& style = styleOf(cLevel);
    const bool vertical = cType != 0;
    const double centre = (vertical ? dY + dHeight / 2.0 : dX + dWidth / 2.0);
    const double gap = std::fabs(target - centre);
    const double perSpeed = dSpeedFactor * static_cast<double>(*pFrameTime);
    if (gap <= kHardDeadZone || perSpeed <= 0.0) return;
    // The last step is a shorter one that lands on the spot, as a person
    // lets go of the key in time; never a longer one.
    dSpeed = gap >= style.fullSpeed * perSpeed ? style.fullSpeed : gap / perSpeed;
    if (target > centre) {
        vertical ? moveDown() : moveRight();
    } else {
        vertical ? moveUp() : moveLeft();
    }
}

void Paddle::wait() {
    if (!bIdle) {
        bIdleTimer = 1;
        bIdleReady = 0;
        dwIdleSince = *pNow;
    }
    bIdle = 1;
    if (!bIdleReady) return;
    const bool vertical = cType != 0;
    double& pos = vertical ? dY : dX;
    const double half = (vertical ? dHeight : dWidth) / 2.0;
    dSpeed = styleOf(cLevel).fullSpeed;
    // The last step lands exactly in the middle instead of hopping round it.
    if (step() > std::fabs(pos + half - kMiddle)) {
        pos = kMiddle - half;
    } else if (pos + half < kMiddle - kMiddleSlack) {
        vertical ? moveDown() : moveRight();
    } else if (pos + half > kMiddle + kMiddleSlack) {
        vertical ? moveUp() : moveLeft();
    }
}
