// The computer player: it chases the nearest ball coming its way, after a
// moment to react, and drifts back to the middle when none is coming. It
// moves only as a person could, through the paddle's own moves.
#include <cmath>

#include "combat/Paddle.h"
#include "physics/BallSet.h"

namespace {

// Balls whose straight path would miss the strip by more than this are
// left alone.
constexpr double kReachMargin = 20.0;
constexpr double kNoBall = 1000.0;
constexpr double kFullSpeed = 0.3;
constexpr double kFineSpeed = 0.1;
// The fast bonus doubles the speed; the fine approach stays as slow as
// without it.
constexpr double kFineSpeedWhenFast = 0.05;
constexpr double kDeadZone = 5.0;
// The arena's middle, where an idle paddle waits.
constexpr double kMiddle = 200.0;
constexpr double kMiddleSlack = 2.0;

bool within(double value, double low, double high) { return low <= value && value <= high; }

}  // namespace

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

    double& pos = vertical ? dY : dX;
    const double half = (vertical ? dHeight : dWidth) / 2.0;
    auto increase = [this, vertical] { vertical ? moveDown() : moveRight(); };
    auto decrease = [this, vertical] { vertical ? moveUp() : moveLeft(); };

    if (best != kNoBall) {
        if (bIdle) {
            bTrackTimer = 1;
            bTrackReady = 0;
            dwTrackSince = *pNow;
        }
        bIdle = 0;
        // Reaction time: tick says when it is over.
        if (!bTrackReady) return;
        if (std::fabs(target - pos - half) > 2.0 * half / 3.0) {
            dSpeed = kFullSpeed;
        } else {
            dSpeed = dSpeedFactor == 2.0 ? kFineSpeedWhenFast : kFineSpeed;
        }
        if (target - kDeadZone > pos + half) {
            increase();
        } else if (target + kDeadZone < pos + half) {
            decrease();
        }
        return;
    }

    if (!bIdle) {
        bIdleTimer = 1;
        bIdleReady = 0;
        dwIdleSince = *pNow;
    }
    bIdle = 1;
    if (!bIdleReady) return;
    dSpeed = kFullSpeed;
    // The last step lands exactly in the middle instead of hopping round it.
    if (step() > std::fabs(pos + half - kMiddle)) {
        pos = kMiddle - half;
    } else if (pos + half < kMiddle - kMiddleSlack) {
        increase();
    } else if (pos + half > kMiddle + kMiddleSlack) {
        decrease();
    }
}
