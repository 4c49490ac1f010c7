// SGI RGB images and the texture table of the model module.
#pragma once

#define MAX_TEXTURES 100

#ifdef __cplusplus
extern "C" {
#endif

// One decoded image of the texture table; rows bottom-up, channels interleaved.
typedef struct ACTexture_t {
    unsigned short width;
    unsigned short height;
    unsigned short components; // 1 luminance, 2 luminance-alpha, 3 RGB, 4 RGBA
    unsigned char* pixels;
} ACTexture_t;

// Decodes an SGI image into the next table entry: its index, or -1.
int ac_load_rgb_image(char* filename);
// Address of table entry `index`.
ACTexture_t* ac_get_texture(int index);
// Decodes and uploads an SGI image as a mipmapped texture: its index, or -1.
int ac_load_texture(char* filename);

#ifdef __cplusplus
}
#endif

// The OpenGL texture name that the renderer binds for table entry `index`:
// generated when the entry was uploaded, 0 for an entry never uploaded.
unsigned int ac_texture_name(int index);

// Uploads tightly packed 8-bit pixels (rows bottom-up) to the bound 2D texture
// at their own size, with the full mipmap chain. `format` is GL_LUMINANCE,
// GL_LUMINANCE_ALPHA, GL_RGB or GL_RGBA to match `components`.
void ac_upload_mipmaps(int components, int width, int height, unsigned int format,
                       const unsigned char* pixels);

// Largest width or height the image readers accept.
#define AC_MAX_IMAGE_SIDE 16384

// Empties the texture table and frees its pixels, for tests and fuzzers that
// load more than MAX_TEXTURES images in one process. OpenGL textures stay.
void ac_texture_reset();
