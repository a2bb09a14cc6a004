#include "combat/BallForecast.h"

#include <cmath>

#include "combat/Paddle.h"
#include "physics/Ball.h"
#include "physics/BallSet.h"
#include "physics/Wall.h"

namespace {

// Beyond a few bounces the other paddles will have moved anyway.
constexpr int kMostBounces = 6;
constexpr double kFar = 1e9;

// The game's angles go through its own pi; these series use only the four
// operations, so the forecast comes out the same on every processor.
double sineOf(double x) {
    while (x > kPi) x -= kTwoPi;
    while (x < -kPi) x += kTwoPi;
    if (x > kPi / 2) x = kPi - x;
    if (x < -kPi / 2) x = -kPi - x;
    const double x2 = x * x;
    double term = x;
    double sum = x;
    for (int n = 1; n <= 7; ++n) {
        term = -term * x2 / ((2.0 * n) * (2.0 * n + 1.0));
        sum += term;
    }
    return sum;
}

double cosineOf(double x) { return sineOf(x + kPi / 2); }

// The direction a paddle sends the ball back in, from where along it (0
// one end, 1 the other) the ball touches: the ball's own rule, without
// the tiny nudge off the straight-back direction.
double bounceAngle(int colour, double along) {
    const double turn = along * 130;
    double degrees = 0.0;
    switch (colour) {
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

// The line a paddle's face lies on: red's left edge, green's right edge,
// yellow's top edge, blue's bottom edge.
Vector2 faceOf(const Paddle& paddle, int colour) {
    Vector2 face{paddle.getX(), paddle.getY()};
    if (paddle.getType() != 0 && colour != 2) face.x += paddle.getWidth();
    if (paddle.getType() == 0 && colour != 1) face.y += paddle.getHeight();
    return face;
}

// How far along the unit direction d a circle of radius r at p goes until
// it touches the line through a with normal n, measured as the ball's own
// contact test measures (the normal taken as stored). Negative when it is
// moving away or is already past the line.
double distanceTo(const Vector2& p, const Vector2& d, double r, const Vector2& a, const Vector2& n) {
    const double closing = dot(d, n);
    if (closing >= 0) return -1.0;
    const double gap = dot(subtract(p, a), n);
    if (gap < -r) return -1.0;
    const double t = (r - gap) / closing;
    // Already touching: it bounces now.
    return t < 0 ? 0.0 : t;
}

}  // namespace

BallForecast::BallForecast(const Paddle (&paddles)[4], const Wall (&walls)[4]) : pPaddles(paddles), pWalls(walls) {}

bool BallForecast::arrival(const BallSet& balls, std::int32_t i, int colour, Arrival& arrival) const {
    const Ball* ball = balls.ball(i);
    if (ball == nullptr || colour < 0 || colour > 3) return false;
    Vector2 p = ball->getPos();
    Vector2 d = ball->getVel();
    const double length = std::sqrt(dot(d, d));
    // No direction (or no number at all): nothing to read.
    if (!(length > 0.0) || !(ball->getSpeed() > 0.0)) return false;
    d = scale(d, 1.0 / length);
    const double r = ball->getRadius();
    double travelled = 0.0;

    for (int bounce = 0; bounce <= kMostBounces; ++bounce) {
        double nearest = kFar;
        int paddleHit = -1;
        int wallHit = -1;
        for (int j = 0; j < 4; ++j) {
            const double t = distanceTo(p, d, r, faceOf(pPaddles[j], j), pPaddles[j].getNormal());
            if (t >= 0 && t < nearest) {
                nearest = t;
                paddleHit = j;
            }
        }
        for (int w = 0; w < 4; ++w) {
            const Wall& wall = pWalls[w];
            const double t = distanceTo(p, d, r, wall.bound(0), wall.normal(0));
            if (t < 0 || t >= nearest) continue;
            // The walls have ends, a little widened by the ball.
            const double x = p.x + t * d.x;
            if (x < wall.bound(0).x - r || x > wall.bound(1).x + r) continue;
            nearest = t;
            wallHit = w;
            paddleHit = -1;
        }
        if (paddleHit < 0 && wallHit < 0) return false;
        p = add(p, scale(d, nearest));
        travelled += nearest;

        if (wallHit >= 0) {
            // A mirror across the diagonal.
            const Vector2& n = pWalls[wallHit].normal(0);
            d = subtract(d, scale(n, 2.0 * dot(d, n) / dot(n, n)));
            continue;
        }
        const Paddle& paddle = pPaddles[paddleHit];
        const bool vertical = paddle.getType() != 0;
        const double along = vertical ? p.y : p.x;
        if (paddleHit == colour) {
            arrival.along = along;
            arrival.ms = travelled / ball->getSpeed();
            return true;
        }
        const double start = vertical ? paddle.getY() : paddle.getX();
        const double span = vertical ? paddle.getHeight() : paddle.getWidth();
        // Past the other paddle the ball is out: it never comes here.
        if (span <= 0 || along < start - r || along > start + span + r) return false;
        const double angle = bounceAngle(paddleHit, (along - start) / span);
        d = Vector2{cosineOf(angle), sineOf(angle)};
    }
    return false;
}
