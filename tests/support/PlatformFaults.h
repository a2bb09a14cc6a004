#pragma once

// Puts every platform test switch back to normal: the real clock, message
// boxes shown, resources and files without faults. Tests that set a switch
// hold one of these so the next test starts clean even after a failure.
class PlatformFaults {
public:
    PlatformFaults();
    ~PlatformFaults();
    PlatformFaults(const PlatformFaults&) = delete;
    PlatformFaults& operator=(const PlatformFaults&) = delete;
};
