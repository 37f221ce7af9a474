// The asset generator: makes every data file the game reads, below a root
// directory (root/data/..., root/Data/cloud). Deterministic: fixed seeds, the
// same bytes on every run.
#ifndef TOOLS_ASSETGEN_H
#define TOOLS_ASSETGEN_H

#include <string>
#include <vector>
#include <stdint.h>

// Each returns false (after printing why) when a file could not be written.
bool makePictures(const std::string &root);    // title, repeat, front, logo, smallship, gameover
bool makeSpriteSets(const std::string &root);  // data/ship, data/bullet, data/enemy, Data/cloud
bool makeFonts(const std::string &root);       // data/font, data/bigfont
bool makeSounds(const std::string &root);      // data/sound/shot.wav, explode.wav
bool makeMusic(const std::string &root);       // data/sound/tnt22.it
bool makeIconPicture(const std::string &root); // data/icon.bmp, the window icon
// The desktop icon as dir/driftwing-{48,128,256}.png (not part of the data pack).
bool makeIcons(const std::string &dir);
// An 8-bit RGBA PNG of w x h pixels given row by row; empty if deflate fails.
std::vector<uint8_t> encodePng(int w, int h, const std::vector<uint8_t> &rgba);

// Little-endian fields of the binary formats written here (BMP, WAV, module).
inline void put8(std::vector<uint8_t> &b, unsigned v) { b.push_back(v & 255); }
inline void put16(std::vector<uint8_t> &b, unsigned v) { put8(b, v); put8(b, v >> 8); }
inline void put32(std::vector<uint8_t> &b, unsigned v) { put16(b, v & 0xFFFF); put16(b, v >> 16); }

// Shared file helpers (files.cpp).
bool makeDirs(const std::string &path);        // like mkdir -p
bool writeFile(const std::string &path, const std::vector<uint8_t> &bytes);
bool writeText(const std::string &path, const std::string &text);

#endif
