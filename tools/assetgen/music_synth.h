// Small sound-synthesis kit shared by the two effects and the module's
// instruments: a seeded noise source, one-pole filters, band-limited
// oscillators built from harmonics, and the float-to-16-bit step.
// Everything works on float buffers at 44100 frames per second.
#ifndef TOOLS_ASSETGEN_MUSIC_SYNTH_H
#define TOOLS_ASSETGEN_MUSIC_SYNTH_H

#include <vector>
#include <stdint.h>

const int SYNTH_RATE = 44100;

// xorshift32: our own generator so the bytes never depend on the C library.
struct SynthRng {
    uint32_t state;
};
void synthSeed(SynthRng &r, uint32_t seed);
float synthNoise(SynthRng &r);              // uniform in [-1, 1)

// One-pole low-pass / high-pass with a cutoff in Hz, run in place.
struct OnePole {
    float a;   // smoothing coefficient
    float y;   // low-pass state
};
OnePole onePole(float cutoffHz);                   // a filter at rest
void onePoleRetune(OnePole &f, float cutoffHz);    // keeps the state (sweeps)
float onePoleLow(OnePole &f, float x);
float onePoleHigh(OnePole &f, float x);     // x minus its low-passed part

// Harmonic recipe of one oscillator: harmonic h has the amplitude 1/h (odd
// harmonics only when squareish) times a gentle low-pass roll-off
// 1/sqrt(1 + (h*f/cutoff)^4).
struct Spectrum {
    bool squareish;
    int maxHarmonic;    // keep h*f well below Nyquist for the notes played
};

// Adds one oscillator into out: frequency in cycles per frame, phase in
// cycles at frame 0, amplitude and cutoff (Hz) given per frame. Sums sines,
// so the result is band-limited and exactly periodic wherever the two curves
// are constant.
void addHarmonics(std::vector<float> &out, double cyclesPerFrame, double phase,
                  const Spectrum &s, float gain, const std::vector<float> &amp,
                  const std::vector<float> &cutoff);

// Linear fades over n frames at the ends of a buffer (kills clicks).
void fadeIn(std::vector<float> &buf, int n);
void fadeOut(std::vector<float> &buf, int n);

// Scales the buffer so its largest magnitude equals peak (0..1).
void normalizePeak(std::vector<float> &buf, float peak);

// Rounds to signed 16-bit with clamping.
std::vector<int16_t> toPcm16(const std::vector<float> &buf);

#endif
