#include "input/Keyboard.h"

#include "errors/ErrorLogger.h"
#include "input/InputDevice.h"
#include "platform/KeyboardDevice.h"

using namespace platform::status;

Keyboard::Keyboard() = default;

Keyboard::~Keyboard() { release(); }

int Keyboard::init(platform::Window* window, InputDevice& input, ErrorLogger& logger) {
    release();
    platform::Status status = input.isCreated() ? platform::KeyboardDevice::create(pDevice) : E_POINTER;
    if (platform::failed(status)) {
        logger.reportStatus(100, 102, status);
        return 0;
    }
    // From here on a failure leaves the device in place; release takes it.
    status = pDevice->setDataFormat();
    if (platform::failed(status)) {
        logger.reportStatus(100, 103, status);
        return 0;
    }
    status = pDevice->setCooperativeLevel(window);
    if (platform::failed(status)) {
        logger.reportStatus(100, 104, status);
        return 0;
    }
    status = pDevice->acquire();
    if (platform::failed(status)) {
        logger.reportStatus(100, 105, status);
        return 0;
    }
    return 1;
}

platform::Status Keyboard::getState(std::uint32_t size, std::uint8_t* buffer) {
    if (!pDevice) return E_POINTER;
    return pDevice->getState(size, buffer);
}

platform::Status Keyboard::acquire() {
    if (!pDevice) return E_POINTER;
    return pDevice->acquire();
}

platform::Status Keyboard::unacquire() {
    if (!pDevice) return E_POINTER;
    return pDevice->unacquire();
}

void Keyboard::release() {
    if (!pDevice) return;
    pDevice->unacquire();
    pDevice.reset();
}
