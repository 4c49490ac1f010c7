// libFuzzer target: the SGI reader and the texture table on any bytes
// (decoding only, no OpenGL).
#include "texture.h"

#include "fuzz_file.h"

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    fuzzSetUp(argc, argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    int index = ac_load_rgb_image(fuzzWriteFile(data, size));
    if (index >= 0) {
        const ACTexture_t* t = ac_get_texture(index);
        fuzzTouch(t->pixels, (size_t)t->width * t->height * t->components);
    }
    ac_texture_reset(); // the table would otherwise fill after a hundred images
    return 0;
}
