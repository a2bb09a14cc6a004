#include "net/transport/Transport.h"

#include <enet/enet.h>

#include <cstring>

namespace net {

namespace {

constexpr std::size_t kChannels = 2;
constexpr enet_uint8 kReliableChannel = 0;
constexpr enet_uint8 kUnreliableChannel = 1;
// Three machines that play, eight that watch, and room to tell a few more
// politely that there is no room.
constexpr std::size_t kPeerSlots = kMaxPlayingMachines - 1 + kMaxSpectators + 4;
// Unacknowledged data a peer may have waiting with us, all channels.
constexpr std::size_t kMaxWaitingBytes = 64 * 1024;

}  // namespace

struct Transport::Host {
    ENetHost* host = nullptr;
    std::uint64_t sentBefore = 0;
    std::uint64_t receivedBefore = 0;

    ~Host() {
        if (host != nullptr) enet_host_destroy(host);
    }
    ENetPeer* peer(PeerId id) const {
        if (host == nullptr || id < 0 || static_cast<std::size_t>(id) >= host->peerCount) return nullptr;
        return &host->peers[id];
    }
    void limit() {
        host->maximumPacketSize = kMaxMessageBytes;
        host->maximumWaitingData = kMaxWaitingBytes;
    }
    // ENet's own counters are 32-bit and wrap; ours do not.
    void gatherCounters() {
        sentBefore += host->totalSentData;
        receivedBefore += host->totalReceivedData;
        host->totalSentData = 0;
        host->totalReceivedData = 0;
    }
};

Transport::Transport() : pHost(std::make_unique<Host>()) { enet_initialize(); }

Transport::~Transport() {
    pHost.reset();
    enet_deinitialize();
}

bool Transport::listen(std::uint16_t port, std::string& error) {
    ENetAddress address;
    address.host = ENET_HOST_ANY;
    address.port = port;
    pHost->host = enet_host_create(&address, kPeerSlots, kChannels, 0, 0);
    if (pHost->host == nullptr) {
        error = "cannot listen on UDP port " + std::to_string(port) + " (is another game using it?)";
        return false;
    }
    pHost->limit();
    return true;
}

bool Transport::connect(const std::string& hostName, std::uint16_t port, std::string& error) {
    pHost->host = enet_host_create(nullptr, 1, kChannels, 0, 0);
    if (pHost->host == nullptr) {
        error = "cannot open a UDP socket";
        return false;
    }
    pHost->limit();
    ENetAddress address;
    if (enet_address_set_host(&address, hostName.c_str()) != 0) {
        error = "cannot find the address of " + hostName;
        return false;
    }
    address.port = port;
    ENetPeer* peer = enet_host_connect(pHost->host, &address, kChannels, 0);
    if (peer == nullptr) {
        error = "cannot connect to " + hostName;
        return false;
    }
    // A host that does not answer is given up on as soon as a dropped one.
    enet_peer_timeout(peer, ENET_PEER_TIMEOUT_LIMIT, kDropAfterMs, kDropAfterMs);
    return true;
}

bool Transport::poll(TransportEvent& event) {
    if (pHost->host == nullptr) return false;
    ENetEvent raw;
    while (enet_host_service(pHost->host, &raw, 0) > 0) {
        event.peer = static_cast<PeerId>(raw.peer - pHost->host->peers);
        event.size = 0;
        switch (raw.type) {
            case ENET_EVENT_TYPE_CONNECT:
                // A machine that falls silent for this long has gone.
                enet_peer_timeout(raw.peer, ENET_PEER_TIMEOUT_LIMIT, kDropAfterMs, kDropAfterMs);
                event.kind = TransportEvent::Kind::Connected;
                return true;
            case ENET_EVENT_TYPE_DISCONNECT:
                event.kind = TransportEvent::Kind::Disconnected;
                return true;
            case ENET_EVENT_TYPE_RECEIVE: {
                const std::size_t size = raw.packet->dataLength;
                const bool usable = size <= kMaxMessageBytes && raw.channelID < kChannels;
                if (usable) {
                    std::memcpy(event.data, raw.packet->data, size);
                    event.size = size;
                }
                enet_packet_destroy(raw.packet);
                if (!usable) {
                    ++cDiscarded;
                    continue;
                }
                event.kind = TransportEvent::Kind::Received;
                return true;
            }
            case ENET_EVENT_TYPE_NONE:
                break;
        }
    }
    return false;
}

void Transport::wait(std::uint32_t ms) {
    if (pHost->host == nullptr) return;
    enet_uint32 condition = ENET_SOCKET_WAIT_RECEIVE;
    enet_socket_wait(pHost->host->socket, &condition, ms);
}

void Transport::send(PeerId id, const std::uint8_t* data, std::size_t size, Delivery delivery) {
    ENetPeer* peer = pHost->peer(id);
    if (peer == nullptr || peer->state != ENET_PEER_STATE_CONNECTED || size > kMaxMessageBytes) return;
    const bool reliable = delivery == Delivery::Reliable;
    ENetPacket* packet = enet_packet_create(data, size, reliable ? ENET_PACKET_FLAG_RELIABLE : 0);
    if (packet == nullptr) return;
    if (enet_peer_send(peer, reliable ? kReliableChannel : kUnreliableChannel, packet) != 0) {
        enet_packet_destroy(packet);
    }
}

void Transport::flush() {
    if (pHost->host != nullptr) enet_host_flush(pHost->host);
}

void Transport::disconnect(PeerId id) {
    if (ENetPeer* peer = pHost->peer(id)) enet_peer_disconnect_later(peer, 0);
}

void Transport::disconnectAll() {
    if (pHost->host == nullptr) return;
    for (std::size_t i = 0; i < pHost->host->peerCount; ++i) {
        ENetPeer& peer = pHost->host->peers[i];
        if (peer.state == ENET_PEER_STATE_CONNECTED) enet_peer_disconnect_now(&peer, 0);
    }
    enet_host_flush(pHost->host);
}

std::uint16_t Transport::port() const {
    if (pHost->host == nullptr) return 0;
    ENetAddress bound;
    if (enet_socket_get_address(pHost->host->socket, &bound) != 0) return 0;
    return bound.port;
}

std::uint32_t Transport::roundTripMs(PeerId id) const {
    const ENetPeer* peer = pHost->peer(id);
    return peer != nullptr ? peer->roundTripTime : 0;
}

bool Transport::isConnected(PeerId id) const {
    const ENetPeer* peer = pHost->peer(id);
    return peer != nullptr && peer->state == ENET_PEER_STATE_CONNECTED;
}

std::uint64_t Transport::bytesSent() const {
    if (pHost->host == nullptr) return pHost->sentBefore;
    pHost->gatherCounters();
    return pHost->sentBefore;
}

std::uint64_t Transport::bytesReceived() const {
    if (pHost->host == nullptr) return pHost->receivedBefore;
    pHost->gatherCounters();
    return pHost->receivedBefore;
}

}  // namespace net
