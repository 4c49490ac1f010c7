// ac3d-info FILE...: loads each AC3D file with the game's loader, prints the
// tree it read and one summary line per file, so that a modeller can check a
// model before dropping it into data/.
#include "ac3d.h"
#include "opciones.h"
#include "texture.h"

#include <cstdio>
#include <map>
#include <string>

static const char* const kAyuda =
    "Usage: ac3d-info FILE...\n"
    "Loads each AC3D model file with the game's loader, prints the tree it read\n"
    "and one summary line per file.\n"
    "\n"
    "  --help     show this help and exit\n"
    "  --version  show the version and exit\n"
    "\n"
    "Exit status: 0 when every file loaded, 1 when any did not, 2 on a usage error.\n";

struct Totals {
    int objects = 0;
    int vertices = 0;
    int surfaces = 0;
};

// Texture images named by the files: decoded to check them, never uploaded,
// so the tool needs no window. Each name is read once per run.
static std::map<std::string, int> textureIndex;
static int texturesDecoded = 0;
static int texturesNamed = 0;      // in the current file
static int texturesUnreadable = 0; // in the current file

static int checkTexture(char* filename)
{
    texturesNamed++;
    auto known = textureIndex.find(filename);
    if (known != textureIndex.end()) {
        if (known->second < 0)
            texturesUnreadable++;
        return known->second;
    }
    if (texturesDecoded == MAX_TEXTURES) {
        // the pixels are never drawn: make room instead of stopping at the table's size
        ac_texture_reset();
        textureIndex.clear();
        texturesDecoded = 0;
    }
    int index = ac_load_rgb_image(filename);
    if (index < 0)
        texturesUnreadable++;
    else
        texturesDecoded++;
    textureIndex[filename] = index;
    return index;
}

static void count(const ACObject_t* object, Totals& totals)
{
    totals.objects++;
    totals.vertices += object->num_vert;
    totals.surfaces += object->num_surf;
    for (int i = 0; i < object->num_kids; i++)
        count(object->kids[i], totals);
}

int main(int argc, char** argv)
{
    const int respondida = responderOpciones(argc, argv, "ac3d-info", kAyuda);
    if (respondida >= 0)
        return respondida;
    if (argc < 2) {
        fprintf(stderr, "usage: %s FILE...\n", argv[0]);
        return 2;
    }
    ac_set_texture_loader(checkTexture);
    int failures = 0;
    for (int i = 1; i < argc; i++) {
        int paletteBefore = ac_palette_count();
        texturesNamed = 0;
        texturesUnreadable = 0;
        ACObject_t* object = ac_load_ac3d(argv[i]);
        if (object == nullptr) {
            // the loader's own message may lack its line feed
            printf("\n%s: not loaded\n", argv[i]);
            failures++;
            continue;
        }
        ac_object_dump(object);
        Totals totals;
        count(object, totals);
        printf("%s: %d objects, %d vertices, %d surfaces, %d materials added, %d textures, "
               "%d unreadable\n",
               argv[i], totals.objects, totals.vertices, totals.surfaces, ac_palette_count() - paletteBefore,
               texturesNamed, texturesUnreadable);
        ac_object_free(object);
    }
    return failures > 0 ? 1 : 0;
}
