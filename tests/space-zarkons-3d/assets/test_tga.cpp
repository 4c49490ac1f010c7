// The TGA reader and its textures: pixel formats, packets, origins, refusals,
// the fatal missing image, and the real files of the corpus.
#include "tga.h"

#include "e2e.h"
#include "gl_test.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;
using Bytes = std::vector<unsigned char>;

#define EXPECT_HAS(text, part) EXPECT_NE((text).find(part), std::string::npos) << (text)

namespace
{

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

// A death-test child ends in exit(), past every destructor: its own scratch
// folder goes at exit instead.
void removeAtExit(const std::string& dir)
{
    static std::string doomed;
    doomed = dir;
    atexit([] { fs::remove_all(doomed); });
}

// Written in field order: {type, width, height, bits, descriptor, ...}.
struct Header {
    int type = 2, width = 1, height = 1, bits = 24, descriptor = 0;
    int idLength = 0, mapType = 0, mapLength = 0, mapBits = 0;
};

Bytes tga(const Header& h, const Bytes& data)
{
    Bytes b(18, 0);
    auto put16 = [&](int at, int v) {
        b[at] = v & 255;
        b[at + 1] = v >> 8;
    };
    b[0] = h.idLength;
    b[1] = h.mapType;
    b[2] = h.type;
    put16(5, h.mapLength);
    b[7] = h.mapBits;
    put16(12, h.width);
    put16(14, h.height);
    b[16] = h.bits;
    b[17] = h.descriptor;
    b.resize(18 + data.size());
    std::copy(data.begin(), data.end(), b.begin() + 18);
    return b;
}

struct Loaded {
    TgaImage* image;
    std::string out;
    Bytes pixels() const
    {
        return Bytes(image->pixels, image->pixels + (size_t)image->width * image->height * image->channels);
    }
};

class TgaTest : public ::testing::Test
{
  protected:
    Loaded load(const Header& h, const Bytes& data, const std::string& name = "t.tga")
    {
        return loadPath(scratch.write(name, tga(h, data)));
    }
    Loaded loadPath(const std::string& path)
    {
        testing::internal::CaptureStdout();
        TgaImage* image = tga_load_image(path.c_str());
        images.push_back(image);
        return {image, testing::internal::GetCapturedStdout()};
    }
    void TearDown() override
    {
        for (TgaImage* image : images)
            tga_free_image(image);
    }
    Scratch scratch;
    std::vector<TgaImage*> images;
};

} // namespace

TEST_F(TgaTest, RawPixelsOfEveryDepthBecomeRgb)
{
    Loaded rgb = load({2, 2}, {10, 20, 30, 1, 2, 3});
    ASSERT_TRUE(rgb.image);
    EXPECT_EQ(rgb.out, "");
    EXPECT_EQ(rgb.image->channels, 3);
    EXPECT_EQ(rgb.pixels(), Bytes({30, 20, 10, 3, 2, 1}));

    Loaded rgba = load({2, 1, 1, 32}, {10, 20, 30, 40});
    EXPECT_EQ(rgba.image->channels, 4);
    EXPECT_EQ(rgba.pixels(), Bytes({30, 20, 10, 40}));

    // five bits a channel scaled by 8; the top bit is not alpha here
    for (int bits : {15, 16}) {
        Loaded hi = load({2, 3, 1, bits}, {0xFF, 0x7F, 0x00, 0xFC, 0xE0, 0x83});
        EXPECT_EQ(hi.image->channels, 3);
        EXPECT_EQ(hi.pixels(), Bytes({248, 248, 248, 248, 0, 0, 0, 248, 0})) << bits;
    }
}

TEST_F(TgaTest, IdFieldAndColourMapOfATrueColourImageAreSkipped)
{
    Bytes data = {'i', 'd', '!', 1, 2, 3, 4, 5, 6, 10, 20, 30};
    Loaded l = load({2, 1, 1, 24, 0, 3, 1, 2, 24}, data);
    ASSERT_TRUE(l.image) << l.out;
    EXPECT_EQ(l.pixels(), Bytes({30, 20, 10}));
}

TEST_F(TgaTest, RunLengthPacketsFillPixelsAcrossRows)
{
    // 0x81 repeats one pixel twice; 0x01 brings two literal pixels; runs cross rows
    Loaded l = load({10, 3, 2}, {0x81, 1, 2, 3, 0x01, 4, 5, 6, 7, 8, 9, 0x81, 10, 11, 12});
    ASSERT_TRUE(l.image) << l.out;
    EXPECT_EQ(l.pixels(), Bytes({3, 2, 1, 3, 2, 1, 6, 5, 4, 9, 8, 7, 12, 11, 10, 12, 11, 10}));

    Loaded hi = load({10, 2, 1, 16}, {0x81, 0xFF, 0x7F});
    EXPECT_EQ(hi.pixels(), Bytes(6, 248));

    Loaded alpha = load({10, 1, 1, 32}, {0x00, 1, 2, 3, 4});
    EXPECT_EQ(alpha.pixels(), Bytes({3, 2, 1, 4}));
}

TEST_F(TgaTest, PacketRunningPastTheLastPixelStopsThere)
{
    Loaded l = load({10, 2}, {0x83, 1, 2, 3, 0x00, 9, 9, 9});
    ASSERT_TRUE(l.image);
    EXPECT_EQ(l.pixels(), Bytes({3, 2, 1, 3, 2, 1}));
    EXPECT_HAS(l.out, "a packet runs past the last pixel");
}

// Rows come out bottom-up and left to right, from whichever corner the file starts.
TEST_F(TgaTest, OriginBitsPutTheFirstPixelInItsCorner)
{
    Bytes fileOrder = {1, 1, 1, 2, 2, 2, 3, 3, 3, 4, 4, 4};
    const std::pair<int, Bytes> cases[] = {
        {0x00, fileOrder},
        {0x20, {3, 3, 3, 4, 4, 4, 1, 1, 1, 2, 2, 2}},
        {0x10, {2, 2, 2, 1, 1, 1, 4, 4, 4, 3, 3, 3}},
        {0x30, {4, 4, 4, 3, 3, 3, 2, 2, 2, 1, 1, 1}},
    };
    for (const auto& [descriptor, expected] : cases)
        EXPECT_EQ(load({2, 2, 2, 24, descriptor}, fileOrder).pixels(), expected) << descriptor;
}

TEST_F(TgaTest, UnusableFilesAreRefusedWithAMessage)
{
    Loaded missing = loadPath(scratch.dir + "/missing.tga");
    EXPECT_EQ(missing.image, nullptr);
    EXPECT_EQ(missing.out, "\nUnable to load TGA File!\n");

    Bytes cut = tga({}, {});
    cut.resize(17);
    EXPECT_EQ(loadPath(scratch.write("cut.tga", cut)).image, nullptr);

    const struct {
        Header header;
        Bytes data;
        const char* message;
    } cases[] = {
        {{1, 1, 1, 8, 0, 0, 1, 1, 24}, {1, 2, 3, 0}, "colour-mapped"},
        {{3, 1, 1, 8}, {7}, "grey-scale"},
        {{0}, {}, "type 0 is not supported"},
        {{2, 1, 1, 8}, {7}, "8-bit TGA pixels are not supported"},
        {{2, 0}, {}, "empty image (0x1)"},
        {{2, 16385, 1, 8}, {}, "8-bit"},
        {{2, 16385}, {}, "image too large (16385x1"},
        {{2, 2}, {1, 2, 3, 4, 5}, "truncated"},
        // products far past an int: refused before anything is allocated
        {{2, 16384, 16384, 32}, {1, 2, 3, 4}, "truncated"},
        {{10, 3}, {0x00, 1, 2, 3, 0x00, 4, 5}, "truncated"},
        {{10, 300}, {0xFF, 1, 2, 3, 0x00, 4, 5}, "truncated"},
    };
    for (const auto& c : cases) {
        Loaded l = load(c.header, c.data, "bad.tga");
        EXPECT_EQ(l.image, nullptr) << c.message;
        EXPECT_HAS(l.out, scratch.dir + "/bad.tga: ");
        EXPECT_HAS(l.out, c.message);
    }
}

TEST_F(TgaTest, UnreadableSparkEndsTheProgramWithStatusOne)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    unsigned int names[1] = {0};
    std::string missing = scratch.dir + "/spark.tga";
    EXPECT_EXIT((removeAtExit(scratch.dir), dup2(2, 1), tga_make_texture(names, missing.c_str(), 0)),
                testing::ExitedWithCode(1), "\nUnable to load TGA File!\n");
    std::string grey = scratch.write("grey.tga", tga({3, 1, 1, 8}, {7}));
    EXPECT_EXIT((removeAtExit(scratch.dir), dup2(2, 1), tga_make_texture(names, grey.c_str(), 0)),
                testing::ExitedWithCode(1), "grey-scale TGA images are not supported");
}

class TgaGlTest : public zk::GlTest
{
  protected:
    Scratch scratch;
};

TEST_F(TgaGlTest, TextureKeepsTheImageTexelForTexel)
{
    unsigned int names[3] = {77, 77, 77};
    tga_make_texture(names, nullptr, 1);
    EXPECT_EQ(names[1], 77u) << "a null path makes no texture";

    Bytes bgr(5 * 2 * 3);
    for (size_t i = 0; i < bgr.size(); i++)
        bgr[i] = (unsigned char)(11 * i + 1);
    tga_make_texture(names, scratch.write("odd.tga", tga({2, 5, 2}, bgr)).c_str(), 1);
    tga_make_texture(names, scratch.write("a.tga", tga({2, 1, 1, 32}, {1, 2, 3, 4})).c_str(), 2);
    ASSERT_NE(names[1], 77u);
    ASSERT_NE(names[2], names[1]);

    Bytes texels(bgr.size() + 8, 0);
    glBindTexture(GL_TEXTURE_2D, names[1]);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_BGR, GL_UNSIGNED_BYTE, texels.data());
    EXPECT_EQ(Bytes(texels.begin(), texels.begin() + bgr.size()), bgr);
    EXPECT_EQ(zk::getInt(GL_UNPACK_ALIGNMENT), 4) << "the caller's alignment comes back";
    GLint minFilter = 0, magFilter = 0;
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, &minFilter);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, &magFilter);
    EXPECT_EQ(minFilter, GL_LINEAR_MIPMAP_NEAREST);
    EXPECT_EQ(magFilter, GL_LINEAR);

    glBindTexture(GL_TEXTURE_2D, names[2]);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, texels.data());
    glPixelStorei(GL_PACK_ALIGNMENT, 4);
    EXPECT_EQ(Bytes(texels.begin(), texels.begin() + 4), Bytes({3, 2, 1, 4}));
}

// Every real file either decodes to ImageMagick's pixels (ours bottom row first,
// ImageMagick's top row first) or is refused with a message naming it. 15- and
// 16-bit pixels are compared on their five bits, since the two scale them apart.
TEST(TgaCorpus, DecodesLikeImageMagickOrIsRefused)
{
    fs::path corpus = fs::path(ZK_CORPUS_DIR) / "tga";
    if (!fs::exists(corpus))
        GTEST_SKIP() << "no corpus at " << corpus << " (it lives beside the project)";
    std::vector<std::string> decoded;
    for (const auto& entry : fs::directory_iterator(corpus)) {
        std::string path = entry.path().string(), name = entry.path().filename().string();
        testing::internal::CaptureStdout();
        TgaImage* image = tga_load_image(path.c_str());
        std::string out = testing::internal::GetCapturedStdout();
        if (!image) {
            EXPECT_HAS(out, path + ": ");
            continue;
        }
        decoded.push_back(name);
        std::string oracle;
        int w = image->width, h = image->height, c = image->channels;
        zk::runCommand("convert '" + path + "' -auto-orient -depth 8 rgba:- 2>/dev/null", &oracle);
        EXPECT_EQ(oracle.size(), (size_t)w * h * 4) << name << ": ImageMagick disagrees on the size";
        std::ifstream file(path, std::ios::binary);
        char header[18] = {};
        file.read(header, sizeof header);
        bool fiveBits = header[16] == 15 || header[16] == 16;
        int bad = 0;
        for (int y = 0; y < h && oracle.size() == (size_t)w * h * 4; y++) {
            for (int x = 0; x < w; x++) {
                const unsigned char* ours = image->pixels + ((size_t)y * w + x) * c;
                const unsigned char* theirs =
                    (const unsigned char*)oracle.data() + ((size_t)(h - 1 - y) * w + x) * 4;
                for (int k = 0; k < c; k++)
                    bad += fiveBits ? ours[k] >> 3 != theirs[k] >> 3 : ours[k] != theirs[k];
            }
        }
        EXPECT_EQ(bad, 0) << name << ": pixels differ from ImageMagick's";
        tga_free_image(image);
    }
    // sound files of every kind the reader takes: none may be refused
    for (const char* must : {"utc16.tga", "utc24.tga", "utc32.tga", "ctc24.tga", "fileformat_ctc16.tga",
                             "tombexcavator_rgb15.tga", "tga_id_field.tga", "rgb32rle_top_right.tga"}) {
        if (fs::exists(corpus / must)) {
            EXPECT_NE(std::find(decoded.begin(), decoded.end(), must), decoded.end()) << must;
        }
    }
    printf("%zu corpus images decoded like ImageMagick, the rest refused\n", decoded.size());
}
