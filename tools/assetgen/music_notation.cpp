// The score's shorthand: drum-machine strings, note tokens and chord names,
// turned into cells of the song grid.
#include "tools/assetgen/music.h"

#include <stdio.h>
#include <string.h>
#include <ctype.h>

// Note windows (IT note numbers, C-5 = 60) that keep each part in its
// register whatever the chord: bass E-2..D#3, pad E-4..D#5, arpeggio E-5..D#6.
static const int BASS_LOW = 28;
static const int PAD_LOW = 52;
static const int ARP_LOW = 64;

ItCell &songCell(SongGrid &g, int row, int ch)
{
    return g.cells[row * CH_COUNT + ch];
}

int addSection(SongGrid &g, int rows)
{
    int first = g.rows();
    g.cells.resize(g.cells.size() + rows * CH_COUNT, itEmptyCell());
    g.sectionRows.push_back(rows);
    return first;
}

static bool bad(const char *what, const char *text)
{
    printf("assetgen: score error: %s in \"%s\"\n", what, text);
    return false;
}

static void strike(SongGrid &g, int row, int ch, int note, int sample, int vol)
{
    ItCell &c = songCell(g, row, ch);
    c.note = note;
    c.ins = note < 120 ? sample : 0;    // a cut carries no sample
    c.vol = note < 120 ? vol : -1;
}

bool putDrums(SongGrid &g, int row, int ch, const char *hits)
{
    static const int sampleOf[] = {SMP_KICK, SMP_SNARE, SMP_HAT, SMP_CRASH};
    static const int loudOf[] = {60, 52, 30, 40};
    if (ch > CH_CRASH)
        return bad("not a drum channel", hits);
    int n = (int)strlen(hits);
    if (row + n > g.rows())
        return bad("runs past the song", hits);
    for (int i = 0; i < n; i++) {
        char h = hits[i];
        int loud = loudOf[ch];
        if (h == '.')
            continue;
        if (h == 'x')
            strike(g, row + i, ch, 60, sampleOf[ch], loud);
        else if (h == 'o')
            strike(g, row + i, ch, 60, sampleOf[ch], loud / 2);
        else if (h == 'O' && ch == CH_HAT)
            strike(g, row + i, ch, 60, SMP_OPEN_HAT, loud);
        else if (h >= '1' && h <= '9')
            strike(g, row + i, ch, 60, sampleOf[ch], loud * (h - '0') / 9);
        else
            return bad("unknown drum hit", hits);
    }
    return true;
}

// "C-5" / "F#4" -> 60 / 54; -1 if the token is not a note.
static int parseNote(const char *t, int len)
{
    static const int semitone[] = {9, 11, 0, 2, 4, 5, 7};   // A B C D E F G
    if (len != 3 || t[0] < 'A' || t[0] > 'G' || (t[1] != '-' && t[1] != '#') || !isdigit(t[2]))
        return -1;
    return (t[2] - '0') * 12 + semitone[t[0] - 'A'] + (t[1] == '#' ? 1 : 0);
}

bool putLine(SongGrid &g, int row, int ch, int sample, int vol, const char *tokens)
{
    const char *p = tokens;
    while (*p) {
        if (isspace((unsigned char)*p) || *p == '|') {
            p++;
            continue;
        }
        int len = 0;
        while (p[len] && !isspace((unsigned char)p[len]))
            len++;
        if (row >= g.rows())
            return bad("runs past the song", tokens);
        if (len == 1 && *p == '^') {
            strike(g, row, ch, IT_NOTE_CUT, 0, -1);
        } else if (!(len == 1 && *p == '.')) {
            int note = parseNote(p, len);
            if (note < 0)
                return bad("unknown token", tokens);
            strike(g, row, ch, note, sample, vol);
        }
        row++;
        p += len;
    }
    return true;
}

// "Am" -> root semitone 9, minor. Returns false for an unknown name.
static bool parseChord(const char *name, int len, int &root, bool &minor)
{
    static const int semitone[] = {9, 11, 0, 2, 4, 5, 7};
    if (len < 1 || name[0] < 'A' || name[0] > 'G')
        return false;
    root = semitone[name[0] - 'A'];
    int i = 1;
    if (i < len && name[i] == '#') {
        root = (root + 1) % 12;
        i++;
    }
    minor = i < len && name[i] == 'm';
    return i + (minor ? 1 : 0) == len;
}

// Splits "Am F C G" into chord tones placed in the 12-note window from
// `low`, sorted upward: tones[bar][0..2].
static bool chordTones(const char *chords, int low, std::vector<std::vector<int>> &tones)
{
    const char *p = chords;
    while (*p) {
        if (isspace((unsigned char)*p)) {
            p++;
            continue;
        }
        int len = 0;
        while (p[len] && !isspace((unsigned char)p[len]))
            len++;
        int root;
        bool minor;
        if (!parseChord(p, len, root, minor))
            return bad("unknown chord", chords);
        int steps[3] = {0, minor ? 3 : 4, 7};
        std::vector<int> bar;
        for (int s : steps) {
            int pc = (root + s) % 12;
            bar.push_back(low + ((pc - low % 12) + 12) % 12);
        }
        // the root comes first so the bass can find it; the rest sort upward
        std::vector<int> sorted = bar;
        for (int a = 0; a < 3; a++)
            for (int b = a + 1; b < 3; b++)
                if (sorted[b] < sorted[a]) {
                    int t = sorted[a];
                    sorted[a] = sorted[b];
                    sorted[b] = t;
                }
        sorted.push_back(bar[0]);      // [3] = root within the window
        tones.push_back(sorted);
        p += len;
    }
    return !tones.empty();
}

// A rhythm is either one bar long (repeated) or one bar per chord.
static const char *barRhythm(const char *rhythm, int bar)
{
    return strlen(rhythm) == (size_t)ROWS_PER_BAR ? rhythm : rhythm + bar * ROWS_PER_BAR;
}

static bool rhythmFits(const char *rhythm, size_t bars)
{
    size_t n = strlen(rhythm);
    return n == (size_t)ROWS_PER_BAR || n == bars * ROWS_PER_BAR;
}

bool putBass(SongGrid &g, int row, const char *chords, const char *rhythm, int vol)
{
    std::vector<std::vector<int>> tones;
    if (!chordTones(chords, BASS_LOW, tones))
        return false;
    if (!rhythmFits(rhythm, tones.size()) || row + (int)tones.size() * ROWS_PER_BAR > g.rows())
        return bad("rhythm does not fit the chords", rhythm);
    for (size_t b = 0; b < tones.size(); b++) {
        const char *r = barRhythm(rhythm, (int)b);
        int root = tones[b][3];
        for (int i = 0; i < ROWS_PER_BAR; i++) {
            int at = row + (int)b * ROWS_PER_BAR + i;
            switch (r[i]) {
            case '.': break;
            case 'R': strike(g, at, CH_BASS, root, SMP_BASS, vol); break;
            case 'O': strike(g, at, CH_BASS, root + 12, SMP_BASS, vol); break;
            case 'F': strike(g, at, CH_BASS, root + 7, SMP_BASS, vol); break;
            case '^': strike(g, at, CH_BASS, IT_NOTE_CUT, 0, -1); break;
            default: return bad("unknown bass step", rhythm);
            }
        }
    }
    return true;
}

bool putArp(SongGrid &g, int row, const char *chords, const char *pattern, int vol)
{
    std::vector<std::vector<int>> tones;
    if (!chordTones(chords, ARP_LOW, tones))
        return false;
    if (!rhythmFits(pattern, tones.size()) || row + (int)tones.size() * ROWS_PER_BAR > g.rows())
        return bad("pattern does not fit the chords", pattern);
    for (size_t b = 0; b < tones.size(); b++) {
        const char *r = barRhythm(pattern, (int)b);
        for (int i = 0; i < ROWS_PER_BAR; i++) {
            int at = row + (int)b * ROWS_PER_BAR + i;
            if (r[i] >= '1' && r[i] <= '3')
                strike(g, at, CH_ARP, tones[b][r[i] - '1'], SMP_ARP, vol);
            else if (r[i] == '4')
                strike(g, at, CH_ARP, tones[b][0] + 12, SMP_ARP, vol);
            else if (r[i] != '.')
                return bad("unknown arpeggio step", pattern);
        }
    }
    return true;
}

// The note a channel is sounding just before `row` (-1 if none or cut).
static int soundingNote(SongGrid &g, int row, int ch)
{
    for (int r = row - 1; r >= 0; r--) {
        int n = songCell(g, r, ch).note;
        if (n >= 0)
            return n < 120 ? n : -1;
    }
    return -1;
}

bool putPad(SongGrid &g, int row, const char *chords, int vol)
{
    std::vector<std::vector<int>> tones;
    if (!chordTones(chords, PAD_LOW, tones))
        return false;
    if (row + (int)tones.size() * ROWS_PER_BAR > g.rows())
        return bad("runs past the song", chords);
    for (size_t b = 0; b < tones.size(); b++) {
        int at = row + (int)b * ROWS_PER_BAR;
        for (int v = 0; v < 3; v++)
            if (soundingNote(g, at, CH_PAD1 + v) != tones[b][v])
                strike(g, at, CH_PAD1 + v, tones[b][v], SMP_PAD, vol);
    }
    return true;
}
