// The art of Space Zarkons 3D: the three models, their textures, the star field,
// the spark and the RAW ship, each made from code alone.
#pragma once

#include "mesh.h"
#include "writers.h"

#include <cstdint>
#include <string>
#include <vector>

namespace artgen {

// Texture file names as the models name them (relative to the game's folder).
extern const char* const kHullTexture;
extern const char* const kZarkonTexture;

// Models, in model units: the game neither scales nor centres them.
Model playerShip(); // 12 x 6 x 14, nose toward +z, guns at x = +-4
Model enemyShip();  // within 8 x 4 x 8, nose toward +z
Model missile();    // within 1 x 1 x 4, nose toward +z

// The RAW ship: a closed surface, three corners a triangle, shared corners equal.
std::vector<Vec3> rawShip();

Image hullImage();   // player hull panels (RGB)
Image zarkonImage(); // enemy hull plates (RGB)
Image starsImage();  // skybox face (RGB)
Image sparkImage();  // particle glow (RGBA)

// One output file: its name inside the data folder and its bytes.
struct ArtFile {
    std::string name;
    std::vector<uint8_t> bytes;
};
// Every data file of the game, in a fixed order.
std::vector<ArtFile> allArt();

} // namespace artgen
