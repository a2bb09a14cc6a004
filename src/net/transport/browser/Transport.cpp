// The browser's Transport: a web page cannot send or receive UDP, so every
// attempt to host or join is refused with that reason, and nothing ever
// arrives. The rest of the online code builds unchanged.
#include "net/transport/Transport.h"

#include "net/transport/RelayLink.h"

namespace net {

namespace {
constexpr char kNoUdp[] = "online play needs the desktop game: a web browser cannot use UDP";
}  // namespace

struct Transport::Host {};

Transport::Transport() = default;
Transport::~Transport() = default;

bool Transport::listen(std::uint16_t, std::string& error) {
    error = kNoUdp;
    return false;
}

bool Transport::connect(const std::string&, std::uint16_t, std::string& error) {
    error = kNoUdp;
    return false;
}

bool Transport::poll(TransportEvent&) { return false; }
void Transport::useRelay(const std::string&) {}
bool Transport::isRelayed() const { return false; }
const std::string& Transport::roomCode() const {
    static const std::string none;
    return none;
}
const std::string& Transport::relayProblem() const {
    static const std::string none;
    return none;
}
void Transport::wait(std::uint32_t) {}
void Transport::send(PeerId, const std::uint8_t*, std::size_t, Delivery) {}
void Transport::flush() {}
void Transport::disconnect(PeerId) {}
void Transport::disconnectAll() {}
void Transport::goodbyeAll(std::uint32_t) {}
void Transport::admitted(PeerId) {}
std::uint16_t Transport::port() const { return 0; }
std::uint32_t Transport::roundTripMs(PeerId) const { return 0; }
bool Transport::isConnected(PeerId) const { return false; }
std::uint64_t Transport::bytesSent() const { return 0; }
std::uint64_t Transport::bytesReceived() const { return 0; }
bool Transport::watch(TransportEvent&) { return false; }
void Transport::cut(PeerId) {}
bool Transport::cutAndTell(PeerId, TransportEvent&) { return false; }

}  // namespace net
