#pragma once
#include <cstdint>
#include <memory>

#include "platform/Status.h"

class ErrorLogger;
class Sound;
namespace platform {
class Audio;
class Window;
}

// The sound mixer, in one fixed format (22050 Hz, mono, 16-bit). Sound is
// optional: without a device the game runs silently.
class SoundDevice {
public:
    SoundDevice();
    ~SoundDevice();
    SoundDevice(const SoundDevice&) = delete;
    SoundDevice& operator=(const SoundDevice&) = delete;

    // 1 on success, 0 after a reported failure (messages 301, 302).
    int create(platform::Window* window, ErrorLogger& logger);
    // Fills the sound from the WAVE resource of that name; reports nothing.
    platform::Status loadWave(const char* name, Sound* sound);
    void release();

    bool isCreated() const { return pAudio != nullptr; }

private:
    std::unique_ptr<platform::Audio> pAudio;
};
