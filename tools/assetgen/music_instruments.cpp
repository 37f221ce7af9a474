// The soundtrack's nine samples, all synthesized. Tonal samples are a struck
// part (attack, then a decay of loudness and brightness) followed by a loop
// of whole waveform cycles, so the loop seam is inaudible; drums are one-shot.
#include "tools/assetgen/music.h"
#include "tools/assetgen/music_synth.h"

#include <math.h>

static const float SAMPLE_PEAK = 0.9f;

// C-5 is tuned to 523.25 Hz (A-4 = 440 Hz). A waveform of `period` frames
// recorded at 44100 Hz sounds at 44100/period Hz at rate 44100, so C-5 needs
// the rate 523.25 * period.
static int c5SpeedForPeriod(int period)
{
    return (int)lrint(440.0 * pow(2.0, 3.0 / 12.0) * period);
}

// Goes from `from` to `to` over `frames` frames along (1-x)^shape, then
// stays at `to`, so anything after the ramp is exactly constant.
static float ramp(int i, int frames, float from, float to, float shape)
{
    if (i >= frames)
        return to;
    float x = (float)i / frames;
    return to + (from - to) * powf(1.0f - x, shape);
}

namespace {    // recipe types private to this file

struct Osc {
    Spectrum spectrum;
    float gain;
    int extraCycles;     // detune: cycles gained over the loop (0, +1, -1)
};

struct Tone {
    const char *name;
    int period;          // frames per cycle of the undetuned oscillator
    int loopCycles;      // 0 for a one-shot
    int attack, decay;   // frames
    float sustain;       // level reached after the decay (0 for one-shots)
    float shape;         // decay curve exponent
    float cutStart, cutEnd;
    const Osc *oscs;
    int oscCount;
};

}

static ItSample makeTone(const Tone &t)
{
    int struck = t.attack + t.decay;
    int frames = struck + t.loopCycles * t.period;
    std::vector<float> amp(frames), cutoff(frames), out(frames, 0.0f);
    for (int i = 0; i < frames; i++) {
        float a = i < t.attack ? (float)i / t.attack
                               : ramp(i - t.attack, t.decay, 1.0f, t.sustain, t.shape);
        amp[i] = a;
        cutoff[i] = ramp(i, struck, t.cutStart, t.cutEnd, 2.0f);
    }
    // A one-shot decays over its whole length; a looped tone's loop holds
    // loopCycles cycles of the main oscillator and loopCycles+extra of a
    // detuned one, so every oscillator is back in phase at the loop end.
    int cycles = t.loopCycles > 0 ? t.loopCycles : 1;
    for (int k = 0; k < t.oscCount; k++) {
        double perFrame = (double)(cycles + t.oscs[k].extraCycles) / (cycles * (double)t.period);
        addHarmonics(out, perFrame, 0.13 * k, t.oscs[k].spectrum, t.oscs[k].gain, amp, cutoff);
    }
    normalizePeak(out, SAMPLE_PEAK);

    ItSample s;
    s.name = t.name;
    s.volume = 64;
    s.c5Speed = c5SpeedForPeriod(t.period);
    s.loop = t.loopCycles > 0;
    s.loopBegin = s.loop ? struck : 0;
    s.loopEnd = s.loop ? frames : 0;
    if (!s.loop)
        fadeOut(out, 200);
    s.data = toPcm16(out);
    return s;
}

// Drums play at C-5 with C5Speed 44100, i.e. exactly as recorded.
static ItSample drumSample(const char *name, std::vector<float> &out)
{
    fadeOut(out, 220);
    normalizePeak(out, SAMPLE_PEAK);
    ItSample s;
    s.name = name;
    s.volume = 64;
    s.c5Speed = SYNTH_RATE;
    s.loop = false;
    s.loopBegin = s.loopEnd = 0;
    s.data = toPcm16(out);
    return s;
}

// A sine whose pitch drops from about 160 to 48 Hz, softly saturated, with a
// two-millisecond noise tick for the beater.
static ItSample makeKick()
{
    int frames = SYNTH_RATE * 35 / 100;
    std::vector<float> out(frames);
    SynthRng rng;
    synthSeed(rng, 0x4B1Cu);
    OnePole lp = onePole(4000);
    double phase = 0;
    for (int i = 0; i < frames; i++) {
        double t = (double)i / SYNTH_RATE;
        phase += (48 + 112 * exp(-t / 0.03)) / SYNTH_RATE;
        double body = tanh(1.6 * sin(2 * M_PI * phase)) * exp(-t / 0.16);
        double tick = onePoleLow(lp, synthNoise(rng)) * exp(-t / 0.002) * 0.6;
        out[i] = (float)(body + tick);
    }
    fadeIn(out, 10);
    return drumSample("kick", out);
}

// Two damped tones for the drum's shell plus a longer burst of band-passed
// noise for the wires.
static ItSample makeSnare()
{
    int frames = SYNTH_RATE * 28 / 100;
    std::vector<float> out(frames);
    SynthRng rng;
    synthSeed(rng, 0x5A4Eu);
    OnePole hp = onePole(1200), lp = onePole(9000);
    for (int i = 0; i < frames; i++) {
        double t = (double)i / SYNTH_RATE;
        double shell = (sin(2 * M_PI * 185 * t) + 0.6 * sin(2 * M_PI * 330 * t)) * exp(-t / 0.045);
        double wires = onePoleLow(lp, onePoleHigh(hp, synthNoise(rng))) * exp(-t / 0.085) * 1.6;
        out[i] = (float)(0.55 * shell + wires);
    }
    fadeIn(out, 20);
    return drumSample("snare", out);
}

// Noise through two high-pass stages; `decay` sets closed or open.
static ItSample makeHat(const char *name, float seconds, float decay, uint32_t seed)
{
    int frames = (int)(SYNTH_RATE * seconds);
    std::vector<float> out(frames);
    SynthRng rng;
    synthSeed(rng, seed);
    OnePole hp1 = onePole(6500), hp2 = onePole(6500);
    for (int i = 0; i < frames; i++) {
        double t = (double)i / SYNTH_RATE;
        out[i] = (float)(onePoleHigh(hp2, onePoleHigh(hp1, synthNoise(rng))) * exp(-t / decay));
    }
    fadeIn(out, 10);
    return drumSample(name, out);
}

// Bright noise plus a cluster of inharmonic partials that ring like metal.
static ItSample makeCrash()
{
    int frames = SYNTH_RATE * 16 / 10;
    std::vector<float> out(frames);
    SynthRng rng;
    synthSeed(rng, 0xC4A5u);
    OnePole hp = onePole(3500);
    const double partials[] = {3170, 4310, 5230, 6470, 7390, 8810};
    for (int i = 0; i < frames; i++) {
        double t = (double)i / SYNTH_RATE;
        double ring = 0;
        for (double hz : partials)
            ring += sin(2 * M_PI * hz * t + hz);
        double wash = onePoleHigh(hp, synthNoise(rng));
        out[i] = (float)((wash + 0.08 * ring) * exp(-t / 0.5));
    }
    fadeIn(out, 30);
    return drumSample("crash", out);
}

std::vector<ItSample> makeInstrumentSamples()
{
    std::vector<ItSample> s;
    s.push_back(makeKick());
    s.push_back(makeSnare());
    s.push_back(makeHat("closed hat", 0.07f, 0.016f, 0x4A7u));
    s.push_back(makeHat("open hat", 0.4f, 0.11f, 0x0A7u));
    s.push_back(makeCrash());

    // Bass: a saw with a sine under it, recorded at E-2 (period 535), the
    // filter closing from 2.8 kHz to 650 Hz as the pluck settles.
    static const Osc bass[] = {
        {{false, 60}, 1.0f, 0},
        {{false, 1}, 0.8f, 0},
    };
    s.push_back(makeTone({"bass", 535, 1, 60, SYNTH_RATE / 5, 0.7f, 2.0f, 2800, 650, bass, 2}));

    // Lead: a square and a slightly sharp saw, recorded at A-4 (period 100)
    // with 16 harmonics so the top notes stay below Nyquist; 120 cycles of
    // loop give a slow chorus beat.
    static const Osc lead[] = {
        {{true, 16}, 1.0f, 0},
        {{false, 16}, 0.5f, 1},
    };
    s.push_back(makeTone({"lead", 100, 120, 200, SYNTH_RATE / 4, 0.75f, 2.0f, 5000, 2600, lead, 2}));

    // Arpeggio: a short square pluck that dies away by itself.
    static const Osc arp[] = {
        {{true, 16}, 1.0f, 0},
    };
    s.push_back(makeTone({"pluck", 100, 0, 40, SYNTH_RATE / 2, 0.0f, 3.0f, 6000, 1200, arp, 1}));

    // Pad: a saw with two quieter ones a twelfth of a semitone either side
    // and a slow swell; kept quieter so the fundamental never beats away.
    static const Osc pad[] = {
        {{false, 28}, 1.0f, 0},
        {{false, 28}, 0.45f, 1},
        {{false, 28}, 0.45f, -1},
    };
    s.push_back(makeTone({"pad", 100, 200, SYNTH_RATE / 4, 1, 1.0f, 1.0f, 1700, 1700, pad, 3}));
    return s;
}
