// The demo reader on arbitrary bytes: it must refuse or accept without
// reading outside the buffer, and an accepted demo must play to its end.
#include <stdint.h>
#include <stddef.h>
#include <string.h>
#include "demo/demofile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    // A copy of exactly the given size, so any read past it is caught.
    uint8_t *copy = new uint8_t[size ? size : 1];
    memcpy(copy, data, size);
    DemoReader r;
    DemoHeader h;
    char err[160];
    if (openDemoBuffer(&r, &h, copy, size, err, sizeof err)) {
        PassInput in;
        long passes = 0;
        int rc;
        while ((rc = readDemoPass(&r, &in, err, sizeof err)) == 1) {
            if (in.eventCount > maxPassEvents || in.clockCount > maxPassClocks)
                __builtin_trap();
            passes++;
        }
        if (rc != 0 || passes != r.totalPasses)
            __builtin_trap();
    }
    delete[] copy;
    return 0;
}
