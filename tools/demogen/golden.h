// Golden demos: a demo played with checks, and the expected values kept
// beside it (name.expected): the summary line, the pixel hash of a few
// chosen passes, and the rules hash after every pass.
#ifndef TOOLS_DEMOGEN_GOLDEN_H
#define TOOLS_DEMOGEN_GOLDEN_H

#include <string>
#include <vector>
#include <stdint.h>

struct GoldenResult {
    std::string summary;
    std::vector<long> pixelPasses;      // counted from 1
    std::vector<uint32_t> pixelHashes;
    std::vector<uint32_t> trace;        // rules hash after each pass
};

// In this process: opens the demo for --timedemo, starts the game on the
// data pack in the working directory and plays the demo with checks. When
// passes is empty, four passes spread over the demo and its last are hashed.
// False (after printing why) when the demo cannot be opened.
// If allocations is given it receives the number of heap allocations the
// playback made after its first pass, counted by countAllocations. inSteps
// plays it one step at a time, as a web page does.
bool playGolden(const std::string &demo, GoldenResult *out,
                long (*countAllocations)() = nullptr, long *allocations = nullptr,
                bool inSteps = false);

std::string formatExpected(const GoldenResult &r);
bool parseExpected(const std::string &text, GoldenResult *out);

// The first pass (from 1) whose rules hash differs, or 0 when the traces
// agree; a shorter trace differs at its end.
long firstDifference(const std::vector<uint32_t> &want, const std::vector<uint32_t> &got);

#endif
