// libFuzzer target: the TGA reader on any bytes (decoding only, no OpenGL).
#include "tga.h"

#include "fuzz_file.h"

#include <cassert>

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    fuzzSetUp(argc, argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    TgaImage* image = tga_load_image(fuzzWriteFile(data, size));
    if (image) {
        assert(image->channels == 3 || image->channels == 4);
        fuzzTouch(image->pixels, (size_t)image->width * image->height * image->channels);
        tga_free_image(image);
    }
    return 0;
}
