// zk-artgen OUTDIR: writes every data file of Space Zarkons 3D into OUTDIR.
// The output depends on nothing but this code, so a rerun gives the same bytes.
#include "art.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>
#include <sys/stat.h>

// Creates the folder and any missing parents.
static bool makeDirs(const std::string& path)
{
    for (size_t i = 1; i <= path.size(); i++) {
        if (i < path.size() && path[i] != '/')
            continue;
        std::string part = path.substr(0, i);
        if (mkdir(part.c_str(), 0755) != 0 && errno != EEXIST) {
            fprintf(stderr, "zk-artgen: cannot create %s: %s\n", part.c_str(), strerror(errno));
            return false;
        }
    }
    return true;
}

int main(int argc, char** argv)
{
    if (argc != 2) {
        fprintf(stderr, "usage: zk-artgen OUTDIR\n"
                        "Writes the models, textures and images of Space Zarkons 3D.\n");
        return 2;
    }
    std::string dir = argv[1];
    while (dir.size() > 1 && dir.back() == '/')
        dir.pop_back();
    if (!makeDirs(dir))
        return 1;
    for (const artgen::ArtFile& f : artgen::allArt()) {
        if (!artgen::writeFile(dir + "/" + f.name, f.bytes))
            return 1;
        printf("%-16s %8zu bytes\n", f.name.c_str(), f.bytes.size());
    }
    return 0;
}
