// The AC3D renderer on a real context: what reaches rasterisation (feedback)
// and the OpenGL state each kind of surface, material and texture leaves.
#include "ac3d.h"
#include "ac3d_files.h"
#include "texture.h"

#include <GL/gl.h>
#include <GL/glu.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <functional>

using ac3dtest::Scratch;

namespace
{

class Ac3dRender : public zk::GlTest
{
  protected:
    void SetUp() override
    {
        zk::GlTest::SetUp();
        ac_reset_for_tests();
        zk::useOrthoBox(4);
        glDisable(GL_CULL_FACE);
        glDisable(GL_BLEND);
    }
    ACObject_t* load(const std::string& body)
    {
        ACObject_t* ob = ac3dtest::load(scratch, std::string("AC3Db\n") + ac3dtest::kMaterials + body);
        EXPECT_NE(ob, nullptr);
        trees.push_back(ob);
        return ob;
    }
    void TearDown() override
    {
        for (ACObject_t* ob : trees)
            ac_object_free(ob);
    }
    Scratch scratch;
    std::vector<ACObject_t*> trees;
};

// A triangle, a quad, an open line and a closed line over the corners of a unit square.
const char* kShapes = "OBJECT poly\nnumvert 4\n0 0 0\n1 0 0\n1 1 0\n0 1 0\nnumsurf 4\n"
                      "SURF 0x20\nmat 0\nrefs 3\n0 0 0\n1 0 0\n2 0 0\n"
                      "SURF 0x20\nmat 0\nrefs 4\n0 0 0\n1 0 0\n2 0 0\n3 0 0\n"
                      "SURF 0x02\nmat 1\nrefs 2\n0 0 0\n2 0 0\n"
                      "SURF 0x01\nmat 1\nrefs 3\n0 0 0\n1 0 0\n2 0 0\nkids 0\n";

bool near(const zk::FbVertex& v, double x, double y, double z)
{
    return std::abs(v.ox - x) < 1e-3 && std::abs(v.oy - y) < 1e-3 && std::abs(v.oz - z) < 1e-3;
}

} // namespace

TEST_F(Ac3dRender, SurfaceKindsBecomeTheirPrimitives)
{
    ACObject_t* ob = load(kShapes);
    int depth = zk::stackDepth(GL_MODELVIEW_STACK_DEPTH);
    auto all = zk::captureFeedback([&] { ac_render_object(ob); });
    EXPECT_EQ(zk::stackDepth(GL_MODELVIEW_STACK_DEPTH), depth);

    std::vector<zk::FbPrimitive> polys = zk::polygons(all), lines;
    for (const auto& p : all)
        if (p.token == GL_LINE_TOKEN || p.token == GL_LINE_RESET_TOKEN)
            lines.push_back(p);
    // the triangle, then the quad as one polygon: some piece holds both (0,0) and (0,1),
    // which a strip of the same four vertices never draws together
    ASSERT_GE(polys.size(), 2u);
    EXPECT_EQ(polys[0].v.size(), 3u);
    bool spansQuad = std::any_of(polys.begin() + 1, polys.end(), [](const zk::FbPrimitive& p) {
        return std::any_of(p.v.begin(), p.v.end(), [](auto& v) { return near(v, 0, 0, 0); }) &&
               std::any_of(p.v.begin(), p.v.end(), [](auto& v) { return near(v, 0, 1, 0); });
    });
    EXPECT_TRUE(spansQuad);
    // one segment for the open line, three for the closed one, all in the diffuse red, unlit
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_TRUE(near(lines[0].v[0], 0, 0, 0) && near(lines[0].v[1], 1, 1, 0));
    EXPECT_TRUE(near(lines[3].v[1], 0, 0, 0));
    EXPECT_FLOAT_EQ(lines[0].v[0].r, 1.0f);
    EXPECT_FLOAT_EQ(lines[0].v[0].g, 0.0f);
    EXPECT_FALSE(zk::enabled(GL_LIGHTING));
    EXPECT_TRUE(zk::enabled(GL_CULL_FACE)); // the last surface is one-sided
}

TEST_F(Ac3dRender, MaterialsBlendingAndTheirMemory)
{
    ACObject_t* opaque =
        load("OBJECT poly\nnumvert 3\n0 0 0\n1 0 0\n0 1 0\nnumsurf 2\nSURF 0\nmat 0\nrefs 3\n"
             "0 0 0\n1 0 0\n2 0 0\nSURF 0\nmat 0\nrefs 3\n0 0 0\n1 0 0\n2 0 0\nkids 0\n");
    ACObject_t* glass = load("OBJECT poly\nnumvert 3\n0 0 0\n1 0 0\n0 1 0\nnumsurf 1\nSURF 0\nmat 1\nrefs 3\n"
                             "0 0 0\n1 0 0\n2 0 0\nkids 0\n");
    glEnable(GL_BLEND);
    ac_render_object(opaque);
    EXPECT_FALSE(zk::enabled(GL_BLEND));
    EXPECT_TRUE(zk::enabled(GL_LIGHTING));
    EXPECT_TRUE(zk::enabled(GL_CULL_FACE));
    std::array<float, 4> d{};
    glGetMaterialfv(GL_FRONT, GL_DIFFUSE, d.data());
    EXPECT_EQ(d, (std::array<float, 4>{1, 1, 1, 1}));

    // the same material again is not resent: what was set in between stays
    const GLfloat blue[] = {0, 0, 1, 1};
    glMaterialfv(GL_FRONT_AND_BACK, GL_DIFFUSE, blue);
    ac_render_object(opaque);
    glGetMaterialfv(GL_FRONT, GL_DIFFUSE, d.data());
    EXPECT_EQ(d, (std::array<float, 4>{0, 0, 1, 1}));

    ac_render_object(glass);
    glGetMaterialfv(GL_FRONT, GL_DIFFUSE, d.data());
    EXPECT_EQ(d, (std::array<float, 4>{1, 0, 0, 0.5f}));
    EXPECT_TRUE(zk::enabled(GL_BLEND));
    EXPECT_EQ(zk::getInt(GL_BLEND_SRC), GL_SRC_ALPHA);
    EXPECT_EQ(zk::getInt(GL_BLEND_DST), GL_ONE_MINUS_SRC_ALPHA);
}

TEST_F(Ac3dRender, ExplosionPushesVerticesAlongNormalsAndFades)
{
    // a triangle in the plane x = 1, facing +x; seen from an angle so it is not edge-on
    ACObject_t* wall =
        load("OBJECT poly\nnumvert 3\n1 0 0\n1 1 0\n1 0 1\nnumsurf 1\nSURF 0x20\nmat 0\nrefs 3\n"
             "0 0 0\n1 0 0\n2 0 0\nkids 0\n");
    ACObject_t* glass =
        load("OBJECT poly\nnumvert 3\n0 0 0\n1 0 0\n0 1 0\nnumsurf 1\nSURF 0x20\nmat 1\nrefs 3\n"
             "0 0 0\n1 0 0\n2 0 0\nkids 0\n");
    glRotatef(40, 0, 1, 0);
    glRotatef(20, 1, 0, 0);
    auto verts = zk::allVertices(zk::captureFeedback([&] { ac_render_object_explosion(wall, 0.5f); }));
    ASSERT_EQ(verts.size(), 3u);
    EXPECT_TRUE(near(verts[0], 1.5, 0, 0));
    EXPECT_TRUE(near(verts[2], 1.5, 0, 1));
    std::array<float, 4> d{};
    glGetMaterialfv(GL_FRONT, GL_DIFFUSE, d.data());
    EXPECT_NEAR(d[3], 1.0 - 0.5 / 3.0, 1e-6);
    EXPECT_TRUE(zk::enabled(GL_BLEND));

    ac_render_object_explosion(glass, 3.0f);
    glGetMaterialfv(GL_FRONT, GL_DIFFUSE, d.data());
    EXPECT_EQ(d[3], 0.0f);
}

TEST_F(Ac3dRender, TexturesNormalsCullingAndChildren)
{
    // a verbatim 2 x 2 RGB image of the texture table
    std::string sgi(512, '\0');
    sgi[0] = 0x01, sgi[1] = (char)0xDA, sgi[3] = 1, sgi[5] = 3, sgi[7] = 2, sgi[9] = 2, sgi[11] = 3;
    scratch.write("img.rgb", sgi + std::string(12, '\x7f'));
    ACObject_t* ob =
        load("OBJECT world\nloc 1 0 0\nrot 0 1 0 -1 0 0 0 0 1\nkids 2\n"
             "OBJECT poly\ntexture \"img.rgb\"\ntexrep 2 3\ntexoff 0.5 0\nloc 0 2 0\n"
             "numvert 4\n0 0 0\n1 0 0\n0 1 0\n0 0 1\nnumsurf 2\n"
             "SURF 0x10\nmat 0\nrefs 3\n0 0 0\n1 1 0\n2 0 1\n"
             "SURF 0x10\nmat 0\nrefs 3\n0 0 0\n3 0 0\n1 1 0\nkids 0\n"
             "OBJECT poly\nnumvert 3\n0 0 0\n1 0 0\n0 1 0\nnumsurf 2\nSURF 0x22\nrefs 2\n2 0 0\n0 0 0\n"
             "SURF 0x20\nrefs 3\n0 0.5 0.5\n1 0 0\n2 0 0\nkids 0\n");
    ASSERT_EQ(ob->num_kids, 2);
    ACObject_t* textured = ob->kids[0];
    ASSERT_GE(textured->texture, 0);
    ACObject_t* plain = ob->kids[1];
    glRotatef(30, 1, 0, 0); // both faces of the textured child turned towards the viewer

    glTexCoord2f(0.25f, 0.75f);
    auto verts = zk::allVertices(zk::captureFeedback([&] { ac_render_object(textured); }));
    // the child sits at its own loc only here; u, v are scaled by texrep and moved by texoff
    ASSERT_FALSE(verts.empty());
    EXPECT_TRUE(near(verts[0], 0, 2, 0));
    EXPECT_FLOAT_EQ(verts[0].s, 0.5f);
    EXPECT_FLOAT_EQ(verts[1].s, 2.5f);
    EXPECT_FLOAT_EQ(verts[2].t, 3.0f);
    EXPECT_TRUE(zk::enabled(GL_TEXTURE_2D));
    EXPECT_EQ((unsigned)zk::getInt(GL_TEXTURE_BINDING_2D), ac_texture_name(textured->texture));
    // smooth: the last vertex (1, 0, 0) sent its averaged normal, not the face's
    auto n = zk::getFloat4(GL_CURRENT_NORMAL);
    EXPECT_FLOAT_EQ(n[1], 0.5f);
    EXPECT_FLOAT_EQ(n[2], 0.5f);
    EXPECT_TRUE(zk::enabled(GL_CULL_FACE));

    // the whole tree: the parent's loc carries the children, its rotation is not drawn;
    // the untextured child turns texturing off and sends no coordinates
    glTexCoord2f(0.25f, 0.75f);
    verts = zk::allVertices(zk::captureFeedback([&] { ac_render_object(ob); }));
    ASSERT_EQ(verts.size(), 11u);
    EXPECT_TRUE(near(verts[0], 1, 2, 0));
    EXPECT_TRUE(near(verts[6], 1, 1, 0));
    EXPECT_FLOAT_EQ(verts[6].s, 2.5f); // the last coordinate the textured child sent
    EXPECT_FALSE(zk::enabled(GL_TEXTURE_2D));
    EXPECT_FALSE(zk::enabled(GL_CULL_FACE));
    // flat: the face's normal, not the (0, 0, 0.5) its corners average with the line
    n = zk::getFloat4(GL_CURRENT_NORMAL);
    EXPECT_EQ(n[2], 1.0f);
    EXPECT_EQ(plain->texture, -1);
}

TEST_F(Ac3dRender, DisplayListsReplayTheDrawing)
{
    ACObject_t* ob = load(kShapes);
    auto direct = zk::allVertices(zk::captureFeedback([&] { ac_render_object(ob); }));
    int list = ac_display_list_render_object(ob);
    ASSERT_GT(list, 0);
    auto replayed = zk::allVertices(zk::captureFeedback([&] { glCallList(list); }));
    ASSERT_EQ(replayed.size(), direct.size());
    for (size_t i = 0; i < direct.size(); i++)
        EXPECT_TRUE(near(replayed[i], direct[i].ox, direct[i].oy, direct[i].oz)) << i;

    scratch.write("ship.ac", std::string("AC3Db\n") + kShapes);
    {
        zk::StdoutCapture quiet;
        EXPECT_EQ(ac_load_and_render_ac3d(const_cast<char*>("none.ac")), -1);
        list = ac_load_and_render_ac3d(const_cast<char*>("ship.ac"));
    }
    ASSERT_GT(list, 0);
    EXPECT_EQ(zk::allVertices(zk::captureFeedback([&] { glCallList(list); })).size(), direct.size());
}

TEST_F(Ac3dRender, EveryCorpusModelCompiles)
{
    std::string corpus = std::string(ZK_CORPUS_DIR) + "/ac3d";
    if (!std::filesystem::exists(corpus))
        GTEST_SKIP() << "no corpus at " << corpus << " (it lives beside the project, not in it)";
    ac_set_texture_loader([](char*) { return -1; });
    for (const auto& entry : std::filesystem::directory_iterator(corpus)) {
        ac_reset_for_tests();
        std::string path = entry.path().string();
        zk::StdoutCapture quiet;
        int list = ac_load_and_render_ac3d(const_cast<char*>(path.c_str()));
        quiet.finish();
        if (list < 0)
            continue;
        glCallList(list);
        glDeleteLists(list, 1);
        EXPECT_EQ(zk::stackDepth(GL_MODELVIEW_STACK_DEPTH), 1) << path;
    }
    ac_set_texture_loader(ac_load_texture);
}

namespace
{

// The pixels of a 640 x 640 frame of one drawing, lit as the game lights it,
// looked at from `angulo` degrees round Y and a little above.
std::vector<unsigned char> fotoModelo(const std::function<void()>& dibujar, float angulo)
{
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(45.0, 1.0, 1.0, 100.0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    const GLfloat luz[] = {0.0f, 10.0f, 50.0f, 1.0f};
    glLightfv(GL_LIGHT0, GL_POSITION, luz);
    gluLookAt(0, 4, 14, 0, 0, 0, 0, 1, 0);
    glRotatef(angulo, 0, 1, 0);
    dibujar();
    glFinish();
    return zk::readPixels(0, 0, 640, 640);
}

// Pixels whose channels differ by more than 8 levels.
int distintos(const std::vector<unsigned char>& a, const std::vector<unsigned char>& b)
{
    int n = 0;
    for (size_t i = 0; i + 3 < a.size(); i += 4)
        for (size_t c = 0; c < 3; c++)
            if (std::abs(a[i + c] - b[i + c]) > 8) {
                n++;
                break;
            }
    return n;
}

} // namespace

// The runs of triangles the game compiles its models into draw what the
// surface-by-surface renderer draws: filled, flat-shaded (each polygon keeps
// the colour of the vertex it had) and as lines (no inner edge of a fan shows),
// from several sides; and a list leaves the edge flag on for what follows.
TEST_F(Ac3dRender, BatchedListsDrawWhatTheSurfaceRendererDraws)
{
    const std::string data = std::string(ZK_SOURCE_DIR) + "/space-zarkons-3d";
    const auto antes = std::filesystem::current_path();
    std::filesystem::current_path(data);
    const char* archivos[] = {"data/nave1_chico.ac", "data/nave_open.ac", "data/Misil_chico.ac"};
    std::vector<ACObject_t*> modelos;
    {
        zk::StdoutCapture quiet;
        for (const char* f : archivos)
            modelos.push_back(ac_load_ac3d(const_cast<char*>(f)));
    }
    std::filesystem::current_path(antes);
    glEnable(GL_LIGHTING);
    glEnable(GL_LIGHT0);
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_LINE_SMOOTH);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    for (size_t m = 0; m < modelos.size(); m++) {
        ACObject_t* ob = modelos[m];
        ASSERT_NE(ob, nullptr) << archivos[m];
        trees.push_back(ob);
        const GLuint lista = (GLuint)ac_display_list_batched(ob);
        for (GLenum modo : {GL_FILL, GL_LINE})
            for (GLenum sombreado : {GL_SMOOTH, GL_FLAT})
                for (float angulo : {0.0f, 70.0f, 160.0f, 250.0f}) {
                    glPolygonMode(GL_FRONT_AND_BACK, modo);
                    glShadeModel(sombreado);
                    auto superficies = fotoModelo([&] { ac_render_object(ob); }, angulo);
                    auto lotes = fotoModelo([&] { glCallList(lista); }, angulo);
                    EXPECT_LE(distintos(superficies, lotes), 640 * 640 / 200)
                        << archivos[m] << " mode " << modo << " shading " << sombreado << " angle " << angulo;
                }
        GLboolean borde = GL_FALSE;
        glGetBooleanv(GL_EDGE_FLAG, &borde);
        EXPECT_TRUE(borde);
    }
    glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
    glShadeModel(GL_SMOOTH);
}
