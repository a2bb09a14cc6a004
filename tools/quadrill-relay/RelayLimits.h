#pragma once
#include <cstddef>
#include <cstdint>

// What one relay allows, each a command-line option.
struct RelayLimits {
    int rooms = 1000;
    // Rooms opened from one address at once, so that no one takes them all.
    int roomsPerAddress = 16;
    // The opener counts as one.
    int machinesPerRoom = 12;
    // Per address, summed over its connections: a machine's room at the
    // game's rate, a dozen such behind one router, and room to spare.
    std::uint32_t messagesPerSecond = 3000;
    std::uint32_t bytesPerSecond = 600000;
    // A guesser's wrong codes: the first few answered at once, then each
    // answer waits, and beyond this many in a minute none is looked at.
    std::uint32_t wrongCodesPerMinute = 10;
    std::uint32_t emptyRoomMs = 30000;
    // Connections: slots, the handshake's time, unfinished ones an address.
    int connections = 4095;
    std::uint32_t handshakeMs = 2000;
    int unfinishedPerAddress = 2;
    // Packets waiting to go to one connection; beyond, it is let go.
    std::size_t queuedPackets = 1024;

    static constexpr std::uint32_t kFreeWrongCodes = 3;
    static constexpr std::uint32_t kSlowedAnswerMs = 1000;
};
