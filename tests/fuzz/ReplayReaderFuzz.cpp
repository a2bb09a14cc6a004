// Feeds the replay reader damaged and hostile files: valid replays of
// several shapes, mutated at random (bits flipped, bytes set to extremes,
// runs inserted, deleted, repeated, the file cut or lengthened), half of
// them with their checksum put right so that the damage reaches past it.
// Every file must be refused with a reason or read whole: a file that is
// read gives exactly its frame count and writes back to the same bytes.
// Run it under AddressSanitizer and UBSan; the count of inputs is the
// first argument (quadrill_replay_fuzz 1000000), the seed the second.
//
// Built with -DQUADRILL_LIBFUZZER, the same checks serve libFuzzer instead:
//   clang++-14 -std=c++17 -g -O1 -fsanitize=fuzzer,address,undefined
//     -DQUADRILL_LIBFUZZER -Isrc tests/fuzz/ReplayReaderFuzz.cpp tests/fuzz/ByteMutator.cpp
//     src/replay/{ByteReader,ByteWriter,Crc32,FrameRuns,Replay,ReplayReader,
//     ReplayWriter}.cpp src/physics/MatchRandom.cpp src/combat/{MatchKeys,ComputerLevel}.cpp
#include <cstdio>
#include <cstdlib>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "ByteMutator.h"
#include "replay/Crc32.h"
#include "replay/ReplayReader.h"
#include "replay/ReplayWriter.h"

namespace {

using replay::Frame;
using Bytes = std::vector<std::uint8_t>;

Bytes sample(std::mt19937& draws, int shape) {
    replay::Replay r;
    r.gameVersion = "1.0";
    // Shapes 8 to 11 are of the newest version, with the game's fingerprint.
    if (shape >= 8) {
        r.fingerprint = (static_cast<std::uint64_t>(draws()) << 32) | draws();
    } else {
        r.buildId = shape % 2 ? "fuzz" : "";
    }
    r.date = 1765000000 + shape;
    r.seats[shape % 4] = replay::Seat{replay::Device::kKeyboard, 0};
    r.seats[(shape + 1) % 4] = replay::Seat{replay::Device::kPad, static_cast<std::uint8_t>(shape % 3)};
    MatchRandom random;
    random.seed(static_cast<std::uint32_t>(shape));
    r.random = random.state();
    const std::uint16_t allowed = r.allowedKeys();
    std::vector<Frame> frames;
    const std::size_t count = 1 + draws() % (shape < 3 ? 200 : 2000);
    // Shapes 6, 7, 10 and 11 hand their pad's colour to the computer halfway.
    const int handedOver = (shape + 1) % 4;
    if ((shape == 6 || shape == 7 || shape >= 10) && count > 1) {
        r.handOvers.push_back(replay::HandOver{static_cast<std::uint8_t>(handedOver), static_cast<std::uint32_t>(count / 2)});
    }
    // Shapes 5 and 7 have a computer of another strength than Normal; in
    // 7 it also plays the colour handed over.
    if (shape == 5 || shape == 7) r.levels.set((shape + 2) % 4, ComputerLevel::kHard);
    if (shape == 7 && !r.handOvers.empty()) r.levels.set(handedOver, ComputerLevel::kEasy);
    std::uint16_t keys = 0;
    for (std::size_t i = 0; i < count; ++i) {
        if (draws() % 25 == 0) keys = static_cast<std::uint16_t>(draws() & allowed);
        if (!r.handOvers.empty() && i >= r.handOvers[0].fromFrame) {
            keys = static_cast<std::uint16_t>(keys & ~(3u << (2 * handedOver)));
        }
        std::uint32_t ms = 16 + draws() % 2;
        if (shape == 1) ms = 1 + draws() % 40;
        if (shape == 2) ms = draws() % 5 == 0 ? draws() : 16;
        if (shape == 3) ms = 16;
        frames.push_back(Frame{ms, keys});
    }
    r.setFrames(frames);
    for (std::uint32_t i = 0; i < r.frameCount / replay::kHashEvery; ++i) r.checkpoints.push_back(draws());
    r.finalHash = (static_cast<std::uint64_t>(draws()) << 32) | draws();
    r.end = static_cast<replay::MatchEnd>(shape % 3);
    for (std::int32_t& score : r.scores) score = static_cast<std::int32_t>(draws() % 21) - 10;
    return replay::writeReplay(r);
}

// Half of the damaged files get their checksum put right, so that the
// damage reaches past it.
void mutate(Bytes& bytes, std::mt19937& draws) {
    mutateBytes(bytes, draws);
    if (bytes.size() >= 4 && draws() % 2 == 0) {
        const std::uint32_t crc = replay::crc32(bytes.data(), bytes.size() - 4);
        for (int i = 0; i < 4; ++i) bytes[bytes.size() - 4 + static_cast<std::size_t>(i)] = (crc >> (8 * i)) & 0xFF;
    }
}

// False when a file the reader took is not what it claims.
bool consistent(const Bytes& input, const replay::Replay& read) {
    std::uint64_t frames = 0;
    replay::FrameCursor cursor = read.frames();
    Frame frame;
    while (cursor.next(frame)) {
        if ((frame.keyBits & ~read.allowedKeys()) != 0) return false;
        std::uint8_t human[4];
        read.people(static_cast<std::uint32_t>(frames), human);
        for (int colour = 0; colour < 4; ++colour) {
            if (!human[colour] && (frame.keyBits >> (2 * colour) & 3) != 0) return false;
        }
        ++frames;
    }
    return frames == read.frameCount && replay::writeReplay(read) == input;
}

}  // namespace

#ifdef QUADRILL_LIBFUZZER
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const Bytes input(data, data + size);
    replay::Replay read;
    std::string error;
    if (replay::readReplay(input.data(), input.size(), read, error)) {
        if (!consistent(input, read)) __builtin_trap();
    } else if (error.empty()) {
        __builtin_trap();
    }
    return 0;
}
#else
int main(int argc, char** argv) {
    const unsigned long count = argc > 1 ? std::strtoul(argv[1], nullptr, 10) : 20000;
    const unsigned long seed = argc > 2 ? std::strtoul(argv[2], nullptr, 10) : 1;
    std::mt19937 draws(static_cast<std::mt19937::result_type>(seed));
    std::vector<Bytes> samples;
    for (int shape = 0; shape < 12; ++shape) samples.push_back(sample(draws, shape));

    unsigned long accepted = 0;
    unsigned long findings = 0;
    std::map<std::string, unsigned long> reasons;
    for (unsigned long i = 0; i < count; ++i) {
        Bytes input = samples[draws() % samples.size()];
        mutate(input, draws);
        replay::Replay read;
        std::string error;
        if (replay::readReplay(input.data(), input.size(), read, error)) {
            ++accepted;
            if (!consistent(input, read)) {
                ++findings;
                std::fprintf(stderr, "input %lu: read, but not what it claims\n", i);
            }
        } else if (error.empty()) {
            ++findings;
            std::fprintf(stderr, "input %lu: refused without a reason\n", i);
        } else {
            // The reasons name their numbers; count them by their words.
            std::string words;
            for (char ch : error) {
                if (ch < '0' || ch > '9') words += ch;
            }
            ++reasons[words];
        }
    }
    std::printf("replay reader fuzz: %lu inputs, %lu read whole, %lu refused for %zu kinds of reason, %lu findings\n",
                count, accepted, count - accepted, reasons.size(), findings);
    return findings == 0 ? 0 : 1;
}
#endif
