// The best score, kept as decimal text in the file "high1".
#ifndef GAME_HIGHSCORE_H
#define GAME_HIGHSCORE_H

// Where the best score is kept: "high1" in the game root unless start-up
// chooses a per-user place.
extern const char *highScoreFile;

// Fills highScore from the file; leaves it 0 when there is nothing to read.
void readHighScore();
// Stores value as the best unless the file holds a score at least as high
// now: read again under a lock, so two games that save at once, or one that
// saves after another stored more, never put a lower score over a higher;
// a save that went on without the lock puts back a higher score it
// replaced. Written through a temporary file and a rename where the folder
// allows, else in place. A file the player made read-only is left as it is. A failure is said in one line on standard error; false
// when the score was not saved. A file that exists but could not be read,
// a FIFO or a device is never written.
bool writeBestScore(int value);
// writeBestScore with the score in play.
bool writeHighScore();
// Saves the best of the run, the higher of score and highScore, when it is
// above what the file was read or saved with: when a game ends above the
// best, and at exit. A save that failed is tried again at the next.
void saveRunBest();
// Publishes the best of the run that saveRunBestAtOnce may save: the main
// thread calls it after every pass, and it is the only game state another
// thread reads.
void publishRunBest();
// saveRunBest for a thread other than the main one, which may be anywhere:
// saves what publishRunBest last published, touching no other state.
void saveRunBestAtOnce();
// Called after each save of saveRunBest that went through, when set: a web
// page copies the file into the browser's own storage then.
extern void (*bestScoreSaved)();
// Releases the input stream that readHighScore keeps open.
void closeHighScore();

#endif
