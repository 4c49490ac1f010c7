// The AC3D loader: keywords and their messages, the palette across
// files, vertex normals, hostile files, the real files of the corpus, and the
// names the game exports.
#include "ac3d.h"
#include "ac3d_files.h"
#include "texture.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <random>
#include <sstream>
#include <vector>

using ac3dtest::load;
using ac3dtest::Scratch;

namespace
{

const char* kTwoTriangles = "AC3Db\nOBJECT poly\nnumvert 4\n0 0 0\n1 0 0\n0 1 0\n0 0 1\nnumsurf 2\n"
                            "SURF 0x10\nmat 0\nrefs 3\n0 0 0\n1 0 0\n2 0 0\n"
                            "SURF 0x10\nmat 0\nrefs 3\n0 0 0\n3 0 0\n1 0 0\nkids 0\n";

// The averaging rule written out directly: for every vertex, search every reference.
void quadraticNormals(ACObject_t* ob, std::vector<float>& out)
{
    for (int i = 0; i < ob->num_vert; i++) {
        float sum[3] = {0, 0, 0};
        int count = 0;
        for (int s = 0; s < ob->num_surf; s++)
            for (int r = 0; r < ob->surfaces[s].num_vertref; r++)
                if (ob->surfaces[s].vertref[r] == i) {
                    for (int k = 0; k < 3; k++)
                        sum[k] += ob->surfaces[s].normal[k];
                    count++;
                }
        for (int k = 0; k < 3; k++)
            out.push_back(count > 0 ? sum[k] / count : sum[k]);
    }
}

int noTexture(char*)
{
    return -1;
}

// A load whose messages count lines from this file's start.
ACObject_t* loadFresh(Scratch& s, const std::string& text, std::string* out = nullptr)
{
    ac_reset_for_tests();
    return load(s, text, out);
}

// Every test starts from an empty palette and line count, also when the
// whole file runs in one process.
class Ac3dLoad : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        ac_reset_for_tests();
        ac_set_texture_loader(ac_load_texture);
    }
};

} // namespace

TEST_F(Ac3dLoad, HeaderCheckAndUnopenableFile)
{
    Scratch s;
    std::string out;
    ACObject_t* ob = load(s, "AC3Db\nOBJECT world\nkids 0\n", &out);
    ASSERT_NE(ob, nullptr);
    EXPECT_EQ(ob->type, AC_OBJECT_WORLD);
    EXPECT_EQ(out, "");
    ac_object_free(ob);

    for (const char* text : {"AC3\nOBJECT world\n", "ac3db\nOBJECT world\n", ""}) {
        EXPECT_EQ(load(s, text, &out), nullptr);
        EXPECT_EQ(out, "ac_load_ac '" + s.dir + "/m.ac' is not a valid AC3D file.");
    }
    zk::StdoutCapture capture;
    EXPECT_EQ(ac_load_ac3d(const_cast<char*>("nothing/here.ac")), nullptr);
    EXPECT_EQ(capture.finish(), "can't open nothing/here.ac\n");
}

TEST_F(Ac3dLoad, MaterialsFillThePaletteAndOffsetLaterFiles)
{
    Scratch s;
    std::string out;
    std::string file = std::string("AC3Db\n") + ac3dtest::kMaterials +
                       "MATERIAL \"short\" rgb 1 1 1 amb 0 0 0 emis 0 0 0 spec 0 0 0 shi 1 trans\n"
                       "OBJECT poly\nnumvert 3\n0 0 0\n1 0 0\n0 1 0\nnumsurf 1\nSURF 0\nmat 1\nrefs 3\n"
                       "0 0 0\n1 0 0\n2 0 0\nkids 0\n";
    ACObject_t* first = load(s, file, &out);
    EXPECT_EQ(out, "expected 21 params after \"MATERIAL\" - line 4\n");
    ACObject_t* second = load(s, file, &out);
    // one line counter for the run: the second file's lines follow the first's 17
    EXPECT_EQ(out, "expected 21 params after \"MATERIAL\" - line 21\n");
    ASSERT_TRUE(first && second);
    EXPECT_EQ(ac_palette_count(), 4);
    EXPECT_EQ(first->surfaces[0].mat, 1);
    EXPECT_EQ(second->surfaces[0].mat, 3);

    ACMaterial_t* m = ac_palette_get_material(1);
    EXPECT_STREQ(m->name, "red glass");
    EXPECT_FLOAT_EQ(m->rgb[0], 1.0f);
    EXPECT_FLOAT_EQ(m->ambient[0], 0.1f);
    EXPECT_FLOAT_EQ(ac_palette_get_material(0)->specular[1], 0.5f);
    EXPECT_FLOAT_EQ(ac_palette_get_material(0)->shininess, 10.0f);
    EXPECT_FLOAT_EQ(m->transparency, 0.5f);
    ac_object_free(first);
    ac_object_free(second);

    // past 255 materials the extra ones are refused, and so are surfaces naming them
    ac_reset_for_tests();
    std::string full = "AC3Db\n";
    for (int i = 0; i < 256; i++)
        full += "MATERIAL m rgb 0 0 0 amb 0 0 0 emis 0 0 0 spec 0 0 0 shi 0 trans 0\n";
    full += "OBJECT poly\nnumvert 3\n0 0 0\n1 0 0\n0 1 0\nnumsurf 1\nSURF 0\nmat 255\nrefs 3\n0 0 0\n"
            "1 0 0\n2 0 0\nkids 0\n";
    ACObject_t* ob = load(s, full, &out);
    EXPECT_EQ(ac_palette_count(), AC_PALETTE_SIZE);
    EXPECT_NE(out.find("palette full (255 materials) - ignoring MATERIAL at line 257\n"), std::string::npos);
    EXPECT_NE(out.find("mat 255 at line 265 is not in the palette - ignored\n"), std::string::npos);
    EXPECT_EQ(ob->surfaces[0].mat, 0);
    ac_object_free(ob);
}

TEST_F(Ac3dLoad, ObjectKeywordsAndTheirMessages)
{
    Scratch s;
    std::string out;
    ac_set_texture_loader([](char* name) { return strcmp(name, "data/a b.rgb") == 0 ? 7 : -1; });
    ACObject_t* ob =
        load(s,
             "AC3Db\nOBJECT group\nname \"the ship\"\ndata 5\nab\ncd\n\n  \ntexture \"data/a b.rgb\"\n"
             "texrep 2 3\ntexoff 0.5 0.25\nloc 1 2\nrot 9 8 7 x\nurl http://x\n"
             "name\ntexture a b\ntexrep 1\ntexoff 1 2 3\nurl\ndata\n"
             "numvert 1\n" +
                 std::string(300, ' ') + "1 2 3\nkids 0\n",
             &out);
    ASSERT_NE(ob, nullptr);
    EXPECT_EQ(ob->type, AC_OBJECT_GROUP);
    EXPECT_STREQ(ob->name, "the ship");
    EXPECT_STREQ(ob->data, "ab\ncd");
    EXPECT_EQ(ob->texture, 7);
    EXPECT_FLOAT_EQ(ob->texture_repeat_y, 3.0f);
    EXPECT_FLOAT_EQ(ob->texture_offset_x, 0.5f);
    EXPECT_EQ(std::vector<float>(ob->loc, ob->loc + 3), (std::vector<float>{1, 2, 0}));
    EXPECT_EQ(std::vector<float>(ob->matrix, ob->matrix + 9),
              (std::vector<float>{9, 8, 7, 0, 1, 0, 0, 0, 1}));
    EXPECT_STREQ(ob->url, "http://x");
    // data takes its bytes and the blank lines after them as one line
    EXPECT_EQ(out, "expected quoted name at line 12 (got 1 tokens)\n"
                   "expected quoted texture name at line 13\n"
                   "expected 'texrep <float> <float>' at line 14\n"
                   "expected 'texoff <float> <float>' at line 15\n"
                   "expected one arg to url at line 16 (got url)\n"
                   "expected 'data <number>' at line 17\n");
    // a 300-character line is read in two pieces: the vertex is the first, all blanks
    EXPECT_EQ(ob->num_vert, 1);
    EXPECT_FLOAT_EQ(ob->vertices[0].x, 0.0f);
    ac_object_free(ob);

    ac_set_texture_loader(ac_load_texture);
    ob = load(s, "AC3Db\nOBJECT light\ntexture missing.rgb\nkids 0\n", &out);
    EXPECT_EQ(ob->texture, -1);
    EXPECT_EQ(out, "Loading texture: missing.rgb\n");
    ac_object_free(ob);
}

TEST_F(Ac3dLoad, SurfaceFlagsMaterialsAndStrayLines)
{
    Scratch s;
    std::string out;
    std::string file =
        std::string("AC3Db\n") + ac3dtest::kMaterials + "OBJECT poly\nnumvert 2\n0 0 0\n1 0 0\nnumsurf 4\n";
    for (const char* surf : {"SURF 0x30", "SURF 020", "SURF 20", "SURF 1 2"})
        file += std::string(surf) + "\n\ncrease 30\nmat 1\nrefs 2\n0 0 0\n1 0 0\n";
    ACObject_t* ob = load(s, file + "kids 0\n", &out);
    ASSERT_NE(ob, nullptr);
    EXPECT_EQ(ob->surfaces[0].flags, 0x30);
    EXPECT_EQ(ob->surfaces[1].flags, 16);
    EXPECT_EQ(ob->surfaces[2].flags, 20);
    EXPECT_EQ(ob->surfaces[3].flags, 0);
    EXPECT_EQ(ob->surfaces[3].mat, 1);
    EXPECT_EQ(out, "ignoring crease\nignoring crease\nignoring crease\n"
                   "SURF should be followed by one flags argument\nignoring crease\n");
    ac_object_free(ob);
}

TEST_F(Ac3dLoad, KidsBuildTheTreeAndAFailedChildKeepsTheOthers)
{
    Scratch s;
    std::string out;
    // kids 0 ends an object: the next OBJECT is its parent's next child
    ACObject_t* ob = loadFresh(s,
                               "AC3Db\nOBJECT world\nkids 2\nOBJECT poly\nname \"a\"\nloc 1 0 0\nkids 0\n"
                               "OBJECT poly\nname \"b\"\nkids 1\nOBJECT poly\nname \"c\"\nkids 0\n"
                               "OBJECT poly\nname \"never read\"\nkids 0\n",
                               &out);
    ASSERT_NE(ob, nullptr);
    ASSERT_EQ(ob->num_kids, 2);
    EXPECT_STREQ(ob->kids[0]->name, "a");
    EXPECT_STREQ(ob->kids[1]->kids[0]->name, "c");
    ac_object_free(ob);

    // the third child is cut off; a second OBJECT before kids replaces the first
    ob =
        loadFresh(s,
                  "AC3Db\nOBJECT world\nkids 3\nOBJECT poly\nname \"lost\"\nOBJECT poly\nname \"a\"\nkids 0\n"
                  "OBJECT poly\nnumvert 1\n0 0 0\nnumsurf 1\nSURF 0\n",
                  &out);
    ASSERT_NE(ob, nullptr);
    ASSERT_EQ(ob->num_kids, 1);
    EXPECT_STREQ(ob->kids[0]->name, "a");
    EXPECT_EQ(out, "error whilst reading surface at line: 13\n"
                   "error reading expected child object 2 of 3 at line: 13\n");
    ac_object_free(ob);

    EXPECT_EQ(loadFresh(s, "AC3Db\nMATERIAL x\nnumvert 3\n", &out), nullptr);
}

TEST_F(Ac3dLoad, VertexNormalsAverageSurfaceNormals)
{
    Scratch s;
    ACObject_t* ob = load(s, kTwoTriangles);
    ASSERT_NE(ob, nullptr);
    auto normal = [&](int i) {
        return std::vector<float>(ob->vertices[i].normal, ob->vertices[i].normal + 3);
    };
    EXPECT_EQ(normal(0), (std::vector<float>{0, 0.5f, 0.5f}));
    EXPECT_EQ(normal(2), (std::vector<float>{0, 0, 1}));
    ac_object_free(ob);

    // a line keeps (0, 0, 0) but still counts; an unreferenced vertex stays at 0
    ob = load(s, "AC3Db\nOBJECT poly\nnumvert 4\n0 0 0\n2 0 0\n0 2 0\n9 9 9\nnumsurf 2\n"
                 "SURF 0\nrefs 3\n0 0 0\n1 0 0\n2 0 0\nSURF 2\nrefs 2\n0 0 0\n1 0 0\n");
    EXPECT_EQ(std::vector<float>(ob->surfaces[1].normal, ob->surfaces[1].normal + 3),
              (std::vector<float>{0, 0, 0}));
    EXPECT_EQ(normal(0), (std::vector<float>{0, 0, 0.5f}));
    EXPECT_EQ(normal(3), (std::vector<float>{0, 0, 0}));
    ac_object_free(ob);
}

TEST_F(Ac3dLoad, OnePassNormalsEqualTheDirectSearchToTheBit)
{
    Scratch s;
    std::mt19937 rng(1234);
    std::uniform_real_distribution<float> coord(-10, 10);
    for (int model = 0; model < 20; model++) {
        int nv = 3 + rng() % 30, ns = 1 + rng() % 40;
        std::ostringstream f;
        f << "AC3Db\nOBJECT poly\nnumvert " << nv << "\n";
        for (int i = 0; i < nv; i++)
            f << coord(rng) << " " << coord(rng) << " " << coord(rng) << "\n";
        f << "numsurf " << ns << "\n";
        for (int i = 0; i < ns; i++) {
            int refs = 2 + rng() % 5;
            f << "SURF " << (rng() % 3) << "\nrefs " << refs << "\n";
            for (int r = 0; r < refs; r++)
                f << rng() % nv << " 0 0\n";
        }
        ACObject_t* ob = load(s, f.str() + "kids 0\n");
        ASSERT_NE(ob, nullptr);
        std::vector<float> got, want;
        for (int i = 0; i < ob->num_vert; i++)
            got.insert(got.end(), ob->vertices[i].normal, ob->vertices[i].normal + 3);
        quadraticNormals(ob, want);
        EXPECT_EQ(memcmp(got.data(), want.data(), got.size() * sizeof(float)), 0) << "model " << model;
        ac_object_free(ob);
    }
}

TEST_F(Ac3dLoad, HostileFilesAreSkippedOrRefusedWithAMessage)
{
    Scratch s;
    std::string out;
    // references outside the vertices are dropped; the normal comes from the ones kept
    ACObject_t* ob =
        loadFresh(s,
                  "AC3Db\nOBJECT poly\nnumvert 3\n0 0 0\n1 0 0\n0 1 0\nnumsurf 2\nSURF 0\nmat -1\n"
                  "refs 4\n0 0 0\n-1 0 0\n1 0 0\n2 0 0\nSURF 0\nrefs -2\nnumvert 2\n0 0 0\n1 0 0\nkids 0\n",
                  &out);
    ASSERT_NE(ob, nullptr);
    EXPECT_EQ(ob->surfaces[0].num_vertref, 2);
    EXPECT_FLOAT_EQ(ob->surfaces[0].normal[2], 1.0f);
    EXPECT_EQ(ob->surfaces[1].num_vertref, 0);
    EXPECT_EQ(out, "mat -1 at line 9 is not in the palette - ignored\n"
                   "vertex -1 at line 12 is not one of the object's 3 - reference skipped\n"
                   "refs -2 at line 16 is negative - taken as 0\n"
                   "dropped 1 references past the 2 vertices at line 19\n");
    ac_object_free(ob);

    // counts the rest of the file cannot hold allocate nothing and end the file there
    ob = loadFresh(s, "AC3Db\nOBJECT poly\nname \"big\"\nnumvert 2000000000\n0 0 0\nkids 0\n", &out);
    ASSERT_NE(ob, nullptr);
    EXPECT_EQ(ob->num_vert, 0);
    EXPECT_EQ(out, "numvert 2000000000 at line 4 runs past the end of the file\n");
    ac_object_free(ob);
    EXPECT_EQ(loadFresh(s, "AC3Db\nOBJECT poly\nnumsurf 99999\nSURF 0\n", &out), nullptr);
    EXPECT_EQ(
        out,
        "numsurf 99999 at line 3 runs past the end of the file\nerror whilst reading surface at line: 3\n");
    ob = loadFresh(s, "AC3Db\nOBJECT poly\ndata 100\nabc\n", &out);
    EXPECT_EQ(ob->data, nullptr);
    EXPECT_EQ(out, "data 100 at line 3 runs past the end of the file\n");
    ac_object_free(ob);

    // a truncated vertex list keeps the vertices read; truncated refs fail the surface
    ob = loadFresh(s, "AC3Db\nOBJECT poly\nnumvert 9\n1 1 1\n2 2 2\n\n\n\n", &out);
    EXPECT_EQ(ob->num_vert, 5);
    EXPECT_EQ(out, "unexpected end of file after 5 of 9 vertices at line 8\n");
    ac_object_free(ob);
    EXPECT_EQ(loadFresh(s, "AC3Db\nOBJECT poly\nnumvert 1\n0 0 0\nnumsurf 1\nrefs 3\n0 0 0\n", &out),
              nullptr);

    // nesting beyond what any model needs stops the read instead of the stack
    std::string deep = "AC3Db\n";
    for (int i = 0; i < 1000; i++)
        deep += "OBJECT group\nkids 1\n";
    ob = loadFresh(s, deep, &out);
    ASSERT_NE(ob, nullptr);
    EXPECT_NE(out.find("objects nested deeper than 256 levels at line 513"), std::string::npos);
    ac_object_free(ob);
}

TEST_F(Ac3dLoad, DumpPrintsTheTree)
{
    Scratch s;
    ACObject_t* ob = load(s, "AC3Db\nOBJECT world\nkids 1\nOBJECT poly\nname \"n\"\nloc 1 2 3\nnumvert 1\n"
                             "0.5 0 -1\nnumsurf 1\nSURF 2\nrefs 1\n0 0 0\nkids 0\n");
    zk::StdoutCapture capture;
    ac_object_dump(ob);
    EXPECT_EQ(capture.finish(), "OBJECT name (null)\nloc 0.000000 0.000000 0.000000\nnum_vert 0\nnum_surf 0\n"
                                "OBJECT name n\nloc 1.000000 2.000000 3.000000\nnum_vert 1\nnum_surf 1\n"
                                "\tv 0.500000 0.000000 -1.000000\nsurface 0, 1 refs, mat 0\n");
    ac_object_free(ob);
}

TEST_F(Ac3dLoad, EveryCorpusFileLoadsOrIsRefusedWithAMessage)
{
    std::string corpus = std::string(ZK_CORPUS_DIR) + "/ac3d";
    if (!std::filesystem::exists(corpus))
        GTEST_SKIP() << "no corpus at " << corpus << " (it lives beside the project, not in it)";
    ac_set_texture_loader(noTexture);
    int files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(corpus)) {
        ac_reset_for_tests();
        std::string path = entry.path().string();
        zk::StdoutCapture capture;
        ACObject_t* ob = ac_load_ac3d(const_cast<char*>(path.c_str()));
        std::string out = capture.finish();
        files++;
        if (ob == nullptr) {
            EXPECT_NE(out.find(path), std::string::npos) << path << ": refused without saying so";
            continue;
        }
        std::vector<ACObject_t*> todo{ob};
        while (!todo.empty()) {
            ACObject_t* o = todo.back();
            todo.pop_back();
            for (int i = 0; i < o->num_surf; i++) {
                EXPECT_LT(o->surfaces[i].mat, ac_palette_count()) << path;
                for (int r = 0; r < o->surfaces[i].num_vertref; r++)
                    ASSERT_LT(o->surfaces[i].vertref[r], o->num_vert) << path;
            }
            todo.insert(todo.end(), o->kids, o->kids + o->num_kids);
        }
        ac_object_free(ob);
    }
    EXPECT_GT(files, 0);
}

TEST(Ac3dExports, TheGameListsTheModelFunctions)
{
    std::string exe = zk::binaryPath("space-zarkons-3d");
    ASSERT_TRUE(std::filesystem::exists(exe)) << exe << " is not built";
    std::string symbols;
    ASSERT_EQ(zk::runCommand("nm -D --defined-only '" + exe + "'", &symbols), 0);
    for (const char* name :
         {"ac_load_ac3d", "ac_object_free", "get_tokens", "ac_palette_get_material", "ac_load_rgb_image",
          "ac_get_texture", "ac_load_texture", "ac_prepare_render", "ac_render_object",
          "ac_render_object_explosion", "ac_display_list_render_object", "ac_load_and_render_ac3d"})
        EXPECT_NE(symbols.find(std::string(" T ") + name + "\n"), std::string::npos) << name;
}
