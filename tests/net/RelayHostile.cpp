// A relay's bad day, while honest machines play a room on it:
//
//   quadrill-relay-hostile --to PORT --code CODE --seconds N [--at ADDRESS]
//
// - datagrams of random bytes, a few thousand a second;
// - a machine that enters the honest room by its code and floods it, and
//   another that floods a room of its own;
// - a guesser that tries one wrong code after another;
// - connections opened and dropped at once, and silent ones.
//
// It prints what it saw, one line each.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "net/transport/Transport.h"

namespace {

using Clock = std::chrono::steady_clock;

std::string gRelayAddress = "127.0.0.1";

struct Link {
    net::Transport transport;
    bool in = false;
    bool gone = false;
    explicit Link(const std::string& code) { transport.useRelay(code); }
    bool open(std::uint16_t port) {
        std::string error;
        return transport.connect(gRelayAddress, port, error);
    }
    void poll() {
        net::TransportEvent event;
        while (transport.poll(event)) {
            if (event.kind == net::TransportEvent::Kind::Connected) in = true;
            if (event.kind == net::TransportEvent::Kind::Disconnected) gone = true;
        }
    }
};

std::string randomCode(std::mt19937& random) {
    static const char letters[] = "ABCDEFGHJKMNPQRSTUVWXYZ";
    std::string code(6, 'A');
    for (char& c : code) c = letters[random() % 23];
    return code;
}

}  // namespace

int main(int argc, char** argv) {
    std::uint16_t port = 0;
    std::string code;
    double seconds = 20;
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string name = argv[i];
        if (name == "--to") port = static_cast<std::uint16_t>(std::strtoul(argv[i + 1], nullptr, 10));
        if (name == "--code") code = argv[i + 1];
        if (name == "--seconds") seconds = std::strtod(argv[i + 1], nullptr);
        if (name == "--at") gRelayAddress = argv[i + 1];
    }
    if (port == 0 || code.size() != 6) {
        std::fprintf(stderr, "usage: quadrill-relay-hostile --to PORT --code CODE [--seconds N]\n");
        return 2;
    }
    std::mt19937 random(12345);
    const int raw = socket(AF_INET, SOCK_DGRAM, 0);
    sockaddr_in to = {};
    to.sin_family = AF_INET;
    to.sin_port = htons(port);
    if (inet_pton(AF_INET, gRelayAddress.c_str(), &to.sin_addr) != 1) {
        std::fprintf(stderr, "quadrill-relay-hostile: --at needs an IPv4 address\n");
        return 2;
    }

    auto intruder = std::make_unique<Link>(code);
    auto ownRoom = std::make_unique<Link>("");
    std::unique_ptr<Link> ownFlooder;
    std::unique_ptr<Link> guesser;
    std::unique_ptr<Link> churn;
    intruder->open(port);
    ownRoom->open(port);

    long garbage = 0, guesses = 0, refusedGuessing = 0, churned = 0, flooded = 0;
    bool intruderCut = false, ownFlooderCut = false;
    std::vector<std::uint8_t> bytes(1000);
    const Clock::time_point start = Clock::now();
    while (std::chrono::duration<double>(Clock::now() - start).count() < seconds) {
        for (int i = 0; i < 20; ++i) {
            const std::size_t size = 1 + random() % bytes.size();
            for (std::size_t b = 0; b < size; ++b) bytes[b] = static_cast<std::uint8_t>(random());
            if (sendto(raw, bytes.data(), size, 0, reinterpret_cast<const sockaddr*>(&to), sizeof to) > 0) ++garbage;
        }
        intruder->poll();
        ownRoom->poll();
        // Flooders send far more than any machine of a room would.
        for (Link* flooder : {intruder.get(), ownFlooder.get()}) {
            if (flooder == nullptr || !flooder->in || flooder->gone) continue;
            for (int i = 0; i < 100; ++i) {
                flooder->transport.send(0, bytes.data(), 200 + random() % 800,
                                        i % 2 ? net::Delivery::Reliable : net::Delivery::Unreliable);
                ++flooded;
            }
            flooder->transport.flush();
        }
        intruderCut = intruderCut || (intruder->in && intruder->gone);
        if (!ownFlooder && !ownRoom->transport.roomCode().empty()) {
            ownFlooder = std::make_unique<Link>(ownRoom->transport.roomCode());
            ownFlooder->open(port);
        }
        if (ownFlooder) {
            ownFlooder->poll();
            ownFlooderCut = ownFlooderCut || (ownFlooder->in && ownFlooder->gone);
        }
        // Guessing first, churning after: the churn's unfinished connections
        // would otherwise push out the guesser's, waiting for their answers.
        const bool churning = std::chrono::duration<double>(Clock::now() - start).count() > seconds * 0.6;
        if (!churning && (!guesser || guesser->gone)) {
            if (guesser && guesser->transport.relayProblem().find("Too many") != std::string::npos) ++refusedGuessing;
            guesser = std::make_unique<Link>(randomCode(random));
            guesser->open(port);
            ++guesses;
        }
        if (guesser) guesser->poll();
        if (churning) {
            if (churn) churn->poll();
            churn = std::make_unique<Link>(random() % 2 ? "" : code);
            churn->open(port);
            churn->transport.flush();
            ++churned;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    close(raw);
    std::printf("garbage datagrams: %ld\n", garbage);
    std::printf("messages flooded: %ld\n", flooded);
    std::printf("intruder cut: %s\n", intruderCut ? "yes" : "no");
    std::printf("own room's flooder cut: %s\n", ownFlooderCut ? "yes" : "no");
    std::printf("codes guessed: %ld, refused for guessing: %ld\n", guesses, refusedGuessing);
    std::printf("connections churned: %ld\n", churned);
    return 0;
}
