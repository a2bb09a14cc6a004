#include "sound/SoundDevice.h"

#include <algorithm>
#include <memory>

#include "errors/ErrorLogger.h"
#include "platform/Audio.h"
#include "platform/SoundBuffer.h"
#include "resources/TextFileReader.h"
#include "sound/Sound.h"

using namespace platform::status;

namespace {
// Where the length of the samples sits in the wave layout; they follow it.
constexpr int kLengthOffset = 40;
}  // namespace

SoundDevice::SoundDevice() = default;

SoundDevice::~SoundDevice() { release(); }

int SoundDevice::create(platform::Window* window, ErrorLogger& logger) {
    release();
    const platform::Status opened = platform::Audio::open(pAudio);
    if (platform::failed(opened)) {
        logger.reportStatus(300, 301, opened);
        return 0;
    }
    const platform::Status level = pAudio->setCooperativeLevel(window);
    if (platform::failed(level)) {
        logger.reportStatus(300, 302, level);
        return 0;
    }
    return 1;
}

platform::Status SoundDevice::loadWave(const char* name, Sound* sound) {
    if (!pAudio) return E_POINTER;
    if (sound == nullptr) return E_INVALIDARG;
    TextFileReader reader;
    if (reader.openBinary(name, "WAVE") != 0) return E_FAIL;
    reader.skip(kLengthOffset);
    const std::int32_t declared = reader.readInt();
    // A header may claim more than the resource holds, or a negative length:
    // only the bytes really there are taken.
    const std::int32_t count = std::max(0, std::min(declared, reader.remaining()));
    const unsigned char* samples = reader.current();

    // The old buffer goes first, so a sound whose reload fails is silent
    // rather than left holding a lost buffer.
    sound->release();
    std::unique_ptr<platform::SoundBuffer> buffer;
    const platform::Status made =
        pAudio->createBuffer(name, samples, static_cast<std::size_t>(count), buffer);
    reader.close();
    if (platform::failed(made)) return made;
    sound->adopt(std::move(buffer));
    return S_OK;
}

void SoundDevice::release() { pAudio.reset(); }
