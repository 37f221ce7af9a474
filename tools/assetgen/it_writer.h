// Writes an Impulse Tracker module in sample mode (no instruments): header,
// order list, pointer tables, 80-byte sample headers, packed patterns and
// signed 16-bit mono sample data. The header fields are the ones both of the
// game's possible module players (libmikmod in the mixer, libxmp) accept.
#ifndef TOOLS_ASSETGEN_IT_WRITER_H
#define TOOLS_ASSETGEN_IT_WRITER_H

#include <string>
#include <vector>
#include <stdint.h>

const int IT_MAX_CHANNELS = 64;
const int IT_NOTE_CUT = 254;
const int IT_NOTE_OFF = 255;
const int IT_ORDER_END = 255;

// Effect letters as command numbers (A = 1): the ones the score uses.
enum {
    IT_CMD_VIBRATO = 8,         // H: speed, depth
    IT_CMD_GLOBALVOL = 22,      // V: 0..0x80
    IT_CMD_GLOBALSLIDE = 23,    // W: like D, on the global volume
    IT_CMD_PAN = 24             // X: 0x00 left .. 0xFF right
};

struct ItSample {
    std::string name;            // at most 25 characters are kept
    int volume;                  // default volume 0..64
    int c5Speed;                 // frames per second at which C-5 plays as recorded
    bool loop;
    int loopBegin, loopEnd;      // frames; end is the first frame after the loop
    std::vector<int16_t> data;   // mono
};

// One pattern cell; a field below 0 (or ins 0, cmd 0) is left empty.
struct ItCell {
    int note;    // 0..119 (C-5 = 60), IT_NOTE_CUT or IT_NOTE_OFF
    int ins;     // sample number 1..count
    int vol;     // volume-column byte: 0..64 volume, 128..192 pan, ...
    int cmd;     // command number, 0 none
    int param;
};
ItCell itEmptyCell();
bool itCellEmpty(const ItCell &c);

struct ItPattern {
    int rows;                    // 32..200
    int channels;
    std::vector<ItCell> cells;   // rows * channels, row-major
};

struct ItModule {
    std::string name;            // at most 25 characters are kept
    int speed;                   // ticks per row
    int tempo;                   // 32..255; a tick is 2.5/tempo seconds
    int channelPan[IT_MAX_CHANNELS];  // 0..64, 32 = centre
    std::vector<int> orders;     // pattern numbers, without the final 255
    std::vector<ItSample> samples;
    std::vector<ItPattern> patterns;
};

// Returns the whole file, or an empty vector after printing why the module
// cannot be written (a value out of the range the players accept).
std::vector<uint8_t> writeItModule(const ItModule &m);

#endif
