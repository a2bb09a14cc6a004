#include "AddressLimits.h"

AddressLimits::AddressLimits(const RelayLimits& chosen) : limits(chosen) {}

AddressLimits::Entry& AddressLimits::entry(std::uint32_t address, std::uint32_t nowMs) {
    auto found = table.find(address);
    if (found == table.end()) {
        Entry fresh;
        fresh.secondStart = nowMs;
        fresh.minuteStart = nowMs;
        found = table.emplace(address, fresh).first;
    }
    found->second.lastSeen = nowMs;
    return found->second;
}

void AddressLimits::linkArrived(std::uint32_t address, std::uint32_t nowMs) { ++entry(address, nowMs).links; }

void AddressLimits::linkLeft(std::uint32_t address, std::uint32_t nowMs) {
    Entry& e = entry(address, nowMs);
    if (e.links > 0) --e.links;
}

int AddressLimits::links(std::uint32_t address) const {
    const auto found = table.find(address);
    return found == table.end() ? 0 : found->second.links;
}

bool AddressLimits::spend(std::uint32_t address, std::size_t bytes, std::uint32_t linkMessages,
                          std::uint32_t linkBytes, std::uint32_t nowMs) {
    Entry& e = entry(address, nowMs);
    if (nowMs - e.secondStart >= 1000) {
        e.secondStart = nowMs;
        e.messages = 0;
        e.bytes = 0;
        e.heaviestMessages = 0;
        e.heaviestBytes = 0;
    }
    ++e.messages;
    e.bytes += static_cast<std::uint32_t>(bytes);
    if (linkMessages > e.heaviestMessages) e.heaviestMessages = linkMessages;
    if (linkBytes > e.heaviestBytes) e.heaviestBytes = linkBytes;
    return e.messages <= limits.messagesPerSecond && e.bytes <= limits.bytesPerSecond;
}

bool AddressLimits::isHeaviest(std::uint32_t address, std::uint32_t linkMessages, std::uint32_t linkBytes) const {
    const auto found = table.find(address);
    if (found == table.end()) return true;
    return linkMessages >= found->second.heaviestMessages || linkBytes >= found->second.heaviestBytes;
}

int AddressLimits::rooms(std::uint32_t address) const {
    const auto found = table.find(address);
    return found == table.end() ? 0 : found->second.rooms;
}

void AddressLimits::roomOpened(std::uint32_t address, std::uint32_t nowMs) { ++entry(address, nowMs).rooms; }

void AddressLimits::roomClosed(std::uint32_t address, std::uint32_t nowMs) {
    Entry& e = entry(address, nowMs);
    if (e.rooms > 0) --e.rooms;
}

std::uint32_t AddressLimits::messagesThisSecond(std::uint32_t address) const {
    const auto found = table.find(address);
    return found == table.end() ? 0 : found->second.messages;
}

std::uint32_t AddressLimits::bytesThisSecond(std::uint32_t address) const {
    const auto found = table.find(address);
    return found == table.end() ? 0 : found->second.bytes;
}

AddressLimits::Guessing AddressLimits::guessing(std::uint32_t address, std::uint32_t nowMs) {
    Entry& e = entry(address, nowMs);
    if (nowMs - e.minuteStart >= kMinuteMs) {
        e.minuteStart = nowMs;
        e.wrongCodes = 0;
    }
    if (e.wrongCodes >= limits.wrongCodesPerMinute) return Guessing::Refused;
    return e.wrongCodes >= RelayLimits::kFreeWrongCodes ? Guessing::Slowed : Guessing::Free;
}

void AddressLimits::wrongCode(std::uint32_t address, std::uint32_t nowMs) {
    Entry& e = entry(address, nowMs);
    if (nowMs - e.minuteStart >= kMinuteMs) {
        e.minuteStart = nowMs;
        e.wrongCodes = 0;
    }
    ++e.wrongCodes;
}

void AddressLimits::forgetIdle(std::uint32_t nowMs) {
    for (auto it = table.begin(); it != table.end();) {
        if (it->second.links == 0 && it->second.rooms == 0 && nowMs - it->second.lastSeen >= kMinuteMs) {
            it = table.erase(it);
        } else {
            ++it;
        }
    }
}
