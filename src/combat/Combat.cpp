#include "combat/Combat.h"

#include <cstdlib>
#include <string>

#include "combat/PlayerSetup.h"
#include "combat/MatchKeys.h"
#include "errors/ErrorLogger.h"
#include "graphics/DisplayDevice.h"
#include "graphics/Surface.h"
#include "physics/MatchRandom.h"
#include "resources/LayoutRows.h"
#include "resources/TextFileReader.h"

namespace {

constexpr std::uint32_t kStartPauseMs = 1000;
constexpr std::uint32_t kBlinkMs = 500;
constexpr std::uint32_t kEndShownMs = 4000;
constexpr std::uint32_t kBonusPauseMs = 2000;
constexpr std::uint32_t kBonusAppearsAfterMs = 2000;
constexpr std::int32_t kBonusesPerServe = 3;
// Ten chances in ten: every bonus that may appear does.
constexpr int kAppearanceChances = 10;
const char kArenaBitmap[] = "picCombat";

}  // namespace

Combat::Combat(DisplayDevice& display, SoundDevice* sound, MatchRandom& random, Surface& misc, PlayerSetup& setup,
               ErrorLogger& logger)
    : pLogger(logger),
      pDisplay(display),
      pSound(sound),
      pRandom(random),
      pMisc(misc),
      forecast(rcBack, paddles, walls),
      cBonus(-1),
      pSetup(setup),
      bPlaying(0),
      bMatchOver(0),
      bBonusPause(0),
      dwNow(kStartTime),
      dwPhaseStart(0),
      dwLastFrame(0),
      dwFrameTime(0),
      dwLastBlink(0),
      dwBonusTaken(0),
      iBallsLeft(kServesPerMatch),
      iBonusesShown(0),
      bDrawsFrames(1),
      bLeftWithEscape(0),
      iServesStarted(0),
      iBallsServed(0),
      iBonusesTaken(0) {
    hFont.create("comic sans", 40);
}

Combat::~Combat() {
    // No font of ours may stay selected once it is gone.
    pDisplay.resetFont();
    pArena.reset();
    centreLabel.setText("");
    for (TextLabel& label : scoreLabels) label.setText("");
    hFont.destroy();
    // The digit font and then the balls with their sounds go with the
    // members, in that order.
}

int Combat::load() {
    if (!digitFont.load(pDisplay, pLogger)) return 0;

    TextFileReader reader;
    const int opened = reader.openText("txtGame", "TextFile");
    if (opened != 0) {
        pLogger.reportMissingResource("txtGame", opened);
        return 0;
    }
    rcBack = readRect(reader);
    for (Paddle& paddle : paddles) paddle.load(reader, dwFrameTime, dwNow);
    balls.load(reader, pDisplay, pSound, pMisc, paddles, walls, rcBack, scoreLabels, dwNow, pRandom, pLogger);
    loadWalls(reader, walls);
    for (Bonus& kind : bonuses) kind.load(reader);
    for (TextLabel& label : scoreLabels) label.loadCounter(reader);
    centreLabel.load(reader);
    reader.close();

    if (!createArena()) return 0;
    // The first ball counts its speed-ups from now.
    dwNow = kStartTime;
    startServe();
    // A test switch: green's paddle a little faster in the first serve, a
    // game that plays matches differently, for the tests that must tell it.
    if (std::getenv("QUADRILL_TEST_RULE_NUDGE") != nullptr) paddles[0].setSpeedFactor(1.001);
    return 1;
}

int Combat::createArena() {
    auto arena = std::make_unique<Surface>();
    if (!pDisplay.createOffscreen(*arena, rcBack.right, rcBack.bottom, kArenaBitmap, pLogger)) return 0;
    // The arena covers the whole picture: it needs no colour key.
    arena->loadBitmap(kArenaBitmap, 0, 0);
    pArena = std::move(arena);
    return 1;
}

int Combat::recreateSurfaces() {
    if (!createArena()) return 0;
    return digitFont.recreate(pLogger);
}

void Combat::serveBall() {
    balls.addBall(dwFrameTime);
    ++iBallsServed;
}

void Combat::startServe() {
    serveBall();
    bPlaying = 0;
    bBonusPause = 0;
    iBonusesShown = 0;
    dwPhaseStart = dwNow;
    cBonus = -1;
    centreLabel.setText(std::to_string(iBallsLeft).c_str());
    centreLabel.setVisible(true);
    ++iServesStarted;
}

Combat::FrameResult Combat::playFrame(const std::uint8_t* keys, std::uint32_t frameMs) {
    const int going = update(keys, frameMs);
    if (keys != nullptr && keys::isDown(keys, keys::DIK_ESCAPE)) {
        bLeftWithEscape = 1;
        return FrameResult::kLeft;
    }
    return going ? FrameResult::kGoing : FrameResult::kOver;
}

int Combat::update(const std::uint8_t* keys, std::uint32_t frameMs) {
    dwNow += frameMs;
    if (!bPlaying && dwNow - dwPhaseStart > kStartPauseMs) {
        bPlaying = 1;
        centreLabel.setVisible(false);
        dwLastFrame = dwNow;
    }
    if (bMatchOver && dwNow - dwLastBlink > kBlinkMs) {
        for (TextLabel& label : scoreLabels) label.setVisible(!label.isVisible());
        // Nothing else is drawn after the match: the blink shows itself.
        if (bDrawsFrames) draw();
        dwLastBlink = dwNow;
    }
    if (bMatchOver && dwNow - dwPhaseStart > kEndShownMs) return 0;
    if (bBonusPause && dwNow - dwBonusTaken > kBonusPauseMs) bBonusPause = 0;
    if (!bBonusPause && bPlaying && !bMatchOver && dwNow - dwPhaseStart > kBonusAppearsAfterMs && cBonus == -1 &&
        iBonusesShown < kBonusesPerServe) {
        if (pRandom.draw() % 10 < kAppearanceChances) {
            cBonus = static_cast<std::int8_t>(pRandom.draw() % 4);
            ++iBonusesShown;
            dwPhaseStart = dwNow;
        }
    }
    if (!bPlaying || bMatchOver) return 1;

    dwFrameTime = dwNow - dwLastFrame;
    for (int i = 0; i < 4; ++i) {
        paddles[i].setComputerLevel(pSetup.levels.of(i));
        if (pSetup.bHuman[i]) {
            paddles[i].drive(keys, i);
        } else if (pSetup.levels.of(i) == ComputerLevel::kHard) {
            paddles[i].steerAhead(balls, forecast, i);
        } else {
            // Green and yellow wait for balls coming left or down, red and
            // blue for balls coming right or up.
            paddles[i].steer(balls, i < 2 ? 0 : 1);
        }
    }
    for (Paddle& paddle : paddles) paddle.tick();
    takeBonuses();
    if (!balls.updateAll()) endServe();
    if (bDrawsFrames) draw();
    dwLastFrame = dwNow;
    return 1;
}

void Combat::takeBonuses() {
    // Every ball is predicted, bonus or not: the prediction is also where
    // its update looks for what it will hit. A ball served by an extra
    // ball in this loop joins it.
    for (std::int32_t i = 0; i < balls.count(); ++i) {
        Vector2 from;
        Vector2 to;
        balls.predictBall(i, from, to);
        const std::int8_t taker = balls.ballLastPaddle(i);
        // A frame without time predicts nothing and takes nothing; and a
        // ball nobody has bounced has nobody to give the bonus to.
        if (cBonus == -1 || taker < 0 || taker > 3 || dwFrameTime == 0) continue;
        if (!bonuses[cBonus].hitTest(from, to, balls.ballRadius(i))) continue;
        applyBonus(cBonus, paddles[taker]);
        cBonus = -1;
        bBonusPause = 1;
        dwBonusTaken = dwNow;
        ++iBonusesTaken;
    }
}

void Combat::applyBonus(int kind, Paddle& taker) {
    switch (kind) {
        case Bonus::kExtraBall:
            serveBall();
            break;
        case Bonus::kFastPaddle:
            taker.takeBonus(&bonuses[kind], dwNow);
            taker.setSpeedFactor(2.0);
            break;
        case Bonus::kSlowPaddle:
            // A penalty for whoever bounced the ball into it.
            taker.takeBonus(&bonuses[kind], dwNow);
            taker.setSpeedFactor(0.5);
            break;
        case Bonus::kDoublePoints:
            // Taken at time 0: it has no time limit and lasts the serve.
            taker.takeBonus(&bonuses[kind], 0);
            taker.setPoints(2);
            break;
        default:
            break;
    }
}

void Combat::endServe() {
    if (iBallsLeft == 1) {
        bMatchOver = 1;
        dwPhaseStart = dwNow;
        for (int i = 0; i < 4; ++i) pSetup.iScore[i] = scoreLabels[i].getValue();
        return;
    }
    --iBallsLeft;
    // Held bonuses end with the serve, and the computer players wait again.
    for (Paddle& paddle : paddles) paddle.reset();
    startServe();
}
