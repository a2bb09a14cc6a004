#pragma once
#include <cstdint>
#include <unordered_map>

#include "RelayLimits.h"

// What each address may send a second, and how many wrong room codes it
// may try a minute. Addresses are forgotten a minute after their last
// connection went, so the table holds no more than the connections of
// the last minute.
class AddressLimits {
public:
    explicit AddressLimits(const RelayLimits& limits);

    void linkArrived(std::uint32_t address, std::uint32_t nowMs);
    void linkLeft(std::uint32_t address, std::uint32_t nowMs);
    int links(std::uint32_t address) const;

    // Counts a message of a connection that sent `linkMessages` and
    // `linkBytes` this second, this one too; false once the address has
    // sent more this second than it may.
    bool spend(std::uint32_t address, std::size_t bytes, std::uint32_t linkMessages, std::uint32_t linkBytes,
               std::uint32_t nowMs);
    // Whether a connection with these counts sends the most of its
    // address this second, by messages or by bytes.
    bool isHeaviest(std::uint32_t address, std::uint32_t linkMessages, std::uint32_t linkBytes) const;
    // Rooms opened from the address and open now.
    int rooms(std::uint32_t address) const;
    void roomOpened(std::uint32_t address, std::uint32_t nowMs);
    void roomClosed(std::uint32_t address, std::uint32_t nowMs);
    // This second's messages and bytes of the address.
    std::uint32_t messagesThisSecond(std::uint32_t address) const;
    std::uint32_t bytesThisSecond(std::uint32_t address) const;

    enum class Guessing { Free, Slowed, Refused };
    Guessing guessing(std::uint32_t address, std::uint32_t nowMs);
    void wrongCode(std::uint32_t address, std::uint32_t nowMs);

    // Drops the addresses with no connection for a minute.
    void forgetIdle(std::uint32_t nowMs);
    std::size_t tracked() const { return table.size(); }

    static constexpr std::uint32_t kMinuteMs = 60000;

private:
    struct Entry {
        int links = 0;
        std::uint32_t lastSeen = 0;
        std::uint32_t secondStart = 0;
        std::uint32_t messages = 0;
        std::uint32_t bytes = 0;
        std::uint32_t heaviestMessages = 0;
        std::uint32_t heaviestBytes = 0;
        int rooms = 0;
        std::uint32_t minuteStart = 0;
        std::uint32_t wrongCodes = 0;
    };
    Entry& entry(std::uint32_t address, std::uint32_t nowMs);
    RelayLimits limits;
    std::unordered_map<std::uint32_t, Entry> table;
};
