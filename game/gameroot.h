// Where the game reads its data and keeps its best score. A game root given
// with --data, or a working directory that holds the game's data/, is used as
// it is, "high1" included. Otherwise an installed game reads the tree installed
// beside its executable and keeps "high1" in the player's own data folder.
// A place with only part of the data is used when no place holds it whole; a
// start with none of the game's data anywhere stops before SDL starts.
#ifndef GAME_GAMEROOT_H
#define GAME_GAMEROOT_H

#include <string>

// Makes the demo paths of the command line absolute (they name files relative
// to the folder the player started in), then changes to the game root and
// points highScoreFile at its absolute place. Returns -1 to go on, or the
// exit status after a one-line message on standard error: 2 for a --data
// folder that cannot be entered, 1 when no game data is found.
int chooseGameRoot();

// The install tree that belongs to an executable at exePath (a canonical
// path, as the system names the running program): its folder's
// ../share/games/driftwing, named without "..". Empty when exePath has no
// folder part.
std::string installRootFor(const std::string &exePath);

// The player's own folder for the game: $XDG_DATA_HOME/driftwing when that is
// an absolute path, else $HOME/.local/share/driftwing. Empty when neither
// gives an absolute path.
std::string userDataDir(const char *xdgDataHome, const char *home);

// path made absolute against dir; an absolute path or nullptr as it is.
std::string absoluteFrom(const std::string &dir, const char *path);

// Creates a folder and its missing parents with the given mode (like
// mkdir -p -m); true when it exists as a folder afterwards.
bool makeFolders(const std::string &path, unsigned mode);

#endif
