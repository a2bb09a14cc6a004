#pragma once
#include <cstdint>
#include <vector>

namespace net {

// Who may hold a connection that has not yet said what it wants: the
// same rules for the host's port and for a relay's. A connection has
// `withinMs` to finish its handshake, and one address holds at most
// `perAddress` unfinished connections (the newest stay), so nobody keeps
// the slots full by opening connections and saying nothing.
class Admission {
public:
    Admission(int slots, std::uint32_t withinMs, int perAddress);

    // A new connection in slot `id`, from `address`.
    void arrive(int id, std::uint32_t address, std::uint32_t nowMs);
    // It finished its handshake: it stays for as long as it talks.
    void finish(int id);
    void leave(int id);
    bool isFinished(int id) const;
    // A connection to cut now, late or one too many of its address's
    // unfinished ones; false when none is.
    bool due(std::uint32_t nowMs, int& id) const;
    int slots() const { return static_cast<int>(entries.size()); }

private:
    struct Entry {
        bool present = false;
        bool finished = false;
        std::uint32_t address = 0;
        std::uint32_t since = 0;
    };
    std::vector<Entry> entries;
    // The unfinished ones, few at any time.
    std::vector<int> waiting;
    std::uint32_t dwWithinMs;
    int cPerAddress;
};

}  // namespace net
