#include "combat/BallForecast.h"

#include <algorithm>
#include <cmath>

#include "combat/Paddle.h"
#include "physics/Ball.h"
#include "physics/BallSet.h"
#include "physics/MatchTrig.h"
#include "physics/Wall.h"

namespace {

// Beyond a few bounces the other paddles will have moved anyway.
constexpr int kMostBounces = 6;
constexpr double kFar = 1e9;

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

// A ball that reaches a paddle's face beside the paddle may still be
// caught by its end while the centre runs on, up to r + 1 beyond the face:
// the ball's contact test counts all of that as touching. True, with the
// ball moved to where it is caught and `along` there, when the paddle
// (from low to high along its axis) gets it; false when the ball is out.
bool catchOnTheWayOut(Vector2& p, const Vector2& d, double r, const Vector2& normal, bool vertical, double low,
                      double high, double& along) {
    if (low <= along && along <= high) return true;
    const double alongStep = vertical ? d.y : d.x;
    const double closing = -dot(d, normal);
    if (alongStep == 0 || closing <= 0) return false;
    const double edge = along < low ? low : high;
    const double t = (edge - along) / alongStep;
    if (t < 0 || t * closing > 2 * r + 1) return false;
    p = add(p, scale(d, t));
    along = edge;
    return true;
}

}  // namespace

BallForecast::BallForecast(const Rect& back, const Paddle (&paddles)[4], const Wall (&walls)[4])
    : rcBack(back), pPaddles(paddles), pWalls(walls) {}

BallForecast::Event BallForecast::nextEvent(const Vector2& p, const Vector2& d, double r, int passed) const {
    Event next{Event::kOut, -1, kFar};
    // Out once the centre is beyond a side, unless something turns it first.
    if (d.x < 0) next.distance = std::min(next.distance, (rcBack.left - p.x) / d.x);
    if (d.x > 0) next.distance = std::min(next.distance, (rcBack.right - p.x) / d.x);
    if (d.y < 0) next.distance = std::min(next.distance, (rcBack.top - p.y) / d.y);
    if (d.y > 0) next.distance = std::min(next.distance, (rcBack.bottom - p.y) / d.y);
    for (int j = 0; j < 4; ++j) {
        if (passed & (1 << j)) continue;
        const double t = distanceTo(p, d, r, faceOf(pPaddles[j], j), pPaddles[j].getNormal());
        if (t >= 0 && t < next.distance) next = Event{Event::kPaddle, j, t};
    }
    for (int w = 0; w < 4; ++w) {
        const Wall& wall = pWalls[w];
        const double t = distanceTo(p, d, r, wall.bound(0), wall.normal(0));
        if (t < 0 || t >= next.distance) continue;
        // The walls have ends, a little widened by the ball.
        const double x = p.x + t * d.x;
        if (x < wall.bound(0).x - r || x > wall.bound(1).x + r) continue;
        next = Event{Event::kWall, w, t};
    }
    return next;
}

Vector2 BallForecast::offWall(int wall, const Vector2& p, const Vector2& d) const {
    // Beside a paddle's face the ball meets the square end of a corner
    // block, which turns it like a flat face; elsewhere the wall is a
    // mirror across the diagonal.
    const WallEndLimits limits = wallEndLimits(pWalls);
    if (p.x < limits.left) return Vector2{d.x, -d.y};
    if (p.y > limits.bottom) return Vector2{-d.x, d.y};
    if (p.x > limits.right) return Vector2{d.x, -d.y};
    if (p.y < limits.top) return Vector2{-d.x, d.y};
    const Vector2& n = pWalls[wall].normal(0);
    return subtract(d, scale(n, 2.0 * dot(d, n) / dot(n, n)));
}

int BallForecast::openingAcross(int colour) const {
    // Green faces red and yellow faces blue, along the same axis.
    const Paddle& across = pPaddles[(colour + 2) & 3];
    const bool vertical = across.getType() != 0;
    const double centre = vertical ? across.getY() + across.getHeight() / 2.0 : across.getX() + across.getWidth() / 2.0;
    const Rect& strip = across.getBound();
    const double middle = vertical ? (strip.top + strip.bottom) / 2.0 : (strip.left + strip.right) / 2.0;
    return centre < middle ? 1 : -1;
}

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
    // The paddles the ball has gone by, beside them: it is behind their
    // faces now, on its way out unless a corner block turns it back in.
    int passed = 0;

    for (int bounce = 0; bounce <= kMostBounces; ++bounce) {
        const Event next = nextEvent(p, d, r, passed);
        if (next.kind == Event::kOut) return false;
        p = add(p, scale(d, next.distance));
        travelled += next.distance;
        if (next.kind == Event::kWall) {
            d = offWall(next.index, p, d);
            continue;
        }
        const Paddle& paddle = pPaddles[next.index];
        const bool vertical = paddle.getType() != 0;
        double along = vertical ? p.y : p.x;
        if (next.index == colour) {
            arrival.along = along;
            arrival.ms = travelled / ball->getSpeed();
            return true;
        }
        const double start = vertical ? paddle.getY() : paddle.getX();
        const double span = vertical ? paddle.getHeight() : paddle.getWidth();
        if (span > 0 && catchOnTheWayOut(p, d, r, paddle.getNormal(), vertical, start - r, start + span + r, along)) {
            const double angle = Ball::paddleAngle(next.index, (along - start) / span);
            d = Vector2{MatchTrig::cos(angle), MatchTrig::sin(angle)};
        } else {
            passed |= 1 << next.index;
        }
    }
    return false;
}
