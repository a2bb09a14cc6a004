#include "net/Admission.h"

#include <algorithm>

namespace net {

Admission::Admission(int slots, std::uint32_t withinMs, int perAddress)
    : entries(static_cast<std::size_t>(std::max(slots, 0))), dwWithinMs(withinMs), cPerAddress(perAddress) {}

void Admission::arrive(int id, std::uint32_t address, std::uint32_t nowMs) {
    if (id < 0 || id >= slots()) return;
    leave(id);
    Entry& entry = entries[static_cast<std::size_t>(id)];
    entry.present = true;
    entry.address = address;
    entry.since = nowMs;
    waiting.push_back(id);
}

void Admission::finish(int id) {
    if (id < 0 || id >= slots() || !entries[static_cast<std::size_t>(id)].present) return;
    entries[static_cast<std::size_t>(id)].finished = true;
    waiting.erase(std::remove(waiting.begin(), waiting.end(), id), waiting.end());
}

void Admission::leave(int id) {
    if (id < 0 || id >= slots()) return;
    entries[static_cast<std::size_t>(id)] = Entry{};
    waiting.erase(std::remove(waiting.begin(), waiting.end(), id), waiting.end());
}

bool Admission::isFinished(int id) const {
    return id >= 0 && id < slots() && entries[static_cast<std::size_t>(id)].finished;
}

bool Admission::due(std::uint32_t nowMs, int& id) const {
    for (int candidate : waiting) {
        const Entry& entry = entries[static_cast<std::size_t>(candidate)];
        if (nowMs - entry.since >= dwWithinMs) {
            id = candidate;
            return true;
        }
        int newer = 0;
        for (int other : waiting) {
            const Entry& them = entries[static_cast<std::size_t>(other)];
            if (other == candidate || them.address != entry.address) continue;
            const std::int32_t later = static_cast<std::int32_t>(them.since - entry.since);
            if (later > 0 || (later == 0 && other > candidate)) ++newer;
        }
        if (newer >= cPerAddress) {
            id = candidate;
            return true;
        }
    }
    return false;
}

}  // namespace net
