// The soundtrack's pieces: sample numbers, channel layout, the song grid the
// composition is written into, and the small notation helpers it uses.
#ifndef TOOLS_ASSETGEN_MUSIC_H
#define TOOLS_ASSETGEN_MUSIC_H

#include <string>
#include <vector>
#include "tools/assetgen/it_writer.h"

// Sample numbers as the patterns use them (1-based).
enum {
    SMP_KICK = 1, SMP_SNARE, SMP_HAT, SMP_OPEN_HAT, SMP_CRASH,
    SMP_BASS, SMP_LEAD, SMP_ARP, SMP_PAD, SMP_COUNT = SMP_PAD
};

// One channel per part; the echo channel repeats the lead a dotted eighth
// later, the three pad channels hold the chord's three voices, and the
// control channel carries only song-wide commands (global volume).
enum {
    CH_KICK, CH_SNARE, CH_HAT, CH_CRASH, CH_BASS, CH_LEAD, CH_ECHO,
    CH_ARP, CH_PAD1, CH_PAD2, CH_PAD3, CH_CONTROL, CH_COUNT
};

const int ROWS_PER_BAR = 16;       // sixteenth notes, four rows per beat

std::vector<ItSample> makeInstrumentSamples();

// The whole song as one long run of rows; sections are cut into patterns.
struct SongGrid {
    std::vector<ItCell> cells;       // rows * CH_COUNT
    std::vector<int> sectionRows;    // rows of each section, in play order
    int rows() const { return (int)cells.size() / CH_COUNT; }
};
ItCell &songCell(SongGrid &g, int row, int ch);
int addSection(SongGrid &g, int rows);   // appends empty rows, returns first row

// Notation helpers. Each returns false (after printing the offending text)
// on malformed input, which is a mistake in the score.
// Drums: one character per row: '.' rest, 'x' accent, 'o' soft, 'O' open hat,
// '1'-'9' a hit at that loudness step (for crescendos).
bool putDrums(SongGrid &g, int row, int ch, const char *hits);
// A melodic line: whitespace-separated tokens, one per row: "C-5", "F#4",
// "." (keep playing), "^" (cut).
bool putLine(SongGrid &g, int row, int ch, int sample, int vol, const char *tokens);
// Chords by name ("Am", "F", "E", "Dm"), one per bar, separated by spaces.
// Bass rhythm per bar: 'R' root, 'O' octave up, 'F' fifth, '^' cut, '.' rest.
bool putBass(SongGrid &g, int row, const char *chords, const char *rhythm, int vol);
// Arpeggio per bar: '1'-'3' chord tones upward, '4' the lowest an octave up.
bool putArp(SongGrid &g, int row, const char *chords, const char *pattern, int vol);
// Pad: the chord held for each bar in close position, re-struck only where
// a voice moves.
bool putPad(SongGrid &g, int row, const char *chords, int vol);

bool composeSong(SongGrid &g);     // the arrangement (music_parts.cpp)

#endif
