#pragma once
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "net/Protocol.h"
#include "net/RelayWire.h"

namespace net {

// The relay's port: ENet connections by slot number, each with the
// address it comes from. It keeps no rooms; it hands on what arrives and
// sends what it is told, on the channel it is told, reliable on the
// game's reliable channel and the relay's own, unreliable on the other.
class RelaySocket {
public:
    struct Event {
        enum class Kind { None, Connected, Received, Disconnected };
        Kind kind = Kind::None;
        int link = -1;
        std::uint32_t address = 0;
        std::uint8_t channel = 0;
        bool goodbye = false;
        std::size_t size = 0;
        std::uint8_t data[kMaxMessageBytes + RelayWire::kGuestHeaderBytes] = {};
    };

    RelaySocket();
    ~RelaySocket();
    RelaySocket(const RelaySocket&) = delete;
    RelaySocket& operator=(const RelaySocket&) = delete;

    // Connection slots: ENet numbers its peers with twelve bits.
    static constexpr int kMostSlots = 4095;
    bool listen(const std::string& address, std::uint16_t port, int slots, std::string& error);
    // The other end, for a benchmark's many machines in one process: a
    // socket of this many slots, each connecting to a relay; -1 on failure.
    bool openForConnecting(int slots, std::string& error);
    int connect(const std::string& host, std::uint16_t port);
    std::uint16_t port() const;
    // The next thing that happened, without waiting; false when nothing did.
    // Anything bigger than a message with its guest byte ends its connection.
    bool poll(Event& event);
    void wait(std::uint32_t ms);
    void send(int link, std::uint8_t channel, const std::uint8_t* data, std::size_t size);
    void flush();
    // Ends a connection at once, or once what is queued for it has gone;
    // a goodbye tells the other side it was meant.
    void cut(int link, bool afterQueued, bool goodbye);
    // Packets queued for the connection, sent or not, not yet acknowledged.
    std::size_t queued(int link) const;
    // Datagrams cut off for being no message of ours.
    std::uint64_t discarded() const { return cDiscarded; }

private:
    struct Host;
    std::unique_ptr<Host> pHost;
    std::uint64_t cDiscarded = 0;
};

}  // namespace net
