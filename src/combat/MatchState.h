#pragma once
#include <cstdint>

#include "combat/Paddle.h"
#include "physics/Ball.h"
#include "physics/MatchRandom.h"

// The whole state of a running match as one plain value: what a snapshot
// holds, what a rollback puts back, and what the state hash is taken over.
// Pictures, sounds, fonts and the layout are not in it: they are the same
// for every match and are never saved or restored.
struct MatchState {
    // One serve starts with one ball and at most three bonuses appear in
    // it, each of which may be an extra ball: no more can be in play.
    static constexpr std::int32_t kMaxBalls = 4;

    struct Label {
        std::int32_t iValue;
        std::int32_t bVisible;
    };

    MatchRandom::State random;
    std::int32_t bPlaying;
    std::int32_t bMatchOver;
    std::int32_t bBonusPause;
    std::uint32_t dwNow;
    std::uint32_t dwPhaseStart;
    std::uint32_t dwLastFrame;
    std::uint32_t dwFrameTime;
    std::uint32_t dwLastBlink;
    std::uint32_t dwBonusTaken;
    std::int32_t iBallsLeft;
    std::int32_t iBonusesShown;
    std::int8_t cBonus;
    std::int32_t iServesStarted;
    std::int32_t iBallsServed;
    std::int32_t iBonusesTaken;
    Paddle::State paddles[4];
    // The four scores, then the centre number.
    Label labels[5];
    std::int32_t cBalls;
    Ball::State balls[kMaxBalls];
};

// Every field that decides the future, in one fixed order, handed one by
// one to `visit`, which takes (name, field) for std::int8_t, std::int32_t,
// std::uint8_t, std::uint32_t and double fields. The state may be const
// (to hash or print it) or not (to change a field in a test). Only the
// balls in play are visited.
template <class State, class Visitor>
void visitMatchState(State& s, Visitor& visit) {
    for (auto& word : s.random.table) visit("random", word);
    visit("random.front", s.random.front);
    visit("random.rear", s.random.rear);
    visit("bPlaying", s.bPlaying);
    visit("bMatchOver", s.bMatchOver);
    visit("bBonusPause", s.bBonusPause);
    visit("dwNow", s.dwNow);
    visit("dwPhaseStart", s.dwPhaseStart);
    visit("dwLastFrame", s.dwLastFrame);
    visit("dwFrameTime", s.dwFrameTime);
    visit("dwLastBlink", s.dwLastBlink);
    visit("dwBonusTaken", s.dwBonusTaken);
    visit("iBallsLeft", s.iBallsLeft);
    visit("iBonusesShown", s.iBonusesShown);
    visit("cBonus", s.cBonus);
    visit("iServesStarted", s.iServesStarted);
    visit("iBallsServed", s.iBallsServed);
    visit("iBonusesTaken", s.iBonusesTaken);
    for (auto& p : s.paddles) {
        visit("paddle.dX", p.dX);
        visit("paddle.dY", p.dY);
        visit("paddle.dSpeed", p.dSpeed);
        visit("paddle.dSpeedFactor", p.dSpeedFactor);
        visit("paddle.cPoints", p.cPoints);
        visit("paddle.cHeldBonus", p.cHeldBonus);
        visit("paddle.dwBonusTime", p.dwBonusTime);
        visit("paddle.dwIdleSince", p.dwIdleSince);
        visit("paddle.dwTrackSince", p.dwTrackSince);
        visit("paddle.bIdle", p.bIdle);
        visit("paddle.bIdleReady", p.bIdleReady);
        visit("paddle.bTrackReady", p.bTrackReady);
        visit("paddle.bIdleTimer", p.bIdleTimer);
        visit("paddle.bTrackTimer", p.bTrackTimer);
    }
    for (auto& label : s.labels) {
        visit("label.iValue", label.iValue);
        visit("label.bVisible", label.bVisible);
    }
    visit("cBalls", s.cBalls);
    for (std::int32_t i = 0; i < s.cBalls && i < MatchState::kMaxBalls; ++i) {
        auto& b = s.balls[i];
        visit("ball.vecPos.x", b.vecPos.x);
        visit("ball.vecPos.y", b.vecPos.y);
        visit("ball.vecVel.x", b.vecVel.x);
        visit("ball.vecVel.y", b.vecVel.y);
        visit("ball.vecNext.x", b.vecNext.x);
        visit("ball.vecNext.y", b.vecNext.y);
        visit("ball.dAngle", b.dAngle);
        visit("ball.dSpeed", b.dSpeed);
        visit("ball.dRadius", b.dRadius);
        visit("ball.dRamp", b.dRamp);
        visit("ball.cLastPaddle", b.cLastPaddle);
        visit("ball.cLastHit", b.cLastHit);
        visit("ball.dwLastSpeedUp", b.dwLastSpeedUp);
    }
}

// A 64-bit FNV-1a hash over the fields in the order above, each written
// little-endian in its own width, doubles by their bit pattern: the same
// on every machine, and blind to padding and to balls out of play.
std::uint64_t hashMatchState(const MatchState& state);
