#include "ByteMutator.h"

#include <algorithm>
#include <cstddef>

namespace {

using Bytes = std::vector<std::uint8_t>;

void insertAt(Bytes& bytes, std::size_t at, const Bytes& piece) {
    bytes.insert(bytes.begin() + static_cast<std::ptrdiff_t>(at), piece.begin(), piece.end());
}

void change(Bytes& bytes, std::mt19937& draws) {
    const std::size_t at = bytes.empty() ? 0 : draws() % bytes.size();
    switch (draws() % 9) {
        case 0:
            if (!bytes.empty()) bytes[at] ^= static_cast<std::uint8_t>(1u << (draws() % 8));
            break;
        case 1:
            if (!bytes.empty()) bytes[at] = static_cast<std::uint8_t>(draws());
            break;
        case 2: {
            static const std::uint8_t extremes[] = {0x00, 0x01, 0x7F, 0x80, 0xFE, 0xFF};
            if (!bytes.empty()) bytes[at] = extremes[draws() % sizeof extremes];
            break;
        }
        case 3: {
            const std::size_t n = 1 + draws() % 8;
            for (std::size_t i = 0; i < n; ++i) insertAt(bytes, at, Bytes(1, static_cast<std::uint8_t>(draws())));
            break;
        }
        case 4: {
            const std::size_t n = std::min<std::size_t>(1 + draws() % 16, bytes.size() - at);
            bytes.erase(bytes.begin() + static_cast<std::ptrdiff_t>(at),
                        bytes.begin() + static_cast<std::ptrdiff_t>(at + n));
            break;
        }
        case 5: {
            const std::size_t n = std::min<std::size_t>(1 + draws() % 32, bytes.size() - at);
            const Bytes piece(bytes.begin() + static_cast<std::ptrdiff_t>(at),
                              bytes.begin() + static_cast<std::ptrdiff_t>(at + n));
            insertAt(bytes, draws() % (bytes.size() + 1), piece);
            break;
        }
        case 6:
            bytes.resize(at);
            break;
        case 7: {
            // A varint that claims as much as it can.
            static const std::uint8_t huge[] = {0xFF, 0xFF, 0xFF, 0xFF, 0x0F};
            insertAt(bytes, at, Bytes(huge, huge + 1 + draws() % 5));
            break;
        }
        default:
            if (bytes.size() >= 4) {
                const std::size_t word = draws() % (bytes.size() - 3);
                const std::uint32_t value = draws() % 2 ? 0xFFFFFFFFu : draws() % 70000;
                for (int i = 0; i < 4; ++i) bytes[word + static_cast<std::size_t>(i)] = (value >> (8 * i)) & 0xFF;
            }
            break;
    }
}

}  // namespace

void mutateBytes(Bytes& bytes, std::mt19937& draws) {
    const int changes = 1 + static_cast<int>(draws() % 6);
    for (int c = 0; c < changes; ++c) change(bytes, draws);
}
