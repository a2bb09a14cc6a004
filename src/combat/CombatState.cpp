// The match as a value: saved for a rollback or a check, put back, hashed.
#include <string>

#include "combat/Combat.h"
#include "combat/MatchState.h"
#include "physics/Ball.h"
#include "physics/MatchRandom.h"

bool Combat::saveState(MatchState& state) const {
    const std::int32_t ballCount = balls.count();
    if (ballCount > MatchState::kMaxBalls) return false;
    state.random = pRandom.state();
    state.bPlaying = bPlaying;
    state.bMatchOver = bMatchOver;
    state.bBonusPause = bBonusPause;
    state.dwNow = dwNow;
    state.dwPhaseStart = dwPhaseStart;
    state.dwLastFrame = dwLastFrame;
    state.dwFrameTime = dwFrameTime;
    state.dwLastBlink = dwLastBlink;
    state.dwBonusTaken = dwBonusTaken;
    state.iBallsLeft = iBallsLeft;
    state.iBonusesShown = iBonusesShown;
    state.cBonus = cBonus;
    state.iServesStarted = iServesStarted;
    state.iBallsServed = iBallsServed;
    state.iBonusesTaken = iBonusesTaken;
    for (int i = 0; i < 4; ++i) {
        state.paddles[i] = paddles[i].state(bonuses);
        state.labels[i] = MatchState::Label{scoreLabels[i].getValue(), scoreLabels[i].isVisible() ? 1 : 0};
    }
    state.labels[4] = MatchState::Label{centreLabel.getValue(), centreLabel.isVisible() ? 1 : 0};
    state.cBalls = ballCount;
    for (std::int32_t i = 0; i < ballCount; ++i) state.balls[i] = balls.ball(i)->state();
    return true;
}

void Combat::restoreState(const MatchState& state) {
    bPlaying = state.bPlaying;
    bMatchOver = state.bMatchOver;
    bBonusPause = state.bBonusPause;
    dwNow = state.dwNow;
    dwPhaseStart = state.dwPhaseStart;
    dwLastFrame = state.dwLastFrame;
    dwFrameTime = state.dwFrameTime;
    dwLastBlink = state.dwLastBlink;
    dwBonusTaken = state.dwBonusTaken;
    iBallsLeft = state.iBallsLeft;
    iBonusesShown = state.iBonusesShown;
    // A state from elsewhere may hold anything: a kind out of range is none.
    cBonus = state.cBonus >= 0 && state.cBonus < 4 ? state.cBonus : -1;
    iServesStarted = state.iServesStarted;
    iBallsServed = state.iBallsServed;
    iBonusesTaken = state.iBonusesTaken;
    for (int i = 0; i < 4; ++i) {
        paddles[i].setState(state.paddles[i], bonuses);
        scoreLabels[i].setCounter(state.labels[i].iValue);
        scoreLabels[i].setVisible(state.labels[i].bVisible != 0);
    }
    // The centre always shows the serves left, as startServe wrote them.
    centreLabel.setText(std::to_string(iBallsLeft).c_str());
    centreLabel.setVisible(state.labels[4].bVisible != 0);
    const std::int32_t ballCount =
        state.cBalls < 0 ? 0 : state.cBalls > MatchState::kMaxBalls ? MatchState::kMaxBalls : state.cBalls;
    balls.restoreBalls(state.balls, ballCount, dwFrameTime);
    // Last: a ball made above drew from the generator.
    if (MatchRandom::isWellFormed(state.random)) pRandom.setState(state.random);
}

std::uint64_t Combat::stateHash() const {
    MatchState state{};
    if (!saveState(state)) return 0;
    return hashMatchState(state);
}
