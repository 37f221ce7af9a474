#include "tools/demogen/golden.h"

#include <stdio.h>
#include <string.h>
#include <sstream>
#include "demo/demo.h"
#include "game/loop.h"
#include "game/options.h"
#include "game/startup.h"

extern DemoReader demoReader;

bool playGolden(const std::string &demo, GoldenResult *out,
                long (*countAllocations)(), long *allocations, bool inSteps)
{
    static std::string path;
    path = demo;
    options.timedemoFile = path.c_str();
    if (openDemo() >= 0)
        return false;
    startSystems();
    loadAssets();

    long total = demoReader.totalPasses;
    if (out->pixelPasses.empty()) {
        for (int k = 1; k <= 4; k++)
            out->pixelPasses.push_back(total * k / 5 > 0 ? total * k / 5 : 1);
        out->pixelPasses.push_back(total);
    }
    out->pixelHashes.assign(out->pixelPasses.size(), 0);
    out->trace.assign(total, 0);
    static DemoChecks checks;
    checks.trace = out->trace.data();
    checks.traceSize = total;
    checks.pixelPasses = out->pixelPasses.data();
    checks.pixelHashes = out->pixelHashes.data();
    checks.pixelCount = (int)out->pixelPasses.size();
    demoChecks = &checks;

    checks.countAllocations = countAllocations;
    // Standard output gets its buffer before the count starts.
    printf("playing %s\n", demo.c_str());
    fflush(stdout);
    if (inSteps) {
        startDemoSteps();
        while (stepDemo()) {
        }
    } else {
        runDemoLoop();
    }
    if (countAllocations && allocations)
        *allocations = checks.allocations;
    demoChecks = nullptr;
    out->trace.resize(checks.passes);
    out->summary = checks.summary;
    return true;
}

std::string formatExpected(const GoldenResult &r)
{
    std::string s = "summary " + r.summary + "\n";
    char line[64];
    for (size_t i = 0; i < r.pixelPasses.size(); i++) {
        snprintf(line, sizeof line, "pixels %ld %08x\n", r.pixelPasses[i], (unsigned)r.pixelHashes[i]);
        s += line;
    }
    snprintf(line, sizeof line, "trace %zu\n", r.trace.size());
    s += line;
    for (uint32_t h : r.trace) {
        snprintf(line, sizeof line, "%08x\n", (unsigned)h);
        s += line;
    }
    return s;
}

bool parseExpected(const std::string &text, GoldenResult *out)
{
    std::istringstream in(text);
    std::string word;
    while (in >> word) {
        if (word == "summary") {
            in.get();
            if (!std::getline(in, out->summary))
                return false;
        } else if (word == "pixels") {
            long pass;
            std::string hash;
            if (!(in >> pass >> hash))
                return false;
            out->pixelPasses.push_back(pass);
            out->pixelHashes.push_back((uint32_t)strtoul(hash.c_str(), nullptr, 16));
        } else if (word == "trace") {
            size_t n;
            if (!(in >> n))
                return false;
            for (size_t i = 0; i < n; i++) {
                std::string hash;
                if (!(in >> hash))
                    return false;
                out->trace.push_back((uint32_t)strtoul(hash.c_str(), nullptr, 16));
            }
        } else {
            return false;
        }
    }
    return !out->summary.empty();
}

long firstDifference(const std::vector<uint32_t> &want, const std::vector<uint32_t> &got)
{
    size_t n = want.size() < got.size() ? want.size() : got.size();
    for (size_t i = 0; i < n; i++)
        if (want[i] != got[i])
            return (long)i + 1;
    return want.size() == got.size() ? 0 : (long)n + 1;
}
