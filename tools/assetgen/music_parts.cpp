// The soundtrack's score: A minor, 132 beats per minute, twelve four-bar
// sections: intro (two), A A, B B, a breakdown, A' A', B' B', outro.
// A runs Am-F-C-G, B runs Dm-Am-F-E so the E major bar pulls back home.
// One bar is 16 rows; every melodic string below is four bars of 16 tokens.
#include "tools/assetgen/music.h"

static const char *A_CHORDS = "Am F C G";
static const char *B_CHORDS = "Dm Am F E";

static const int BASS_VOL = 46;
static const int LEAD_VOL = 46;
static const int ARP_VOL = 20;
static const int PAD_VOL = 18;

// Lead phrases; the echo channel and the vibrato on long notes are added
// afterwards from these.
static const char *LEAD_A1 =
    "A-4 .   .   C-5 .   .   E-5 .   A-5 .   .   .   G-5 .   E-5 .   "
    "F-5 .   .   .   .   .   E-5 .   C-5 .   .   .   A-4 .   .   .   "
    "G-4 .   .   C-5 .   .   E-5 .   G-5 .   .   .   .   .   E-5 .   "
    "D-5 .   .   .   .   .   .   .   .   .   ^   .   B-4 .   D-5 .   ";
static const char *LEAD_A2 =
    "E-5 .   .   A-5 .   .   C-6 .   B-5 .   .   .   A-5 .   G-5 .   "
    "A-5 .   .   .   .   .   F-5 .   C-5 .   .   .   F-5 .   G-5 .   "
    "E-5 .   .   G-5 .   .   C-6 .   B-5 .   G-5 .   E-5 .   .   .   "
    "D-5 .   .   .   .   .   E-5 .   G-5 .   .   .   .   .   .   ^   ";
static const char *LEAD_B1 =
    "A-5 .   .   .   .   .   .   .   F-5 .   .   .   D-5 .   F-5 .   "
    "E-5 .   .   .   .   .   .   .   C-5 .   .   .   A-4 .   C-5 .   "
    "F-5 .   .   .   A-5 .   .   .   C-6 .   .   .   .   .   A-5 .   "
    "G#5 .   .   .   .   .   .   .   B-5 .   .   .   E-5 .   .   ^   ";
static const char *LEAD_B2 =
    "D-6 .   .   .   .   .   C-6 .   A-5 .   .   .   .   .   F-5 .   "
    "E-5 .   .   .   .   .   A-5 .   C-6 .   .   .   .   .   B-5 .   "
    "A-5 .   .   .   G-5 .   F-5 .   C-5 .   .   .   A-4 .   C-5 .   "
    "B-4 .   .   .   .   .   C-5 .   D-5 .   .   .   G#4 .   .   ^   ";
static const char *LEAD_A1_VAR =
    "A-4 .   B-4 C-5 .   .   E-5 .   A-5 .   .   .   B-5 .   C-6 .   "
    "A-5 .   .   .   .   .   G-5 .   F-5 .   E-5 .   C-5 .   .   .   "
    "G-4 .   .   C-5 .   .   E-5 .   G-5 .   .   .   A-5 .   G-5 .   "
    "D-5 .   .   .   .   .   E-5 .   D-5 .   B-4 .   G-4 .   B-4 .   ";
static const char *LEAD_A2_VAR =
    "C-5 .   .   E-5 .   .   A-5 .   C-6 .   .   .   B-5 .   A-5 .   "
    "C-6 .   .   .   .   .   A-5 .   F-5 .   .   .   A-5 .   G-5 .   "
    "G-5 .   .   E-5 .   .   C-5 .   E-5 .   G-5 .   C-6 .   .   .   "
    "B-5 .   .   .   .   .   .   .   D-6 .   .   .   .   .   .   .   ";
static const char *LEAD_B1_VAR =
    "A-5 .   .   .   .   .   .   .   F-5 .   G-5 .   A-5 .   C-6 .   "
    "B-5 .   .   .   .   .   .   .   A-5 .   .   .   E-5 .   A-5 .   "
    "C-6 .   .   .   A-5 .   .   .   F-5 .   .   .   .   .   A-5 .   "
    "G#5 .   .   .   .   .   .   .   B-5 .   .   .   D-6 .   .   ^   ";
static const char *LEAD_B2_VAR =
    "D-6 .   .   .   .   .   C-6 .   A-5 .   .   .   .   .   F-5 .   "
    "E-5 .   .   .   .   .   A-5 .   C-6 .   .   .   .   .   E-6 .   "
    "C-6 .   .   .   A-5 .   F-5 .   A-5 .   .   .   C-6 .   D-6 .   "
    "B-5 .   .   .   .   .   .   .   G#5 .   .   .   E-5 .   .   .   ";
static const char *LEAD_OUTRO =
    "A-5 .   .   .   .   .   C-6 .   A-5 .   .   .   F-5 .   .   .   "
    "G-5 .   .   .   .   .   B-5 .   D-6 .   .   .   B-5 .   .   .   "
    "A-5 .   .   .   .   .   .   .   .   .   .   .   .   .   .   .   "
    ".   .   .   .   .   .   .   .   .   .   .   .   .   .   .   .   ";

// Four bars of one drum; `last` replaces the fourth bar (fills).
static bool drumBars(SongGrid &g, int row, int ch, const char *bar, const char *last)
{
    bool ok = true;
    for (int b = 0; b < 4; b++)
        ok = ok && putDrums(g, row + b * ROWS_PER_BAR, ch, b == 3 && last ? last : bar);
    return ok;
}

static bool intro(SongGrid &g)
{
    int r = addSection(g, 64);        // pad and arpeggio alone, hats join
    bool ok = putPad(g, r, A_CHORDS, PAD_VOL) && putArp(g, r, A_CHORDS, "1.2.3.4.1.2.3.4.", ARP_VOL)
              && putDrums(g, r + 32, CH_HAT, "o.o.o.o.o.o.o.o.o.o.o.o.x.x.x.x.")
              && putDrums(g, r + 48, CH_SNARE, "............3579");
    r = addSection(g, 64);            // kick and bass arrive
    ok = ok && putPad(g, r, A_CHORDS, PAD_VOL) && putArp(g, r, A_CHORDS, "1.2.3.4.1.2.3.4.", ARP_VOL)
         && putDrums(g, r, CH_CRASH, "x")
         && drumBars(g, r, CH_KICK, "x...x...x...x...", nullptr)
         && drumBars(g, r, CH_HAT, "..x...x...x...x.", "..x...x...x.x.x.")
         && putDrums(g, r + 48, CH_SNARE, "....x.......x.xx")
         && putBass(g, r, A_CHORDS, "R.R.R.R.R.R.R.R.", BASS_VOL);
    return ok;
}

// The A section under a given lead phrase; `fill` ends it with a snare run.
static bool sectionA(SongGrid &g, const char *lead, bool crash, bool fill, bool variation)
{
    int r = addSection(g, 64);
    bool ok = putPad(g, r, A_CHORDS, PAD_VOL)
              && putArp(g, r, A_CHORDS, variation ? "1.2.3.1.2.3.1.2." : "1234123412341234", ARP_VOL)
              && putBass(g, r, A_CHORDS, variation ? "R.OR.OR.R.OR.OF." : "R.O.R.O.R.O.R.O.", BASS_VOL)
              && drumBars(g, r, CH_KICK, "x...x...x...x...", nullptr)
              && drumBars(g, r, CH_SNARE, "....x.......x...", fill ? "....x...5.6.7899" : "....x.......x..o")
              && drumBars(g, r, CH_HAT, "o.x.o.x.o.x.o.x.", nullptr)
              && putLine(g, r, CH_LEAD, SMP_LEAD, LEAD_VOL, lead);
    if (crash)
        ok = ok && putDrums(g, r, CH_CRASH, "x");
    return ok;
}

static bool sectionB(SongGrid &g, const char *lead, bool crash, bool fill)
{
    int r = addSection(g, 64);
    bool ok = putPad(g, r, B_CHORDS, PAD_VOL)
              && putArp(g, r, B_CHORDS, "4.3.2.1.4.3.2.1.", ARP_VOL)
              && putBass(g, r, B_CHORDS, "R..R..R.R..R..O.", BASS_VOL)
              && drumBars(g, r, CH_KICK, "x.....x...x.....", fill ? "x.....x...x.x.x." : nullptr)
              && drumBars(g, r, CH_SNARE, "....x.......x...", fill ? "....x...x.x.6789" : nullptr)
              && drumBars(g, r, CH_HAT, "x.O.x.O.x.O.x.O.", nullptr)
              && putLine(g, r, CH_LEAD, SMP_LEAD, LEAD_VOL, lead);
    if (crash)
        ok = ok && putDrums(g, r, CH_CRASH, "x");
    return ok;
}

// No lead: the arpeggio and pad step forward over a sparse beat, and a
// snare crescendo brings the band back.
static bool breakdown(SongGrid &g)
{
    int r = addSection(g, 64);
    return putPad(g, r, A_CHORDS, PAD_VOL + 6)
           && putArp(g, r, A_CHORDS, "1234123412341234", ARP_VOL + 8)
           && putBass(g, r, A_CHORDS,
                      "R..............."
                      "R..............."
                      "R..............."
                      "R.R.R.R.R.R.R.R.", BASS_VOL)
           && drumBars(g, r, CH_KICK, "x...............", "x...x...x...x...")
           && drumBars(g, r, CH_HAT, "..o...o...o...o.", "..x...x...x...x.")
           && putDrums(g, r + 48, CH_SNARE, "1.2.3.4.5.6.7899")
           && putDrums(g, r, CH_CRASH, "x");
}

// F and G lead home to A minor; the last chord rings while the global
// volume slides to silence, then every channel is cut on the final row.
static bool outro(SongGrid &g)
{
    int r = addSection(g, 64);
    bool ok = putPad(g, r, "F G Am Am", PAD_VOL)
              && putArp(g, r, "F G Am Am",
                        "1234123412341234"
                        "1234123412341234"
                        "1.2.3.4........."
                        "................", ARP_VOL)
              && putBass(g, r, "F G Am Am",
                         "R.O.R.O.R.O.R.O."
                         "R.O.R.O.R.O.R.O."
                         "R..............."
                         "................", BASS_VOL)
              && putDrums(g, r, CH_CRASH, "x")
              && putDrums(g, r + 32, CH_CRASH, "x")
              && putDrums(g, r, CH_KICK, "x...x...x...x...x...x...x...x...x")
              && putDrums(g, r, CH_SNARE, "....x.......x.......x.......x.xx")
              && putDrums(g, r, CH_HAT, "o.x.o.x.o.x.o.x.o.x.o.x.o.x.o.x.")
              && putLine(g, r, CH_LEAD, SMP_LEAD, LEAD_VOL, LEAD_OUTRO);
    for (int i = 36; i < 63; i++) {
        ItCell &c = songCell(g, r + i, CH_CONTROL);
        c.cmd = IT_CMD_GLOBALSLIDE;   // W01: global volume down 1 per tick
        c.param = 0x01;
    }
    for (int ch = 0; ch < CH_CONTROL; ch++)
        songCell(g, r + 63, ch).note = IT_NOTE_CUT;
    return ok;
}

bool composeSong(SongGrid &g)
{
    return intro(g)
           && sectionA(g, LEAD_A1, true, false, false)
           && sectionA(g, LEAD_A2, false, true, false)
           && sectionB(g, LEAD_B1, true, false)
           && sectionB(g, LEAD_B2, false, true)
           && breakdown(g)
           && sectionA(g, LEAD_A1_VAR, true, false, true)
           && sectionA(g, LEAD_A2_VAR, false, true, true)
           && sectionB(g, LEAD_B1_VAR, true, false)
           && sectionB(g, LEAD_B2_VAR, false, true)
           && outro(g);
}
