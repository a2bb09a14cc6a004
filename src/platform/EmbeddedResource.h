#pragma once
#include <cstddef>

namespace platform {

// One file compiled into the executable; the build writes the table of them.
struct EmbeddedResource {
    const char* name;
    const char* type;
    const unsigned char* data;
    const std::size_t* size;
};

extern const EmbeddedResource kEmbeddedResources[];
extern const std::size_t kEmbeddedResourceCount;

}  // namespace platform
