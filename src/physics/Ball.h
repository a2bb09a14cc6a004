#pragma once
#include <cstdint>
#include <memory>

#include "graphics/Rect.h"
#include "physics/Vector2.h"

class DisplayDevice;
class MatchRandom;
class Paddle;
class Sound;
class SoundDevice;
class Surface;
class TextLabel;
class Wall;

// One ball in play: launched from the middle of the arena, slowly getting
// up to speed, bounced by the paddles and the corner walls, and scoring
// when it leaves across a side.
class Ball {
public:
    // Answers of the paddle and wall tests.
    static constexpr int kBounced = 0;
    static constexpr int kMovedToContact = 1;
    static constexpr int kNothing = 255;

    // Where a paddle sends the ball, from where along it (0 one end, 1 the
    // other) the ball touches: straight back in the middle, turned by up to
    // 65 degrees towards the end it hit, more beyond an end. The bounce
    // itself adds a tiny nudge off the straight-back directions.
    static double paddleAngle(int index, double along);

    // Everything about the ball that moves during a match, as a plain
    // value; the rest (pictures, sounds, the arena) is the same for every
    // ball of a match.
    struct State {
        Vector2 vecPos;
        Vector2 vecVel;
        Vector2 vecNext;
        double dAngle;
        double dSpeed;
        double dRadius;
        double dRamp;
        std::int8_t cLastPaddle;
        std::int8_t cLastHit;
        std::uint32_t dwLastSpeedUp;
    };

    // The score labels, the frame time and the random numbers belong to the
    // match and outlive the ball; `now` is the match time at which it is
    // put into play.
    Ball(SoundDevice* soundDevice, const Rect& rcSrc, const Rect& rcBack, TextLabel (&scoreLabels)[4],
         const std::uint32_t& frameTime, MatchRandom& random, std::uint32_t now);
    ~Ball();
    Ball(const Ball&) = delete;
    Ball& operator=(const Ball&) = delete;

    // Back to the middle of the arena, slow, in a new random direction.
    void reset(std::uint32_t now);
    // The ball's bounces are heard only while *heard is true (a match run
    // again after a rollback is silent); null: always.
    void hearOnlyWhen(const bool* heard) { pHeard = heard; }
    void draw(DisplayDevice& display, Surface& sprites) const;
    // Where the centre will be at the end of this frame, before any bounce.
    void predict(Vector2& pos, Vector2& next);
    // One frame of motion; 0 once the ball has left the arena (and scored).
    int update(const Paddle (&paddles)[4], const Wall (&walls)[4], std::uint32_t now);

    // Puts the ball at a point, heading at an angle at its present speed,
    // for scenes that need the ball in a chosen place.
    void place(const Vector2& pos, double angle);

    State state() const;
    void setState(const State& state);
    // Is this the frame time the ball moves by?
    bool stepsBy(const std::uint32_t& frameTime) const { return &pdwDelta == &frameTime; }

    const Vector2& getPos() const { return vecPos; }
    // As stored: for one frame after a move onto a contact point this is
    // that displacement, not a velocity.
    const Vector2& getVel() const { return vecVel; }
    const Vector2& getNext() const { return vecNext; }
    double getRadius() const { return dRadius; }
    double getAngle() const { return dAngle; }
    double getSpeed() const { return dSpeed; }
    double getRamp() const { return dRamp; }
    // The paddle that bounced the ball last, -1 before any did.
    std::int8_t getLastPaddle() const { return cLastPaddle; }
    // Marker of the last paddle or wall that bounced it: paddles yellow 0,
    // blue 1, red 2, green 3, walls 4 + their index; -1 before any.
    std::int8_t getLastHit() const { return cLastHit; }

private:
    int testPaddle(const Paddle& paddle, int index);
    int testWall(const Wall (&walls)[4]);
    int testLeaving(const Paddle (&paddles)[4]);
    void aimFromAngle();
    void playBounce(Sound* sound);

    SoundDevice* pSoundDevice;
    Rect rcBack;
    Rect rcSrc;
    std::unique_ptr<Sound> pSoundOdpal;
    std::unique_ptr<Sound> pSoundOkraj;
    const bool* pHeard = nullptr;
    Vector2 vecPos;
    Vector2 vecVel;
    Vector2 vecNext;
    double dAngle;
    double dSpeed;
    double dRadius;
    double dRamp;
    TextLabel (&pScoreLabels)[4];
    std::int8_t cLastPaddle;
    std::int8_t cLastHit;
    const std::uint32_t& pdwDelta;
    MatchRandom& pRandom;
    std::uint32_t dwLastSpeedUp;
};
