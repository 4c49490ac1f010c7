// A minimal PNG writer for the preview: RGB rows, stored (uncompressed) deflate.
#pragma once

#include <string>
#include <vector>

namespace artgen {

// Writes `rgb` (rows top-down, 3 bytes a pixel) as a PNG file.
bool writePng(const std::string& path, int width, int height, const std::vector<unsigned char>& rgb);

} // namespace artgen
