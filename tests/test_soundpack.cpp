// The generated sounds: the game's mixer loads them, an independent module
// player plays the soundtrack for over a minute without silence or clipping,
// the effects are clean PCM, and the generator writes the same bytes every
// time.
#include <gtest/gtest.h>
#include <SDL/SDL.h>
#include <SDL/SDL_mixer.h>
#include <stdlib.h>
#include <string.h>
#include "tests/sound_helpers.h"

TEST(SoundPack, GameMixerLoadsMusicAndEffects)
{
    std::string dir = soundDir();
    ASSERT_EQ(SDL_Init(SDL_INIT_AUDIO), 0) << SDL_GetError();
    ASSERT_EQ(Mix_OpenAudio(44100, AUDIO_S16LSB, 2, 2048), 0) << Mix_GetError();
    int freq, channels;
    Uint16 format;
    Mix_QuerySpec(&freq, &format, &channels);
    double bytesPerSecond = freq * channels * 2.0;

    Mix_Music *music = Mix_LoadMUS((dir + "/tnt22.it").c_str());
    EXPECT_NE(music, nullptr) << Mix_GetError();
    Mix_Chunk *shot = Mix_LoadWAV_RW(SDL_RWFromFile((dir + "/shot.wav").c_str(), "rb"), 1);
    Mix_Chunk *boom = Mix_LoadWAV_RW(SDL_RWFromFile((dir + "/explode.wav").c_str(), "rb"), 1);
    ASSERT_NE(shot, nullptr) << Mix_GetError();
    ASSERT_NE(boom, nullptr) << Mix_GetError();
    EXPECT_NEAR(shot->alen / bytesPerSecond, 0.15, 0.05);
    EXPECT_NEAR(boom->alen / bytesPerSecond, 1.0, 0.2);
    EXPECT_LT(shot->alen, boom->alen);
    if (music) {
        EXPECT_EQ(Mix_PlayMusic(music, 0), 0) << Mix_GetError();
        EXPECT_TRUE(Mix_PlayingMusic());
        Mix_HaltMusic();
        Mix_FreeMusic(music);
    }
    Mix_FreeChunk(shot);
    Mix_FreeChunk(boom);
    Mix_CloseAudio();
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

// 44100 Hz 16-bit PCM, the intended lengths, peaks with headroom but audible,
// and both ends at rest so starting or cutting an effect does not click.
TEST(SoundPack, EffectsAreCleanPcmWaves)
{
    struct { const char *name; double minSec, maxSec; } effects[] = {
        {"shot.wav", 0.12, 0.2}, {"explode.wav", 0.8, 1.2}};
    for (auto &e : effects) {
        SCOPED_TRACE(e.name);
        std::vector<uint8_t> b = readAll(soundDir() + "/" + e.name);
        ASSERT_GE(b.size(), 44u);
        EXPECT_EQ(memcmp(&b[0], "RIFF", 4), 0);
        EXPECT_EQ(u32(b, 4), b.size() - 8);
        EXPECT_EQ(memcmp(&b[8], "WAVEfmt ", 8), 0);
        EXPECT_EQ(u16(b, 20), 1u);                          // PCM
        unsigned channels = u16(b, 22);
        EXPECT_TRUE(channels == 1 || channels == 2);
        EXPECT_EQ(u32(b, 24), 44100u);
        EXPECT_EQ(u16(b, 32), 2 * channels);
        EXPECT_EQ(u16(b, 34), 16u);
        EXPECT_EQ(memcmp(&b[36], "data", 4), 0);
        ASSERT_EQ(u32(b, 40), b.size() - 44);
        size_t samples = (b.size() - 44) / 2;
        double seconds = (double)samples / channels / 44100;
        EXPECT_GE(seconds, e.minSec);
        EXPECT_LE(seconds, e.maxSec);
        int peak = 0;
        for (size_t i = 0; i < samples; i++)
            peak = std::max(peak, abs(s16(b, 44 + 2 * i)));
        EXPECT_LE(peak, 23197);                              // -3 dBFS
        EXPECT_GE(peak, 8192);                               // -12 dBFS
        EXPECT_LT(abs(s16(b, 44)), 300);
        EXPECT_LT(abs(s16(b, b.size() - 2)), 300);
    }
}

// libxmp, a player the game does not use, must agree the soundtrack is a
// full-length piece: over a minute, sounding throughout, never clipping, and
// fading to silence at its end rather than stopping mid-note.
TEST(SoundPack, SoundtrackPlaysForOverAMinute)
{
    int totalMs = 0;
    std::vector<int16_t> pcm = renderXmp(soundDir() + "/tnt22.it", 200, &totalMs);
    EXPECT_GE(totalMs, 60000);
    EXPECT_LE(totalMs, 120000);
    double seconds = pcm.size() / 2 / 44100.0;
    EXPECT_NEAR(seconds, totalMs / 1000.0, 0.5);
    ASSERT_GT(seconds, 60);

    const size_t second = 44100 * 2;
    size_t clipped = 0;
    for (int16_t v : pcm)
        clipped += v >= 32767 || v <= -32767;
    EXPECT_LT(clipped, pcm.size() / 100000);
    // every 5-second stretch before the fade-out is clearly audible
    for (size_t at = 0; at + 5 * second < pcm.size() - 4 * second; at += 5 * second)
        EXPECT_GT(rms(pcm, at, at + 5 * second), 600) << "quiet at " << at / second << " s";
    double body = rms(pcm, 20 * second, 50 * second);
    EXPECT_GT(body, 2000);
    EXPECT_LT(body, 9000);                                   // room left for the effects
    double tail = rms(pcm, pcm.size() - second / 4, pcm.size());
    EXPECT_LT(tail, body / 8);
}

TEST(SoundPack, GenerationIsDeterministic)
{
    std::string again = makeTempDir();
    ASSERT_TRUE(makeSounds(again));
    ASSERT_TRUE(makeMusic(again));
    for (const char *name : {"shot.wav", "explode.wav", "tnt22.it"}) {
        std::vector<uint8_t> a = readAll(soundDir() + "/" + name);
        std::vector<uint8_t> b = readAll(again + "/data/sound/" + name);
        EXPECT_FALSE(a.empty()) << name;
        EXPECT_TRUE(a == b) << name;
    }
    removeSoundTree(again);
}
