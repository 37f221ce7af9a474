// The demo file: what is written is read back exactly, a minute of busy play
// fits its budget, every kind of broken file is refused with its reason, and
// the game itself refuses, warns and never touches the best score as it should.
#include <gtest/gtest.h>
#include <errno.h>
#include <limits.h>
#include <stdlib.h>
#include <string.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <dirent.h>
#include <signal.h>
#include <filesystem>
#include <memory>
#include <tuple>
#include <vector>
#include "tests/support.h"
#include "demo/demofile.h"
#include "demo/demo.h"
#include "game/options.h"
#include "game/startup.h"

static DemoHeader header()
{
    DemoHeader h = {};
    h.formatVersion = demoFormatVersion;
    strcpy(h.gameVersion, "1.0");
    h.seed = 0xDEADBEEF;
    h.fingerprint = 0x12345678;
    h.entryTicks = 0xFFFFFF00u;     // the first passes wrap the tick counter
    h.bestScore = -17;
    return h;
}

// Writes passes through the real writer and gives back the file's bytes.
static std::vector<uint8_t> writeDemo(const std::vector<PassInput> &passes, long *counted = nullptr)
{
    std::string path = makeTempDir() + "/d.demo";
    static DemoWriter w;
    startDemoWriter(&w, fopen(path.c_str(), "wb"), header());
    for (const PassInput &in : passes)
        writeDemoPass(&w, in);
    long bytes = w.bytes + 5;
    EXPECT_EQ(closeDemoWriter(&w), 0);
    if (counted)
        *counted = bytes;
    std::string s = readString(path);
    return std::vector<uint8_t>(s.begin(), s.end());
}

static PassInput pass(Uint32 ticks, Uint16 held)
{
    PassInput in = {};
    in.ticks = ticks;
    in.held = held;
    return in;
}

static std::vector<PassInput> variedPasses()
{
    std::vector<PassInput> v;
    Uint32 t = header().entryTicks;
    const Uint32 deltas[] = { 0, 1, 14, 15, 16, 127, 128, 300000, 0x7FFFFFFFu };
    for (Uint32 d : deltas)
        v.push_back(pass(t += d, (Uint16)(d & 0x1FF)));
    v.push_back(pass(t += 10, 0x1FF));
    for (int i = 0; i < maxPassEvents; i++)
        addPassEvent(&v.back(), 1 + i % passEventLast);
    v.push_back(pass(t += 3, 0x1FF));
    PassInput &c = v.back();
    for (int i = 0; i < maxPassClocks; i++) {
        c.clockAt[i] = (Uint16)(i == maxPassClocks - 1 ? 0xFFFF : i * 3);
        c.clockValue[i] = t + (i % 2 ? 0xFFFFFFF0u : 5) + i;
    }
    c.clockCount = maxPassClocks;
    addPassEvent(&c, passEventLast);
    return v;
}

// Why the reader refuses the bytes, or "accepted".
static std::string refusal(std::vector<uint8_t> bytes)
{
    DemoReader r;
    DemoHeader h;
    char err[160] = "";
    if (openDemoBuffer(&r, &h, bytes.data(), bytes.size(), err, sizeof err))
        return "accepted";
    return err;
}

// A demo of the first format version has no best score in its header: it
// is read as one that started from a best of 0, the rest as in version 2.
TEST(DemoFile, WhatIsWrittenIsReadBackExactlyInBothVersions)
{
    std::vector<PassInput> passes = variedPasses();
    long counted = 0;
    std::vector<uint8_t> v2 = writeDemo(passes, &counted);
    EXPECT_EQ((long)v2.size(), counted);
    const size_t bestAt = 8 + 2 + 1 + 3 + 12;
    std::vector<uint8_t> v1(v2.begin(), v2.begin() + bestAt);
    v1.insert(v1.end(), v2.begin() + bestAt + 4, v2.end());
    v1[8] = 1;

    for (const std::vector<uint8_t> &bytes : { v2, v1 }) {
        int version = bytes[8];
        SCOPED_TRACE(version);
        DemoReader r;
        DemoHeader h;
        char err[160] = "";
        ASSERT_TRUE(openDemoBuffer(&r, &h, bytes.data(), bytes.size(), err, sizeof err)) << err;
        EXPECT_EQ(std::make_tuple(std::string(h.gameVersion), h.seed, h.fingerprint, h.entryTicks, h.formatVersion,
                                  h.bestScore),
                  std::make_tuple(std::string("1.0"), 0xDEADBEEFu, 0x12345678u, 0xFFFFFF00u, version,
                                  version == 2 ? -17 : 0));
        EXPECT_EQ(r.totalPasses, (long)passes.size());
        for (const PassInput &want : passes) {
            PassInput got;
            ASSERT_EQ(readDemoPass(&r, &got, err, sizeof err), 1) << err;
            EXPECT_EQ(got.ticks, want.ticks);
            EXPECT_EQ(got.held, want.held);
            ASSERT_EQ(got.eventCount, want.eventCount);
            EXPECT_EQ(memcmp(got.events, want.events, want.eventCount), 0);
            ASSERT_EQ(got.clockCount, want.clockCount);
            for (int i = 0; i < want.clockCount; i++) {
                EXPECT_EQ(got.clockAt[i], want.clockAt[i]);
                EXPECT_EQ(got.clockValue[i], want.clockValue[i]);
            }
        }
        PassInput end;
        EXPECT_EQ(readDemoPass(&r, &end, err, sizeof err), 0);
    }
    // A version 1 header cut short is still refused.
    EXPECT_EQ(refusal(std::vector<uint8_t>(v1.begin(), v1.begin() + bestAt - 1)), "truncated in the header");
    // The kept version 1 golden demo is one.
    EXPECT_EQ(readString(std::string(DEMO_DIR) + "/v1/rammer.demo").substr(8, 2), std::string("\x01\x00", 2));
}

// A minute at 600 passes a second, busier than play: passes of 1 or 2 ms,
// the keys changing five times a second, ten shots a second, and in every
// other pass a clock reading that moved while the sprites were drawn.
TEST(DemoFile, AMinuteAt600PassesASecondFitsIn128KB)
{
    std::vector<PassInput> passes;
    Uint32 t = header().entryTicks;
    for (int i = 0; i < 600 * 60; i++) {
        t += i % 3 == 0 ? 1 : 2;
        PassInput in = pass(t, (Uint16)((i / 120) % 16));
        if (i % 60 == 0)
            addPassEvent(&in, 3);
        if (i % 2 == 0) {
            in.clockAt[0] = (Uint16)(40 + i % 30);
            in.clockValue[0] = t + 1;
            in.clockCount = 1;
        }
        passes.push_back(in);
    }
    long bytes = 0;
    writeDemo(passes, &bytes);
    // The promise is 128 KB; the encoding keeps this minute near 90 KB, and
    // held keys written on every pass instead of when they change take it
    // to 124 KB, still under the promise: the tighter bound catches that.
    EXPECT_LE(bytes, 96 * 1024);
    printf("a minute at 600 passes/s: %ld bytes, %.2f bytes a pass\n", bytes, bytes / 36000.0);
}

// A full disk is reported when the demo is closed, not taken for success.
TEST(DemoFile, AWriteThatFailsIsReported)
{
    static DemoWriter w;
    startDemoWriter(&w, fopen("/dev/full", "wb"), header());
    for (int i = 0; i < 10000; i++)
        writeDemoPass(&w, pass(header().entryTicks + i, 0));
    EXPECT_EQ(closeDemoWriter(&w), ENOSPC);
}

TEST(DemoFile, BrokenFilesAreRefusedWithTheirReason)
{
    std::vector<PassInput> passes = { pass(0xFFFFFF0A, 0) };
    addPassEvent(&passes[0], passFire);
    const std::vector<uint8_t> good = writeDemo(passes);
    const size_t headerSize = 8 + 2 + 1 + 3 + 16;
    ASSERT_EQ(good.size(), headerSize + 3 + 5);   // flags, count, event; trailer
    EXPECT_EQ(refusal(good), "accepted");

    // Cut anywhere: refused, never read past the end.
    for (size_t n = 0; n < good.size(); n++)
        EXPECT_NE(refusal(std::vector<uint8_t>(good.begin(), good.begin() + n)), "accepted") << n;
    EXPECT_EQ(refusal({}), "the file is empty");
    EXPECT_EQ(refusal(std::vector<uint8_t>(good.begin(), good.begin() + 12)), "truncated in the header");
    EXPECT_EQ(refusal(std::vector<uint8_t>(good.begin(), good.end() - 5)),
              "truncated (no end marker) at pass 2");

    const std::string unknownEvent = "unknown event code " + std::to_string(passEventLast + 1) + " at pass 1";
    struct Patch { size_t at; uint8_t value; std::string reason; } patches[] = {
        { 0, 'X', "not a demo file (wrong magic)" },
        { 8, 3, "demo format version 3, this game reads versions 1 to 2" },
        { 8, 0, "demo format version 0, this game reads versions 1 to 2" },
        { 10, 0, "bad game version in the header" },
        { headerSize + 1, 0, "event count 0 out of range at pass 1" },
        { headerSize + 1, maxPassEvents + 1, "event count 65 out of range at pass 1" },
        { headerSize + 2, passEventLast + 1, unknownEvent },
        { headerSize + 2, 0, "unknown event code 0 at pass 1" },
        { headerSize, 0x81, "bad pass flags at pass 1" },
        { headerSize + 4, 2, "end marker counts 2 passes, the file holds 1" },
    };
    for (const Patch &p : patches) {
        std::vector<uint8_t> bad = good;
        bad[p.at] = p.value;
        EXPECT_EQ(refusal(bad), p.reason);
    }

    std::vector<uint8_t> longer = good;
    longer.push_back(0);
    EXPECT_EQ(refusal(longer), "data after the end marker");
    // A first pass of bytes made by hand after a good header.
    const struct { std::vector<uint8_t> pass; const char *reason; } handMade[] = {
        // Held keys beyond the known ones; a varint longer than 32 bits.
        { { 0x10, 0x80, 0x04, 0x80, 1, 0, 0, 0 }, "held keys out of range at pass 1" },
        { { 0x0F, 0xFF, 0xFF, 0xFF, 0xFF, 0x7F }, "number too long at pass 1" },
        // A tick delta of 2^31 ms or more, which would drive the world clock
        // negative (the largest below it is read back exactly above).
        { { 0x0F, 0x80, 0x80, 0x80, 0x80, 0x08 }, "tick delta out of range at pass 1" },
        // A clock reading count beyond the record.
        { { 0x40, maxPassClocks + 1 }, "clock reading count 65 out of range at pass 1" },
    };
    for (const auto &h : handMade) {
        std::vector<uint8_t> bytes(good.begin(), good.begin() + headerSize);
        bytes.insert(bytes.end(), h.pass.begin(), h.pass.end());
        EXPECT_EQ(refusal(bytes), h.reason);
    }
}

TEST(DemoFile, TheGameRefusesBadDemosAndWarnsOnOtherData)
{
    std::string dir = generatedPack(true);
    std::string abs = std::filesystem::canonical(dir);
    // Demo files are named by their absolute paths.
    std::string out, err;
    EXPECT_EQ(runGameIn(dir, "--play nosuch.demo", &out, &err), 2);
    EXPECT_EQ(err, "driftwing: demo '" + abs + "/nosuch.demo': cannot open (No such file or directory)\n");
    writeString(dir + "/junk.demo", "DWDEMO\r\n\x01");
    EXPECT_EQ(runGameIn(dir, "--timedemo junk.demo", &out, &err), 2);
    EXPECT_EQ(err, "driftwing: demo '" + abs + "/junk.demo': truncated in the header\n");
    EXPECT_EQ(runGameIn(dir, "--record /nonexistent/dir/x.demo", &out, &err), 2);
    EXPECT_EQ(err.rfind("driftwing: demo '/nonexistent/dir/x.demo': cannot create", 0), 0u) << err;

    // Another version and other data: one warning each, then the demo plays
    // to its usual end, and the best score is neither read nor written.
    std::string demo = readString(std::string(DEMO_DIR) + "/debugkeys.demo");
    std::string expected = readString(std::string(DEMO_DIR) + "/debugkeys.expected");
    ASSERT_GT(demo.size(), 30u);
    demo[13] = '9';         // "1.0" -> "1.9"
    demo[18] ^= 0x55;       // the data fingerprint
    writeString(dir + "/other.demo", demo);
    writeString(dir + "/high1", "999999");
    EXPECT_EQ(runGameIn(dir, "--timedemo other.demo", &out, &err), 0);
    EXPECT_NE(err.find("driftwing: demo '" + abs + "/other.demo' was recorded by version 1.9, this is 1.0;"
                       " playing anyway\n"), std::string::npos) << err;
    EXPECT_NE(err.find("driftwing: demo '" + abs + "/other.demo' was recorded with other game data;"
                       " playing anyway\n"), std::string::npos) << err;
    std::string summary = expected.substr(8, expected.find('\n') - 8);
    EXPECT_NE(out.find(summary + ", "), std::string::npos) << out;
    EXPECT_NE(out.find(" passes/s\n"), std::string::npos) << out;
    EXPECT_EQ(readString(dir + "/high1"), "999999");

    // A summary that cannot be written is a failure.
    int status = 0;
    runCommand("cd " + dir + " && " + DRIFTWING_PATH + " --timedemo other.demo >/dev/full 2>err.txt", &status);
    EXPECT_EQ(status, 1);
    err = readString(dir + "/err.txt");
    EXPECT_NE(err.find("driftwing: cannot write to standard output (No space left on device)\n"),
              std::string::npos) << err;
}

// How many names in a folder look like a demo's temporary file.
static std::string leftovers(const std::string &dir)
{
    int status = 0;
    return runCommand("ls -A " + dir + " | grep -c '\\.demo\\.'", &status);
}

TEST(DemoFile, ARecordingReplacesAnOlderDemoOnlyWhenItEnds)
{
    std::string dir = generatedPack(true);
    writeString(dir + "/old.demo", "an older demo");
    chmod((dir + "/old.demo").c_str(), 0640);
    ASSERT_EQ(mkdir((dir + "/kept").c_str(), 0700), 0);
    writeString(dir + "/kept/linked.demo", "another older demo");
    ASSERT_EQ(symlink("kept/linked.demo", (dir + "/link.demo").c_str()), 0);
    std::string out, err;

    // A game that cannot start leaves the older demo as it was.
    EXPECT_EQ(runGameIn(dir, "--record old.demo", &out, &err, "SDL_VIDEODRIVER=nosuch"), 1);
    EXPECT_EQ(readString(dir + "/old.demo"), "an older demo");
    EXPECT_EQ(leftovers(dir), "0\n");

    // Three recordings at once, ended by a hang-up once each takes it: over
    // the older demo, over the file a link names, and into a device. While
    // they play the older demos stand; afterwards each holds its new demo,
    // with its old bits, the link still a link and the device still a device.
    std::vector<std::unique_ptr<GameChild>> games;
    for (const char *to : { "old.demo", "link.demo", "/dev/null" }) {
        games.emplace_back(new GameChild(dir, { "--record", to }));
        EXPECT_TRUE(takesQuitSignals(games.back()->pid)) << to;
    }
    EXPECT_EQ(readString(dir + "/old.demo") + readString(dir + "/kept/linked.demo"),
              "an older demoanother older demo");
    for (auto &g : games) {
        kill(g->pid, SIGHUP);
        EXPECT_TRUE(g->waitEnd(60));
        EXPECT_EQ(g->status, 0);
    }
    EXPECT_EQ(readString(dir + "/old.demo").substr(0, 8), "DWDEMO\r\n");
    EXPECT_EQ(readString(dir + "/kept/linked.demo").substr(0, 8), "DWDEMO\r\n");
    EXPECT_EQ(std::filesystem::status(dir + "/old.demo").permissions(), std::filesystem::perms(0640));
    EXPECT_TRUE(std::filesystem::is_symlink(dir + "/link.demo"));
    EXPECT_TRUE(std::filesystem::is_character_file("/dev/null"));
    EXPECT_EQ(leftovers(dir) + leftovers(dir + "/kept"), "0\n0\n");
    EXPECT_EQ(runGameIn(dir, "--timedemo old.demo", &out, &err), 0) << err;
}

// A scripted game for the size limit: a pass every 10 ms, the keys changing
// in every pass and a shot in every fifth.
static long scriptedPasses;
static Uint32 scriptedNow = 1000;
static Uint32 scriptedClock() { return scriptedNow; }
static bool scriptedPass(PassInput *in)
{
    if (++scriptedPasses > 1000000)
        return false;
    scriptedNow += 10;
    in->ticks = scriptedNow;
    in->held = scriptedPasses % 2 ? heldUp : heldDown;
    in->eventCount = 0;
    if (scriptedPasses % 5 == 0)
        addPassEvent(in, passFire);
    return true;
}

// The recorder stops where the player would refuse the file: a limit of a
// few kilobytes stands in for 64 MiB.
TEST(DemoFile, TheRecorderStopsWhereThePlayerStopsReading)
{
    std::string dir = makeTempDir();
    ASSERT_EQ(chdir(dir.c_str()), 0);
    static std::string path;
    path = dir + "/long.demo";
    const size_t limit = 4000;

    int status = inChild([&] {
        demoSizeLimit = limit;
        options.recordFile = path.c_str();
        if (openDemo() >= 0)
            return 3;
        bestScoreKept = 0;
        startSystems();
        recordPasses(scriptedPass, scriptedClock, 0);
        return scriptedPasses < 1000000 ? demoExitStatus() : 4;
    }, dir + "/record");
    EXPECT_EQ(status, 0);
    std::string demo = readString(path);
    EXPECT_LE(demo.size(), limit);
    EXPECT_GT(demo.size(), limit - 800);    // less than the largest pass short
    EXPECT_EQ(readString(dir + "/record.err"),
              "driftwing: demo '" + path + "': the recording stopped at the largest size a demo"
              " may have (4000 bytes)\n");
    std::string recorded = readString(dir + "/record.out");

    // Played back under the same limit: read whole, and the same game.
    status = inChild([&] {
        demoSizeLimit = limit;
        options.timedemoFile = path.c_str();
        if (openDemo() >= 0)
            return 3;
        startSystems();
        runDemoLoop();
        return demoExitStatus();
    }, dir + "/play");
    EXPECT_EQ(status, 0) << readString(dir + "/play.err");
    std::string played = readString(dir + "/play.out");
    ASSERT_GT(recorded.size(), 1u);
    EXPECT_EQ(played.substr(0, recorded.size() - 1), recorded.substr(0, recorded.size() - 1));

    // One byte more is past what the player reads.
    writeString(path, demo + std::string(limit + 1 - demo.size(), '\0'));
    status = inChild([&] {
        demoSizeLimit = limit;
        options.timedemoFile = path.c_str();
        return openDemo();
    }, dir + "/long");
    EXPECT_EQ(status, 2);
    EXPECT_EQ(readString(dir + "/long.err"), "driftwing: demo '" + path + "': too large to be a demo\n");
}
