#include "SoundEffects.h"

#include "SampleBuffer.h"

namespace {
// About -3 dBFS: loud enough to cut through, with room so nothing clips.
const double kPeak = 0.708;

using Tone = SampleBuffer::Tone;
using Noise = SampleBuffer::Noise;
}  // namespace

namespace sounds {

std::vector<std::int16_t> micek() {
    SampleBuffer buffer(43896 / 2);
    // A major arpeggio climbing an octave, each note a small bell left
    // ringing under the next, so the serve sounds like a call to attention.
    const double notes[] = {659.26, 830.61, 987.77, 1318.51};
    for (int i = 0; i < 4; ++i) {
        Tone bell;
        bell.start = 0.005 + 0.11 * i;
        bell.length = 1.0 - bell.start;
        bell.fromHz = bell.toHz = notes[i];
        bell.level = i == 3 ? 1.0 : 0.8;
        bell.attack = 0.004;
        bell.decay = i == 3 ? 0.26 : 0.16;
        bell.partials = {{2.0, 0.35, 2.5}, {3.0, 0.12, 4.0}, {4.07, 0.06, 5.0}};
        buffer.add(bell);
    }
    // A soft octave below the last note gives the chime body.
    Tone body;
    body.start = 0.335;
    body.length = 0.66;
    body.fromHz = body.toHz = 659.26;
    body.level = 0.35;
    body.attack = 0.01;
    body.decay = 0.22;
    buffer.add(body);
    return buffer.finish(kPeak, 0.002, 0.04);
}

std::vector<std::int16_t> odpal() {
    SampleBuffer buffer(2264 / 2);
    Tone pock;
    pock.length = 0.052;
    pock.fromHz = 1320;
    pock.toHz = 880;
    pock.attack = 0.0015;
    pock.decay = 0.014;
    pock.partials = {{2.0, 0.25, 2.0}, {3.0, 0.1, 3.0}};
    buffer.add(pock);
    Noise tap;
    tap.length = 0.01;
    tap.level = 0.5;
    tap.attack = 0.0005;
    tap.decay = 0.002;
    tap.brightness = 0.8;
    buffer.add(tap);
    return buffer.finish(kPeak, 0.0015, 0.006);
}

std::vector<std::int16_t> okraj() {
    SampleBuffer buffer(8836 / 2);
    // Lower and rounder than the paddle: the corner walls are heavy.
    Tone knock;
    knock.length = 0.2;
    knock.fromHz = 440;
    knock.toHz = 290;
    knock.attack = 0.002;
    knock.decay = 0.045;
    knock.partials = {{2.32, 0.3, 2.5}, {3.9, 0.12, 4.0}};
    buffer.add(knock);
    Noise thud;
    thud.length = 0.06;
    thud.level = 0.7;
    thud.attack = 0.001;
    thud.decay = 0.012;
    thud.brightness = 0.2;
    buffer.add(thud);
    return buffer.finish(kPeak, 0.002, 0.03);
}

std::vector<std::int16_t> klik() {
    SampleBuffer buffer(1102 / 2);
    Tone tick;
    tick.length = 0.025;
    tick.fromHz = 2600;
    tick.toHz = 2000;
    tick.attack = 0.0008;
    tick.decay = 0.004;
    tick.partials = {{1.5, 0.3, 1.5}};
    buffer.add(tick);
    Noise snap;
    snap.length = 0.006;
    snap.level = 0.4;
    snap.attack = 0.0004;
    snap.decay = 0.0012;
    snap.brightness = 0.9;
    buffer.add(snap);
    return buffer.finish(kPeak, 0.001, 0.004);
}

std::vector<std::int16_t> tlacitko() {
    SampleBuffer buffer(7368 / 2);
    // A note and then one a fifth above it: the button gives way and
    // springs back.
    const double pitches[] = {784.0, 1174.66};
    for (int i = 0; i < 2; ++i) {
        Tone blip;
        blip.start = 0.002 + 0.065 * i;
        blip.length = i == 0 ? 0.07 : 0.1;
        blip.fromHz = pitches[i] * 1.03;
        blip.toHz = pitches[i];
        blip.attack = 0.002;
        blip.decay = i == 0 ? 0.03 : 0.035;
        // Odd partials: a soft square, the classic console button.
        blip.partials = {{3.0, 0.25, 1.8}, {5.0, 0.1, 2.5}};
        buffer.add(blip);
    }
    return buffer.finish(kPeak, 0.002, 0.015);
}

}  // namespace sounds
