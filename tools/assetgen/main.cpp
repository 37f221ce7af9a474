// assetgen ROOT: writes the game's whole data pack below ROOT.
// assetgen --icons DIR: writes the desktop icons into DIR.
#include <stdio.h>
#include <string.h>
#include "tools/assetgen/assetgen.h"

int main(int argc, char **argv)
{
    if (argc == 3 && strcmp(argv[1], "--icons") == 0)
        return makeIcons(argv[2]) ? 0 : 1;
    if (argc != 2) {
        printf("usage: assetgen ROOT | assetgen --icons DIR\n");
        return 2;
    }
    std::string root = argv[1];
    if (!makeDirs(root + "/data/sound") || !makeDirs(root + "/Data"))
        return 1;
    bool ok = makePictures(root) && makeSpriteSets(root) && makeFonts(root)
              && makeSounds(root) && makeMusic(root) && makeIconPicture(root);
    return ok ? 0 : 1;
}
