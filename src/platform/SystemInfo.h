#pragma once
#include <cstdint>
#include <string>

// What the error log tells about the machine, from the kernel's own reports.
namespace platform {

struct ProcessorInfo {
    std::string vendor;
    std::string name;
    std::uint32_t mhz = 0;
};

struct MemoryStatus {
    std::uint32_t loadPercent = 0;
    std::uint64_t totalBytes = 0;
    std::uint64_t availableBytes = 0;
};

struct SystemName {
    std::string name;     // e.g. "Linux"
    std::string release;  // e.g. "6.1.0-18-amd64"
};

ProcessorInfo processorInfo();
MemoryStatus memoryStatus();
// False when the system would not say.
bool systemName(SystemName& out);

}  // namespace platform
