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

// The OpenGL texture name that the renderer binds for table entry `index`.
unsigned int ac_texture_name(int index);
