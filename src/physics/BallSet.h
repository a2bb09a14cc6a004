#pragma once
#include <cstdint>
#include <memory>
#include <vector>

#include "graphics/Rect.h"
#include "physics/Ball.h"
#include "physics/Vector2.h"

class DisplayDevice;
class ErrorLogger;
class MatchRandom;
class Paddle;
class Sound;
class SoundDevice;
class Surface;
class TextFileReader;
class TextLabel;
class Wall;

// The balls in play in a match, in the order they were served. They move,
// bounce and score independently; a ball that leaves the arena is removed
// at once, and an empty set ends the serve.
//
// A removed ball is kept aside with its sounds and served again later, so
// that putting back a saved match never has to make or unmake sounds.
class BallSet {
public:
    BallSet();
    ~BallSet();
    BallSet(const BallSet&) = delete;
    BallSet& operator=(const BallSet&) = delete;

    // Reads the ball row of txtGame and keeps the match's objects, which
    // stay where they are for the whole match. The sound device may be
    // null: the balls are then silent. Every ball draws its direction from
    // `random`.
    void load(TextFileReader& reader, DisplayDevice& display, SoundDevice* soundDevice, Surface& sprites,
              Paddle (&paddles)[4], const Wall (&walls)[4], const Rect& rcBack, TextLabel (&scoreLabels)[4],
              const std::uint32_t& now, MatchRandom& random, ErrorLogger& logger);

    // Serves a new ball from the middle; frameTime is the match's step time.
    // Does nothing before load.
    void addBall(const std::uint32_t& frameTime);
    void removeBall(std::int32_t i);
    // Exactly these balls in play, in this order, each moving by frameTime.
    // A ball that has to be made for it draws its direction, which the
    // caller puts right by restoring the generator afterwards.
    void restoreBalls(const Ball::State* states, std::int32_t count, const std::uint32_t& frameTime);
    void resetAll();
    // Serves and bounces make no sound while this is off.
    void setHeard(bool on) { bHeard = on; }
    void drawAll() const;
    void predictBall(std::int32_t i, Vector2& pos, Vector2& next);
    // One frame for every ball in play; 0 once none is left.
    int updateAll();

    std::int32_t count() const { return static_cast<std::int32_t>(ppBalls.size()); }
    // Out of range: the origin, radius 0, no last paddle.
    const Vector2& ballPos(std::int32_t i) const;
    const Vector2& ballVel(std::int32_t i) const;
    double ballRadius(std::int32_t i) const;
    std::int8_t ballLastPaddle(std::int32_t i) const;
    // The ball itself, null out of range. A ball stays at its address until
    // it is removed.
    Ball* ball(std::int32_t i) const;

private:
    bool loaded() const { return pScoreLabels != nullptr; }
    // A ball for a serve: one kept aside if it moves by frameTime, or a new one.
    std::unique_ptr<Ball> takeBall(const std::uint32_t& frameTime);
    void setAside(std::size_t i);

    DisplayDevice* pDisplay;
    SoundDevice* pSoundDevice;
    Surface* pMiscSurface;
    std::unique_ptr<Sound> pSoundMicek;
    bool bHeard = true;
    std::vector<std::unique_ptr<Ball>> ppBalls;
    std::vector<std::unique_ptr<Ball>> ppSpare;
    Rect rcSrc;
    Rect rcBack;
    TextLabel (*pScoreLabels)[4];
    Paddle (*pPaddles)[4];
    const Wall (*pWalls)[4];
    const std::uint32_t* pdwNow;
    MatchRandom* pRandom;
    Vector2 vecNone;
};
