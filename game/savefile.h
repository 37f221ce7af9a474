// Writing a small file that must never be lost halfway: through a temporary
// file and a rename where the folder allows, else in place; and a short lock
// that keeps two games from saving at the same moment.
#ifndef GAME_SAVEFILE_H
#define GAME_SAVEFILE_H

#include <stddef.h>

// Signals that the temporary file could not be made at all.
const int noTempFile = -1;

// Writes text to "path.tmp" and renames it over path, so that a crash or a
// full disk midway never leaves a half-written file. 0, noTempFile, or the
// errno of the failure; nothing is left behind on failure.
int writeReplacing(const char *path, const char *text, size_t len);

// Rewrites path where it stands, for a folder where no new file can be
// made. EINVAL when path is not a regular file.
int writeInPlace(const char *path, const char *text, size_t len);

// Takes an exclusive lock for a save of path: on "path.lock" beside it, or
// on path itself where no lock file can be made (a read-only folder, where
// the save is made in place and the file keeps its identity). Tries a few
// times for a quarter of a second at most and then goes on without it, so
// play is never held up for long. Returns the descriptor to give to
// unlockSave, or -1 when no lock was taken.
int lockSave(const char *path);
void unlockSave(int fd);

#endif
