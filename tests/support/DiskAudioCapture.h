#pragma once
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// SDL's disk audio driver in place of a sound card while the object lives:
// the mixer writes exactly what a sound card would get to a file, many
// times faster than real time, and the test reads it back once the sound
// device is closed. Make it before the sound device is created and let it
// outlive the device.
class DiskAudioCapture {
public:
    explicit DiskAudioCapture(const std::string& file);
    ~DiskAudioCapture();
    DiskAudioCapture(const DiskAudioCapture&) = delete;
    DiskAudioCapture& operator=(const DiskAudioCapture&) = delete;

    // Call once the sound device is created: false when the mixer is not
    // writing to the file (the audio driver was chosen before this object).
    bool start();
    // Waits until at most that many channels still play.
    bool waitForPlaying(int most, int limitMs);
    // Waits until no channel plays and one whole mixing turn of silence has
    // followed, so that the next sound stands apart in the output.
    bool waitForSilence(int limitMs);

    // Once the device is closed: every sample written.
    std::vector<std::int16_t> samples() const;
    // Where each stretch of sound begins: the first sample of the mixing
    // turn it was started in. Stretches are apart by a turn of silence or more.
    static std::vector<std::size_t> soundStarts(const std::vector<std::int16_t>& samples);
    // How many sample steps `played` strays at worst from the multiple of
    // `source` that fits it best, which goes to `gain`. A sound the mixer
    // only made louder or softer strays by its volume steps, a few at most.
    static double strayFromScaledCopy(const std::int16_t* played, const std::int16_t* source, std::size_t count,
                                      double& gain);

    static constexpr std::size_t kTurnSamples = 512;

private:
    struct Saved {
        const char* name;
        bool set;
        std::string value;
    };
    std::string path;
    std::vector<Saved> saved;
    std::atomic<long> turns{0};
    bool counting = false;
};
