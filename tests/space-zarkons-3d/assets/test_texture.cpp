// The SGI reader and the texture table: decoding, refusals, the full table,
// uploads on a real context, and the real files of the corpus.
#include "texture.h"
#include "tga.h"

#include "e2e.h"
#include "gl_test.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;
using Bytes = std::vector<unsigned char>;

namespace
{

// A scratch folder for the test's own image files.
struct Scratch {
    std::string dir = zk::makeTempDir();
    ~Scratch() { fs::remove_all(dir); }
    std::string write(const std::string& name, const Bytes& bytes)
    {
        std::string path = dir + "/" + name;
        std::ofstream(path, std::ios::binary).write((const char*)bytes.data(), bytes.size());
        return path;
    }
};

void put16(Bytes& b, size_t at, unsigned v)
{
    b[at] = v >> 8;
    b[at + 1] = v & 255;
}

void put32(Bytes& b, size_t at, unsigned v)
{
    put16(b, at, v >> 16);
    put16(b, at + 2, v & 0xFFFF);
}

Bytes sgiHeader(int type, int w, int h, int z)
{
    Bytes b(512);
    put16(b, 0, 474);
    put16(b, 2, type);
    put16(b, 4, 3);
    put16(b, 6, w);
    put16(b, 8, h);
    put16(b, 10, z);
    return b;
}

// Channel planes one after another, each bottom row first.
Bytes sgiVerbatim(int w, int h, int z, const Bytes& planes)
{
    Bytes b = sgiHeader(0x0001, w, h, z);
    const size_t cabecera = b.size();
    b.resize(cabecera + planes.size());
    std::copy(planes.begin(), planes.end(), b.begin() + (long)cabecera);
    return b;
}

// One packed row per (row, channel), in table order row + channel * h.
Bytes sgiCompressed(int w, int h, int z, const std::vector<Bytes>& rows)
{
    Bytes b = sgiHeader(0x0101, w, h, z);
    size_t n = rows.size();
    b.resize(512 + 8 * n);
    for (size_t i = 0; i < n; i++) {
        put32(b, 512 + 4 * i, b.size());
        put32(b, 512 + 4 * (n + i), rows[i].size());
        b.insert(b.end(), rows[i].begin(), rows[i].end());
    }
    return b;
}

Bytes pixelsOf(int index)
{
    const ACTexture_t* t = ac_get_texture(index);
    return Bytes(t->pixels, t->pixels + (size_t)t->width * t->height * t->components);
}

#define EXPECT_HAS(text, part) EXPECT_NE((text).find(part), std::string::npos) << (text)

// A death-test child ends in exit(), past every destructor: its own scratch
// folder goes at exit instead.
void removeAtExit(const std::string& dir)
{
    static std::string doomed;
    doomed = dir;
    atexit([] { fs::remove_all(doomed); });
}

struct Output {
    int result;
    std::string out, err;
};

Output load(const std::string& path)
{
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    int r = ac_load_rgb_image((char*)path.c_str());
    std::string out = testing::internal::GetCapturedStdout();
    return {r, out, testing::internal::GetCapturedStderr()};
}

class TableTest : public ::testing::Test
{
  protected:
    void TearDown() override { ac_texture_reset(); }
    Scratch scratch;
};

} // namespace

TEST_F(TableTest, VerbatimPlanesInterleaveIntoConsecutiveEntries)
{
    std::string rgb = scratch.write("rgb.rgb", sgiVerbatim(2, 2, 3, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}));
    Output o = load(rgb);
    EXPECT_EQ(o.result, 0);
    EXPECT_EQ(o.out, "Loading texture: " + rgb + "\nloaded texture 2x2 (3)\n");
    EXPECT_EQ(o.err, "");
    EXPECT_EQ(pixelsOf(0), Bytes({1, 5, 9, 2, 6, 10, 3, 7, 11, 4, 8, 12}));

    std::string la = scratch.write("la.rgb", sgiVerbatim(3, 1, 2, {1, 2, 3, 4, 5, 6}));
    EXPECT_EQ(load(la).result, 1);
    EXPECT_EQ(pixelsOf(1), Bytes({1, 4, 2, 5, 3, 6}));
    EXPECT_EQ(ac_get_texture(1)->components, 2);
}

TEST_F(TableTest, CompressedRowsDecodeByPacketsAndTableOrder)
{
    std::string one =
        scratch.write("p.rgb", sgiCompressed(5, 1, 1, {{0x83, 'a', 'b', 'c', 0x02, 'd', 0x00}}));
    EXPECT_EQ(load(one).result, 0);
    EXPECT_EQ(pixelsOf(0), Bytes({'a', 'b', 'c', 'd', 'd'}));

    // rows listed row + channel * height; some end with their length, not a zero packet
    std::string two = scratch.write(
        "t.rgb", sgiCompressed(2, 2, 2, {{0x02, 1, 0}, {0x82, 2, 3}, {0x02, 4}, {0x82, 5, 6, 0}}));
    Output o = load(two);
    EXPECT_EQ(o.result, 1) << o.err;
    EXPECT_EQ(pixelsOf(1), Bytes({1, 4, 1, 4, 2, 5, 3, 6}));
}

TEST_F(TableTest, UnusableFilesAreRefusedWithAMessageAndTakeNoEntry)
{
    Bytes wide = sgiHeader(0x0001, 16385, 1, 1);
    wide.resize(512 + 16385);
    Bytes tooLong = sgiCompressed(2, 1, 1, {{0x82, 1, 2}});
    put32(tooLong, 516, 513);
    Bytes pastEnd = sgiCompressed(2, 1, 1, {{0x82, 1, 2}});
    put32(pastEnd, 512, 530);
    Bytes cutHeader = sgiHeader(0x0001, 1, 1, 1);
    cutHeader.resize(12);
    Bytes twoBytes = sgiVerbatim(1, 1, 1, {1, 2});
    put16(twoBytes, 2, 0x0002);
    struct Case {
        const char* name;
        Bytes bytes;
        const char* message;
    } cases[] = {
        {"short", cutHeader, "no complete header"},
        {"twoBytes", twoBytes, "2 bytes per channel value"},
        {"empty", sgiVerbatim(0, 2, 1, {}), "empty image (0x2)"},
        {"wide", wide, "image too large (16385x1"},
        {"z0", sgiVerbatim(1, 1, 0, {}), "0 channels are not supported"},
        {"z5", sgiVerbatim(1, 1, 5, {1, 2, 3, 4, 5}), "5 channels are not supported"},
        {"cut", sgiVerbatim(2, 2, 1, {1, 2, 3}), "truncated"},
        // sizes whose products overflow an int: refused before anything is allocated
        {"huge", sgiVerbatim(16384, 16384, 4, {1}), "truncated"},
        {"hugeRle", sgiHeader(0x0101, 16384, 16384, 4), "truncated"},
        {"tooLong", tooLong, "row 0 of channel 0 is too long"},
        {"pastEnd", pastEnd, "lies past the end of the file"},
        {"literal", sgiCompressed(2, 1, 1, {{0x82, 1}}), "runs past its stored length"},
        {"run", sgiCompressed(2, 1, 1, {{0x02}}), "runs past its stored length"},
        {"overrun", sgiCompressed(2, 1, 1, {{0x03, 7, 0}}), "decodes to more than 2 values"},
        {"underrun", sgiCompressed(3, 1, 1, {{0x02, 7, 0}}), "decodes to only 2 of 3 values"},
    };
    for (const Case& c : cases) {
        std::string path = scratch.write(c.name, c.bytes);
        Output o = load(path);
        EXPECT_EQ(o.result, -1) << c.name;
        EXPECT_HAS(o.err, path + ": ");
        EXPECT_HAS(o.err, c.message);
        EXPECT_EQ(o.out, "Loading texture: " + path + "\n") << c.name;
    }
    EXPECT_EQ(load(scratch.write("ok", sgiVerbatim(1, 1, 1, {9}))).result, 0);
}

TEST_F(TableTest, UnopenableFileGetsTheSystemsMessage)
{
    std::string path = scratch.dir + "/missing.rgb";
    Output o = load(path);
    EXPECT_EQ(o.result, -1);
    EXPECT_EQ(o.err, path + ": No such file or directory\nerror opening rgb file\n");
    EXPECT_EQ(ac_load_texture((char*)path.c_str()), -1);
}

TEST_F(TableTest, FullTableEndsTheProgramWithStatusOne)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    std::string path = scratch.write("one.rgb", sgiVerbatim(1, 1, 1, {9}));
    for (int i = 0; i < MAX_TEXTURES; i++)
        ASSERT_EQ(load(path).result, i);
    // the file is opened before the table is checked: a missing one still gives -1
    EXPECT_EQ(load(scratch.dir + "/missing.rgb").result, -1);
    EXPECT_EXIT(
        {
            removeAtExit(scratch.dir);
            dup2(2, 1); // the message goes to standard output
            ac_load_rgb_image((char*)path.c_str());
        },
        testing::ExitedWithCode(1), "out of texture space - change MAX_TEXTURES in texture\n");
}

class TextureGlTest : public zk::GlTest
{
  protected:
    void TearDown() override { ac_texture_reset(); }
    Scratch scratch;
};

static Bytes readBack(unsigned int name, GLenum format, size_t size)
{
    Bytes texels(size + 16, 0xEE);
    glBindTexture(GL_TEXTURE_2D, name);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGetTexImage(GL_TEXTURE_2D, 0, format, GL_UNSIGNED_BYTE, texels.data());
    glPixelStorei(GL_PACK_ALIGNMENT, 4);
    texels.resize(size);
    return texels;
}

TEST_F(TextureGlTest, OddWidthImagesUploadTexelForTexel)
{
    const GLenum formats[] = {GL_LUMINANCE, GL_LUMINANCE_ALPHA, GL_RGB, GL_RGBA};
    for (int z = 1; z <= 4; z++) {
        Bytes planes(5 * 2 * z);
        for (size_t i = 0; i < planes.size(); i++)
            planes[i] = (unsigned char)(7 * i + 3);
        std::string path = scratch.write("odd" + std::to_string(z), sgiVerbatim(5, 2, z, planes));
        testing::internal::CaptureStdout();
        int index = ac_load_texture((char*)path.c_str());
        testing::internal::GetCapturedStdout();
        ASSERT_EQ(index, z - 1);
        EXPECT_EQ(zk::getInt(GL_UNPACK_ALIGNMENT), 4) << "the caller's alignment comes back";
        EXPECT_EQ(readBack(ac_texture_name(index), formats[z - 1], planes.size()), pixelsOf(index))
            << z << " channels";
    }
}

// The game loads the player's spark first, then the ship's SGI texture, then the
// skybox and fourteen enemy sparks, then the enemy ship's and the missile's SGI
// textures. No upload may land on another texture's name.
TEST_F(TextureGlTest, StartUpOrderKeepsEveryTexturesPixels)
{
    auto tga = [&](int i) {
        Bytes b(18, 0);
        b[2] = 2;
        b[12] = 2, b[14] = 2, b[16] = 24;
        for (int p = 0; p < 4; p++)
            b.insert(b.end(), {(unsigned char)(i + 100), (unsigned char)i, 200}); // B, G, R
        return scratch.write("t" + std::to_string(i) + ".tga", b);
    };
    auto sgi = [&](int i) {
        Bytes planes = {10,
                        10,
                        10,
                        10,
                        (unsigned char)(50 + i),
                        (unsigned char)(50 + i),
                        (unsigned char)(50 + i),
                        (unsigned char)(50 + i),
                        30,
                        30,
                        30,
                        30};
        return scratch.write("s" + std::to_string(i) + ".rgb", sgiVerbatim(2, 2, 3, planes));
    };
    unsigned int tgaNames[16] = {};
    int sgiIndex[3];
    testing::internal::CaptureStdout();
    tga_make_texture(tgaNames, tga(0).c_str(), 0);
    sgiIndex[0] = ac_load_texture((char*)sgi(0).c_str());
    for (int i = 1; i < 16; i++)
        tga_make_texture(tgaNames, tga(i).c_str(), i);
    sgiIndex[1] = ac_load_texture((char*)sgi(1).c_str());
    sgiIndex[2] = ac_load_texture((char*)sgi(2).c_str());
    testing::internal::GetCapturedStdout();

    for (int i = 0; i < 16; i++) {
        Bytes texel = {200, (unsigned char)i, (unsigned char)(i + 100)};
        EXPECT_EQ(readBack(tgaNames[i], GL_RGB, 3), texel) << "TGA texture " << i;
    }
    for (int i = 0; i < 3; i++) {
        ASSERT_EQ(sgiIndex[i], i);
        EXPECT_EQ(readBack(ac_texture_name(i), GL_RGB, 3), Bytes({10, (unsigned char)(50 + i), 30}))
            << "SGI texture " << i;
        EXPECT_NE(ac_texture_name(i), 0u) << "a generated name, whatever the order of the run";
        for (unsigned int name : tgaNames)
            EXPECT_NE(ac_texture_name(i), name);
    }
}

// ImageMagick's decoding as RGBA, top row first; empty when it cannot read it.
static Bytes imageMagickRgba(const std::string& path, int w, int h)
{
    std::string out;
    if (zk::runCommand("convert 'SGI:" + path + "' -depth 8 rgba:- 2>/dev/null", &out) != 0)
        return {};
    return out.size() == (size_t)w * h * 4 ? Bytes(out.begin(), out.end()) : Bytes{};
}

// Every real file either decodes to ImageMagick's pixels (ours bottom row first)
// or is refused with a message naming it.
TEST(SgiCorpus, DecodesLikeImageMagickOrIsRefused)
{
    fs::path corpus = fs::path(ZK_CORPUS_DIR) / "sgi";
    if (!fs::exists(corpus))
        GTEST_SKIP() << "no corpus at " << corpus << " (it lives beside the project)";
    std::vector<std::string> decoded;
    for (const auto& entry : fs::directory_iterator(corpus)) {
        std::string path = entry.path().string(), name = entry.path().filename().string();
        Output o = load(path);
        if (o.result == -1) {
            EXPECT_HAS(o.err, path + ": ");
            continue;
        }
        decoded.push_back(name);
        const ACTexture_t* t = ac_get_texture(o.result);
        Bytes oracle = imageMagickRgba(path, t->width, t->height);
        ASSERT_FALSE(oracle.empty()) << name << ": ImageMagick disagrees on the size or fails";
        int z = t->components, bad = 0;
        for (int y = 0; y < t->height; y++) {
            for (int x = 0; x < t->width; x++) {
                const unsigned char* ours = t->pixels + ((size_t)y * t->width + x) * z;
                const unsigned char* theirs =
                    oracle.data() + ((size_t)(t->height - 1 - y) * t->width + x) * 4;
                // ImageMagick drops the alpha of a two-channel image: luminance only there
                bool same = z <= 2 ? ours[0] == theirs[0] && theirs[0] == theirs[1] && theirs[1] == theirs[2]
                                   : memcmp(ours, theirs, z) == 0;
                bad += !same;
            }
        }
        EXPECT_EQ(bad, 0) << name << ": pixels differ from ImageMagick's";
        ac_texture_reset();
    }
    // these are sound files of every kind the reader takes: none may be refused
    for (const char* must :
         {"hopper.rgb", "hopper.sgi", "hopper.bw", "rpm-01.rgb", "empty.rgb", "tree0.rgba"}) {
        if (fs::exists(corpus / must)) {
            EXPECT_NE(std::find(decoded.begin(), decoded.end(), must), decoded.end()) << must;
        }
    }
    printf("%zu corpus images decoded like ImageMagick, the rest refused\n", decoded.size());
}
