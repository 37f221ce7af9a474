// The best score, kept as decimal text in the file "high1".
#ifndef GAME_HIGHSCORE_H
#define GAME_HIGHSCORE_H

// Where the best score is kept: "high1" in the game root unless start-up
// chooses a per-user place.
extern const char *highScoreFile;

// Fills highScore from the file; leaves it 0 when there is nothing to read.
void readHighScore();
// Replaces the file with score: through a temporary file and a rename where
// the folder allows, else in place. A failure is said in one line on
// standard error; false when the score was not saved. A file that exists
// but could not be read, a FIFO or a device is never written.
bool writeHighScore();
// Releases the input stream that readHighScore keeps open.
void closeHighScore();

#endif
