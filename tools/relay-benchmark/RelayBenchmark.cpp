// Many rooms of simulated machines on one quadrill-relay, in one process:
//
//   quadrill-relay-benchmark --port P [--rooms 1000] [--machines 4]
//                            [--rate 60] [--seconds 20]
//
// Each room's opener and guests connect as the game's would (Open, Enter
// CODE), then every guest sends its opener a message `rate` times a
// second and the opener sends each guest one, as a match's keys go. It
// prints how many came back and how long they took from sender to
// receiver, through the relay; scripts/benchmark-relay adds the relay's
// own figures.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "RelayFigures.h"
#include "net/RelayWire.h"
#include "net/transport/RelaySocket.h"

namespace {

using net::RelaySocket;
using net::RelayWire;
using Clock = std::chrono::steady_clock;

std::uint64_t micros() {
    return static_cast<std::uint64_t>(
        std::chrono::duration_cast<std::chrono::microseconds>(Clock::now().time_since_epoch()).count());
}

constexpr std::size_t kMessageBytes = 40;

struct Room {
    int opener = -1;
    std::vector<int> guests;
    std::string code;
};

class Bench {
public:
    bool setUp(std::uint16_t port, int rooms, int machines) {
        std::string error;
        if (!socket.openForConnecting(rooms * machines, error)) {
            std::fprintf(stderr, "benchmark: %s\n", error.c_str());
            return false;
        }
        all.resize(static_cast<std::size_t>(rooms));
        for (Room& room : all) {
            RelayWire::Word open;
            open.type = RelayWire::Type::Open;
            room.opener = join(port, open);
            if (room.opener < 0) return false;
            room.code = lastCode;
            for (int g = 1; g < machines; ++g) {
                RelayWire::Word enter;
                enter.type = RelayWire::Type::Enter;
                std::memcpy(enter.code, room.code.data(), RelayWire::kCodeLength);
                const int guest = join(port, enter);
                if (guest < 0) return false;
                room.guests.push_back(guest);
            }
        }
        return true;
    }

    void run(int rate, double seconds) {
        std::uint8_t message[kMessageBytes + 1] = {};
        // Machines of their own do not all send at the same instant: the
        // rooms take turns through each frame, a slice at a time, so that
        // the relay's socket is not handed thousands of datagrams at once.
        constexpr std::size_t kSlices = 32;
        const auto slicePeriod = std::chrono::microseconds(1000000 / rate / kSlices);
        const std::size_t perSlice = (all.size() + kSlices - 1) / kSlices;
        const Clock::time_point start = Clock::now();
        Clock::time_point next = start;
        std::size_t slice = 0;
        while (Clock::now() - start < std::chrono::duration<double>(seconds)) {
            const std::uint64_t now = micros();
            const std::size_t first = slice * perSlice;
            for (std::size_t r = first; r < std::min(all.size(), first + perSlice); ++r) {
                const Room& room = all[r];
                for (std::size_t g = 0; g < room.guests.size(); ++g) {
                    std::memcpy(message, &now, sizeof now);
                    socket.send(room.guests[g], 1, message, kMessageBytes);
                    message[0] = static_cast<std::uint8_t>(g);
                    std::memcpy(message + 1, &now, sizeof now);
                    socket.send(room.opener, 1, message, kMessageBytes + 1);
                    sent += 2;
                }
            }
            socket.flush();
            slice = (slice + 1) % kSlices;
            next += slicePeriod;
            // Behind the clock, this process is what is slow: the rate it
            // reached is printed.
            if (Clock::now() > next + slicePeriod * kSlices) next = Clock::now();
            drain();
            while (Clock::now() < next) {
                drain();
                std::this_thread::sleep_for(std::chrono::microseconds(100));
            }
        }
        const Clock::time_point end = Clock::now() + std::chrono::milliseconds(500);
        while (Clock::now() < end) drain();
    }

    void report(double seconds) {
        std::printf("machines: %zu rooms of %zu\n", all.size(), all.empty() ? 0 : all[0].guests.size() + 1);
        std::printf("messages sent: %llu (%.0f a second), received: %llu (%.2f %%)\n",
                    static_cast<unsigned long long>(sent), static_cast<double>(sent) / seconds,
                    static_cast<unsigned long long>(received), sent ? 100.0 * received / sent : 0.0);
        std::printf("sender to receiver through the relay: p50 %u us, p99 %u us\n", figures.percentile(0.5),
                    figures.percentile(0.99));
    }

private:
    // Connects one machine and says its word; its link once answered.
    int join(std::uint16_t port, const RelayWire::Word& word) {
        const int link = socket.connect("127.0.0.1", port);
        if (link < 0) return -1;
        const Clock::time_point giveUp = Clock::now() + std::chrono::seconds(5);
        bool connected = false;
        RelaySocket::Event event;
        while (Clock::now() < giveUp) {
            while (socket.poll(event)) {
                if (event.link != link) continue;
                if (event.kind == RelaySocket::Event::Kind::Disconnected) return -1;
                if (event.kind == RelaySocket::Event::Kind::Connected && !connected) {
                    connected = true;
                    std::uint8_t bytes[RelayWire::kLongestWord];
                    socket.send(link, RelayWire::kChannel, bytes, RelayWire::encode(word, bytes));
                    socket.flush();
                }
                RelayWire::Word answer;
                if (event.kind == RelaySocket::Event::Kind::Received && event.channel == RelayWire::kChannel &&
                    RelayWire::decode(event.data, event.size, answer)) {
                    if (answer.type == RelayWire::Type::Opened) lastCode.assign(answer.code, RelayWire::kCodeLength);
                    if (answer.type == RelayWire::Type::Refused) {
                        std::fprintf(stderr, "benchmark: %s\n", RelayWire::refusalText(answer.refusal).c_str());
                        return -1;
                    }
                    return link;
                }
            }
            socket.wait(1);
        }
        std::fprintf(stderr, "benchmark: no answer from the relay\n");
        return -1;
    }

    void drain() {
        RelaySocket::Event event;
        while (socket.poll(event)) {
            if (event.kind != RelaySocket::Event::Kind::Received || event.channel != 1) continue;
            std::uint64_t when = 0;
            // The opener's have the guest's number in front.
            const std::size_t at = event.size == kMessageBytes + 1 ? 1 : 0;
            if (event.size < at + sizeof when) continue;
            std::memcpy(&when, event.data + at, sizeof when);
            figures.stayed(static_cast<std::uint32_t>(micros() - when));
            ++received;
        }
    }

    RelaySocket socket;
    std::vector<Room> all;
    std::string lastCode;
    RelayFigures figures;
    std::uint64_t sent = 0;
    std::uint64_t received = 0;
};

}  // namespace

int main(int argc, char** argv) {
    std::uint16_t port = 0;
    int rooms = 1000, machines = 4, rate = 60;
    double seconds = 20;
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string name = argv[i];
        const long value = std::strtol(argv[i + 1], nullptr, 10);
        if (name == "--port") port = static_cast<std::uint16_t>(value);
        if (name == "--rooms") rooms = static_cast<int>(value);
        if (name == "--machines") machines = static_cast<int>(value);
        if (name == "--rate") rate = static_cast<int>(value);
        if (name == "--seconds") seconds = static_cast<double>(value);
    }
    if (port == 0 || rooms < 1 || machines < 2 || rate < 1 || rooms * machines > RelaySocket::kMostSlots) {
        std::fprintf(stderr, "usage: quadrill-relay-benchmark --port P [--rooms N] [--machines N] [--rate N] "
                             "[--seconds N] (rooms times machines at most 4095)\n");
        return 2;
    }
    Bench bench;
    const Clock::time_point started = Clock::now();
    if (!bench.setUp(port, rooms, machines)) return 1;
    std::printf("connected in %.1f s\n", std::chrono::duration<double>(Clock::now() - started).count());
    std::printf("running\n");
    std::fflush(stdout);
    bench.run(rate, seconds);
    bench.report(seconds);
    return 0;
}
