// The generated sounds: the effects are clean PCM, libxmp (a player the
// game does not use) plays the soundtrack for over a minute, the module reads
// back byte by byte as a player walks it (that the generator writes the same
// bytes every time is the asset pack test's).
#include <gtest/gtest.h>
#include <xmp.h>
#include <math.h>
#include <stdlib.h>
#include <tuple>
#include "tests/support.h"
#include "tools/assetgen/assetgen.h"

typedef std::string Bytes;

// shot.wav, explode.wav and tnt22.it, made once per test process into a
// scratch directory that is removed when the process ends.
static std::string sound(const char *name)
{
    static struct Pack {
        std::string root = makeTempDir();
        bool made = makeSounds(root) && makeMusic(root);
        ~Pack() { removeTree(root); }
    } pack;
    EXPECT_TRUE(pack.made);
    return pack.root + "/data/sound/" + name;
}

static unsigned u16(const Bytes &b, size_t at) { return (uint8_t)b.at(at) | ((uint8_t)b.at(at + 1) << 8); }
static unsigned u32(const Bytes &b, size_t at) { return u16(b, at) | (u16(b, at + 2) << 16); }
static int s16(const Bytes &b, size_t at) { return (int16_t)u16(b, at); }

static double rms(const std::vector<int16_t> &s, size_t from, size_t to)
{
    double sum = 0;
    for (size_t i = from; i < to; i++)
        sum += (double)s[i] * s[i];
    return to > from ? sqrt(sum / (to - from)) : 0;
}

// The effects are 44100 Hz 16-bit PCM of the intended lengths, peak with
// headroom but audibly, and start and end at rest so starting or cutting one
// does not click. (That the game's mixer loads them and the music is start-up's
// test on the generated pack, which names any file it cannot load.)
TEST(SoundPack, EffectsAreCleanPcm)
{
    struct { const char *name; double seconds; } effects[] = { { "shot.wav", 0.15 }, { "explode.wav", 1.0 } };
    for (auto &e : effects) {
        SCOPED_TRACE(e.name);
        Bytes b = readString(sound(e.name));
        ASSERT_GE(b.size(), 44u);
        EXPECT_EQ(b.substr(0, 4) + b.substr(8, 8) + b.substr(36, 4), "RIFFWAVEfmt data");
        // RIFF size, PCM, rate, bytes per frame, bits per sample, data size
        ASSERT_EQ(std::make_tuple(u32(b, 4), u16(b, 20), u32(b, 24), u16(b, 32), u16(b, 34), u32(b, 40)),
                  std::make_tuple(b.size() - 8, 1u, 44100u, 2 * u16(b, 22), 16u, b.size() - 44));
        EXPECT_NEAR((b.size() - 44.0) / u16(b, 32) / 44100, e.seconds, 0.2 * e.seconds);
        int peak = 0;
        for (size_t at = 44; at + 1 < b.size(); at += 2)
            peak = std::max(peak, abs(s16(b, at)));
        EXPECT_LE(peak, 23197);                              // -3 dBFS
        EXPECT_GE(peak, 8192);                               // -12 dBFS
        EXPECT_LT(abs(s16(b, 44)) + abs(s16(b, b.size() - 2)), 300);
    }
}

// libxmp plays the soundtrack for over a minute, sounding throughout, never
// clipping, leaving room for the effects, and fading out at its end rather
// than stopping mid-note.
TEST(SoundPack, SoundtrackPlaysForOverAMinute)
{
    Bytes module = readString(sound("tnt22.it"));
    xmp_context ctx = xmp_create_context();
    ASSERT_EQ(xmp_load_module_from_memory(ctx, module.data(), (long)module.size()), 0);
    ASSERT_EQ(xmp_start_player(ctx, 44100, 0), 0);
    xmp_frame_info fi;
    xmp_get_frame_info(ctx, &fi);
    EXPECT_GE(fi.total_time, 60000);
    // the song played once (not looped) as interleaved stereo
    std::vector<int16_t> pcm, buf(2048);
    while (pcm.size() < 200 * 44100 * 2 && xmp_play_buffer(ctx, buf.data(), (int)buf.size() * 2, 1) == 0)
        pcm.insert(pcm.end(), buf.begin(), buf.end());
    xmp_end_player(ctx);
    xmp_release_module(ctx);
    xmp_free_context(ctx);
    const size_t second = 44100 * 2;
    ASSERT_GT(pcm.size(), 60 * second);
    EXPECT_LT(std::count_if(pcm.begin(), pcm.end(), [](int16_t v) { return abs(v) >= 32767; }), pcm.size() / 100000);
    for (size_t at = 0; at + 9 * second < pcm.size(); at += 5 * second)
        EXPECT_GT(rms(pcm, at, at + 5 * second), 600) << "quiet at " << at / second << " s";
    double body = rms(pcm, 20 * second, 50 * second);
    EXPECT_GT(body, 2000);
    EXPECT_LT(body, 9000);
    EXPECT_LT(rms(pcm, pcm.size() - second / 4, pcm.size()), body / 8);
}

// Walks one packed pattern as a player does: every cell has its own mask,
// the cells end exactly at the packed length, and there is one end-of-row
// byte per row.
static void walkPattern(const Bytes &b, size_t at, int *notes)
{
    unsigned length = u16(b, at), rows = u16(b, at + 2), rowEnds = 0;
    size_t p = at + 8, end = p + length;
    ASSERT_LE(end, b.size());
    while (p < end) {
        uint8_t chan = b[p++], mask;
        rowEnds += chan == 0;
        if (chan == 0)
            continue;
        ASSERT_TRUE((chan & 0x80) && p < end) << "channel byte without a mask at " << p;
        ASSERT_EQ((mask = b[p++]) & 0xF0, 0) << "reuse-last mask at " << p;
        *notes += mask & 1;
        p += (mask & 1) + ((mask >> 1) & 1) + ((mask >> 2) & 1) + ((mask & 8) ? 2 : 0);
    }
    EXPECT_EQ(p, end);
    EXPECT_EQ(rowEnds, rows);
}

TEST(SoundPack, ModuleReadsBackAsAPlayerWalksIt)
{
    Bytes b = readString(sound("tnt22.it"));
    ASSERT_EQ(b.substr(0, 4), "IMPM");
    unsigned ordNum = u16(b, 0x20), insNum = u16(b, 0x22), smpNum = u16(b, 0x24), patNum = u16(b, 0x26);
    ASSERT_GE(smpNum, 5u);                 // bass, lead and the drums at least
    ASSERT_GE(patNum, 4u);                 // a song in several sections
    // the order list plays real patterns and ends with 255
    size_t played = b.find('\xff', 0xC0) - 0xC0;
    EXPECT_TRUE(played >= 4 && played < ordNum) << played;
    for (size_t o = 0; o < played && o < ordNum; o++)
        EXPECT_LT((uint8_t)b[0xC0 + o], patNum);
    size_t smpTable = 0xC0 + ordNum + 4 * insNum, patTable = smpTable + 4 * smpNum;
    for (unsigned i = 0; i < smpNum; i++) {
        SCOPED_TRACE("sample " + std::to_string(i + 1));
        size_t h = u32(b, smpTable + 4 * i);
        ASSERT_EQ(b.substr(h, 4), "IMPS");
        uint8_t flags = b[h + 0x12];
        unsigned len = u32(b, h + 0x30), begin = u32(b, h + 0x34), end = u32(b, h + 0x38), data = u32(b, h + 0x48);
        ASSERT_EQ(flags & 0x0F, 0x03);                     // present, 16-bit, mono, uncompressed
        ASSERT_LE(data + 2 * len, b.size());
        if (!(flags & 0x10))
            continue;
        ASSERT_LT(begin, end);
        ASSERT_LE(end, len);
        // a seamless loop: the step from its last frame back to its first is
        // in line with the steps on either side of the seam
        auto at = [&](unsigned f) { return s16(b, data + 2 * f); };
        int local = std::max(abs(at(end - 1) - at(end - 2)), abs(at(begin + 1) - at(begin)));
        EXPECT_LE(abs(at(begin) - at(end - 1)), 2 * local + 64);
        // tuned through the C5 speed: C-5 (523.25 Hz, with A-4 at 440 Hz)
        // repeats every c5 / 523.25 frames, so the loop, played round, matches
        // itself shifted by that many frames
        unsigned lag = (unsigned)lrint(u32(b, h + 0x3C) / 523.251);
        double same = 0, energy = 0;
        for (unsigned f = begin; f < end; f++) {
            same += at(f) * at(begin + (f - begin + lag) % (end - begin));
            energy += at(f) * at(f);
        }
        EXPECT_GT(same / energy, 0.9) << "C-5 period " << lag;
    }
    int notes = 0;
    for (unsigned p = 0; p < patNum; p++) {
        SCOPED_TRACE("pattern " + std::to_string(p));
        walkPattern(b, u32(b, patTable + 4 * p), &notes);
    }
    EXPECT_GT(notes, 500);
}
