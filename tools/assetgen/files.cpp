#include "tools/assetgen/assetgen.h"

#include <stdio.h>
#include <errno.h>
#include <sys/stat.h>

bool makeDirs(const std::string &path)
{
    std::string part;
    for (size_t i = 0; i <= path.size(); i++) {
        if (i == path.size() || path[i] == '/') {
            if (!part.empty() && mkdir(part.c_str(), 0755) != 0 && errno != EEXIST) {
                printf("assetgen: cannot make %s\n", part.c_str());
                return false;
            }
        }
        if (i < path.size())
            part += path[i];
    }
    return true;
}

bool writeFile(const std::string &path, const std::vector<uint8_t> &bytes)
{
    FILE *f = fopen(path.c_str(), "wb");
    if (!f) {
        printf("assetgen: cannot write %s\n", path.c_str());
        return false;
    }
    bool ok = fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    ok = fclose(f) == 0 && ok;
    if (!ok)
        printf("assetgen: short write on %s\n", path.c_str());
    return ok;
}

bool writeText(const std::string &path, const std::string &text)
{
    return writeFile(path, std::vector<uint8_t>(text.begin(), text.end()));
}
