#include "physics/BallSet.h"

#include "physics/Ball.h"
#include "resources/TextFileReader.h"
#include "sound/Sound.h"
#include "sound/SoundDevice.h"

BallSet::BallSet()
    : pDisplay(nullptr),
      pSoundDevice(nullptr),
      pMiscSurface(nullptr),
      pScoreLabels(nullptr),
      pPaddles(nullptr),
      pWalls(nullptr),
      pdwNow(nullptr),
      pRandom(nullptr) {}

BallSet::~BallSet() = default;

void BallSet::load(TextFileReader& reader, DisplayDevice& display, SoundDevice* soundDevice, Surface& sprites,
                   Paddle (&paddles)[4], const Wall (&walls)[4], const Rect& rcBackIn, TextLabel (&scoreLabels)[4],
                   const std::uint32_t& now, MatchRandom& random, ErrorLogger&) {
    rcSrc.left = reader.readInt();
    rcSrc.top = reader.readInt();
    rcSrc.right = reader.readInt();
    rcSrc.bottom = reader.readInt();
    pDisplay = &display;
    pSoundDevice = soundDevice;
    pMiscSurface = &sprites;
    pPaddles = &paddles;
    pWalls = &walls;
    rcBack = rcBackIn;
    pScoreLabels = &scoreLabels;
    pdwNow = &now;
    pRandom = &random;
    pSoundMicek.reset();
    if (pSoundDevice != nullptr) {
        pSoundMicek = std::make_unique<Sound>();
        pSoundDevice->loadWave("micek", pSoundMicek.get());
    }
}

std::unique_ptr<Ball> BallSet::takeBall(const std::uint32_t& frameTime) {
    if (!ppSpare.empty() && ppSpare.back()->stepsBy(frameTime)) {
        std::unique_ptr<Ball> ball = std::move(ppSpare.back());
        ppSpare.pop_back();
        ball->reset(*pdwNow);
        return ball;
    }
    auto ball = std::make_unique<Ball>(pSoundDevice, rcSrc, rcBack, *pScoreLabels, frameTime, *pRandom, *pdwNow);
    ball->hearOnlyWhen(&bHeard);
    return ball;
}

void BallSet::setAside(std::size_t i) {
    ppSpare.push_back(std::move(ppBalls[i]));
    ppBalls.erase(ppBalls.begin() + static_cast<std::ptrdiff_t>(i));
}

void BallSet::addBall(const std::uint32_t& frameTime) {
    if (!loaded()) return;
    std::unique_ptr<Ball> ball = takeBall(frameTime);
    if (bHeard && pSoundMicek && pSoundMicek->play() == platform::status::DSERR_BUFFERLOST) {
        // Back for the next serve; this one goes unheard.
        pSoundMicek->restore();
        pSoundDevice->loadWave("micek", pSoundMicek.get());
    }
    ppBalls.push_back(std::move(ball));
}

void BallSet::removeBall(std::int32_t i) {
    if (i < 0 || i >= count()) return;
    setAside(static_cast<std::size_t>(i));
}

void BallSet::restoreBalls(const Ball::State* states, std::int32_t n, const std::uint32_t& frameTime) {
    if (!loaded() || n < 0) return;
    while (count() > n) setAside(ppBalls.size() - 1);
    while (count() < n) ppBalls.push_back(takeBall(frameTime));
    for (std::int32_t i = 0; i < n; ++i) ppBalls[static_cast<std::size_t>(i)]->setState(states[i]);
}

void BallSet::resetAll() {
    if (!loaded()) return;
    for (auto& ball : ppBalls) ball->reset(*pdwNow);
}

void BallSet::drawAll() const {
    if (pDisplay == nullptr || pMiscSurface == nullptr) return;
    for (const auto& ball : ppBalls) ball->draw(*pDisplay, *pMiscSurface);
}

void BallSet::predictBall(std::int32_t i, Vector2& pos, Vector2& next) {
    if (i < 0 || i >= count()) return;
    ppBalls[static_cast<std::size_t>(i)]->predict(pos, next);
}

int BallSet::updateAll() {
    if (!loaded()) return count() > 0 ? 1 : 0;
    // A removed ball closes the gap, so the next one moves up to the same
    // index and is still updated in this call.
    for (std::size_t i = 0; i < ppBalls.size();) {
        if (ppBalls[i]->update(*pPaddles, *pWalls, *pdwNow)) {
            ++i;
        } else {
            setAside(i);
        }
    }
    return ppBalls.empty() ? 0 : 1;
}

Ball* BallSet::ball(std::int32_t i) const {
    if (i < 0 || i >= count()) return nullptr;
    return ppBalls[static_cast<std::size_t>(i)].get();
}

const Vector2& BallSet::ballPos(std::int32_t i) const {
    const Ball* b = ball(i);
    return b ? b->getPos() : vecNone;
}

const Vector2& BallSet::ballVel(std::int32_t i) const {
    const Ball* b = ball(i);
    return b ? b->getVel() : vecNone;
}

double BallSet::ballRadius(std::int32_t i) const {
    const Ball* b = ball(i);
    return b ? b->getRadius() : 0.0;
}

std::int8_t BallSet::ballLastPaddle(std::int32_t i) const {
    const Ball* b = ball(i);
    return b ? b->getLastPaddle() : static_cast<std::int8_t>(-1);
}
