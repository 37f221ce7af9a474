// Helpers for the sound tests: the generated sound files (made once per test
// process), little-endian readers and a libxmp renderer.
#ifndef TESTS_SOUND_HELPERS_H
#define TESTS_SOUND_HELPERS_H

#include <gtest/gtest.h>
#include <xmp.h>
#include <math.h>
#include <stdio.h>
#include <stdlib.h>
#include <unistd.h>
#include <string>
#include <vector>
#include "tests/support.h"
#include "tools/assetgen/assetgen.h"

// Removes what makeSounds/makeMusic wrote below root, and root itself.
inline void removeSoundTree(const std::string &root)
{
    for (const char *name : {"shot.wav", "explode.wav", "tnt22.it"})
        remove((root + "/data/sound/" + name).c_str());
    rmdir((root + "/data/sound").c_str());
    rmdir((root + "/data").c_str());
    rmdir(root.c_str());
}

inline std::string &soundRoot()
{
    static std::string root;
    return root;
}

inline void removeSoundRoot() { removeSoundTree(soundRoot()); }

// The directory holding shot.wav, explode.wav and tnt22.it, generated once
// per test process and removed when it ends.
inline std::string soundDir()
{
    if (soundRoot().empty()) {
        soundRoot() = makeTempDir();
        EXPECT_TRUE(makeSounds(soundRoot()));
        EXPECT_TRUE(makeMusic(soundRoot()));
        atexit(removeSoundRoot);
    }
    return soundRoot() + "/data/sound";
}

inline std::vector<uint8_t> readAll(const std::string &path)
{
    std::string s = readString(path);
    return std::vector<uint8_t>(s.begin(), s.end());
}

inline unsigned u16(const std::vector<uint8_t> &b, size_t at) { return b[at] | (b[at + 1] << 8); }
inline unsigned u32(const std::vector<uint8_t> &b, size_t at) { return u16(b, at) | (u16(b, at + 2) << 16); }
inline int s16(const std::vector<uint8_t> &b, size_t at) { return (int16_t)u16(b, at); }

// Renders `seconds` of a module file with libxmp as interleaved stereo.
inline std::vector<int16_t> renderXmp(const std::string &path, double seconds, int *totalMs)
{
    std::vector<int16_t> out;
    xmp_context ctx = xmp_create_context();
    EXPECT_EQ(xmp_load_module(ctx, (char *)path.c_str()), 0) << path;
    EXPECT_EQ(xmp_start_player(ctx, 44100, 0), 0);
    xmp_frame_info fi;
    xmp_get_frame_info(ctx, &fi);
    if (totalMs)
        *totalMs = fi.total_time;
    std::vector<int16_t> buf(2048);
    while (out.size() < seconds * 44100 * 2) {
        xmp_get_frame_info(ctx, &fi);
        if (fi.loop_count > 0 || xmp_play_buffer(ctx, buf.data(), (int)buf.size() * 2, 1) != 0)
            break;
        out.insert(out.end(), buf.begin(), buf.end());
    }
    xmp_end_player(ctx);
    xmp_release_module(ctx);
    xmp_free_context(ctx);
    return out;
}

inline double rms(const std::vector<int16_t> &s, size_t from, size_t to)
{
    double sum = 0;
    for (size_t i = from; i < to; i++)
        sum += (double)s[i] * s[i];
    return to > from ? sqrt(sum / (to - from)) : 0;
}

#endif
