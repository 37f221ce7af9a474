// democut IN N OUT: the first N passes of the demo IN, with IN's header and a
// fresh end marker, written to OUT; all of IN when it holds fewer. Prints
// the number of passes written. A short
// demo that plays like the start of a long one, for measuring a few passes
// where a whole demo would take too long (instruction counts).
#include <stdio.h>
#include <stdlib.h>
#include <vector>
#include "demo/demofile.h"
#include "demo/demoformat.h"

int main(int argc, char **argv)
{
    if (argc != 4 || atol(argv[2]) < 1) {
        fprintf(stderr, "usage: democut IN PASSES OUT\n");
        return 2;
    }
    FILE *in = fopen(argv[1], "rb");
    if (!in) {
        perror(argv[1]);
        return 1;
    }
    std::vector<Uint8> data;
    Uint8 buf[65536];
    size_t n;
    while ((n = fread(buf, 1, sizeof buf, in)) > 0)
        data.insert(data.end(), buf, buf + n);
    fclose(in);

    DemoReader reader;
    DemoHeader header;
    char err[160];
    if (!openDemoBuffer(&reader, &header, data.data(), data.size(), err, sizeof err)) {
        fprintf(stderr, "democut: %s: %s\n", argv[1], err);
        return 1;
    }
    static PassInput pass;
    long wanted = atol(argv[2]), kept = 0;
    while (kept < wanted && readDemoPass(&reader, &pass, err, sizeof err) == 1)
        kept++;

    FILE *out = fopen(argv[3], "wb");
    Uint8 end[5] = { trailerByte, (Uint8)kept, (Uint8)(kept >> 8), (Uint8)(kept >> 16),
                     (Uint8)(kept >> 24) };
    bool ok = out && fwrite(data.data(), 1, reader.pos, out) == reader.pos
              && fwrite(end, 1, sizeof end, out) == sizeof end;
    if (out && fclose(out) != 0)
        ok = false;
    if (!ok) {
        perror(argv[3]);
        return 1;
    }
    printf("%ld\n", kept);
    return 0;
}
