// Sprite sets: a directory of frame bitmaps described by a small text file
// named "info".
//
//   FILES: 3            first line, always: the number of frames
//   # comment           skipped, as are empty lines
//   ship0.bmp 100 255 0 255
//   ship1.bmp           numbers left out keep the previous line's values
//
// A frame line gives the bitmap's name, its delay in milliseconds and the red,
// green and blue of its colour key; a negative red means no key.
#include "assets/spriteset.h"
#include "platform/surface.h"
#include "assets/bitmap.h"

#include <stdio.h>
#include <string.h>
#include <new>

enum {
    pathSize = 256,     // info and frame paths, and a frame's file name
    lineSize = 255      // one read of the info file; longer lines come in pieces
};

// The numbers of a frame line. They persist from line to line so that a line
// holding only a name reuses the previous line's delay and key.
struct FrameLine {
    int delay;
    int red;
    int green;
    int blue;
};

// Formats dir/name into out; false when it would not fit, so that a long
// path is refused instead of cut into the name of some other file.
static bool joinPath(char *out, const char *dir, const char *name)
{
    int n = snprintf(out, pathSize, "%s/%s", dir, name);
    return n >= 0 && n < pathSize;
}

// Loads one frame bitmap, keys it and converts it to the display format.
// Null when the path is too long, the bitmap is unreadable or no video mode
// is set.
static SDL_Surface *loadFrame(const char *dir, const char *name, const FrameLine &fl)
{
    char path[pathSize];
    if (!joinPath(path, dir, name))
        return NULL;

    SDL_Surface *raw = decodeBitmap(SDL_RWFromFile(path, "rb"));
    if (!raw)
        return NULL;

    // key before the conversion, which carries it over
    if (fl.red >= 0) {
        Uint32 key = SDL_MapRGB(raw->format, fl.red & 255, fl.green & 255, fl.blue & 255);
        setColorKey(raw, key);
    }

    SDL_Surface *frame = convertForDisplay(raw);
    SDL_FreeSurface(raw);
    return frame;
}

// Reads frame lines into set->frames until count frames are loaded or the
// file ends. Returns the number of frames loaded, or -(loaded + 1) when a
// frame bitmap failed.
static int readFrames(FILE *f, SpriteSet *set, const char *dir, int count)
{
    FrameLine fl = { 0, 0, 0, 0 };
    char line[lineSize];
    char name[pathSize];
    int i = 0;

    while (!feof(f) && i < count) {
        if (!fgets(line, sizeof(line), f))
            break;
        if (line[0] == '#' || line[0] == '\r' || line[0] == '\n' || line[0] == '\0')
            continue;

        // numbers the scan does not reach keep their previous values
        if (sscanf(line, "%255s %d %d %d %d", name, &fl.delay, &fl.red, &fl.green, &fl.blue) < 1)
            continue;   // blanks only: no name, so no frame

        SDL_Surface *s = loadFrame(dir, name, fl);
        if (!s) {
            spriteSetTrouble.failedFrame = i + 1;
            snprintf(spriteSetTrouble.failedName, sizeof spriteSetTrouble.failedName, "%s", name);
            return -(i + 1);
        }

        set->frames[i].surface = s;
        set->frames[i].delay = fl.delay;
        if (set->frameWidth == 0)
            set->frameWidth = s->w;
        if (set->frameHeight == 0)
            set->frameHeight = s->h;
        i++;
    }
    return i;
}

SpriteSetTrouble spriteSetTrouble;

int loadSpriteSet(SpriteSet *set, const char *dir)
{
    memset(&spriteSetTrouble, 0, sizeof spriteSetTrouble);
    if (!set || !dir)
        return -1;

    char path[pathSize];
    FILE *f = NULL;
    if (joinPath(path, dir, "info"))
        f = fopen(path, "r");
    if (!f) {
        // a directory too long for the path buffer is as unreadable as a
        // missing file, and the message names it in full either way
        printf("ERROR opening file %s/info\n\n", dir);
        spriteSetTrouble.infoMissing = 1;
        return -1;
    }

    // the first line is the FILES line whatever it holds; a line that does
    // not match leaves the count the set already had
    char line[lineSize];
    int count = set->frameCount;
    if (fgets(line, sizeof(line), f))
        sscanf(line, "FILES: %d", &count);

    // a negative count is a broken file; a huge one is no request for
    // memory: the frames that the file really lists load, up to the cap
    if (count < 0) {
        fclose(f);
        return -1;
    }
    if (count > maxSpriteFrames)
        count = maxSpriteFrames;

    SpriteFrame *frames = NULL;
    if (count > 0) {
        frames = new (std::nothrow) SpriteFrame[count]();
        if (!frames) {
            fclose(f);
            return -1;
        }
    }

    // a set loaded a second time lets go of its old frames
    if (set->frames)
        freeSpriteSet(set);

    set->frames = frames;
    set->frameCount = count;
    set->loaded = 1;

    int got = readFrames(f, set, dir, count);
    fclose(f);

    // every entry below frameCount must hold a surface: drop the count to
    // the frames that really loaded (a short file or a failed bitmap)
    set->frameCount = got < 0 ? -got - 1 : got;
    return got < 0 ? -1 : 0;
}

void freeSpriteSet(SpriteSet *set)
{
    if (!set)
        return;
    if (set->frames) {
        for (int i = 0; i < set->frameCount; i++)
            SDL_FreeSurface(set->frames[i].surface);
        delete[] set->frames;
    }
    memset(set, 0, sizeof(*set));
}
