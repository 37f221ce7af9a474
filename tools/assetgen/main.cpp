// assetgen ROOT: writes the game's whole data pack below ROOT.
#include <stdio.h>
#include "tools/assetgen/assetgen.h"

int main(int argc, char **argv)
{
    if (argc != 2) {
        printf("usage: assetgen ROOT\n");
        return 2;
    }
    std::string root = argv[1];
    if (!makeDirs(root + "/data/sound") || !makeDirs(root + "/Data"))
        return 1;
    bool ok = makePictures(root) && makeSpriteSets(root) && makeFonts(root)
              && makeSounds(root) && makeMusic(root) && makeIconPicture(root);
    return ok ? 0 : 1;
}
