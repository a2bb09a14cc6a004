#pragma once
#include <cerrno>
#include <cstdlib>

// Whole decimal numbers from min to max and nothing else: "08x" or "-1" or a
// number too big for the field is an error, not a quiet wrap. Shared by the
// game's command line and the relay's, which links no more than the network.
inline bool parseWholeNumber(const char* text, unsigned long long min, unsigned long long max,
                             unsigned long long& value) {
    if (text == nullptr || *text == '\0') return false;
    for (const char* c = text; *c; ++c) {
        if (*c < '0' || *c > '9') return false;
    }
    errno = 0;
    char* end = nullptr;
    const unsigned long long parsed = std::strtoull(text, &end, 10);
    if (errno != 0 || *end != '\0' || parsed < min || parsed > max) return false;
    value = parsed;
    return true;
}
