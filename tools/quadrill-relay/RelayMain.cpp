// quadrill-relay: rooms for machines that cannot host, entered by code.
#include <chrono>
#include <csignal>
#include <cstdio>

#include <vector>

#include "RelayFigures.h"
#include "RelayOptions.h"
#include "RelayRooms.h"
#include "net/transport/RelaySocket.h"

namespace {

volatile std::sig_atomic_t gStop = 0;

void stop(int) { gStop = 1; }

std::uint64_t nowMicros() {
    using namespace std::chrono;
    return static_cast<std::uint64_t>(duration_cast<microseconds>(steady_clock::now().time_since_epoch()).count());
}

std::uint32_t nowMs() {
    using namespace std::chrono;
    return static_cast<std::uint32_t>(duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

class SocketOutput : public RelayOutput {
public:
    explicit SocketOutput(net::RelaySocket& port) : socket(port) {}
    void send(int link, std::uint8_t channel, const std::uint8_t* data, std::size_t size) override {
        socket.send(link, channel, data, size);
    }
    void cut(int link, Ending ending) override {
        socket.cut(link, ending != Ending::Abrupt, ending == Ending::Goodbye);
    }
    std::size_t queued(int link) const override { return socket.queued(link); }
    void log(const std::string& line) override {
        std::fprintf(stderr, "quadrill-relay: %s\n", line.c_str());
        std::fflush(stderr);
    }

private:
    net::RelaySocket& socket;
};

}  // namespace

int main(int argc, char** argv) {
    const RelayOptions options = RelayOptions::parse(argc, argv);
    switch (options.action) {
        case RelayOptions::Action::Help:
            std::fputs(RelayOptions::usage(), stdout);
            return 0;
        case RelayOptions::Action::Version:
            std::printf("%s\n", RelayOptions::versionLine());
            return 0;
        case RelayOptions::Action::Usage:
            std::fprintf(stderr, "quadrill-relay: %s\n%s", options.error.c_str(), RelayOptions::usage());
            return 2;
        case RelayOptions::Action::Run:
            break;
    }
    struct sigaction action = {};
    action.sa_handler = stop;
    sigaction(SIGTERM, &action, nullptr);
    sigaction(SIGINT, &action, nullptr);

    net::RelaySocket socket;
    std::string error;
    if (!socket.listen(options.address, options.port, options.limits.connections, error)) {
        std::fprintf(stderr, "quadrill-relay: %s\n", error.c_str());
        return 1;
    }
    SocketOutput output(socket);
    RelayRooms rooms(options.limits, output);
    output.log("listening on UDP port " + std::to_string(socket.port()) + ", at most " +
               std::to_string(options.limits.rooms) + " rooms");
    net::RelaySocket::Event event;
    RelayFigures figures;
    std::vector<std::uint64_t> arrivals;
    const std::uint32_t figuresEveryMs = options.statsEverySeconds * 1000;
    std::uint32_t figuresSince = nowMs();
    while (!gStop) {
        const std::uint32_t now = nowMs();
        int handled = 0;
        arrivals.clear();
        // A short batch, so that what it sends on goes out soon and the
        // clock's work is never starved.
        while (handled < 64 && socket.poll(event)) {
            ++handled;
            switch (event.kind) {
                case net::RelaySocket::Event::Kind::Connected:
                    rooms.arrived(event.link, event.address, now);
                    break;
                case net::RelaySocket::Event::Kind::Received:
                    if (figuresEveryMs != 0) arrivals.push_back(nowMicros());
                    rooms.received(event.link, event.channel, event.data, event.size, now);
                    break;
                case net::RelaySocket::Event::Kind::Disconnected:
                    rooms.left(event.link, event.goodbye, now);
                    break;
                case net::RelaySocket::Event::Kind::None:
                    break;
            }
        }
        rooms.tick(now);
        socket.flush();
        if (figuresEveryMs != 0) {
            const std::uint64_t gone = nowMicros();
            for (std::uint64_t arrived : arrivals) figures.stayed(static_cast<std::uint32_t>(gone - arrived));
            if (now - figuresSince >= figuresEveryMs) {
                output.log("figures: " + std::to_string(rooms.rooms()) + " rooms, " +
                           figures.takeLine((now - figuresSince) / 1000.0));
                figuresSince = now;
            }
        }
        if (handled == 0) socket.wait(5);
    }
    output.log("stopping: " + std::to_string(rooms.rooms()) + " rooms closed");
    return 0;
}
