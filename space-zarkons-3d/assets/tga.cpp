// Truevision TGA reader: true-colour images, raw or run-length encoded.
#include "tga.h"

#include "texture.h" // ac_upload_mipmaps, AC_MAX_IMAGE_SIDE

#include <GL/gl.h>

#include <cassert>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

static const int kHeaderBytes = 18;
static const int kTrueColour = 2;
static const int kTrueColourRle = 10;

// Every refusal names the file and goes to standard output, like the reader's
// other message.
static TgaImage* refuse(FILE* file, const char* path, const char* fmt, ...)
{
    printf("%s: ", path);
    va_list args;
    va_start(args, fmt);
    vprintf(fmt, args);
    va_end(args);
    putchar('\n');
    fclose(file);
    return nullptr;
}

// Writes one file pixel as R, G, B[, A]; 15- and 16-bit pixels give 5 bits a
// channel scaled by 8, their top bit ignored.
static void convertPixel(const unsigned char* in, int bytes, unsigned char* out)
{
    if (bytes == 2) {
        unsigned p = in[0] | in[1] << 8;
        out[0] = ((p >> 10) & 31) * 8;
        out[1] = ((p >> 5) & 31) * 8;
        out[2] = (p & 31) * 8;
        return;
    }
    out[0] = in[2];
    out[1] = in[1];
    out[2] = in[0];
    if (bytes == 4)
        out[3] = in[3];
}

// Decodes run-length packets into `count` pixels. Returns false when the data
// ends first; a packet that runs past the last pixel is cut there.
static bool decodePackets(const unsigned char* in, const unsigned char* end, int bytes, int channels,
                          size_t count, unsigned char* out, bool* overran)
{
    size_t done = 0;
    while (done < count) {
        if (in == end)
            return false;
        int packet = *in++;
        size_t run = (packet & 0x7F) + 1;
        if (run > count - done) {
            *overran = true;
            run = count - done;
        }
        if (packet & 0x80) {
            if (end - in < bytes)
                return false;
            for (size_t i = 0; i < run; i++)
                convertPixel(in, bytes, out + (done + i) * channels);
            in += bytes;
        } else {
            if ((size_t)(end - in) < run * bytes)
                return false;
            for (size_t i = 0; i < run; i++, in += bytes)
                convertPixel(in, bytes, out + (done + i) * channels);
        }
        done += run;
    }
    return true;
}

// Puts the rows bottom-up and left to right, as the texture wants them,
// whichever corner the file starts from.
static void applyOrigin(TgaImage* image, bool fromTop, bool fromRight)
{
    size_t rowBytes = (size_t)image->width * image->channels;
    std::vector<unsigned char> spare(rowBytes);
    if (fromTop) {
        for (int y = 0; y < image->height / 2; y++) {
            unsigned char* a = image->pixels + y * rowBytes;
            unsigned char* b = image->pixels + (image->height - 1 - y) * rowBytes;
            memcpy(spare.data(), a, rowBytes);
            memcpy(a, b, rowBytes);
            memcpy(b, spare.data(), rowBytes);
        }
    }
    if (fromRight) {
        int c = image->channels;
        for (int y = 0; y < image->height; y++) {
            unsigned char* row = image->pixels + y * rowBytes;
            for (int x = 0; x < image->width / 2; x++) {
                unsigned char* a = row + x * c;
                unsigned char* b = row + (image->width - 1 - x) * c;
                for (int k = 0; k < c; k++) {
                    unsigned char t = a[k];
                    a[k] = b[k];
                    b[k] = t;
                }
            }
        }
    }
}

TgaImage* tga_load_image(const char* path)
{
    assert(path != nullptr);
    FILE* file = fopen(path, "rb");
    if (!file) {
        printf("\nUnable to load TGA File!\n");
        return nullptr;
    }
    unsigned char h[kHeaderBytes];
    if (fread(h, 1, kHeaderBytes, file) != (size_t)kHeaderBytes)
        return refuse(file, path, "not a TGA image (no complete header)");
    int idLength = h[0], mapType = h[1], type = h[2];
    int mapLength = h[5] | h[6] << 8, mapEntryBits = h[7];
    int width = h[12] | h[13] << 8, height = h[14] | h[15] << 8, bits = h[16];
    int descriptor = h[17];

    if (type == 1 || type == 9)
        return refuse(file, path, "colour-mapped TGA images are not supported");
    if (type == 3 || type == 11)
        return refuse(file, path, "grey-scale TGA images are not supported");
    if (type != kTrueColour && type != kTrueColourRle)
        return refuse(file, path, "TGA image type %d is not supported", type);
    if (bits != 15 && bits != 16 && bits != 24 && bits != 32)
        return refuse(file, path, "%d-bit TGA pixels are not supported", bits);
    if (width == 0 || height == 0)
        return refuse(file, path, "empty image (%dx%d)", width, height);
    if (width > AC_MAX_IMAGE_SIDE || height > AC_MAX_IMAGE_SIDE)
        return refuse(file, path, "image too large (%dx%d, at most %d a side)", width, height,
                      AC_MAX_IMAGE_SIDE);

    // a true-colour image may still carry a colour map: its bytes precede the pixels
    long mapBytes = mapType == 1 ? (long)mapLength * ((mapEntryBits + 7) / 8) : 0;
    long dataStart = kHeaderBytes + idLength + mapBytes;
    int bytes = (bits + 7) / 8;
    int channels = bits == 32 ? 4 : 3;
    size_t count = (size_t)width * height;
    // the least data that can hold every pixel: raw, or packets of 128 pixels
    long needed = type == kTrueColour ? (long)count * bytes : (long)((count + 127) / 128) * (1 + bytes);
    if (fseek(file, 0, SEEK_END) != 0)
        return refuse(file, path, "cannot read the pixels");
    long fileSize = ftell(file);
    if (fileSize < dataStart + needed)
        return refuse(file, path, "truncated: the pixels need at least %ld bytes, the file has %ld",
                      dataStart + needed, fileSize);

    // no more than the pixels can use, whatever follows them in the file
    long most = type == kTrueColour ? needed : (long)count * (1 + bytes);
    std::vector<unsigned char> data(fileSize - dataStart < most ? fileSize - dataStart : most);
    if (fseek(file, dataStart, SEEK_SET) != 0 || fread(data.data(), 1, data.size(), file) != data.size())
        return refuse(file, path, "cannot read the pixels");
    unsigned char* pixels = (unsigned char*)malloc(count * channels);
    if (!pixels)
        return refuse(file, path, "out of memory for %dx%d pixels", width, height);

    if (type == kTrueColour) {
        for (size_t i = 0; i < count; i++)
            convertPixel(&data[i * bytes], bytes, pixels + i * channels);
    } else {
        bool overran = false;
        if (!decodePackets(data.data(), data.data() + data.size(), bytes, channels, count, pixels,
                           &overran)) {
            free(pixels);
            return refuse(file, path, "truncated: the packets end before the last pixel");
        }
        if (overran)
            printf("%s: a packet runs past the last pixel; the rest is ignored\n", path);
    }
    fclose(file);

    TgaImage* image = (TgaImage*)malloc(sizeof(TgaImage));
    if (!image) {
        free(pixels);
        printf("%s: out of memory\n", path);
        return nullptr;
    }
    *image = TgaImage{channels, width, height, pixels};
    applyOrigin(image, descriptor & 0x20, descriptor & 0x10);
    return image;
}

void tga_free_image(TgaImage* image)
{
    if (!image)
        return;
    free(image->pixels);
    free(image);
}

void tga_make_texture(unsigned int* names, const char* path, int slot)
{
    assert(names != nullptr && slot >= 0);
    if (!path)
        return;
    TgaImage* image = tga_load_image(path);
    if (!image) {
        // without its spark the explosion cannot be drawn: not a clean end
        exit(1);
    }
    glGenTextures(1, &names[slot]);
    glBindTexture(GL_TEXTURE_2D, names[slot]);
    ac_upload_mipmaps(image->channels, image->width, image->height, image->channels == 4 ? GL_RGBA : GL_RGB,
                      image->pixels);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR_MIPMAP_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    tga_free_image(image);
}
