// Feeds the network message decoder what a hostile or broken network could
// send: valid messages of every type with random fields, damaged by the
// byte mutator, and plain noise. A buffer must be refused or read whole,
// and one that is read must write back to exactly the same bytes (there is
// one spelling of every message, so nothing can hide in a second one).
// Run it under AddressSanitizer and UBSan; the count of inputs is the first
// argument (quadrill_net_fuzz 1000000), the seed the second.
#include <cstdio>
#include <algorithm>
#include <cstdlib>
#include <random>
#include <vector>

#include "ByteMutator.h"
#include "net/MessageCodec.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

class Sampler {
public:
    explicit Sampler(std::mt19937& source) : draws(source) {}

    net::Message message(int type) {
        switch (type) {
            case 0: return hello();
            case 1: return net::Welcome{static_cast<std::uint8_t>(1 + byte(net::kMaxMachines - 2))};
            case 2: return refuse();
            case 3: return lobby();
            case 4: return net::Claim{byte(3), coin()};
            case 5: return start();
            case 6: return inputs();
            case 7: return frames();
            case 8: return net::SeatChange{byte(255), static_cast<std::uint8_t>(1 + draws() % 3), frame()};
            case 9: return net::Hash{byte(255), frame() / net::kHashEvery * net::kHashEvery, wide()};
            case 10: return outOfStep();
            case 11: return net::Pause{coin()};
            case 12: return net::Leave{byte(255)};
            default: return net::Closing{static_cast<net::ClosingReason>(draws() % (net::kLastClosingReason + 1))};
        }
    }

private:
    std::uint8_t byte(std::uint32_t high) { return static_cast<std::uint8_t>(draws() % (high + 1)); }
    bool coin() { return draws() % 2 != 0; }
    std::uint64_t wide() { return (static_cast<std::uint64_t>(draws()) << 32) | draws(); }
    std::uint32_t frame() { return draws() % 3 == 0 ? draws() % (net::kMaxFrame + 1) : draws() % 20000; }
    void text(char* out, std::size_t capacity) {
        const std::size_t length = draws() % capacity;
        for (std::size_t i = 0; i < length; ++i) out[i] = static_cast<char>(0x20 + draws() % 95);
        out[length] = '\0';
    }
    void owners(std::uint8_t (&owner)[4]) {
        for (std::uint8_t& machine : owner) machine = draws() % 3 == 0 ? net::kNobody : byte(3);
    }
    template <std::size_t capacity>
    std::uint8_t runs(net::InputRun (&run)[capacity], std::uint32_t maxFrames, std::uint32_t maxLength) {
        const std::uint8_t count = static_cast<std::uint8_t>(1 + draws() % capacity);
        std::uint32_t left = maxFrames;
        std::uint8_t made = 0;
        for (; made < count && left > 0; ++made) {
            const std::uint32_t length = 1 + draws() % std::min(left, maxLength);
            run[made] = net::InputRun{static_cast<std::uint8_t>(length), byte(255)};
            left -= length;
        }
        return made;
    }

    net::Hello hello() {
        net::Hello m;
        m.role = static_cast<net::Role>(draws() % 2);
        text(m.gameVersion, sizeof m.gameVersion);
        text(m.fingerprint, sizeof m.fingerprint);
        m.replayFormat = static_cast<std::uint16_t>(draws());
        return m;
    }
    net::Refuse refuse() {
        net::Refuse m;
        m.reason = static_cast<net::RefuseReason>(draws() % (net::kLastRefuseReason + 1));
        text(m.gameVersion, sizeof m.gameVersion);
        text(m.fingerprint, sizeof m.fingerprint);
        m.replayFormat = static_cast<std::uint16_t>(draws());
        return m;
    }
    net::Lobby lobby() {
        net::Lobby m;
        owners(m.owners);
        m.present = byte(15);
        for (std::uint16_t& ms : m.roundTripMs) ms = static_cast<std::uint16_t>(draws());
        m.spectators = byte(net::kMaxSpectators);
        m.matchRunning = coin();
        return m;
    }
    net::Start start() {
        net::Start m;
        m.matchId = byte(255);
        owners(m.owners);
        for (std::int32_t& word : m.randomTable) word = static_cast<std::int32_t>(draws());
        m.randomFront = byte(30);
        m.randomRear = byte(30);
        for (std::uint8_t& level : m.levels) level = byte(2);
        return m;
    }
    net::Inputs inputs() {
        net::Inputs m;
        m.matchId = byte(255);
        m.frame = frame();
        for (std::uint32_t& held : m.held) {
            const std::int64_t near = static_cast<std::int64_t>(m.frame) + static_cast<std::int64_t>(draws() % 80) - 40;
            held = near < 0 ? 0 : static_cast<std::uint32_t>(std::min<std::int64_t>(near, net::kMaxFrame));
        }
        m.lead = static_cast<std::int32_t>(draws() % (2 * net::kMaxLead + 1)) - net::kMaxLead;
        m.blockCount = byte(4);
        for (std::uint8_t b = 0; b < m.blockCount; ++b) {
            m.blocks[b].machine = byte(3);
            m.blocks[b].firstFrame = m.held[b];
            m.blocks[b].runCount = runs(m.blocks[b].runs, net::kMaxFramesPerBlock, net::kMaxFramesPerBlock);
        }
        return m;
    }
    net::Frames frames() {
        net::Frames m;
        m.matchId = byte(255);
        m.firstFrame = frame();
        m.runCount = runs(m.runs, net::kMaxFramesPerBatch, 255);
        return m;
    }
    net::OutOfStep outOfStep() {
        net::OutOfStep m;
        m.matchId = byte(255);
        m.frame = frame();
        m.reported = byte(15);
        for (std::uint64_t& hash : m.hashes) hash = wide();
        return m;
    }

    std::mt19937& draws;
};

// What the protocol's document says of the fields the layouts alone do not
// make plain.
bool keepsTheDocumentedLimits(const net::Message& message) {
    if (const auto* welcome = std::get_if<net::Welcome>(&message)) return welcome->machine >= 1;
    if (const auto* hash = std::get_if<net::Hash>(&message)) return hash->frame % net::kHashEvery == 0;
    return true;
}

Bytes encoded(const net::Message& message, bool& ok) {
    net::WireWriter writer;
    ok = net::encodeMessage(message, writer);
    return Bytes(writer.data(), writer.data() + writer.size());
}

}  // namespace

int main(int argc, char** argv) {
    const unsigned long count = argc > 1 ? std::strtoul(argv[1], nullptr, 10) : 20000;
    const unsigned long seed = argc > 2 ? std::strtoul(argv[2], nullptr, 10) : 1;
    std::mt19937 draws(static_cast<std::mt19937::result_type>(seed));
    Sampler sampler(draws);

    unsigned long accepted = 0;
    unsigned long findings = 0;
    unsigned long refusedBy[6] = {};
    for (unsigned long i = 0; i < count; ++i) {
        Bytes input;
        if (i % 16 == 15) {
            // Plain noise, now and then longer than any message.
            input.resize(draws() % (net::kMaxMessageBytes + 64));
            for (std::uint8_t& byte : input) byte = static_cast<std::uint8_t>(draws());
        } else {
            bool ok = false;
            input = encoded(sampler.message(static_cast<int>(draws() % (net::kLastType))), ok);
            net::Message back;
            bool again = false;
            if (!ok || net::decodeMessage(input.data(), input.size(), back) != net::DecodeResult::Ok ||
                encoded(back, again) != input || !again) {
                ++findings;
                std::fprintf(stderr, "input %lu: a valid message does not come back as it went\n", i);
            }
            if (i % 16 != 0) {
                const Bytes header(input.begin(), input.begin() + 2);
                mutateBytes(input, draws);
                // Half of them keep their header, so that the damage reaches
                // the body.
                if (input.size() >= 2 && draws() % 2 == 0) std::copy(header.begin(), header.end(), input.begin());
            }
        }
        net::Message read;
        const net::DecodeResult result = net::decodeMessage(input.data(), input.size(), read);
        if (result == net::DecodeResult::Ok) {
            ++accepted;
            bool ok = false;
            if (encoded(read, ok) != input || !ok) {
                ++findings;
                std::fprintf(stderr, "input %lu: read, but it does not write back to the same bytes\n", i);
            }
            if (!keepsTheDocumentedLimits(read)) {
                ++findings;
                std::fprintf(stderr, "input %lu: read, but a field is out of its documented range\n", i);
            }
        } else {
            ++refusedBy[static_cast<int>(result)];
        }
    }
    std::printf(
        "net codec fuzz: %lu inputs, %lu read whole, refused: %lu empty, %lu too long, %lu other protocol, "
        "%lu unknown type, %lu malformed; %lu findings\n",
        count, accepted, refusedBy[1], refusedBy[2], refusedBy[3], refusedBy[4], refusedBy[5], findings);
    return findings == 0 ? 0 : 1;
}
