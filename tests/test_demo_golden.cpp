// The golden demos of tests/demos, each played in its own process (one test
// each) on a freshly generated data pack: the summary line, the pixels of the
// chosen passes and the rules state after every pass must be as kept, and the
// playback's own code must not allocate after its first pass (which starts
// the music: the module player takes its buffers then, once). What the SDL
// library allocates inside its flip and event pump over the same passes is
// printed beside it. When the rules or the drawing change on purpose,
// regenerate with `make demos` (which leaves the version 1 demo in v1/ as it
// was recorded).
#include <gtest/gtest.h>
#include <unistd.h>
#include "tests/support.h"
#include "tests/testinput.h"
#include "tests/alloccount.h"
#include "tools/demogen/golden.h"

// The playback reads the game's count at its first pass and after its last;
// the library's count is read at the same two moments.
static long libraryAtFirst, libraryAtLast;
static int countReads;
static long countGameAndLibrary()
{
    long library = libraryAllocationCount();
    if (countReads++ == 0)
        libraryAtFirst = library;
    libraryAtLast = library;
    return allocationCount();
}

static void playAndCompare(const char *name, bool inSteps = false)
{
    std::string pack = generatedPack(true);
    ASSERT_EQ(chdir(pack.c_str()), 0);

    std::string base = std::string(DEMO_DIR) + "/" + name;
    GoldenResult want;
    ASSERT_TRUE(parseExpected(readString(base + ".expected"), &want)) << base << ".expected";
    GoldenResult got;
    got.pixelPasses = want.pixelPasses;
    long allocations = -1;
    ASSERT_TRUE(playGolden(base + ".demo", &got, countGameAndLibrary, &allocations, inSteps));
    ASSERT_EQ(countReads, 2);
    expectSdlLibrary();
    long library = libraryAtLast - libraryAtFirst;
    SDL_version sdl = linkedSdlVersion();
    printf("%s on SDL %d.%d.%d: %ld passes; heap allocations after the first: game %ld,"
           " SDL library %ld (%.2f a pass)\n", name, sdl.major, sdl.minor, sdl.patch,
           (long)got.trace.size(), allocations, library,
           got.trace.empty() ? 0.0 : (double)library / got.trace.size());
    testing::Test::RecordProperty("library_allocations", (int)library);

    long first = firstDifference(want.trace, got.trace);
    EXPECT_EQ(first, 0) << name << ": the rules state first differs after pass " << first
                        << " of " << want.trace.size();
    EXPECT_EQ(got.summary, want.summary);
    for (size_t i = 0; i < want.pixelPasses.size(); i++)
        EXPECT_EQ(got.pixelHashes[i], want.pixelHashes[i])
            << name << ": the picture of pass " << want.pixelPasses[i] << " differs";
    EXPECT_EQ(allocations, 0) << "heap allocations by the game during playback";
}

TEST(GoldenDemo, Dogfight) { playAndCompare("dogfight"); }
TEST(GoldenDemo, DebugKeys) { playAndCompare("debugkeys"); }
TEST(GoldenDemo, Rammer) { playAndCompare("rammer"); }
// Played one step at a time, as a web page plays it, the demo is the same.
TEST(GoldenDemo, DogfightInSteps) { playAndCompare("dogfight", true); }
// A demo of the first format version, kept as it was recorded: it plays with
// a best of 0, the HUD and rules state exactly as before.
TEST(GoldenDemo, RammerVersion1) { playAndCompare("v1/rammer"); }
