#include "platform/SystemInfo.h"

#include <sys/sysinfo.h>
#include <sys/utsname.h>

#include <cstdlib>
#include <fstream>

namespace platform {
namespace {

std::string trimmed(const std::string& text) {
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string::npos) return "";
    const auto last = text.find_last_not_of(" \t\r\n");
    return text.substr(first, last - first + 1);
}

}  // namespace

ProcessorInfo processorInfo() {
    ProcessorInfo info;
    std::ifstream cpuinfo("/proc/cpuinfo");
    std::string line;
    // Only the first processor's block is described, as one core stands for all.
    while (std::getline(cpuinfo, line)) {
        if (line.empty()) break;
        const auto colon = line.find(':');
        if (colon == std::string::npos) continue;
        const std::string key = trimmed(line.substr(0, colon));
        const std::string value = trimmed(line.substr(colon + 1));
        if (key == "vendor_id") {
            info.vendor = value;
        } else if (key == "model name") {
            info.name = value;
        } else if (key == "cpu MHz") {
            info.mhz = static_cast<std::uint32_t>(std::strtod(value.c_str(), nullptr));
        }
    }
    return info;
}

MemoryStatus memoryStatus() {
    MemoryStatus status;
#ifdef __EMSCRIPTEN__
    // A page does not learn the machine's memory: the log says 0.
    return status;
#else
    struct sysinfo info {};
    if (sysinfo(&info) != 0) return status;
    const std::uint64_t unit = info.mem_unit ? info.mem_unit : 1;
    status.totalBytes = static_cast<std::uint64_t>(info.totalram) * unit;
    // Free memory alone would count the page cache as used; the kernel's own
    // estimate of what programs can still get is the honest figure.
    std::uint64_t available = static_cast<std::uint64_t>(info.freeram) * unit;
    std::ifstream meminfo("/proc/meminfo");
    std::string key;
    std::uint64_t kilobytes = 0;
    std::string rest;
    while (meminfo >> key >> kilobytes) {
        std::getline(meminfo, rest);
        if (key == "MemAvailable:") {
            available = kilobytes * 1024;
            break;
        }
    }
    status.availableBytes = available;
    if (status.totalBytes > 0 && available <= status.totalBytes) {
        status.loadPercent = static_cast<std::uint32_t>(100 - available * 100 / status.totalBytes);
    }
    return status;
#endif
}

bool systemName(SystemName& out) {
    struct utsname names {};
    if (uname(&names) != 0) return false;
    out.name = names.sysname;
    out.release = names.release;
    return true;
}

}  // namespace platform
