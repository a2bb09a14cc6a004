#pragma once
#include <cstdint>

#include "graphics/Rect.h"
#include "physics/Vector2.h"

class BallSet;
class Paddle;
class Wall;

// Where a ball will come to a paddle: its straight path, turned by the
// corner walls it meets and by the other paddles where they stand now, up
// to a few bounces ahead. This is the hard computer player's eye; the
// match itself never asks it anything, so nothing here decides a rule.
//
// It keeps references to the match's arena, paddles and walls, which stay
// where they are for the whole match.
class BallForecast {
public:
    struct Arrival {
        // Where the ball's centre meets the paddle's face, along the
        // paddle's axis (y for green and red, x for yellow and blue).
        double along;
        // How long the ball takes to get there at its present speed.
        double ms;
    };

    // `back` is the arena: a ball whose centre goes beyond it is out.
    BallForecast(const Rect& back, const Paddle (&paddles)[4], const Wall (&walls)[4]);

    // False when ball i leaves the arena first (past another paddle), has
    // no direction, or would need more bounces than are worth reading.
    bool arrival(const BallSet& balls, std::int32_t i, int colour, Arrival& arrival) const;
    // Which way along its axis paddle `colour` should send the ball back
    // (+1 towards larger coordinates, -1 smaller): towards the end of the
    // opposite strip that its paddle is further from.
    int openingAcross(int colour) const;

private:
    // What the ball meets next on its straight path, and how far along it.
    struct Event {
        enum Kind { kOut, kPaddle, kWall } kind;
        int index;
        double distance;
    };
    // `passed`: a bit for each paddle the ball has gone by, from 1 << colour.
    Event nextEvent(const Vector2& p, const Vector2& d, double r, int passed) const;
    // The direction after the ball touches a wall at p.
    Vector2 offWall(int wall, const Vector2& p, const Vector2& d) const;

    const Rect& rcBack;
    const Paddle (&pPaddles)[4];
    const Wall (&pWalls)[4];
};
