#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "combat/MatchKeys.h"
#include "replay/ByteWriter.h"
#include "replay/Crc32.h"
#include "replay/ReplayReader.h"
#include "replay/ReplayWriter.h"

namespace {

using replay::Frame;
using replay::Replay;

// Yellow on the keyboard and red on a pad, as someReplay seats them, and
// Escape.
constexpr std::uint16_t kPeople = 0x13C;

// Frames as the game makes them at 60 Hz: a millisecond clock read every
// 16.667 ms gives 16 and 17 in turn, now and then a slow frame; the people
// change their keys twice a second.
std::vector<Frame> windowFrames(std::size_t count, std::uint16_t allowed, unsigned seed) {
    std::mt19937 draws(seed);
    std::vector<Frame> frames;
    double clock = 0.0;
    std::uint32_t lastReading = 0;
    std::uint16_t keys = 0;
    for (std::size_t i = 0; i < count; ++i) {
        clock += 1000.0 / 60.0 + (draws() % 200 == 0 ? draws() % 30 : 0);
        const std::uint32_t reading = static_cast<std::uint32_t>(clock);
        if (draws() % 30 == 0) keys = static_cast<std::uint16_t>(draws() & allowed & ~matchKeys::kEscapeBit);
        frames.push_back(Frame{reading - lastReading, keys});
        lastReading = reading;
    }
    return frames;
}

Replay someReplay(const std::vector<Frame>& frames) {
    Replay r;
    r.gameVersion = "1.0";
    r.buildId = "test-build";
    r.date = 1765000000;
    r.seats[1] = replay::Seat{replay::Device::kKeyboard, 0};
    r.seats[2] = replay::Seat{replay::Device::kPad, 3};
    MatchRandom random;
    random.seed(99);
    r.random = random.state();
    r.setFrames(frames);
    for (std::uint32_t i = 0; i < r.frameCount / replay::kHashEvery; ++i) r.checkpoints.push_back(i * 2654435761u);
    r.finalHash = 0x0123456789ABCDEFull;
    r.end = replay::MatchEnd::kLeft;
    const std::int32_t scores[4] = {3, -2, 0, -2147483647 - 1};
    std::memcpy(r.scores, scores, sizeof scores);
    return r;
}

std::vector<Frame> framesOf(const Replay& r) {
    std::vector<Frame> frames;
    replay::FrameCursor cursor = r.frames();
    Frame frame;
    while (cursor.next(frame)) frames.push_back(frame);
    return frames;
}

void expectSameFrames(const std::vector<Frame>& expected, const std::vector<Frame>& actual) {
    ASSERT_EQ(expected.size(), actual.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        ASSERT_EQ(expected[i].ms, actual[i].ms) << "frame " << i;
        ASSERT_EQ(expected[i].keyBits, actual[i].keyBits) << "frame " << i;
    }
}

std::string readError(const std::vector<std::uint8_t>& bytes) {
    Replay r;
    std::string error;
    if (replay::readReplay(bytes.data(), bytes.size(), r, error)) return "";
    EXPECT_FALSE(error.empty());
    return error;
}

// Puts a right checksum back after a deliberate change.
void reseal(std::vector<std::uint8_t>& bytes) {
    const std::uint32_t crc = replay::crc32(bytes.data(), bytes.size() - 4);
    for (int i = 0; i < 4; ++i) bytes[bytes.size() - 4 + static_cast<std::size_t>(i)] = (crc >> (8 * i)) & 0xFF;
}

TEST(ReplayFormatTest, EveryKindOfFrameTimeComesBackAsItWas) {
    std::mt19937 draws(7);
    std::vector<Frame> frames = windowFrames(3000, kPeople, 1);
    for (int i = 0; i < 500; ++i) frames.push_back(Frame{static_cast<std::uint32_t>(1 + draws() % 40), 0x100});
    for (int i = 0; i < 300; ++i) frames.push_back(Frame{16, 0x3C});
    for (std::uint32_t ms : {0u, 0u, 4294967295u, 4294967294u, 4294967295u, 65536u, 1u, 0u}) {
        frames.push_back(Frame{ms, 0x30});
    }
    const Replay written = someReplay(frames);
    std::vector<std::uint8_t> bytes = replay::writeReplay(written);

    Replay read;
    std::string error;
    ASSERT_TRUE(replay::readReplay(bytes.data(), bytes.size(), read, error)) << error;
    expectSameFrames(frames, framesOf(read));
    EXPECT_EQ(written.gameVersion, read.gameVersion);
    EXPECT_EQ(written.buildId, read.buildId);
    EXPECT_EQ(written.date, read.date);
    EXPECT_EQ(replay::Device::kPad, read.seats[2].device);
    EXPECT_EQ(3, read.seats[2].number);
    EXPECT_EQ(0, std::memcmp(&written.random, &read.random, sizeof read.random));
    EXPECT_EQ(written.checkpoints, read.checkpoints);
    EXPECT_EQ(written.finalHash, read.finalHash);
    EXPECT_EQ(replay::MatchEnd::kLeft, read.end);
    EXPECT_EQ(-2147483647 - 1, read.scores[3]);
    EXPECT_EQ(bytes, replay::writeReplay(read));
}

// Whatever times the clock gives, what is written reads back as it was:
// stretches of equal, neighbouring and scattered times, drawn around 0, 60 Hz
// and the top of 32 bits, where a run's base plus its widest slot must not
// pass 2^32 - 1.
TEST(ReplayFormatTest, AnyFrameTimesComeBackAsTheyWere) {
    std::mt19937 draws(20261209);
    const std::uint32_t centres[] = {0u, 1u, 16u, 4294967295u - 15u, 4294967295u};
    for (int sequence = 0; sequence < 400; ++sequence) {
        std::vector<Frame> frames;
        const std::size_t length = 1 + draws() % 300;
        while (frames.size() < length) {
            const std::uint32_t centre = centres[draws() % 5];
            const std::uint32_t spread = std::uint32_t{1} << (draws() % 6);  // 1 to 32
            const std::size_t stretch = 1 + draws() % 40;
            for (std::size_t i = 0; i < stretch && frames.size() < length; ++i) {
                const std::uint32_t offset = draws() % (spread + 1);
                std::uint32_t ms = centre >= 0x80000000u ? centre - offset : centre + offset;
                if (draws() % 50 == 0) ms = draws();
                if (draws() % 40 == 0) ms = draws() % 2 ? 4294967295u : 0u;
                frames.push_back(Frame{ms, 0});
            }
        }
        const std::vector<std::uint8_t> bytes = replay::writeReplay(someReplay(frames));
        Replay read;
        std::string error;
        ASSERT_TRUE(replay::readReplay(bytes.data(), bytes.size(), read, error)) << "sequence " << sequence << ": " << error;
        expectSameFrames(frames, framesOf(read));
    }
}

TEST(ReplayFormatTest, TwentyThousandFramesFitInAFewKilobytes) {
    const std::vector<Frame> frames = windowFrames(20000, kPeople, 2);
    const std::vector<std::uint8_t> bytes = replay::writeReplay(someReplay(frames));
    EXPECT_LT(bytes.size(), 6000u);
    RecordProperty("bytesFor20000Frames", static_cast<int>(bytes.size()));
}

TEST(ReplayFormatTest, DamagedFilesAreRefusedWithTheirReason) {
    const Replay r = someReplay(windowFrames(200, kPeople, 3));
    const std::vector<std::uint8_t> good = replay::writeReplay(r);
    ASSERT_EQ("", readError(good));

    // Cut anywhere: refused, never read past the end.
    for (std::size_t size = 0; size < good.size(); ++size) {
        const std::vector<std::uint8_t> cut(good.begin(), good.begin() + static_cast<std::ptrdiff_t>(size));
        ASSERT_NE("", readError(cut)) << size;
    }

    std::vector<std::uint8_t> bytes = good;
    bytes[0] = 'X';
    EXPECT_EQ("not a Quadrill replay", readError(bytes));

    // The first version this game does not know.
    const std::uint16_t unknown = replay::kFormatVersion + 1;
    bytes = good;
    bytes[4] = static_cast<std::uint8_t>(unknown);
    reseal(bytes);
    EXPECT_NE(std::string::npos, readError(bytes).find("format version " + std::to_string(unknown)));

    bytes = good;
    bytes[bytes.size() / 2] ^= 0x10;
    EXPECT_NE("", readError(bytes));

    bytes = good;
    bytes.push_back(0);
    EXPECT_NE("", readError(bytes));
}

// A file whose counts and lengths lie, with a checksum that fits the lie.
// Online, a person's machine may leave: its colour is the computer's from
// then on. Such a match is written in version 2; the others stay version 1.
TEST(ReplayFormatTest, AColourHandedToTheComputerComesBackAndItsKeysStop) {
    std::vector<Frame> frames = windowFrames(600, kPeople, 5);
    for (std::size_t i = 300; i < frames.size(); ++i) frames[i].keyBits &= ~0x30;  // red went at frame 300
    Replay r = someReplay(frames);
    EXPECT_EQ(1, replay::writeReplay(r)[4]);
    r.handOvers.push_back(replay::HandOver{2, 300});
    const std::vector<std::uint8_t> good = replay::writeReplay(r);
    EXPECT_EQ(2, good[4]);
    Replay back;
    std::string error;
    ASSERT_TRUE(replay::readReplay(good.data(), good.size(), back, error)) << error;
    ASSERT_EQ(1u, back.handOvers.size());
    EXPECT_EQ(300u, back.handOvers[0].fromFrame);
    std::uint8_t human[4];
    back.people(299, human);
    EXPECT_EQ(1, human[2]);
    back.people(300, human);
    EXPECT_EQ(0, human[2]);

    // Red's keys after it went, a colour nobody played, a frame past the end.
    Replay wrong = r;
    wrong.handOvers[0].fromFrame = 200;
    EXPECT_NE(std::string::npos, readError(replay::writeReplay(wrong)).find("computer played"));
    wrong = r;
    wrong.handOvers[0].colour = 0;
    EXPECT_NE("", readError(replay::writeReplay(wrong)));
    wrong = r;
    wrong.handOvers[0].fromFrame = 600;
    EXPECT_NE("", readError(replay::writeReplay(wrong)));
}

// A new recording carries the game's fingerprint in version 3, which
// always holds its hand-overs (none is a count of 0); a replay of an older
// version read and written again stays byte for byte in its version.
TEST(ReplayFormatTest, AFingerprintedReplayIsVersionThreeAndOlderOnesKeepTheirs) {
    std::vector<Frame> frames = windowFrames(600, kPeople, 6);
    for (std::size_t i = 300; i < frames.size(); ++i) frames[i].keyBits &= ~0x30;
    Replay r = someReplay(frames);
    r.buildId.clear();
    r.fingerprint = 0xFEDCBA9876543210ull;
    for (bool handedOver : {false, true}) {
        if (handedOver) r.handOvers.push_back(replay::HandOver{2, 300});
        const std::vector<std::uint8_t> bytes = replay::writeReplay(r);
        EXPECT_EQ(3, bytes[4]);
        Replay back;
        std::string error;
        ASSERT_TRUE(replay::readReplay(bytes.data(), bytes.size(), back, error)) << error;
        ASSERT_TRUE(back.fingerprint.has_value());
        EXPECT_EQ(0xFEDCBA9876543210ull, *back.fingerprint);
        EXPECT_EQ(handedOver ? 1u : 0u, back.handOvers.size());
        EXPECT_EQ(bytes, replay::writeReplay(back));
    }

    // Five hand-overs are more than there are colours, in any version.
    std::vector<std::uint8_t> bytes = replay::writeReplay(r);
    const std::size_t handOversAt = 4 + 2 + 1 + r.gameVersion.size() + 8 + 8 + 8;
    ASSERT_EQ(1, bytes[handOversAt]);
    bytes[handOversAt] = 5;
    reseal(bytes);
    EXPECT_NE(std::string::npos, readError(bytes).find("5 colours handed"));

    for (const char* file : {"four-people.qrpl", "closed-mid-match.qrpl"}) {
        Replay old;
        std::string error;
        ASSERT_TRUE(replay::loadReplay(std::string(QUADRILL_SOURCE_DIR) + "/tests/replays/" + file, old, error))
            << error;
        EXPECT_FALSE(old.fingerprint.has_value()) << file;
        EXPECT_EQ(1, replay::writeReplay(old)[4]) << file;
    }
}

TEST(ReplayFormatTest, CountsAndLengthsThatLieAreRefused) {
    Replay r = someReplay(windowFrames(120, kPeople, 4));
    auto refused = [](const Replay& lying) {
        std::vector<std::uint8_t> bytes = replay::writeReplay(lying);
        return readError(bytes);
    };

    Replay lie = r;
    lie.frameCount = 121;
    EXPECT_NE(std::string::npos, refused(lie).find("120 frames instead of 121"));
    lie.frameCount = replay::kMaxFrames + 1;
    EXPECT_NE(std::string::npos, refused(lie).find("frames"));

    // One run claims four billion frames in two bytes.
    lie = r;
    replay::ByteWriter huge;
    huge.varint(0xFFFFFFFCu);
    huge.varint(16);
    lie.frameTimes = huge.data();
    EXPECT_NE("", refused(lie));

    // A key of a colour the computer plays.
    lie = r;
    std::vector<Frame> frames = framesOf(r);
    frames[5].keyBits = 0x01;
    lie.setFrames(frames);
    EXPECT_NE(std::string::npos, refused(lie).find("computer"));

    // Where the seats' and the end's values run out.
    lie = r;
    lie.seats[0].device = static_cast<replay::Device>(9);
    EXPECT_NE(std::string::npos, refused(lie).find("device"));
    lie = r;
    lie.end = static_cast<replay::MatchEnd>(3);
    EXPECT_NE(std::string::npos, refused(lie).find("ended"));
    lie = r;
    lie.random.front = 200;
    EXPECT_NE(std::string::npos, refused(lie).find("generator"));

    // A stream length beyond the file.
    std::vector<std::uint8_t> bytes = replay::writeReplay(r);
    const std::size_t streamAt = 4 + 2 + 1 + r.gameVersion.size() + 1 + r.buildId.size() + 8 + 8 + 126 + 4;
    bytes[streamAt] = 0xFF;
    bytes.insert(bytes.begin() + static_cast<std::ptrdiff_t>(streamAt) + 1, {0xFF, 0x7F});
    reseal(bytes);
    EXPECT_NE(std::string::npos, readError(bytes).find("ends in the middle"));
}

}  // namespace
