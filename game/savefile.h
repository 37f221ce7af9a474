// Writing a small file that must never be lost halfway: through a temporary
// file and a rename where the folder allows, else in place; and a short lock
// that keeps two games from saving at the same moment.
#ifndef GAME_SAVEFILE_H
#define GAME_SAVEFILE_H

#include <stddef.h>

// Signals that the temporary file could not be made at all.
const int noTempFile = -1;

// Writes text to a temporary file of this process beside path
// ("path.tmp.PID", its name in tmpName) and makes it durable, so that a
// crash or a full disk midway never leaves a half-written file. Leftovers of
// games that died while saving are removed first; another game's file never.
// 0, noTempFile, or the errno of the failure; nothing is left on failure.
int writeTemp(const char *path, const char *text, size_t len, char *tmpName, size_t size);

// Puts the temporary file in path's place in one step. Where the file system
// can, the two are swapped: then 1, and tmpName holds what path held a moment
// before (the caller reads and removes it), so that a save that raced another
// without the lock knows exactly what it replaced. 0 when path is simply
// replaced (or there was none), or the errno of the failure (tmpName removed).
int swapInto(const char *tmpName, const char *path);

// Rewrites path where it stands, for a folder where no new file can be
// made. EINVAL when path is not a regular file.
int writeInPlace(const char *path, const char *text, size_t len);

// Takes an exclusive lock for a save of path: on "path.lock" beside it, or
// on the folder that holds path where no lock file can be made (a read-only
// folder, or a link in the lock file's place): the folder stays the same
// object whatever a save renames in it, so every game locks the same one. Tries a few
// times for a quarter of a second at most and then goes on without it, so
// play is never held up for long. Returns the descriptor to give to
// unlockSave, or -1 when no lock was taken.
int lockSave(const char *path);
void unlockSave(int fd);

#endif
