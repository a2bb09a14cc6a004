#include "platform/KeyboardDevice.h"

#include <cstring>

#include "platform/KeyboardTable.h"

namespace platform {

Status openInputSystem() { return systemKeyboard().fault(KeyboardStep::InputSystem); }

Status KeyboardDevice::create(std::unique_ptr<KeyboardDevice>& out) {
    out.reset();
    const Status fault = systemKeyboard().fault(KeyboardStep::Device);
    if (failed(fault)) return fault;
    out = std::make_unique<KeyboardDevice>();
    return status::S_OK;
}

KeyboardDevice::KeyboardDevice() : bFormatSet(false), bAcquired(false), cLossesAtAcquire(0) {}

Status KeyboardDevice::setDataFormat() {
    const Status fault = systemKeyboard().fault(KeyboardStep::DataFormat);
    if (failed(fault)) return fault;
    bFormatSet = true;
    return status::S_OK;
}

Status KeyboardDevice::setCooperativeLevel(Window*) {
    // Exclusive foreground use is the only kind there is: the table follows
    // the window's focus whatever the caller asks for.
    return systemKeyboard().fault(KeyboardStep::CooperativeLevel);
}

Status KeyboardDevice::acquire() {
    const KeyboardTable& table = systemKeyboard();
    const Status fault = table.fault(KeyboardStep::Acquire);
    if (failed(fault)) return fault;
    if (!bFormatSet) return status::E_INVALIDARG;
    if (!table.hasFocus()) return status::E_ACCESSDENIED;
    const bool already = bAcquired && cLossesAtAcquire == table.focusLosses();
    bAcquired = true;
    cLossesAtAcquire = table.focusLosses();
    return already ? status::S_FALSE : status::S_OK;
}

Status KeyboardDevice::unacquire() {
    if (!bAcquired) return status::S_FALSE;
    bAcquired = false;
    return status::S_OK;
}

Status KeyboardDevice::getState(std::uint32_t size, std::uint8_t* buffer) {
    if (buffer == nullptr) return status::E_POINTER;
    if (size != KeyboardTable::kSize) return status::E_INVALIDARG;
    if (!bAcquired) return status::DIERR_NOTACQUIRED;
    KeyboardTable& table = systemKeyboard();
    if (!table.hasFocus() || cLossesAtAcquire != table.focusLosses()) {
        bAcquired = false;
        return status::DIERR_INPUTLOST;
    }
    std::memcpy(buffer, table.keys(), KeyboardTable::kSize);
    table.notePolled();
    return status::S_OK;
}

}  // namespace platform
