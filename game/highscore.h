// The best score, kept as decimal text in the file "high1".
#ifndef GAME_HIGHSCORE_H
#define GAME_HIGHSCORE_H

// Where the best score is kept: "high1" in the game root unless start-up
// chooses a per-user place.
extern const char *highScoreFile;

// Fills highScore from the file; leaves it 0 when there is nothing to read.
void readHighScore();
// Replaces the file with score, atomically: never a half-written file.
void writeHighScore();
// Releases the input stream that readHighScore keeps open.
void closeHighScore();

#endif
