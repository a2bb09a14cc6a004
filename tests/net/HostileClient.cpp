// A machine that speaks the protocol, through the game's own transport, but
// not the rules: it tries every way we know of to end, stall or fill a room
// that honest machines play in.
//
//   quadrill-hostile-client --to PORT [--colour N] [--pause-for SECONDS]
//
// - Fifteen connections that never say Hello, opened as the others join.
// - A watcher that reports made-up hashes: for frame 30, and for the last
//   frames a match could have, enough to fill the host's checkpoints; that
//   asks to pause; and that sends a message longer than any.
// - A player that claims a colour, plays it a little, reports a hash for a
//   frame nobody has reached, pauses the room, leaves the match, and then
//   asks to pause again and reports again, as a machine that left.
//
// It prints what it saw, one line each, and ends once the match is over.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "HeadlessStage.h"
#include "net/Handshake.h"
#include "net/MessageCodec.h"
#include "net/transport/Transport.h"
#include "replay/GameFingerprint.h"

namespace {

// The honest games' fingerprint, worked out as theirs is, so that this
// machine's Hello gets past the handshake and its mischief reaches the room.
net::Versions ourVersions() {
    static const std::uint64_t fingerprint = [] {
        HeadlessStage stage;
        return replay::GameFingerprint::own(stage.display, stage.misc, stage.logger);
    }();
    return net::ownVersions(fingerprint);
}

using Clock = std::chrono::steady_clock;

double secondsSince(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

class Link {
public:
    bool open(std::uint16_t port) {
        std::string error;
        if (!transport.connect("127.0.0.1", port, error)) {
            std::fprintf(stderr, "hostile: %s\n", error.c_str());
            return false;
        }
        return true;
    }
    void say(const net::Message& message) {
        net::WireWriter writer;
        if (net::encodeMessage(message, writer)) {
            transport.send(0, writer.data(), writer.size(),
                           std::holds_alternative<net::Inputs>(message) ? net::Delivery::Unreliable
                                                                        : net::Delivery::Reliable);
        }
    }
    // The next message, or false; `connected` and `gone` say what else came.
    bool next(net::Message& message) {
        net::TransportEvent event;
        while (transport.poll(event)) {
            if (event.kind == net::TransportEvent::Kind::Connected) connected = true;
            if (event.kind == net::TransportEvent::Kind::Disconnected) gone = true;
            if (event.kind == net::TransportEvent::Kind::Received &&
                net::decodeMessage(event.data, event.size, message) == net::DecodeResult::Ok) {
                return true;
            }
        }
        return false;
    }

    net::Transport transport;
    bool connected = false;
    bool gone = false;
};

struct Options {
    std::uint16_t port = 0;
    std::uint8_t colour = 3;
    // Instead of its tricks, the player only holds the room paused this
    // long (to measure what a pause costs).
    double pauseFor = 0;
};

class Hostile {
public:
    explicit Hostile(const Options& chosen) : options(chosen), start(Clock::now()) {}

    int run() {
        for (int i = 0; i < 15; ++i) {
            mute.push_back(std::make_unique<Link>());
            if (!mute.back()->open(options.port)) return 2;
        }
        int opened = 0;
        Link* const links[] = {&watcher, &player, &big};
        while (secondsSince(start) < 140 && !bOver) {
            turnMute();
            // The rest one by one, once the host has closed the silent ones:
            // it lets only a few in at a time from one address, and these do
            // not try again.
            if (opened < 3 && secondsSince(start) > 2.5 + 0.2 * opened) {
                if (!links[opened]->open(options.port)) return 2;
                ++opened;
            }
            if (opened >= 1) turnWatcher();
            if (opened >= 2) turnPlayer();
            if (opened >= 3) turnBig();
            watcher.transport.flush();
            player.transport.flush();
            std::this_thread::sleep_for(std::chrono::milliseconds(8));
        }
        int cut = 0;
        for (const auto& link : mute) cut += link->gone ? 1 : 0;
        std::printf("silent connections cut: %d of %zu\n", cut, mute.size());
        std::printf("longest silent connection lasted: %.1f s\n", dLongestMute);
        std::printf("over-long message ended its connection: %s\n", bBigSent && big.gone ? "yes" : "no");
        std::printf("match seen to the end: %s\n", bOver ? "yes" : "no");
        return bOver ? 0 : 1;
    }

private:
    void turnMute() {
        net::Message ignored;
        for (auto& link : mute) {
            const bool wasGone = link->gone;
            while (link->next(ignored)) {
            }
            if (link->gone && !wasGone) dLongestMute = std::max(dLongestMute, secondsSince(start));
        }
    }

    void turnBig() {
        net::Message message;
        while (big.next(message)) {
            if (std::holds_alternative<net::Welcome>(message) && !bBigSent) {
                // Longer than any message may be: the host ends the connection.
                std::vector<std::uint8_t> bytes(2000, 0);
                bytes[0] = net::kProtocolVersion;
                bytes[1] = static_cast<std::uint8_t>(net::MessageType::Lobby);
                big.transport.send(0, bytes.data(), bytes.size(), net::Delivery::Reliable);
                bBigSent = true;
            }
        }
        if (big.connected && !bBigHello) {
            big.say(net::helloFor(net::Role::Spectator, ourVersions()));
            bBigHello = true;
        }
        big.transport.flush();
    }

    void turnWatcher() {
        net::Message message;
        while (watcher.next(message)) {
            if (const auto* lobby = std::get_if<net::Lobby>(&message)) {
                if (lobby->matchRunning) bSawMatch = true;
                if (bSawMatch && !lobby->matchRunning) bOver = true;
            }
            if (const auto* start = std::get_if<net::Start>(&message)) {
                matchId = start->matchId;
                // A made-up hash for the first checkpoint, and enough for the
                // last frames a match could have to fill every checkpoint.
                watcher.say(net::Hash{matchId, net::kHashEvery, 0xBADBADBADULL});
                for (std::uint32_t k = 0; k < 20; ++k) {
                    const std::uint32_t frame = (net::kMaxFrame / net::kHashEvery - k) * net::kHashEvery;
                    watcher.say(net::Hash{matchId, frame, k});
                }
                watcher.say(net::Pause{true});
            }
            if (std::holds_alternative<net::Closing>(message)) bOver = true;
        }
        if (watcher.connected && !bWatcherHello) {
            watcher.say(net::helloFor(net::Role::Spectator, ourVersions()));
            bWatcherHello = true;
        }
        if (watcher.gone) bOver = true;
    }

    void turnPlayer() {
        net::Message message;
        while (player.next(message)) {
            if (const auto* welcome = std::get_if<net::Welcome>(&message)) {
                machine = welcome->machine;
                player.say(net::Claim{options.colour, true});
            }
            if (std::holds_alternative<net::Start>(message)) {
                matchStarted = secondsSince(start);
                playing = true;
            }
            if (const auto* inputs = std::get_if<net::Inputs>(&message)) {
                hostFrame = inputs->frame;
                if (machine < net::kMaxPlayingMachines) hostHolds = std::max(hostHolds, inputs->held[machine]);
            }
        }
        if (player.connected && !bPlayerHello) {
            player.say(net::helloFor(net::Role::Player, ourVersions()));
            bPlayerHello = true;
        }
        if (!playing || machine >= net::kMaxPlayingMachines) return;
        const double inMatch = secondsSince(start) - matchStarted;
        if (options.pauseFor > 0) {
            if (step == 0 && inMatch > 2) {
                std::printf("pause at %.1f s\n", secondsSince(start));
                player.say(net::Pause{true});
                ++step;
            } else if (step == 1 && inMatch > 2 + options.pauseFor) {
                std::printf("resume at %.1f s\n", secondsSince(start));
                std::fflush(stdout);
                player.say(net::Pause{false});
                ++step;
            }
            sendKeys();
            return;
        }
        if (step == 0 && inMatch > 2) {
            // A frame nobody has reached.
            player.say(net::Hash{matchId, (hostFrame / net::kHashEvery + 100) * net::kHashEvery, 1});
            player.say(net::Pause{true});
            ++step;
        } else if (step == 1 && inMatch > 3) {
            player.say(net::Leave{matchId});
            ++step;
        } else if (step == 2 && inMatch > 3.5) {
            // Gone from the match, it still tries to move the room.
            player.say(net::Pause{true});
            player.say(net::Hash{matchId, (hostFrame / net::kHashEvery) * net::kHashEvery, 2});
            ++step;
        }
        if (step < 2) sendKeys();
    }

    // No keys pressed, from the first frame the host lacks to a little
    // beyond its frame, so that nobody waits for this machine.
    void sendKeys() {
        net::Inputs inputs;
        inputs.matchId = matchId;
        inputs.frame = hostFrame;
        for (std::uint32_t& held : inputs.held) held = hostFrame;
        const std::uint32_t until = hostFrame + 4;
        if (hostHolds < until) {
            net::InputBlock& block = inputs.blocks[0];
            block.machine = machine;
            block.firstFrame = hostHolds;
            std::uint32_t left = std::min<std::uint32_t>(until - hostHolds, net::kMaxFramesPerBlock);
            while (left > 0 && block.runCount < net::kMaxRunsPerBlock) {
                const std::uint32_t length = std::min<std::uint32_t>(left, 255);
                block.runs[block.runCount++] = net::InputRun{static_cast<std::uint8_t>(length), 0};
                left -= length;
            }
            inputs.blockCount = 1;
        }
        player.say(inputs);
    }

    Options options;
    Clock::time_point start;
    std::vector<std::unique_ptr<Link>> mute;
    Link watcher;
    Link player;
    Link big;
    bool bWatcherHello = false;
    bool bPlayerHello = false;
    bool bBigHello = false;
    bool bBigSent = false;
    bool bSawMatch = false;
    bool bOver = false;
    double dLongestMute = 0;
    std::uint8_t matchId = 0;
    std::uint8_t machine = net::kNobody;
    bool playing = false;
    double matchStarted = 0;
    std::uint32_t hostFrame = 0;
    std::uint32_t hostHolds = 0;
    int step = 0;
};

}  // namespace

int main(int argc, char** argv) {
    Options options;
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string name = argv[i];
        const unsigned long value = std::strtoul(argv[i + 1], nullptr, 10);
        if (name == "--to") {
            options.port = static_cast<std::uint16_t>(value);
        } else if (name == "--pause-for") {
            options.pauseFor = static_cast<double>(value);
        } else if (name == "--colour") {
            options.colour = static_cast<std::uint8_t>(value & 3);
        }
    }
    if (options.port == 0) {
        std::fprintf(stderr, "usage: quadrill-hostile-client --to PORT [--colour N] [--pause-for SECONDS]\n");
        return 2;
    }
    Hostile hostile(options);
    return hostile.run();
}
