#pragma once
#include <cstdint>
#include <memory>

#include "combat/BallForecast.h"
#include "combat/Bonus.h"
#include "combat/Paddle.h"
#include "combat/TextLabel.h"
#include "combat/WinnerLine.h"
#include "graphics/DigitFont.h"
#include "graphics/Font.h"
#include "graphics/Rect.h"
#include "physics/BallSet.h"
#include "physics/Wall.h"
#include "platform/Status.h"

class DisplayDevice;
class ErrorLogger;
class MatchRandom;
class SoundDevice;
class Surface;
struct MatchState;
struct PlayerSetup;

// One match: ten serves in the square arena, four paddles, the balls, a
// bonus now and then, the scores in the corners.
//
// A match is decided by the random generator's state when it is loaded,
// which colours people play, and frame by frame the time the frame takes
// and the nine keys it reads (matchKeys). It reads no clock: its time goes
// on only by the frame times it is given, so a list of them plays it again.
//
// The paddles keep references to dwFrameTime and dwNow, and the balls to
// the paddles, the walls, the score labels and the two times, so a Combat
// stays where it was made until it is destroyed.
class Combat {
public:
    static constexpr int kServesPerMatch = 10;
    // The match's time when it is loaded; only differences of times count.
    static constexpr std::uint32_t kStartTime = 0;

    // What a frame leaves the match in: going on, over by itself, or left
    // with Escape (which wins when both happen in one frame).
    enum class FrameResult { kGoing, kOver, kLeft };

    // The random numbers are the application's: they go on from one match
    // to the next.
    Combat(DisplayDevice& display, SoundDevice* sound, MatchRandom& random, Surface& misc, PlayerSetup& setup,
           ErrorLogger& logger);
    ~Combat();
    Combat(const Combat&) = delete;
    Combat& operator=(const Combat&) = delete;

    int load();
    // One frame that takes frameMs of the match's time; 0 once the match is
    // finished.
    int update(const std::uint8_t* keys, std::uint32_t frameMs);
    // One frame as every driver of a match runs it: update, then Escape.
    FrameResult playFrame(const std::uint8_t* keys, std::uint32_t frameMs);
    // One ball in the middle, the start pause, the serves left in the centre.
    void startServe();
    // Draws the frame and shows it; 0, or the display's reason for drawing
    // nothing (another program holds it, or its mode changed).
    platform::Status draw();
    // The same picture in the back buffer, not shown.
    platform::Status compose();
    void restoreSurfaces();
    int recreateSurfaces();

    // The whole match as a value (the generator's state included), and
    // back: cheap, and nothing drawn or heard is made, unmade or played.
    // Saving fails only with more balls than the rules can put in play.
    bool saveState(MatchState& state) const;
    void restoreState(const MatchState& state);
    // hashMatchState of the state as it stands.
    std::uint64_t stateHash() const;

    // The game draws and shows every played frame from update. The headless
    // runner turns that off and composes the frames itself, so that it can
    // time the rules and the drawing apart.
    void setFrameDrawing(bool on) { bDrawsFrames = on ? 1 : 0; }
    // Frames run again after a rollback have been heard once already: the
    // online game turns their sounds off.
    void setSoundHeard(bool on) { balls.setHeard(on); }

    // For the headless runner and the tests.
    const Paddle& paddle(int colour) const { return paddles[colour & 3]; }
    Paddle& paddle(int colour) { return paddles[colour & 3]; }
    const BallSet& ballSet() const { return balls; }
    BallSet& ballSet() { return balls; }
    const TextLabel& scoreLabel(int colour) const { return scoreLabels[colour & 3]; }
    const TextLabel& centre() const { return centreLabel; }
    const Bonus& bonus(int kind) const { return bonuses[kind & 3]; }
    std::int8_t bonusOnField() const { return cBonus; }
    bool isPlaying() const { return bPlaying != 0; }
    bool isMatchOver() const { return bMatchOver != 0; }
    // The winner is named over the blink of a match that ended by itself;
    // once Escape leaves it, nobody is.
    bool namesWinner() const { return bMatchOver != 0 && bLeftWithEscape == 0; }
    bool inBonusPause() const { return bBonusPause != 0; }
    std::int32_t ballsLeft() const { return iBallsLeft; }
    std::int32_t bonusesShown() const { return iBonusesShown; }
    std::uint32_t frameTime() const { return dwFrameTime; }
    std::uint32_t now() const { return dwNow; }
    bool hasArena() const { return pArena != nullptr; }
    // Counted over the whole match.
    std::int32_t servesStarted() const { return iServesStarted; }
    std::int32_t ballsServed() const { return iBallsServed; }
    std::int32_t bonusesTaken() const { return iBonusesTaken; }

private:
    int createArena();
    void serveBall();
    void applyBonus(int kind, Paddle& taker);
    void takeBonuses();
    void endServe();

    ErrorLogger& pLogger;
    DisplayDevice& pDisplay;
    SoundDevice* pSound;
    MatchRandom& pRandom;
    Rect rcBack;
    std::unique_ptr<Surface> pArena;
    Surface& pMisc;
    Paddle paddles[4];
    BallSet balls;
    Wall walls[4];
    BallForecast forecast;
    std::int8_t cBonus;
    Bonus bonuses[4];
    DigitFont digitFont;
    Font hFont;
    TextLabel scoreLabels[4];
    TextLabel centreLabel;
    WinnerLine winnerLine;
    PlayerSetup& pSetup;

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

    std::int32_t bDrawsFrames;
    // Only what is drawn looks at this: the match does not.
    std::int32_t bLeftWithEscape;
    std::int32_t iServesStarted;
    std::int32_t iBallsServed;
    std::int32_t iBonusesTaken;
};
