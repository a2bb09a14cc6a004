#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "combat/MatchKeys.h"
#include "physics/MatchRandom.h"
#include "replay/Crc32.h"
#include "replay/ReplayReader.h"
#include "replay/ReplayRecorder.h"
#include "replay/ReplayWriter.h"

namespace {

using replay::Replay;

// Yellow on the keyboard, the others the computer's, 300 frames of 16 ms.
Replay recorded(const ComputerLevels& levels, int handOverAt = -1) {
    replay::Seat seats[4];
    seats[1] = replay::Seat{replay::Device::kKeyboard, 0};
    MatchRandom random;
    random.seed(5);
    replay::ReplayRecorder recorder(seats, random.state(), 1765000000, "1.0", std::uint64_t{0x0123456789abcdef});
    recorder.setLevels(levels);
    for (int frame = 0; frame < 300; ++frame) {
        if (frame == handOverAt) recorder.handOver(1);
        recorder.addFrame(16, static_cast<std::uint16_t>(frame < handOverAt || handOverAt < 0 ? 0x04 : 0), 0);
    }
    Replay r;
    const std::int32_t scores[4] = {1, 2, 3, 4};
    EXPECT_TRUE(recorder.finish(replay::MatchEnd::kOver, 0, scores, r));
    return r;
}

std::string readError(const std::vector<std::uint8_t>& bytes) {
    Replay r;
    std::string error;
    if (replay::readReplay(bytes.data(), bytes.size(), r, error)) return "";
    return error;
}

// Where the strengths are, for a replay of recorded()'s header: magic,
// version, "1.0", the fingerprint, date, seats, then the hand-over count.
constexpr std::size_t kHandOverCountAt = 4 + 2 + 4 + 8 + 8 + 8;

void reseal(std::vector<std::uint8_t>& bytes) {
    const std::uint32_t crc = replay::crc32(bytes.data(), bytes.size() - 4);
    for (int i = 0; i < 4; ++i) bytes[bytes.size() - 4 + static_cast<std::size_t>(i)] = (crc >> (8 * i)) & 0xFF;
}

// Normal computers and people write version 3, so that games that know
// no strengths still read those matches; another strength needs version 4, and
// a strength of a colour only a person played is dropped, not written.
TEST(ReplayLevelsTest, OnlyAStrengthTheComputerPlayedAtMakesAVersion4File) {
    ComputerLevels levels;
    EXPECT_EQ(3, replay::writeReplay(recorded(levels))[4]);
    levels.set(1, ComputerLevel::kHard);
    const Replay personOnly = recorded(levels);
    EXPECT_EQ(ComputerLevel::kNormal, personOnly.levels.of(1));
    EXPECT_EQ(3, replay::writeReplay(personOnly)[4]);

    // Handed to the computer halfway, yellow's strength counts.
    const Replay handedOver = recorded(levels, 150);
    std::vector<std::uint8_t> bytes = replay::writeReplay(handedOver);
    EXPECT_EQ(4, bytes[4]);
    Replay back;
    std::string error;
    ASSERT_TRUE(replay::readReplay(bytes.data(), bytes.size(), back, error)) << error;
    EXPECT_EQ(ComputerLevel::kHard, back.levels.of(1));
    ASSERT_EQ(1u, back.handOvers.size());
    EXPECT_EQ(150u, back.handOvers[0].fromFrame);

    levels = ComputerLevels{};
    levels.set(3, ComputerLevel::kEasy);
    bytes = replay::writeReplay(recorded(levels));
    EXPECT_EQ(4, bytes[4]);
    EXPECT_EQ(0, bytes[kHandOverCountAt]);
    EXPECT_EQ("", readError(bytes));
    EXPECT_EQ(replay::writeReplay(recorded(levels)), bytes);
}

TEST(ReplayLevelsTest, StrengthsThatCannotBeAreRefused) {
    ComputerLevels levels;
    levels.set(3, ComputerLevel::kEasy);
    const std::vector<std::uint8_t> good = replay::writeReplay(recorded(levels));
    ASSERT_EQ("", readError(good));
    const std::size_t blue = kHandOverCountAt + 1 + 3;
    ASSERT_EQ(0, good[blue]);

    std::vector<std::uint8_t> bytes = good;
    bytes[blue] = 3;
    reseal(bytes);
    EXPECT_NE(std::string::npos, readError(bytes).find("unknown strength"));

    // Only Normal: that match is a version 3 file.
    bytes = good;
    bytes[blue] = 1;
    reseal(bytes);
    EXPECT_NE(std::string::npos, readError(bytes).find("only at Normal"));

    // Yellow, a person throughout, at Hard.
    bytes = good;
    bytes[kHandOverCountAt + 1 + 1] = 2;
    reseal(bytes);
    EXPECT_NE(std::string::npos, readError(bytes).find("never played"));

    // A version 3 file has no strengths: read as one, this is no replay.
    bytes = good;
    bytes[4] = 3;
    reseal(bytes);
    EXPECT_NE("", readError(bytes));
}

}  // namespace
