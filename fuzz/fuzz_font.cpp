// The font loader on three arbitrary files, then text drawn and measured
// with the font. Input: one byte n, n bytes of "font.ini", two bytes m (low
// first) and m bytes of "font.dat" (m = 0xFFFF: no such file), and the rest
// is "font.raw". Input too short for a part leaves that file out.
#include "fuzz/harness.h"
#include "assets/font.h"

static SDL_Surface *screen;
static std::string dir;

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    screen = fuzzVideo();
    dir = fuzzScratch("font");
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const uint8_t *end = data + size;
    const uint8_t *ini = NULL, *dat = NULL, *raw = NULL;
    size_t iniSize = 0, datSize = 0;
    if (size >= 1 && (size_t)(end - data - 1) >= data[0]) {
        iniSize = data[0];
        ini = data + 1;
        const uint8_t *p = ini + iniSize;
        if (end - p >= 2) {
            size_t m = p[0] | (p[1] << 8);
            p += 2;
            if (m != 0xFFFF && (size_t)(end - p) >= m) {
                dat = p;
                datSize = m;
                p += m;
            }
            raw = p;
        }
    }
    fuzzFile(dir + "/font.ini", ini, iniSize);
    fuzzFile(dir + "/font.dat", dat, datSize);
    fuzzFile(dir + "/font.raw", raw, raw ? (size_t)(end - raw) : 0);

    BitmapFont *font = loadFont(dir.c_str(), 1.0f, 1.0f, 0.0f);
    if (!font)
        return 0;
    if (!font->sheet)
        abort();
    drawText(screen, font, -30, 200, "%d NEW HIGHSCORE!!", 12345);
    drawText(screen, font, 600, -5, "\x01\x7f\x80\xff\t\n");
    textWidth(font, "%s", "\x80 \xff");
    freeFont(font);
    return 0;
}
