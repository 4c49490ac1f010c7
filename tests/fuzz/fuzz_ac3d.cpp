// libFuzzer target: the whole AC3D loader on any bytes, read from a file as
// the game reads its models, then the tree is dumped, drawn and freed.
#include "ac3d.h"

#include "fuzz_file.h"

#include <cstring>

// Texture lines name arbitrary paths: never open them, but hand out a few
// indices so that the textured drawing is exercised too.
static int someTexture(char* name)
{
    return (int)(strlen(name) % 3) - 1;
}

// Reads every array at the length its count claims.
static void touchTree(const ACObject_t* ob)
{
    fuzzTouch((const unsigned char*)ob->vertices, (size_t)ob->num_vert * sizeof(ACVertex_t));
    for (int i = 0; i < ob->num_surf; i++) {
        const ACSurface_t& s = ob->surfaces[i];
        fuzzTouch((const unsigned char*)s.vertref, (size_t)s.num_vertref * sizeof(int));
        fuzzTouch((const unsigned char*)s.uvs, (size_t)s.num_vertref * 2 * sizeof(float));
    }
    for (int i = 0; i < ob->num_kids; i++)
        touchTree(ob->kids[i]);
}

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    fuzzSetUp(argc, argv);
    ac_set_texture_loader(someTexture);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // each input is its own run: without this the palette fills after a few inputs
    ac_reset_for_tests();
    ACObject_t* ob = ac_load_ac3d(fuzzWriteFile(data, size));
    if (ob) {
        touchTree(ob);
        ac_object_dump(ob);
        // no OpenGL context here: the calls go nowhere, the walk over the tree is what counts
        ac_render_object(ob);
        ac_render_object_explosion(ob, 0.5f);
        ac_object_free(ob);
    }
    return 0;
}
