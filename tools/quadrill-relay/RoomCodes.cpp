#include "RoomCodes.h"

#include "net/RelayWire.h"

RoomCodes::RoomCodes() {
    std::random_device device;
    std::seed_seq seed{device(), device(), device(), device()};
    random.seed(seed);
}

RoomCodes::RoomCodes(std::uint64_t seed) : random(seed) {}

std::string RoomCodes::next(const std::function<bool(const std::string&)>& taken) {
    using net::RelayWire;
    std::uniform_int_distribution<std::size_t> letter(0, RelayWire::kAlphabetSize - 1);
    // Among 23^6 codes and a thousand rooms, a few tries always do.
    for (int attempt = 0; attempt < 64; ++attempt) {
        std::string code(RelayWire::kCodeLength, 'A');
        for (char& c : code) c = RelayWire::kAlphabet[letter(random)];
        if (!taken(code)) return code;
    }
    return "";
}
