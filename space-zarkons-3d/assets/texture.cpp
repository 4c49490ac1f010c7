// SGI RGB reader and the texture table of the model module.
#include "texture.h"

#include <GL/gl.h>
#include <GL/glu.h> // gluBuild2DMipmaps, for images larger than GL takes

#include <cassert>
#include <cstdarg>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

// Pixel data of a verbatim image and the row tables of a compressed one start here.
static const long kHeaderBytes = 512;
// A compressed row never legitimately needs more than this many bytes per value.
static const long kMaxPackedPerValue = 256;

// The open SGI image while it is being decoded.
struct SgiImage {
    const char* name;
    FILE* file;
    long fileSize;
    unsigned short type, xsize, ysize, zsize;
    unsigned char* packed;  // one compressed row
    unsigned char* rows[4]; // one decoded row per channel
    uint32_t* starts;       // compressed row offsets, indexed row + channel * ysize
    uint32_t* lengths;      // compressed row byte lengths, same index
};

static ACTexture_t textures[MAX_TEXTURES];
static unsigned int textureNames[MAX_TEXTURES];
static int numTextures = 0;

static unsigned short bigEndian16(const unsigned char* p)
{
    return (unsigned short)(p[0] << 8 | p[1]);
}

static uint32_t bigEndian32(const unsigned char* p)
{
    return (uint32_t)p[0] << 24 | (uint32_t)p[1] << 16 | (uint32_t)p[2] << 8 | p[3];
}

static bool isCompressed(const SgiImage* img)
{
    return (img->type & 0xFF00) == 0x0100;
}

// Every refusal names the file and goes where the reader's other errors go.
static void complain(const SgiImage* img, const char* fmt, ...)
{
    fprintf(stderr, "%s: ", img->name);
    va_list args;
    va_start(args, fmt);
    vfprintf(stderr, fmt, args);
    va_end(args);
    fputc('\n', stderr);
}

static void sgiClose(SgiImage* img)
{
    if (img->file)
        fclose(img->file);
    free(img->packed);
    for (unsigned char* row : img->rows)
        free(row);
    free(img->starts);
    free(img->lengths);
    free(img);
}

// Checks the header against what the decoder can hold before anything is
// allocated from it: the sizes come from the file and are not to be trusted.
static bool sgiHeaderUsable(const SgiImage* img)
{
    int bytesPerValue = img->type & 0xFF;
    if (bytesPerValue != 1) {
        complain(img, "%d bytes per channel value are not supported", bytesPerValue);
        return false;
    }
    if (img->xsize == 0 || img->ysize == 0) {
        complain(img, "empty image (%dx%d)", img->xsize, img->ysize);
        return false;
    }
    if (img->xsize > AC_MAX_IMAGE_SIDE || img->ysize > AC_MAX_IMAGE_SIDE) {
        complain(img, "image too large (%dx%d, at most %d a side)", img->xsize, img->ysize,
                 AC_MAX_IMAGE_SIDE);
        return false;
    }
    if (img->zsize < 1 || img->zsize > 4) {
        complain(img, "%d channels are not supported (1 to 4)", img->zsize);
        return false;
    }
    return true;
}

// Reads the row tables of a compressed image and checks that every row lies
// inside the file; sizes the compressed-row buffer for the longest one.
static bool sgiReadTables(SgiImage* img)
{
    // the header limits keep every product here far below an int's range
    long count = (long)img->ysize * img->zsize;
    if (img->fileSize < kHeaderBytes + 8 * count) {
        complain(img, "truncated: the row tables need %ld bytes, the file has %ld", kHeaderBytes + 8 * count,
                 img->fileSize);
        return false;
    }
    unsigned char* raw = (unsigned char*)malloc(8 * count);
    img->starts = (uint32_t*)malloc(count * sizeof(uint32_t));
    img->lengths = (uint32_t*)malloc(count * sizeof(uint32_t));
    if (!raw || !img->starts || !img->lengths) {
        free(raw);
        fputs("Out of memory!\n", stderr);
        return false;
    }
    bool ok = fseek(img->file, kHeaderBytes, SEEK_SET) == 0 &&
              fread(raw, 1, 8 * count, img->file) == (size_t)(8 * count);
    if (!ok)
        complain(img, "cannot read the row tables");
    uint32_t longest = 1;
    for (long i = 0; ok && i < count; i++) {
        img->starts[i] = bigEndian32(raw + 4 * i);
        img->lengths[i] = bigEndian32(raw + 4 * (count + i));
        int y = (int)(i % img->ysize), z = (int)(i / img->ysize);
        if (img->lengths[i] > kMaxPackedPerValue * img->xsize) {
            complain(img, "compressed row %d of channel %d is too long (%u bytes)", y, z, img->lengths[i]);
            ok = false;
        } else if ((int64_t)img->starts[i] + img->lengths[i] > img->fileSize) {
            complain(img, "compressed row %d of channel %d lies past the end of the file", y, z);
            ok = false;
        } else if (img->lengths[i] > longest) {
            longest = img->lengths[i];
        }
    }
    free(raw);
    if (ok) {
        img->packed = (unsigned char*)malloc(longest);
        if (!img->packed) {
            fputs("Out of memory!\n", stderr);
            ok = false;
        }
    }
    return ok;
}

static SgiImage* sgiOpen(const char* filename)
{
    SgiImage* img = (SgiImage*)calloc(1, sizeof(SgiImage));
    if (!img) {
        fputs("Out of memory!\n", stderr);
        return nullptr;
    }
    img->name = filename;
    img->file = fopen(filename, "rb");
    if (!img->file) {
        perror(filename);
        free(img);
        return nullptr;
    }
    unsigned char header[12];
    if (fread(header, 1, sizeof header, img->file) != sizeof header || fseek(img->file, 0, SEEK_END) != 0 ||
        (img->fileSize = ftell(img->file)) < kHeaderBytes) {
        complain(img, "not an SGI image (no complete header)");
        sgiClose(img);
        return nullptr;
    }
    // magic and dimension are not examined: the sizes say all the decoder needs
    img->type = bigEndian16(header + 2);
    img->xsize = bigEndian16(header + 6);
    img->ysize = bigEndian16(header + 8);
    img->zsize = bigEndian16(header + 10);
    if (!sgiHeaderUsable(img)) {
        sgiClose(img);
        return nullptr;
    }
    if (isCompressed(img)) {
        if (!sgiReadTables(img)) {
            sgiClose(img);
            return nullptr;
        }
    } else {
        long needed = kHeaderBytes + (long)img->xsize * img->ysize * img->zsize;
        if (img->fileSize < needed) {
            complain(img, "truncated: the pixels need %ld bytes, the file has %ld", needed, img->fileSize);
            sgiClose(img);
            return nullptr;
        }
    }
    for (int z = 0; z < img->zsize; z++) {
        img->rows[z] = (unsigned char*)malloc(img->xsize);
        if (!img->rows[z]) {
            fputs("Out of memory!\n", stderr);
            sgiClose(img);
            return nullptr;
        }
    }
    return img;
}

// Reads row y of channel z into dest (xsize bytes); false, with a message,
// when the row cannot be read or does not decode to exactly xsize values.
static bool sgiReadRow(SgiImage* img, int y, int z, unsigned char* dest)
{
    int width = img->xsize;
    if (!isCompressed(img)) {
        long at = kHeaderBytes + ((long)y + (long)z * img->ysize) * width;
        if (fseek(img->file, at, SEEK_SET) != 0 || fread(dest, 1, width, img->file) != (size_t)width) {
            complain(img, "cannot read row %d of channel %d", y, z);
            return false;
        }
        return true;
    }
    long i = y + (long)z * img->ysize;
    uint32_t length = img->lengths[i];
    if (fseek(img->file, img->starts[i], SEEK_SET) != 0 ||
        fread(img->packed, 1, length, img->file) != length) {
        complain(img, "cannot read compressed row %d of channel %d", y, z);
        return false;
    }
    const unsigned char* in = img->packed;
    const unsigned char* end = img->packed + length;
    int out = 0;
    // a row may end with its stored length instead of a zero packet
    while (in < end) {
        int packet = *in++;
        int count = packet & 0x7F;
        if (count == 0)
            break;
        if (count > width - out) {
            complain(img, "compressed row %d of channel %d decodes to more than %d values", y, z, width);
            return false;
        }
        if (end - in < ((packet & 0x80) ? count : 1)) {
            complain(img, "compressed row %d of channel %d runs past its stored length", y, z);
            return false;
        }
        if (packet & 0x80) {
            memcpy(dest + out, in, count);
            in += count;
        } else {
            memset(dest + out, *in++, count);
        }
        out += count;
    }
    if (out < width) {
        complain(img, "compressed row %d of channel %d decodes to only %d of %d values", y, z, out, width);
        return false;
    }
    return true;
}

// Decodes the whole image, channels interleaved, rows kept bottom-up as the file
// has them (the order OpenGL wants). Null, with a message, on any bad row.
static unsigned char* sgiDecode(SgiImage* img)
{
    size_t width = img->xsize, channels = img->zsize;
    unsigned char* pixels = (unsigned char*)malloc(width * img->ysize * channels);
    if (!pixels) {
        fputs("Out of memory!\n", stderr);
        return nullptr;
    }
    for (int y = 0; y < img->ysize; y++) {
        for (size_t z = 0; z < channels; z++) {
            if (!sgiReadRow(img, y, (int)z, img->rows[z])) {
                free(pixels);
                return nullptr;
            }
        }
        unsigned char* dest = pixels + y * width * channels;
        for (size_t x = 0; x < width; x++)
            for (size_t z = 0; z < channels; z++)
                *dest++ = img->rows[z][x];
    }
    return pixels;
}

int ac_load_rgb_image(char* filename)
{
    assert(filename != nullptr);
    printf("Loading texture: %s\n", filename);
    SgiImage* img = sgiOpen(filename);
    if (!img) {
        fputs("error opening rgb file\n", stderr);
        return -1;
    }
    if (numTextures >= MAX_TEXTURES) {
        sgiClose(img);
        printf("out of texture space - change MAX_TEXTURES in texture\n");
        // the game cannot go on without its textures: not a clean end
        exit(1);
    }
    unsigned char* pixels = sgiDecode(img);
    ACTexture_t entry = {img->xsize, img->ysize, img->zsize, pixels};
    sgiClose(img);
    if (!pixels)
        return -1;
    textures[numTextures] = entry;
    printf("loaded texture %dx%d (%d)\n", entry.width, entry.height, entry.components);
    return numTextures++;
}

ACTexture_t* ac_get_texture(int index)
{
    assert(index >= 0 && index < MAX_TEXTURES);
    return &textures[index];
}

int ac_load_texture(char* filename)
{
    int index = ac_load_rgb_image(filename);
    if (index == -1)
        return -1;
    const ACTexture_t* t = &textures[index];
    static const GLenum formats[] = {GL_LUMINANCE, GL_LUMINANCE_ALPHA, GL_RGB, GL_RGBA};
    // a generated name, so the table can never meet the names the TGA textures take
    glGenTextures(1, &textureNames[index]);
    glBindTexture(GL_TEXTURE_2D, textureNames[index]);
    ac_upload_mipmaps(t->components, t->width, t->height, formats[t->components - 1], t->pixels);
    return index;
}

unsigned int ac_texture_name(int index)
{
    assert(index >= 0 && index < MAX_TEXTURES);
    return textureNames[index];
}

void ac_upload_mipmaps(int components, int width, int height, unsigned int format,
                       const unsigned char* pixels)
{
    assert(components >= 1 && components <= 4);
    assert(width > 0 && height > 0 && pixels != nullptr);
    GLint alignment = 4, maxSide = 0;
    glGetIntegerv(GL_UNPACK_ALIGNMENT, &alignment);
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &maxSide);
    // rows are packed without padding whatever their width
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    if (width <= maxSide && height <= maxSide) {
        // GL keeps the image texel for texel; GLU would resample it to powers of two
        glTexParameteri(GL_TEXTURE_2D, GL_GENERATE_MIPMAP, GL_TRUE);
        glTexImage2D(GL_TEXTURE_2D, 0, components, width, height, 0, format, GL_UNSIGNED_BYTE, pixels);
    } else {
        // larger than this GL takes: GLU scales it down to fit
        gluBuild2DMipmaps(GL_TEXTURE_2D, components, width, height, format, GL_UNSIGNED_BYTE, pixels);
    }
    glPixelStorei(GL_UNPACK_ALIGNMENT, alignment);
}

void ac_texture_reset()
{
    for (int i = 0; i < numTextures; i++)
        free(textures[i].pixels);
    memset(textures, 0, sizeof textures);
    memset(textureNames, 0, sizeof textureNames);
    numTextures = 0;
}
