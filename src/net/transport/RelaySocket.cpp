#include "net/transport/RelaySocket.h"

#include <enet/enet.h>

#include <cstring>

namespace net {

namespace {

constexpr std::size_t kChannels = 3;
constexpr std::size_t kMaxWaitingBytes = 64 * 1024;
constexpr std::size_t kLargestAssembled = 64 * 1024;
// Must agree with Transport's.
constexpr enet_uint32 kGoodbye = 0x51554144;
// ENet gives up on a machine that acknowledges nothing for this long.
constexpr enet_uint32 kPatienceMinMs = 5000;
constexpr enet_uint32 kPatienceMaxMs = 10000;

}  // namespace

struct RelaySocket::Host {
    ENetHost* host = nullptr;
    ~Host() {
        if (host != nullptr) enet_host_destroy(host);
    }
    ENetPeer* peer(int link) const {
        if (host == nullptr || link < 0 || static_cast<std::size_t>(link) >= host->peerCount) return nullptr;
        return &host->peers[link];
    }
};

RelaySocket::RelaySocket() : pHost(std::make_unique<Host>()) { enet_initialize(); }

RelaySocket::~RelaySocket() {
    if (pHost->host != nullptr) {
        for (std::size_t i = 0; i < pHost->host->peerCount; ++i) {
            ENetPeer& peer = pHost->host->peers[i];
            if (peer.state == ENET_PEER_STATE_CONNECTED) enet_peer_disconnect_now(&peer, kGoodbye);
        }
        enet_host_flush(pHost->host);
    }
    pHost.reset();
    enet_deinitialize();
}

bool RelaySocket::listen(const std::string& addressText, std::uint16_t port, int slots, std::string& error) {
    ENetAddress address;
    address.host = ENET_HOST_ANY;
    if (!addressText.empty() && enet_address_set_host(&address, addressText.c_str()) != 0) {
        error = "cannot find the address " + addressText;
        return false;
    }
    address.port = port;
    if (slots < 1 || slots > kMostSlots) slots = kMostSlots;
    pHost->host = enet_host_create(&address, static_cast<std::size_t>(slots), kChannels, 0, 0);
    if (pHost->host == nullptr) {
        error = "cannot listen on UDP port " + std::to_string(port) + " (is another program using it?)";
        return false;
    }
    pHost->host->maximumPacketSize = kLargestAssembled;
    pHost->host->maximumWaitingData = kMaxWaitingBytes;
    return true;
}

bool RelaySocket::openForConnecting(int slots, std::string& error) {
    if (slots < 1 || slots > kMostSlots) slots = kMostSlots;
    pHost->host = enet_host_create(nullptr, static_cast<std::size_t>(slots), kChannels, 0, 0);
    if (pHost->host == nullptr) {
        error = "cannot open a UDP socket";
        return false;
    }
    pHost->host->maximumPacketSize = kLargestAssembled;
    pHost->host->maximumWaitingData = kMaxWaitingBytes;
    return true;
}

int RelaySocket::connect(const std::string& hostName, std::uint16_t port) {
    if (pHost->host == nullptr) return -1;
    ENetAddress address;
    if (enet_address_set_host(&address, hostName.c_str()) != 0) return -1;
    address.port = port;
    ENetPeer* peer = enet_host_connect(pHost->host, &address, kChannels, 0);
    return peer == nullptr ? -1 : static_cast<int>(peer - pHost->host->peers);
}

std::uint16_t RelaySocket::port() const {
    if (pHost->host == nullptr) return 0;
    ENetAddress bound;
    if (enet_socket_get_address(pHost->host->socket, &bound) != 0) return 0;
    return bound.port;
}

bool RelaySocket::poll(Event& event) {
    if (pHost->host == nullptr) return false;
    ENetEvent raw;
    while (enet_host_service(pHost->host, &raw, 0) > 0) {
        event.link = static_cast<int>(raw.peer - pHost->host->peers);
        event.address = raw.peer->address.host;
        event.size = 0;
        event.goodbye = false;
        event.channel = 0;
        switch (raw.type) {
            case ENET_EVENT_TYPE_CONNECT:
                enet_peer_timeout(raw.peer, ENET_PEER_TIMEOUT_LIMIT, kPatienceMinMs, kPatienceMaxMs);
                // ENet would drop unreliable packets when round trips jitter;
                // the relay passes on what it was given and leaves dropping
                // to the network.
                enet_peer_throttle_configure(raw.peer, ENET_PEER_PACKET_THROTTLE_INTERVAL, 0, 0);
                event.kind = Event::Kind::Connected;
                return true;
            case ENET_EVENT_TYPE_DISCONNECT:
                event.kind = Event::Kind::Disconnected;
                event.goodbye = raw.data == kGoodbye;
                return true;
            case ENET_EVENT_TYPE_RECEIVE: {
                const std::size_t size = raw.packet->dataLength;
                const bool usable = size <= sizeof event.data && raw.channelID < kChannels;
                if (usable) std::memcpy(event.data, raw.packet->data, size);
                enet_packet_destroy(raw.packet);
                if (!usable) {
                    ++cDiscarded;
                    enet_peer_disconnect_now(raw.peer, 0);
                    event.kind = Event::Kind::Disconnected;
                    return true;
                }
                event.size = size;
                event.channel = raw.channelID;
                event.kind = Event::Kind::Received;
                return true;
            }
            case ENET_EVENT_TYPE_NONE:
                break;
        }
    }
    return false;
}

void RelaySocket::wait(std::uint32_t ms) {
    if (pHost->host == nullptr) return;
    enet_uint32 condition = ENET_SOCKET_WAIT_RECEIVE;
    enet_socket_wait(pHost->host->socket, &condition, ms);
}

void RelaySocket::send(int link, std::uint8_t channel, const std::uint8_t* data, std::size_t size) {
    ENetPeer* peer = pHost->peer(link);
    if (peer == nullptr || peer->state != ENET_PEER_STATE_CONNECTED || channel >= kChannels) return;
    const bool reliable = channel != 1;
    ENetPacket* packet = enet_packet_create(data, size, reliable ? ENET_PACKET_FLAG_RELIABLE : 0);
    if (packet == nullptr) return;
    if (enet_peer_send(peer, channel, packet) != 0) enet_packet_destroy(packet);
}

void RelaySocket::flush() {
    if (pHost->host != nullptr) enet_host_flush(pHost->host);
}

void RelaySocket::cut(int link, bool afterQueued, bool goodbye) {
    ENetPeer* peer = pHost->peer(link);
    if (peer == nullptr || peer->state == ENET_PEER_STATE_DISCONNECTED) return;
    const enet_uint32 data = goodbye ? kGoodbye : 0;
    if (afterQueued) {
        enet_peer_disconnect_later(peer, data);
    } else {
        enet_peer_disconnect_now(peer, data);
    }
}

std::size_t RelaySocket::queued(int link) const {
    ENetPeer* peer = pHost->peer(link);
    if (peer == nullptr) return 0;
    std::size_t count = 0;
    ENetList* lists[] = {&peer->outgoingCommands, &peer->sentReliableCommands};
    for (ENetList* list : lists) {
        for (ENetListIterator it = enet_list_begin(list); it != enet_list_end(list); it = enet_list_next(it)) ++count;
    }
    return count;
}

}  // namespace net
