// Truevision TGA images.
#pragma once

// A decoded image: rows in file order, channels R, G, B[, A].
struct TgaImage {
    int channels; // 3 or 4
    int width;
    int height;
    unsigned char* pixels;
};

// Decodes a TGA file; null when it cannot be read or its depth is unsupported.
// The caller owns the image and its pixels (release with tga_free_image).
TgaImage* tga_load_image(const char* path);
void tga_free_image(TgaImage* image);
// Loads `path` into a mipmapped texture under a generated name in names[slot].
// An unreadable image ends the program. A null path does nothing.
void tga_make_texture(unsigned int* names, const char* path, int slot);
