#pragma once
#include <cstddef>

namespace platform {

struct ResourceData {
    const unsigned char* data = nullptr;
    std::size_t size = 0;
};

// What opening a resource can come to; the reader turns these into its
// codes 1000 to 1002.
enum class ResourceResult { Ok, NotFound, NotLoaded, NotLocked };

// Finds a resource compiled into the executable by name and type, letter
// case ignored. The bytes stay valid for the life of the program.
ResourceResult openResource(const char* name, const char* type, ResourceData& out);

// The same, for callers that only care whether it is there.
bool findResource(const char* name, const char* type, ResourceData& out);

namespace testing {
// Makes one resource, by name, behave as missing, unloadable or unlockable,
// so that every loader's failure path can be run. Ok clears the fault.
void setResourceFault(const char* name, ResourceResult fault);
// Replaces a resource's bytes (the caller keeps them alive) so a test can
// feed a loader a bad table or a lying wave header.
void overrideResource(const char* name, const char* type, const unsigned char* data, std::size_t size);
void clearResourceFaults();
}  // namespace testing

}  // namespace platform
