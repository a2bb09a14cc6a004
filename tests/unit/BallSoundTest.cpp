#include <SDL_mixer.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <memory>
#include <vector>

#include "ArenaLayout.h"
#include "errors/ErrorLogger.h"
#include "physics/Ball.h"
#include "platform/ResourceTable.h"
#include "platform/SoundBuffer.h"
#include "sound/SoundDevice.h"
#include "support/PlatformFaults.h"
#include "support/ScratchDirectory.h"

// The ball's sounds after the system took their buffers: the sound that
// found its buffer lost goes unheard, and the next one plays again.
namespace {

// Half a second of silence in the game's 44-byte wave layout, long enough
// to be still playing when the test looks.
std::vector<unsigned char> halfSecondWave() {
    const std::uint32_t length = 22050;
    std::vector<unsigned char> bytes(44 + length, 0);
    std::memcpy(bytes.data(), "RIFF", 4);
    std::memcpy(bytes.data() + 8, "WAVEfmt ", 8);
    for (int i = 0; i < 4; ++i) bytes[40 + i] = static_cast<unsigned char>(length >> (8 * i));
    return bytes;
}

class BallSoundTest : public ::testing::Test {
protected:
    void SetUp() override {
        for (const char* name : {"micek", "odpal", "okraj"}) {
            platform::testing::overrideResource(name, "WAVE", samples.data(), samples.size());
        }
        ASSERT_EQ(1, device.create(nullptr, logger));
        // Loaded once the device is there, so the serve sound has its buffer.
        layout = std::make_unique<ArenaLayout>(&device);
    }

    int playing() const { return Mix_Playing(-1); }

    void bounce(Ball& ball, const Vector2& at, double angle) {
        Mix_HaltChannel(-1);
        ball.place(at, angle);
        ball.update(layout->paddles, layout->walls, layout->dwNow);
    }

    PlatformFaults faults;
    ScratchDirectory scratch;
    std::vector<unsigned char> samples = halfSecondWave();
    ErrorLogger logger;
    SoundDevice device;
    std::unique_ptr<ArenaLayout> layout;
};

const Vector2 kOnGreen{26.0, 200.0};
const Vector2 kOnBottomLeftWall{52.0, 347.0};

TEST_F(BallSoundTest, LostBounceSoundIsSkippedThenBothAreBack) {
    ArenaLayout& arena = *layout;
    Ball ball(&device, Rect{51, 43, 65, 57}, arena.rcBack, arena.scoreLabels, arena.dwFrameTime, arena.random, arena.dwNow);
    bounce(ball, kOnGreen, kPi);
    EXPECT_EQ(1, playing());

    platform::testing::loseSoundBuffers();
    bounce(ball, kOnBottomLeftWall, 135 * kPi / 180);
    EXPECT_EQ(4, ball.getLastHit());
    EXPECT_EQ(0, playing());
    // The wall's loss brought back the paddle's sound too.
    bounce(ball, kOnGreen, kPi);
    EXPECT_EQ(3, ball.getLastHit());
    EXPECT_EQ(1, playing());
    bounce(ball, kOnBottomLeftWall, 135 * kPi / 180);
    EXPECT_EQ(1, playing());
}

TEST_F(BallSoundTest, LostServeSoundIsSkippedOnceAndTheBallStillComes) {
    ArenaLayout& arena = *layout;
    arena.balls.addBall(arena.dwFrameTime);
    EXPECT_EQ(1, playing());
    Mix_HaltChannel(-1);
    platform::testing::loseSoundBuffers("micek");
    arena.balls.addBall(arena.dwFrameTime);
    EXPECT_EQ(0, playing());
    EXPECT_EQ(2, arena.balls.count());
    arena.balls.addBall(arena.dwFrameTime);
    EXPECT_EQ(1, playing());
}

}  // namespace
