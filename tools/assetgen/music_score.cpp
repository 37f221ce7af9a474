// Assembles the soundtrack: the composed song grid gets its performance
// touches (vibrato on held lead notes, the echo line, channel pans), is cut
// into one pattern per section and written as data/sound/tnt22.it.
#include "tools/assetgen/assetgen.h"
#include "tools/assetgen/music.h"

// 6 ticks per row and 4 rows per beat make the tempo byte the BPM.
static const int SPEED = 6;
static const int TEMPO = 132;

// Drums and bass in the middle, the lead a little left with its echo further
// left, the arpeggio right, the pad voices spread (0 left, 64 right).
static const int CHANNEL_PAN[CH_COUNT] = {
    32, 30, 38, 28,     // kick, snare, hat, crash
    32, 28, 18, 44,     // bass, lead, echo, arpeggio
    22, 32, 42, 32,     // pad voices, control
};

static const int ECHO_DELAY = 3;          // rows: a dotted eighth
static const int VIBRATO = 0x42;          // speed 4, depth 2
static const int VIBRATO_AFTER = 3;       // rows a note sounds plain first
static const int VIBRATO_MIN_LENGTH = 6;  // rows

// Held lead notes start plain and then sway, as a player would hold them.
static void addVibrato(SongGrid &g)
{
    int rows = g.rows();
    for (int r = 0; r < rows; r++) {
        int note = songCell(g, r, CH_LEAD).note;
        if (note < 0 || note >= 120)
            continue;
        int end = r + 1;
        while (end < rows && songCell(g, end, CH_LEAD).note < 0)
            end++;
        if (end - r < VIBRATO_MIN_LENGTH)
            continue;
        for (int i = r + VIBRATO_AFTER; i < end; i++) {
            ItCell &c = songCell(g, i, CH_LEAD);
            if (c.cmd == 0) {
                c.cmd = IT_CMD_VIBRATO;
                c.param = VIBRATO;
            }
        }
    }
}

// The echo channel plays every lead cell again a dotted eighth later, at
// two fifths of the volume, further out to the side.
static void addEcho(SongGrid &g)
{
    int rows = g.rows();
    for (int r = rows - 1 - ECHO_DELAY; r >= 0; r--) {
        const ItCell &src = songCell(g, r, CH_LEAD);
        if (itCellEmpty(src))
            continue;
        ItCell &dst = songCell(g, r + ECHO_DELAY, CH_ECHO);
        if (dst.note == IT_NOTE_CUT)      // the song's final cut stays
            continue;
        dst = src;
        if (dst.vol >= 0)
            dst.vol = dst.vol * 2 / 5;
    }
}

// Pans are set with X at the start of every section rather than trusted to
// the header, which one player replaces with its own left/right spread; the
// control channel restores full global volume when the song (re)starts.
static void addPans(SongGrid &g)
{
    int start = 0;
    for (int rows : g.sectionRows) {
        for (int ch = 0; ch < CH_CONTROL; ch++) {
            for (int r = start; r < start + rows; r++) {
                ItCell &c = songCell(g, r, ch);
                if (c.cmd == 0) {
                    c.cmd = IT_CMD_PAN;
                    c.param = CHANNEL_PAN[ch] >= 64 ? 255 : CHANNEL_PAN[ch] * 4;
                    break;
                }
            }
        }
        start += rows;
    }
    ItCell &c = songCell(g, 0, CH_CONTROL);
    c.cmd = IT_CMD_GLOBALVOL;
    c.param = 0x80;
}

static ItModule buildModule(const SongGrid &g)
{
    ItModule m;
    m.name = "Driftwing: Open Skies";
    m.speed = SPEED;
    m.tempo = TEMPO;
    for (int c = 0; c < IT_MAX_CHANNELS; c++)
        m.channelPan[c] = c < CH_COUNT ? CHANNEL_PAN[c] : 32;
    m.samples = makeInstrumentSamples();
    int start = 0;
    for (size_t s = 0; s < g.sectionRows.size(); s++) {
        ItPattern p;
        p.rows = g.sectionRows[s];
        p.channels = CH_COUNT;
        p.cells.assign(g.cells.begin() + start * CH_COUNT,
                       g.cells.begin() + (start + p.rows) * CH_COUNT);
        m.patterns.push_back(p);
        m.orders.push_back((int)s);
        start += p.rows;
    }
    return m;
}

bool makeMusic(const std::string &root)
{
    SongGrid g;
    if (!composeSong(g))
        return false;
    addVibrato(g);
    addEcho(g);
    addPans(g);
    std::vector<uint8_t> bytes = writeItModule(buildModule(g));
    if (bytes.empty())
        return false;
    std::string dir = root + "/data/sound";
    return makeDirs(dir) && writeFile(dir + "/tnt22.it", bytes);
}
