#include <gtest/gtest.h>

#include <cstdlib>

#include "net/transport/PortMapping.h"

int main(int argc, char** argv) {
    // No display and no sound card on a test machine: SDL's dummy drivers
    // stand in, unless the caller chose others.
    setenv("SDL_VIDEODRIVER", "dummy", 0);
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    // The dummy window never has the focus, and SDL drops the pads' buttons
    // of a window without it.
    setenv("SDL_JOYSTICK_ALLOW_BACKGROUND_EVENTS", "1", 0);
    // The tests' hosts ask no real router: none answers here.
    net::PortMapping::useMappersForTests([] { return net::PortMapping::Mappers(); });
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
