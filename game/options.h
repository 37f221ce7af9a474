// The command line. With no options the game runs as it always has: full
// screen at 640 x 480, with sound, from the working directory.
#ifndef GAME_OPTIONS_H
#define GAME_OPTIONS_H

struct Options {
    int fullscreen = 1;             // --window / --fullscreen
    int scale = 1;                  // --scale N, 1 to 4
    int scaleAuto = 0;              // --scale auto: the largest that fits
    int sound = 1;                  // --nosound
    int autopause = 1;              // --no-autopause
    int vsync = 0;                  // --vsync: frames paced to the display
    const char *dataDir = nullptr;  // --data DIR: the game root
    const char *recordFile = nullptr;   // --record FILE
    const char *playFile = nullptr;     // --play FILE
    const char *timedemoFile = nullptr; // --timedemo FILE
};

extern Options options;

const int maxScale = 4;

// Reads argv into options. Returns -1 when the game should start, or the
// exit status to end with at once: 0 after --help or --version (1 when
// their text could not be written), 2 after a bad option, which it names in
// one line on standard error.
int parseOptions(int argc, char **argv);

// Flushes standard output. When what was printed there could not all be
// written (a full disk, a closed pipe), says so in one line on standard
// error and returns false: output the player asked for that is lost is a
// failure, not a success.
bool outputWritten();

#endif
