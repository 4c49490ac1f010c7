// Writing the game's file formats: AC3D models, SGI RGB and TGA images, and
// the RAW triangle list.
#pragma once

#include "mesh.h"

#include <cstdint>
#include <string>
#include <vector>

namespace artgen {

// An 8-bit image, rows from the bottom up, channels interleaved (R, G, B[, A]).
struct Image {
    int width = 0, height = 0, channels = 0;
    std::vector<uint8_t> pixels;

    Image() = default;
    Image(int w, int h, int c) : width(w), height(h), channels(c), pixels((size_t)w * h * c, 0) {}
    uint8_t* at(int x, int y) { return &pixels[((size_t)y * width + x) * channels]; }
    const uint8_t* at(int x, int y) const { return &pixels[((size_t)y * width + x) * channels]; }
};

// Numbers as every text file of the generator writes them: fixed decimals and
// never "-0", so a value prints the same way wherever it comes from.
std::string formatNumber(double v, int decimals = 4);

// The model as AC3D text: a world object holding one poly object per part.
std::string ac3dText(const Model& model, const std::string& worldName);

// SGI RGB bytes, one byte per channel, verbatim or run-length encoded.
std::vector<uint8_t> sgiBytes(const Image& image, bool rle, const std::string& name);

// True-colour TGA bytes (24 or 32 bits), bottom row first, plain or
// run-length encoded.
std::vector<uint8_t> tgaBytes(const Image& image, bool rle);

// RAW triangles: nine numbers a line, x y z of A, B and C.
std::string rawText(const std::vector<Vec3>& triangleCorners);

bool writeFile(const std::string& path, const std::vector<uint8_t>& bytes);
bool writeFile(const std::string& path, const std::string& text);

} // namespace artgen
