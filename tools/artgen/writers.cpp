// Writers of the AC3D, SGI RGB, TGA and RAW files the game reads.
#include "writers.h"

#include <algorithm>
#include <cassert>
#include <cstdio>
#include <cstring>

namespace artgen {

static const int kSgiHeaderSize = 512;
static const int kSgiMaxRun = 127;

std::string formatNumber(double v, int decimals)
{
    char buf[64];
    snprintf(buf, sizeof buf, "%.*f", decimals, v);
    std::string s = buf;
    if (s.find('.') != std::string::npos) {
        while (s.back() == '0')
            s.pop_back();
        if (s.back() == '.')
            s.pop_back();
    }
    if (s == "-0")
        s = "0";
    return s;
}

static std::string colour(const float c[3])
{
    return formatNumber(c[0], 3) + " " + formatNumber(c[1], 3) + " " + formatNumber(c[2], 3);
}

std::string ac3dText(const Model& model, const std::string& worldName)
{
    std::string out = "AC3Db\n";
    for (const Material& m : model.materials) {
        assert(m.name.find_first_of(" \t\"\\") == std::string::npos);
        out += "MATERIAL \"" + m.name + "\" rgb " + colour(m.diffuse) + "  amb " +
               colour(m.ambient) + "  emis " + colour(m.emissive) + "  spec " +
               colour(m.specular) + "  shi " + formatNumber(m.shininess, 0) + "  trans " +
               formatNumber(m.transparency, 3) + "\n";
    }
    out += "OBJECT world\nname \"" + worldName + "\"\nkids " +
           std::to_string(model.parts.size()) + "\n";
    for (const Part& p : model.parts) {
        out += "OBJECT poly\nname \"" + p.name + "\"\n";
        if (!p.texture.empty())
            out += "texture \"" + p.texture + "\"\n";
        out += "loc 0 0 0\n";
        out += "numvert " + std::to_string(p.vertices.size()) + "\n";
        for (const Vec3& v : p.vertices)
            out += formatNumber(v.x) + " " + formatNumber(v.y) + " " + formatNumber(v.z) + "\n";
        out += "numsurf " + std::to_string(p.surfaces.size()) + "\n";
        for (const Surface& s : p.surfaces) {
            char flags[16];
            snprintf(flags, sizeof flags, "0x%x", s.flags);
            assert(s.material >= 0 && s.material < (int)model.materials.size());
            out += std::string("SURF ") + flags + "\nmat " + std::to_string(s.material) +
                   "\nrefs " + std::to_string(s.refs.size()) + "\n";
            for (const Ref& r : s.refs)
                out += std::to_string(r.vertex) + " " + formatNumber(r.uv.u) + " " +
                       formatNumber(r.uv.v) + "\n";
        }
        out += "kids 0\n";
    }
    return out;
}

static void put16be(std::vector<uint8_t>& b, size_t at, unsigned v)
{
    b[at] = (uint8_t)(v >> 8);
    b[at + 1] = (uint8_t)v;
}

static void put32be(std::vector<uint8_t>& b, size_t at, uint32_t v)
{
    for (int i = 0; i < 4; i++)
        b[at + i] = (uint8_t)(v >> (24 - 8 * i));
}

// One row of one channel as SGI packets: runs of three or more equal bytes
// repeat, everything else goes out literally; a zero count ends the row.
static std::vector<uint8_t> sgiPackRow(const std::vector<uint8_t>& row)
{
    std::vector<uint8_t> out;
    size_t i = 0, n = row.size();
    while (i < n) {
        size_t run = 1;
        while (i + run < n && run < (size_t)kSgiMaxRun && row[i + run] == row[i])
            run++;
        if (run >= 3) {
            out.push_back((uint8_t)run);
            out.push_back(row[i]);
            i += run;
            continue;
        }
        size_t start = i, len = 0;
        while (i < n && len < (size_t)kSgiMaxRun) {
            if (i + 2 < n && row[i] == row[i + 1] && row[i] == row[i + 2])
                break;
            i++;
            len++;
        }
        out.push_back((uint8_t)(0x80 | len));
        out.insert(out.end(), row.begin() + start, row.begin() + start + len);
    }
    out.push_back(0);
    return out;
}

std::vector<uint8_t> sgiBytes(const Image& img, bool rle, const std::string& name)
{
    assert(img.width > 0 && img.height > 0 && img.channels >= 1 && img.channels <= 4);
    const int w = img.width, h = img.height, zs = img.channels;
    std::vector<uint8_t> b(kSgiHeaderSize, 0);
    put16be(b, 0, 474);
    b[2] = rle ? 1 : 0; // storage
    b[3] = 1;           // bytes per channel value
    put16be(b, 4, 3);   // dimension: several channels
    put16be(b, 6, (unsigned)w);
    put16be(b, 8, (unsigned)h);
    put16be(b, 10, (unsigned)zs);
    put32be(b, 12, 0);   // pixmin
    put32be(b, 16, 255); // pixmax
    memcpy(&b[24], name.c_str(), std::min<size_t>(name.size(), 79));

    auto channelRow = [&](int y, int z) {
        std::vector<uint8_t> row((size_t)w);
        for (int x = 0; x < w; x++)
            row[(size_t)x] = img.at(x, y)[z];
        return row;
    };
    if (!rle) {
        for (int z = 0; z < zs; z++)
            for (int y = 0; y < h; y++) {
                std::vector<uint8_t> row = channelRow(y, z);
                b.insert(b.end(), row.begin(), row.end());
            }
        return b;
    }
    const size_t rows = (size_t)h * zs;
    size_t tables = kSgiHeaderSize + rows * 8;
    b.resize(tables, 0);
    for (int z = 0; z < zs; z++)
        for (int y = 0; y < h; y++) {
            std::vector<uint8_t> packed = sgiPackRow(channelRow(y, z));
            size_t index = (size_t)y + (size_t)z * h;
            put32be(b, kSgiHeaderSize + index * 4, (uint32_t)b.size());
            put32be(b, kSgiHeaderSize + rows * 4 + index * 4, (uint32_t)packed.size());
            b.insert(b.end(), packed.begin(), packed.end());
        }
    return b;
}

// Packets of up to 128 pixels: a repeated pixel when at least two agree,
// otherwise a literal run.
static void tgaPackRow(std::vector<uint8_t>& b, const std::vector<std::vector<uint8_t>>& px)
{
    size_t i = 0, n = px.size();
    while (i < n) {
        size_t run = 1;
        while (i + run < n && run < 128 && px[i + run] == px[i])
            run++;
        if (run >= 2) {
            b.push_back((uint8_t)(0x80 | (run - 1)));
            b.insert(b.end(), px[i].begin(), px[i].end());
            i += run;
            continue;
        }
        size_t start = i, len = 0;
        while (i < n && len < 128 && !(i + 1 < n && px[i + 1] == px[i])) {
            i++;
            len++;
        }
        b.push_back((uint8_t)(len - 1));
        for (size_t k = start; k < start + len; k++)
            b.insert(b.end(), px[k].begin(), px[k].end());
    }
}

std::vector<uint8_t> tgaBytes(const Image& img, bool rle)
{
    assert(img.channels == 3 || img.channels == 4);
    std::vector<uint8_t> b(18, 0);
    b[2] = rle ? 10 : 2; // true colour, run-length encoded or not
    b[12] = (uint8_t)img.width;
    b[13] = (uint8_t)(img.width >> 8);
    b[14] = (uint8_t)img.height;
    b[15] = (uint8_t)(img.height >> 8);
    b[16] = (uint8_t)(img.channels * 8);
    b[17] = img.channels == 4 ? 8 : 0; // alpha bits; origin bottom-left
    for (int y = 0; y < img.height; y++) {
        // packets never cross a row, which every reader accepts
        std::vector<std::vector<uint8_t>> row;
        for (int x = 0; x < img.width; x++) {
            const uint8_t* p = img.at(x, y);
            std::vector<uint8_t> bgra = {p[2], p[1], p[0]};
            if (img.channels == 4)
                bgra.push_back(p[3]);
            row.push_back(bgra);
        }
        if (rle) {
            tgaPackRow(b, row);
        } else {
            for (const auto& p : row)
                b.insert(b.end(), p.begin(), p.end());
        }
    }
    return b;
}

std::string rawText(const std::vector<Vec3>& corners)
{
    assert(corners.size() % 3 == 0);
    std::string out;
    for (size_t i = 0; i < corners.size(); i++) {
        const Vec3& p = corners[i];
        out += formatNumber(p.x) + " " + formatNumber(p.y) + " " + formatNumber(p.z);
        out += (i % 3 == 2) ? "\n" : " ";
    }
    return out;
}

bool writeFile(const std::string& path, const std::vector<uint8_t>& bytes)
{
    FILE* f = fopen(path.c_str(), "wb");
    if (!f) {
        perror(path.c_str());
        return false;
    }
    bool ok = fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    ok = (fclose(f) == 0) && ok;
    if (!ok)
        fprintf(stderr, "zk-artgen: could not write %s\n", path.c_str());
    return ok;
}

bool writeFile(const std::string& path, const std::string& text)
{
    return writeFile(path, std::vector<uint8_t>(text.begin(), text.end()));
}

} // namespace artgen
