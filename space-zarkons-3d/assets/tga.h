// Truevision TGA images.
#pragma once

// A decoded image: rows bottom-up and left to right whichever corner the file
// starts from, channels R, G, B[, A].
struct TgaImage {
    int channels; // 3, or 4 for 32-bit pixels
    int width;
    int height;
    unsigned char* pixels;
};

// Decodes a true-colour TGA file (15, 16, 24 or 32 bits, raw or run-length
// encoded); null, with a message on standard output, for anything else.
// The caller owns the image and its pixels (release with tga_free_image).
TgaImage* tga_load_image(const char* path);
void tga_free_image(TgaImage* image);
// Loads `path` into a mipmapped texture under a generated name in names[slot].
// An unreadable image ends the program with status 1. A null path does nothing.
void tga_make_texture(unsigned int* names, const char* path, int slot);
