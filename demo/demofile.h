// The demo file: a header, then one record per pass of the frame loop, then a
// trailer. Everything is little-endian; numbers that are usually small are
// variable-length (7 bits a byte, low bits first, at most 5 bytes).
//
//   header   8 bytes magic "DWDEMO\r\n", u16 format version (2),
//            u8 length + that many bytes of the game's version text,
//            u32 random seed, u32 data fingerprint, u32 loop entry tick,
//            i32 the best score the recorded game started with (which the
//            HUD shows, and the game raises when a game ends above it)
//   pass     one flags byte:
//              bits 0-3  tick delta from the previous pass (or the entry
//                        tick) when below 15; 15: the delta follows as a varint
//                        (below 2^31: a larger one is a broken file)
//              bit 4     held keys changed: the new bits follow as a varint
//              bit 5     events: u8 count (1..64), then one byte per event
//              bit 6     clock readings taken while drawing that differ from
//                        the reading before them: u8 count (1..64), then for
//                        each a varint gap in reading index and a varint
//                        value delta (mod 2^32) from the reading before it
//              bit 7     clear (a set bit 7 is the trailer)
//   trailer  the byte 0x80 and u32 number of passes; the file ends there.
//
// A typical pass is one byte. Version 1 is version 2 without the best score:
// such a demo still plays, with a best of 0, as it was recorded.
#ifndef DEMO_DEMOFILE_H
#define DEMO_DEMOFILE_H

#include <stdio.h>
#include <stddef.h>
#include <SDL.h>
#include "core/passinput.h"

const int demoFormatVersion = 2;    // what the recorder writes
const int demoOldestVersion = 1;    // the oldest the player reads
const int demoVersionMax = 32;      // longest game version text kept
const size_t demoMaxBytes = 64u << 20;  // the largest demo, in bytes

// The largest demo the player reads and the recorder writes: demoMaxBytes
// in the game; tests lower it. The recorder stops before a pass that might
// take the file past it, so everything it writes is read back.
extern size_t demoSizeLimit;

struct DemoHeader {
    int formatVersion;
    char gameVersion[demoVersionMax + 1];
    Uint32 seed;
    Uint32 fingerprint;
    Uint32 entryTicks;
    int bestScore;      // 0 in a version 1 file
};

// Reads a demo held whole in memory.
struct DemoReader {
    const Uint8 *data;
    size_t size;
    size_t pos;         // next byte to read
    Uint32 ticks;       // tick reading of the previous pass
    Uint16 held;        // held keys of the previous pass
    long passes;        // passes read so far
    long totalPasses;   // from the trailer, once checked
};

// Parses the header and checks every pass and the trailer. Returns true and
// leaves r at the first pass; on a bad file returns false with what is
// wrong in err.
bool openDemoBuffer(DemoReader *r, DemoHeader *h, const Uint8 *data, size_t size,
                    char *err, size_t errSize);

// The next pass into in. 1: a pass; 0: the end of the demo; -1: a broken
// pass (cannot happen after openDemoBuffer accepted the file).
int readDemoPass(DemoReader *r, PassInput *in, char *err, size_t errSize);

// Writes a demo as the game goes, through a fixed buffer: no allocation per
// pass. Write errors are remembered and reported by closeDemoWriter.
struct DemoWriter {
    FILE *file;
    Uint8 buf[8192];
    size_t used;
    Uint32 ticks;
    Uint16 held;
    long passes;
    long bytes;         // written to the file so far, buffer included
    int failed;         // errno of the first failed write, or -1
};

void startDemoWriter(DemoWriter *w, FILE *file, const DemoHeader &h);
void writeDemoPass(DemoWriter *w, const PassInput &in);
// Whether the largest possible pass and the trailer might no longer fit
// under demoSizeLimit: the recording must end before its next pass.
bool demoWriterFull(const DemoWriter *w);
// Writes the trailer, flushes and closes the file. 0, or the errno of the
// first failure.
int closeDemoWriter(DemoWriter *w);

#endif
