#pragma once
#include <cstddef>
#include <cstdint>
#include <deque>
#include <string>
#include <unordered_map>
#include <vector>

#include "AddressLimits.h"
#include "RelayLimits.h"
#include "RoomCodes.h"
#include "net/Admission.h"
#include "net/RelayWire.h"

// Where the relay's words and forwarded messages go: the port, or a test's
// record of them.
class RelayOutput {
public:
    enum class Ending {
        Abrupt,       // at once, nothing more goes
        AfterQueued,  // once what is queued has gone
        Goodbye,      // the same, and the other side hears it was meant
    };
    virtual ~RelayOutput() = default;
    virtual void send(int link, std::uint8_t channel, const std::uint8_t* data, std::size_t size) = 0;
    virtual void cut(int link, Ending ending) = 0;
    // Packets waiting to go to the connection, or to be acknowledged.
    virtual std::size_t queued(int link) const = 0;
    // One line an event.
    virtual void log(const std::string& line) = 0;
};

// The relay's rooms: each a code, the machine that opened it and the
// guests that entered it. A connection's first word opens a room or enters
// one; after that the relay hands every message of a guest to the opener,
// with the guest's number in front, and every message of the opener to
// the guest its number names, on the channel it came on. It reads nothing
// of the game's messages and decides nothing about the match.
class RelayRooms {
public:
    RelayRooms(const RelayLimits& limits, RelayOutput& output, RoomCodes codes = RoomCodes());

    void arrived(int link, std::uint32_t address, std::uint32_t nowMs);
    // The connection went; `goodbye` when it said so.
    void left(int link, bool goodbye, std::uint32_t nowMs);
    void received(int link, std::uint8_t channel, const std::uint8_t* data, std::size_t size, std::uint32_t nowMs);
    // The clock's work: handshakes too slow, answers a guesser waited
    // for, rooms empty too long, connections that do not keep up.
    void tick(std::uint32_t nowMs);

    std::size_t rooms() const { return roomsByCode.size(); }
    // Machines in the room with this code, the opener too; -1 without one.
    int machinesIn(const std::string& code) const;
    std::size_t addressesTracked() const { return addresses.tracked(); }

    static constexpr std::uint8_t kWordMarker = 0xFF;

private:
    enum class State { Free, New, Waiting, Opener, Guest, Leaving };
    struct Link {
        State state = State::Free;
        std::uint32_t address = 0;
        std::string room;
        std::uint8_t guest = 0;
        std::uint32_t secondStart = 0;
        std::uint32_t messages = 0;
        std::uint32_t bytes = 0;
        // A slowed guesser's Enter, answered at answerAt.
        std::string asked;
        std::uint32_t answerAt = 0;
    };
    struct Room {
        int opener = -1;
        // By guest number; -1 for none.
        std::vector<int> guests;
        int count = 0;
        std::uint8_t nextGuest = 0;
        bool closed = false;
        std::uint32_t openerAddress = 0;
        std::uint32_t emptySince = 0;
    };

    Link* linkAt(int link);
    bool withinBudget(int link, Link& from, std::size_t size, std::uint32_t nowMs);
    void firstWord(int link, Link& from, std::uint8_t channel, const std::uint8_t* data, std::size_t size,
                   std::uint32_t nowMs);
    void open(int link, Link& from, std::uint32_t nowMs);
    void answerEnter(int link, Link& from, std::uint32_t nowMs);
    void fromOpener(int link, Link& from, std::uint8_t channel, const std::uint8_t* data, std::size_t size,
                    std::uint32_t nowMs);
    void fromGuest(Link& from, std::uint8_t channel, const std::uint8_t* data, std::size_t size);
    void refuse(int link, net::RelayWire::Refusal refusal, std::uint32_t nowMs);
    void word(int link, std::uint8_t channel, const net::RelayWire::Word& word, bool marked);
    // Lets a connection go and takes it out of its room.
    void drop(int link, RelayOutput::Ending ending, const char* why, std::uint32_t nowMs);
    void detach(int link, bool goodbye, std::uint32_t nowMs);
    void closeRoom(const std::string& code, bool goodbye, std::uint32_t nowMs);
    std::string who(int link) const;

    RelayLimits limits;
    RelayOutput& out;
    RoomCodes codes;
    AddressLimits addresses;
    net::Admission admission;
    std::vector<Link> links;
    std::unordered_map<std::string, Room> roomsByCode;
    std::vector<int> waiting;
    // Rooms whose opener left, the first to close first.
    std::deque<std::string> closing;
    std::uint32_t lastSweep = 0;
};
