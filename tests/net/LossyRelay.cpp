// A bad network between the machines of a test match and their host: every
// datagram is held for a delay with some jitter (so that some overtake
// others), and some are lost. The machines connect to the relay's port as
// if it were the host; each of them gets a socket of its own towards the
// real host, which so sees them as different machines.
//
//   quadrill-lossy-relay --listen PORT --to HOST:PORT [--delay MS]
//                        [--jitter MS] [--loss PERCENT] [--duplicate PERCENT]
//                        [--seed N]
//
// --delay is one way (50: a round trip of 100 ms), --jitter the width of
// the window each delay is drawn from around it (20: 40 to 60 ms);
// --duplicate sends that share of the datagrams twice, each copy with a
// delay of its own. It runs
// until it is sent SIGTERM or SIGINT, then prints what it did.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <signal.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <queue>
#include <random>
#include <string>
#include <vector>

namespace {

constexpr std::size_t kMaxClients = 32;
constexpr std::size_t kMaxQueued = 20000;
constexpr std::size_t kMaxDatagram = 2048;

volatile sig_atomic_t g_stop = 0;

void onSignal(int) { g_stop = 1; }

struct Options {
    int listenPort = 0;
    sockaddr_in target{};
    double delayMs = 50;
    double jitterMs = 20;
    double lossPercent = 5;
    double duplicatePercent = 0;
    unsigned seed = 1;
};

struct Client {
    sockaddr_in address{};
    int upstream = -1;  // our socket towards the host for this client
};

struct Datagram {
    double dueMs = 0;
    std::uint64_t order = 0;
    int socket = -1;
    sockaddr_in to{};
    std::vector<char> bytes;
    bool operator>(const Datagram& other) const {
        return dueMs != other.dueMs ? dueMs > other.dueMs : order > other.order;
    }
};

double nowMs() {
    using namespace std::chrono;
    return duration<double, std::milli>(steady_clock::now().time_since_epoch()).count();
}

bool parseTarget(const char* text, sockaddr_in& out) {
    const std::string value = text;
    const std::size_t colon = value.rfind(':');
    if (colon == std::string::npos) return false;
    out.sin_family = AF_INET;
    out.sin_port = htons(static_cast<std::uint16_t>(std::atoi(value.c_str() + colon + 1)));
    const std::string host = value.substr(0, colon) == "localhost" ? "127.0.0.1" : value.substr(0, colon);
    return inet_pton(AF_INET, host.c_str(), &out.sin_addr) == 1 && out.sin_port != 0;
}

bool parseOptions(int argc, char** argv, Options& options) {
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string name = argv[i];
        const char* value = argv[i + 1];
        if (name == "--listen") {
            options.listenPort = std::atoi(value);
        } else if (name == "--to") {
            if (!parseTarget(value, options.target)) return false;
        } else if (name == "--delay") {
            options.delayMs = std::atof(value);
        } else if (name == "--jitter") {
            options.jitterMs = std::atof(value);
        } else if (name == "--loss") {
            options.lossPercent = std::atof(value);
        } else if (name == "--duplicate") {
            options.duplicatePercent = std::atof(value);
        } else if (name == "--seed") {
            options.seed = static_cast<unsigned>(std::strtoul(value, nullptr, 10));
        } else {
            return false;
        }
    }
    return options.listenPort > 0 && options.target.sin_port != 0;
}

int udpSocket(int port) {
    const int fd = socket(AF_INET, SOCK_DGRAM, 0);
    if (fd < 0) return -1;
    sockaddr_in local{};
    local.sin_family = AF_INET;
    local.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    local.sin_port = htons(static_cast<std::uint16_t>(port));
    if (bind(fd, reinterpret_cast<sockaddr*>(&local), sizeof local) != 0) {
        close(fd);
        return -1;
    }
    return fd;
}

bool sameAddress(const sockaddr_in& a, const sockaddr_in& b) {
    return a.sin_port == b.sin_port && a.sin_addr.s_addr == b.sin_addr.s_addr;
}

class Relay {
public:
    explicit Relay(const Options& chosen) : options(chosen), draws(chosen.seed) {}

    bool start() {
        listener = udpSocket(options.listenPort);
        return listener >= 0;
    }

    void run() {
        while (!g_stop) {
            std::vector<pollfd> fds;
            fds.push_back(pollfd{listener, POLLIN, 0});
            for (const Client& client : clients) fds.push_back(pollfd{client.upstream, POLLIN, 0});
            int timeout = 50;
            if (!queue.empty()) {
                const double wait = queue.top().dueMs - nowMs();
                timeout = wait <= 0 ? 0 : static_cast<int>(wait) + 1;
                if (timeout > 50) timeout = 50;
            }
            if (poll(fds.data(), fds.size(), timeout) > 0) {
                if (fds[0].revents & POLLIN) fromClient();
                for (std::size_t i = 1; i < fds.size(); ++i) {
                    if (fds[i].revents & POLLIN) fromHost(clients[i - 1]);
                }
            }
            deliverDue();
        }
        std::fprintf(stderr, "relay: %llu datagrams passed on, %llu lost, %llu overtook an earlier one\n",
                     static_cast<unsigned long long>(passed), static_cast<unsigned long long>(lost),
                     static_cast<unsigned long long>(overtaken));
    }

private:
    void fromClient() {
        char buffer[kMaxDatagram];
        sockaddr_in from{};
        socklen_t length = sizeof from;
        const ssize_t size = recvfrom(listener, buffer, sizeof buffer, 0, reinterpret_cast<sockaddr*>(&from), &length);
        if (size < 0) return;
        Client* client = clientFor(from);
        if (client == nullptr) return;
        schedule(client->upstream, options.target, buffer, static_cast<std::size_t>(size));
    }

    void fromHost(const Client& client) {
        char buffer[kMaxDatagram];
        const ssize_t size = recv(client.upstream, buffer, sizeof buffer, 0);
        if (size < 0) return;
        schedule(listener, client.address, buffer, static_cast<std::size_t>(size));
    }

    Client* clientFor(const sockaddr_in& from) {
        for (Client& client : clients) {
            if (sameAddress(client.address, from)) return &client;
        }
        if (clients.size() >= kMaxClients) return nullptr;
        const int upstream = udpSocket(0);
        if (upstream < 0) return nullptr;
        clients.push_back(Client{from, upstream});
        return &clients.back();
    }

    void schedule(int socket, const sockaddr_in& to, const char* data, std::size_t size) {
        std::uniform_real_distribution<double> percent(0.0, 100.0);
        if (percent(draws) < options.lossPercent || queue.size() >= kMaxQueued) {
            ++lost;
            return;
        }
        if (percent(draws) < options.duplicatePercent) queueCopy(socket, to, data, size);
        queueCopy(socket, to, data, size);
    }

    void queueCopy(int socket, const sockaddr_in& to, const char* data, std::size_t size) {
        std::uniform_real_distribution<double> spread(-options.jitterMs / 2, options.jitterMs / 2);
        Datagram datagram;
        datagram.dueMs = nowMs() + options.delayMs + spread(draws);
        datagram.order = ++sent;
        datagram.socket = socket;
        datagram.to = to;
        datagram.bytes.assign(data, data + size);
        queue.push(std::move(datagram));
    }

    void deliverDue() {
        const double now = nowMs();
        while (!queue.empty() && queue.top().dueMs <= now) {
            const Datagram& datagram = queue.top();
            if (datagram.order < lastDelivered) ++overtaken;
            lastDelivered = datagram.order;
            sendto(datagram.socket, datagram.bytes.data(), datagram.bytes.size(), 0,
                   reinterpret_cast<const sockaddr*>(&datagram.to), sizeof datagram.to);
            ++passed;
            queue.pop();
        }
    }

    Options options;
    std::mt19937 draws;
    int listener = -1;
    std::vector<Client> clients;
    std::priority_queue<Datagram, std::vector<Datagram>, std::greater<Datagram>> queue;
    std::uint64_t sent = 0;
    std::uint64_t lastDelivered = 0;
    std::uint64_t passed = 0;
    std::uint64_t lost = 0;
    std::uint64_t overtaken = 0;
};

}  // namespace

int main(int argc, char** argv) {
    Options options;
    if (!parseOptions(argc, argv, options)) {
        std::fprintf(stderr,
                     "usage: quadrill-lossy-relay --listen PORT --to HOST:PORT [--delay MS] [--jitter MS] "
                     "[--loss PERCENT] [--duplicate PERCENT] [--seed N]\n");
        return 2;
    }
    signal(SIGTERM, onSignal);
    signal(SIGINT, onSignal);
    Relay relay(options);
    if (!relay.start()) {
        std::fprintf(stderr, "relay: cannot listen on port %d\n", options.listenPort);
        return 1;
    }
    relay.run();
    return 0;
}
