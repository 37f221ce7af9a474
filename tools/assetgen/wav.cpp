// The two sound effects: a short falling "pew" for the ship's shot and a
// one-second explosion. Both are synthesized here and written as mono 16-bit
// 44100 Hz PCM WAV files; the mixer converts them to the device format.
#include "tools/assetgen/assetgen.h"
#include "tools/assetgen/music_synth.h"

#include <math.h>

// Peaks stay at about -3.5 dBFS so that effects stacked on the music have
// headroom before the mixer clips.
static const float EFFECT_PEAK = 0.67f;

static void putTag(std::vector<uint8_t> &b, const char *tag)
{
    for (int i = 0; i < 4; i++)
        b.push_back((uint8_t)tag[i]);
}

// The canonical 44-byte RIFF header, one fmt chunk, one data chunk.
static std::vector<uint8_t> wavBytes(const std::vector<int16_t> &pcm)
{
    unsigned dataBytes = (unsigned)pcm.size() * 2;
    std::vector<uint8_t> b;
    putTag(b, "RIFF");
    put32(b, 36 + dataBytes);
    putTag(b, "WAVE");
    putTag(b, "fmt ");
    put32(b, 16);
    put16(b, 1);                 // PCM
    put16(b, 1);                 // mono
    put32(b, SYNTH_RATE);
    put32(b, SYNTH_RATE * 2);    // bytes per second
    put16(b, 2);                 // bytes per frame
    put16(b, 16);                // bits per sample
    putTag(b, "data");
    put32(b, dataBytes);
    for (int16_t s : pcm)
        put16(b, (uint16_t)s);
    return b;
}

// A square wave whose pitch falls from 1800 Hz towards 320 Hz, summed from
// its odd harmonics below Nyquist so the sweep does not alias, with a short
// burst of high-passed noise on top for the click of the shot.
static std::vector<float> makeShot()
{
    const int frames = SYNTH_RATE * 15 / 100;
    std::vector<float> out(frames, 0.0f);
    SynthRng rng;
    synthSeed(rng, 0x5407u);
    OnePole hp = onePole(2500);
    double phase = 0;
    for (int i = 0; i < frames; i++) {
        double t = (double)i / SYNTH_RATE;
        double hz = 320 + 1480 * exp(-t / 0.032);
        phase += hz / SYNTH_RATE;
        phase -= floor(phase);
        double sum = 0;
        for (int h = 1; h * hz < 16000; h += 2)
            sum += sin(2 * M_PI * h * phase) / h;
        double tone = sum * exp(-t / 0.055);
        double click = onePoleHigh(hp, synthNoise(rng)) * exp(-t / 0.006) * 0.8;
        out[i] = (float)(tone + click);
    }
    fadeIn(out, SYNTH_RATE / 1000);
    fadeOut(out, SYNTH_RATE / 100);
    normalizePeak(out, EFFECT_PEAK);
    return out;
}

// Three layers: noise through a low-pass whose cutoff sinks from 3 kHz to a
// rumble, a falling sine thump for the body, and sparse crackles of bright
// noise that thin out as the blast dies.
static std::vector<float> makeExplosion()
{
    const int frames = SYNTH_RATE;
    std::vector<float> out(frames, 0.0f);
    SynthRng rng;
    synthSeed(rng, 0xB0014u);
    OnePole lp1 = onePole(3000), lp2 = onePole(3000), crackleHp = onePole(3000);
    double thumpPhase = 0;
    int crackleLeft = 0;
    float crackleGain = 0;
    for (int i = 0; i < frames; i++) {
        double t = (double)i / SYNTH_RATE;
        if (i % 64 == 0) {                       // retune the sweep every 64 frames
            float cutoff = (float)(250 + 2800 * exp(-t / 0.18));
            onePoleRetune(lp1, cutoff);
            onePoleRetune(lp2, cutoff);
        }
        float n = synthNoise(rng);
        double body = onePoleLow(lp2, onePoleLow(lp1, n)) * 2.2 * exp(-t / 0.32);

        double hz = 38 + 70 * exp(-t / 0.07);
        thumpPhase += hz / SYNTH_RATE;
        double thump = sin(2 * M_PI * thumpPhase) * exp(-t / 0.16) * 0.9;

        if (crackleLeft == 0 && synthNoise(rng) > 1.0f - 0.004f * (float)exp(-t / 0.35)) {
            crackleLeft = 40 + (int)((synthNoise(rng) + 1) * 60);
            crackleGain = 0.25f + 0.2f * synthNoise(rng);
        }
        double crackle = 0;
        if (crackleLeft > 0) {
            crackle = onePoleHigh(crackleHp, synthNoise(rng)) * crackleGain * exp(-t / 0.5);
            crackleLeft--;
        }
        out[i] = (float)(body + thump + crackle);
    }
    fadeIn(out, SYNTH_RATE / 500);
    fadeOut(out, SYNTH_RATE / 20);
    normalizePeak(out, EFFECT_PEAK);
    return out;
}

bool makeSounds(const std::string &root)
{
    std::string dir = root + "/data/sound";
    if (!makeDirs(dir))
        return false;
    return writeFile(dir + "/shot.wav", wavBytes(toPcm16(makeShot())))
           && writeFile(dir + "/explode.wav", wavBytes(toPcm16(makeExplosion())));
}
