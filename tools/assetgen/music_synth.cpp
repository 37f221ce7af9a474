#include "tools/assetgen/music_synth.h"

#include <math.h>

void synthSeed(SynthRng &r, uint32_t seed)
{
    r.state = seed ? seed : 0x9E3779B9u;   // xorshift must never hold 0
}

float synthNoise(SynthRng &r)
{
    uint32_t x = r.state;
    x ^= x << 13;
    x ^= x >> 17;
    x ^= x << 5;
    r.state = x;
    return (float)((double)x / 2147483648.0 - 1.0);
}

OnePole onePole(float cutoffHz)
{
    OnePole f;
    f.y = 0;
    onePoleRetune(f, cutoffHz);
    return f;
}

void onePoleRetune(OnePole &f, float cutoffHz)
{
    f.a = 1.0f - (float)exp(-2.0 * M_PI * cutoffHz / SYNTH_RATE);
}

float onePoleLow(OnePole &f, float x)
{
    f.y += f.a * (x - f.y);
    return f.y;
}

float onePoleHigh(OnePole &f, float x)
{
    return x - onePoleLow(f, x);
}

void addHarmonics(std::vector<float> &out, double cyclesPerFrame, double phase,
                  const Spectrum &s, float gain, const std::vector<float> &amp,
                  const std::vector<float> &cutoff)
{
    double hz = cyclesPerFrame * SYNTH_RATE;
    for (size_t i = 0; i < out.size(); i++) {
        double p = phase + cyclesPerFrame * i;
        p -= floor(p);
        double theta = 2.0 * M_PI * p;
        double c1 = cos(theta), s1 = sin(theta);
        double ch = c1, sh = s1;                 // cos/sin of h*theta, by rotation
        double fc = cutoff[i];
        double sum = 0;
        for (int h = 1; h <= s.maxHarmonic && h * hz < 0.45 * SYNTH_RATE; h++) {
            if (!s.squareish || (h & 1)) {
                double r = h * hz / fc;
                sum += sh / (h * sqrt(1.0 + r * r * r * r));
            }
            double nc = ch * c1 - sh * s1;
            sh = sh * c1 + ch * s1;
            ch = nc;
        }
        out[i] += (float)(sum * gain * amp[i]);
    }
}

void fadeIn(std::vector<float> &buf, int n)
{
    for (int i = 0; i < n && i < (int)buf.size(); i++)
        buf[i] *= (float)i / n;
}

void fadeOut(std::vector<float> &buf, int n)
{
    int size = (int)buf.size();
    for (int i = 0; i < n && i < size; i++)
        buf[size - 1 - i] *= (float)i / n;
}

void normalizePeak(std::vector<float> &buf, float peak)
{
    float big = 0;
    for (float v : buf)
        big = fmaxf(big, fabsf(v));
    if (big <= 0)
        return;
    for (float &v : buf)
        v *= peak / big;
}

std::vector<int16_t> toPcm16(const std::vector<float> &buf)
{
    std::vector<int16_t> out(buf.size());
    for (size_t i = 0; i < buf.size(); i++) {
        long v = lrintf(buf[i] * 32767.0f);
        out[i] = (int16_t)(v > 32767 ? 32767 : v < -32767 ? -32767 : v);
    }
    return out;
}
