#pragma once
#include <cstdint>

#include "combat/ComputerLevel.h"
#include "graphics/Rect.h"
#include "physics/Vector2.h"

class BallForecast;
class BallSet;
class Bonus;
class DisplayDevice;
class Surface;
class TextFileReader;

// One of the four bats, sliding along its strip of the arena at a speed
// scaled by the frame time, driven by two keys or by the computer player.
// It may hold one bonus effect: a speed factor or a points multiplier.
class Paddle {
public:
    // Everything about the paddle that changes during a match, as a plain
    // value. The held bonus is its kind (-1 for none) rather than where the
    // match keeps it.
    struct State {
        double dX;
        double dY;
        double dSpeed;
        double dSpeedFactor;
        std::int8_t cPoints;
        std::int8_t cHeldBonus;
        std::uint32_t dwBonusTime;
        std::uint32_t dwIdleSince;
        std::uint32_t dwTrackSince;
        std::int32_t bIdle;
        std::int32_t bIdleReady;
        std::int32_t bTrackReady;
        std::int32_t bIdleTimer;
        std::int32_t bTrackTimer;
    };

    Paddle();

    // One layout row; the references are the match's frame time and clock
    // time, which stay where they are for the whole match.
    void load(TextFileReader& reader, const std::uint32_t& frameTime, const std::uint32_t& now);
    // Back to the middle of the strip, normal speed, no bonus, and the
    // computer player waiting.
    void reset();

    void moveLeft();
    void moveRight();
    void moveUp();
    void moveDown();
    // A person's control of paddle `colour` (0 green ... 3 blue) from the
    // 256-byte key state: the first key of the pair, then the second.
    void drive(const std::uint8_t* keyState, int colour);
    // The computer player; balls come towards this paddle from side 0 or 1.
    // Easy and Normal chase the ball where it is now.
    void steer(const BallSet& balls, int side);
    // The hard computer player of paddle `colour`: it goes where the
    // forecast says the first ball will come.
    void steerAhead(const BallSet& balls, const BallForecast& forecast, int colour);
    // How well the computer plays this paddle. Not part of the paddle's
    // state: the match sets it from its setup before every frame.
    void setComputerLevel(ComputerLevel strength) { cLevel = strength; }
    ComputerLevel getComputerLevel() const { return cLevel; }
    // The computer player's delays and the end of a time-limited bonus.
    void tick();

    void takeBonus(const Bonus* bonus, std::uint32_t time);
    void setSpeedFactor(double factor);
    void setPoints(std::int8_t points);
    std::int8_t getPoints() const { return cPoints; }

    void draw(DisplayDevice& display, Surface& sprites) const;

    // `kinds` are the match's four bonus kinds, which the held bonus is one of.
    State state(const Bonus (&kinds)[4]) const;
    void setState(const State& state, const Bonus (&kinds)[4]);

    const Vector2& getNormal() const { return normal; }
    double getX() const { return dX; }
    double getY() const { return dY; }
    double getWidth() const { return dWidth; }
    double getHeight() const { return dHeight; }
    // Non-zero for a vertical paddle (moves in y), zero for a horizontal one.
    std::int8_t getType() const { return cType; }
    const Rect& getBound() const { return rcBound; }
    double getSpeed() const { return dSpeed; }
    double getSpeedFactor() const { return dSpeedFactor; }
    const Bonus* getBonus() const { return pBonus; }

private:
    double step() const;
    // The computer player's parts: its timers, the start of tracking (false
    // while it still reacts), the chase, and the way back to the middle.
    void tickComputer(std::uint32_t now);
    bool startTracking();
    void chase(double target);
    void meet(double target);
    void wait();

    Rect rcSrc;
    Rect rcBound;
    Vector2 normal;
    Point ptBonus;
    double dAngMin;
    double dAngMax;
    double dX;
    double dY;
    double dWidth;
    double dHeight;
    std::int8_t cType;
    double dSpeed;
    double dSpeedFactor;
    std::int8_t cPoints;
    const Bonus* pBonus;
    std::uint32_t dwBonusTime;
    std::uint32_t dwIdleSince;
    std::uint32_t dwTrackSince;
    // Null until load: a paddle that was never loaded does not move.
    const std::uint32_t* pFrameTime;
    const std::uint32_t* pNow;
    // The computer player's state.
    std::int32_t bIdle;
    std::int32_t bIdleReady;
    std::int32_t bTrackReady;
    std::int32_t bIdleTimer;
    std::int32_t bTrackTimer;
    ComputerLevel cLevel;
};
