// The art generator: what it writes is what is committed, and the game's own
// readers take every committed file as a finished game needs it.
#include "Geometria.h"
#include "Nave.h"
#include "ac3d.h"
#include "e2e.h"
#include "gl_test.h"
#include "texture.h"
#include "tga.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <dirent.h>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <tuple>
#include <unistd.h>
#include <vector>

using zk::GlTest;

namespace {

const char* const kModels[] = {"nave1_chico.ac", "nave_open.ac", "Misil_chico.ac"};

std::string readFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

std::set<std::string> listDir(const std::string& dir)
{
    std::set<std::string> names;
    if (DIR* d = opendir(dir.c_str())) {
        while (dirent* e = readdir(d))
            if (e->d_name[0] != '.')
                names.insert(e->d_name);
        closedir(d);
    }
    return names;
}

// Runs the built generator into a fresh folder: the folder holding its data/,
// or "" when it could not run.
std::string generate()
{
    std::string exe = zk::binaryPath("zk-artgen");
    if (access(exe.c_str(), X_OK) != 0)
        return "";
    std::string dir = zk::makeTempDir();
    if (zk::runCommand("'" + exe + "' '" + dir + "/data' > /dev/null") != 0)
        return "";
    return dir;
}

// The other tests read the committed files, the ones the game ships with (the
// first test holds them equal to the generator's), from the game's folder.
class InGameDir {
public:
    InGameDir()
    {
        char buf[4096];
        saved = getcwd(buf, sizeof buf) ? buf : ".";
        ok = chdir(zk::gameDataParent().c_str()) == 0 && access("data/nave1_chico.ac", R_OK) == 0;
    }
    ~InGameDir()
    {
        if (chdir(saved.c_str()) != 0)
            ADD_FAILURE() << "could not return to " << saved;
    }
    bool ok = false;

private:
    std::string saved;
};

#define REQUIRE_ART(guard)                                                                         \
    InGameDir guard;                                                                               \
    ASSERT_TRUE(guard.ok) << "no art in " << zk::gameDataParent()                                  \
                          << "/data: generate it with zk-artgen"

struct Box {
    float lo[3] = {1e9f, 1e9f, 1e9f}, hi[3] = {-1e9f, -1e9f, -1e9f};
};

// Every object of a tree with its position in model space.
struct Placed {
    const ACObject_t* object;
    float loc[3];
};

void collect(const ACObject_t* o, const float* parent, std::vector<Placed>& out)
{
    Placed p{o, {parent[0] + o->loc[0], parent[1] + o->loc[1], parent[2] + o->loc[2]}};
    out.push_back(p);
    for (int i = 0; i < o->num_kids; i++)
        collect(o->kids[i], p.loc, out);
}

std::vector<Placed> objects(const ACObject_t* root)
{
    std::vector<Placed> all;
    const float zero[3] = {0, 0, 0};
    collect(root, zero, all);
    return all;
}

Box boundsOf(const ACObject_t* root)
{
    Box b;
    for (const Placed& p : objects(root))
        for (int i = 0; i < p.object->num_vert; i++) {
            const ACVertex_t& v = p.object->vertices[i];
            const float xyz[3] = {v.x + p.loc[0], v.y + p.loc[1], v.z + p.loc[2]};
            for (int a = 0; a < 3; a++) {
                b.lo[a] = std::min(b.lo[a], xyz[a]);
                b.hi[a] = std::max(b.hi[a], xyz[a]);
            }
        }
    return b;
}

// Centre of the surfaces of glowing materials (emission above 0.3).
bool glowCentre(const ACObject_t* root, float centre[3])
{
    double sum[3] = {0, 0, 0};
    int n = 0;
    for (const Placed& p : objects(root))
        for (int s = 0; s < p.object->num_surf; s++) {
            const ACSurface_t& sf = p.object->surfaces[s];
            const ACMaterial_t* m = ac_palette_get_material(sf.mat);
            if (std::max({m->emissive[0], m->emissive[1], m->emissive[2]}) < 0.3f)
                continue;
            for (int r = 0; r < sf.num_vertref; r++) {
                const ACVertex_t& v = p.object->vertices[sf.vertref[r]];
                sum[0] += v.x + p.loc[0];
                sum[1] += v.y + p.loc[1];
                sum[2] += v.z + p.loc[2];
                n++;
            }
        }
    for (int a = 0; a < 3; a++)
        centre[a] = n ? (float)(sum[a] / n) : 0;
    return n > 0;
}

ACObject_t* load(const char* name)
{
    std::string path = std::string("data/") + name;
    return ac_load_ac3d(&path[0]);
}

} // namespace

TEST(Artgen, WritesExactlyTheCommittedFiles)
{
    const std::string root = generate();
    ASSERT_FALSE(root.empty()) << "zk-artgen is not built or failed: build its target";
    std::map<std::string, std::string> made;
    for (const std::string& n : listDir(root + "/data"))
        made[n] = readFile(root + "/data/" + n);
    zk::runCommand("rm -rf '" + root + "'");

    const std::string committed = zk::gameDataParent() + "/data";
    const std::string hint = "; regenerate with: zk-artgen space-zarkons-3d/data";
    ASSERT_EQ(made.size(), 8u);
    std::set<std::string> names;
    for (const auto& f : made)
        names.insert(f.first);
    EXPECT_EQ(listDir(committed), names) << "the committed data folder differs" << hint;
    for (const auto& f : made) {
        std::string b = readFile(committed + "/" + f.first);
        EXPECT_TRUE(f.second == b) << f.first << " differs from the committed file (" << f.second.size()
                                   << " bytes made, " << b.size() << " committed)" << hint;
    }
}

// Loading prints the texture reader's progress and nothing else: any other line
// would be the loader complaining about something in the file.
TEST_F(GlTest, ArtgenModelsLoadWithoutComplaintAndTheirTexturesToo)
{
    REQUIRE_ART(here);
    ac_reset_for_tests();
    int textured = 0;
    for (const char* name : kModels) {
        zk::StdoutCapture out;
        ACObject_t* root = load(name);
        std::string text = out.finish();
        ASSERT_NE(root, nullptr) << name;
        std::istringstream lines(text);
        std::string line;
        while (std::getline(lines, line)) {
            bool progress = line.rfind("Loading texture: data/", 0) == 0 ||
                            line.rfind("loaded texture ", 0) == 0;
            EXPECT_TRUE(progress) << name << " made the loader say: " << line;
        }
        for (const Placed& p : objects(root)) {
            if (p.object->texture >= 0) {
                textured++;
                const ACTexture_t* t = ac_get_texture(p.object->texture);
                EXPECT_EQ(t->components, 3);
                EXPECT_GE(t->width, 64);
            }
        }
        EXPECT_EQ(text.find("Loading texture") != std::string::npos,
                  text.find("loaded texture") != std::string::npos)
            << name << ": a texture was named but could not be read";
        ac_object_free(root);
    }
    EXPECT_GE(textured, 2);
    // both ways the SGI reader decodes run in every game
    EXPECT_EQ(readFile("data/hull.rgb")[2], 1) << "hull.rgb is to be run-length encoded";
    EXPECT_EQ(readFile("data/zarkon.rgb")[2], 0) << "zarkon.rgb is to be stored plain";
}

// The game's collision boxes are fixed; the models must fill them, face +z
// and carry their guns where the shots leave.
TEST(Artgen, ModelsFitTheGameBoxesAndFaceForward)
{
    REQUIRE_ART(here);
    ac_reset_for_tests();
    ac_set_texture_loader([](char*) { return -1; });
    struct Expect {
        const char* name;
        float half[3];
        float fill; // least share of the box each axis must cover
    } const models[] = {{"nave1_chico.ac", {6, 3, 7}, 0.9f},
                        {"nave_open.ac", {4, 2, 4}, 0.8f},
                        {"Misil_chico.ac", {0.5f, 0.5f, 2}, 0.85f}};
    for (const Expect& e : models) {
        ACObject_t* root = load(e.name);
        ASSERT_NE(root, nullptr) << e.name;
        Box b = boundsOf(root);
        for (int a = 0; a < 3; a++) {
            EXPECT_GE(b.lo[a], -e.half[a] - 1e-3f) << e.name << " axis " << a;
            EXPECT_LE(b.hi[a], e.half[a] + 1e-3f) << e.name << " axis " << a;
            EXPECT_GE(b.hi[a] - b.lo[a], 2 * e.half[a] * e.fill) << e.name << " axis " << a;
        }
        float glow[3];
        ASSERT_TRUE(glowCentre(root, glow)) << e.name << " has nothing glowing";
        if (std::string(e.name) == "nave1_chico.ac") {
            EXPECT_LT(glow[2], -5.0f) << "the fighter's thrusters belong at its tail (-z)";
            // a gun reaches forward at each side, four units out, level with the centre
            for (float side : {4.0f, -4.0f}) {
                float reach = -1e9f;
                for (const Placed& p : objects(root))
                    for (int i = 0; i < p.object->num_vert; i++) {
                        const ACVertex_t& v = p.object->vertices[i];
                        if (std::fabs(v.x + p.loc[0] - side) < 0.3f && std::fabs(v.y + p.loc[1]) < 0.5f)
                            reach = std::max(reach, v.z + p.loc[2]);
                    }
                EXPECT_GT(reach, 3.0f) << "no gun at x = " << side;
            }
        } else if (std::string(e.name) == "nave_open.ac") {
            EXPECT_GT(glow[2], 1.0f) << "the Zarkon's eye looks toward the player (+z)";
        }
        if (std::string(e.name) != "nave_open.ac") {
            // the nose: the foremost point lies on the centre line
            float best = -1e9f, x = 0, y = 0;
            for (const Placed& p : objects(root))
                for (int i = 0; i < p.object->num_vert; i++) {
                    const ACVertex_t& v = p.object->vertices[i];
                    if (v.z + p.loc[2] > best) {
                        best = v.z + p.loc[2];
                        x = v.x + p.loc[0];
                        y = v.y + p.loc[1];
                    }
                }
            EXPECT_LT(std::fabs(x), 0.05f) << e.name;
            EXPECT_LT(std::fabs(y), 0.2f) << e.name;
        }
        ac_object_free(root);
    }
    ac_set_texture_loader(ac_load_texture);
}

// The renderer draws four or more references as one GL_POLYGON, which must be
// flat and convex; the surface normals must be real; sizes stay modest.
TEST(Artgen, SurfacesAreFlatConvexPolygonsWithSensibleMaterials)
{
    REQUIRE_ART(here);
    ac_reset_for_tests();
    ac_set_texture_loader([](char*) { return -1; });
    for (const char* name : kModels) {
        ACObject_t* root = load(name);
        ASSERT_NE(root, nullptr) << name;
        int triangles = 0, smooth = 0, twoSided = 0, bad = 0;
        for (const Placed& p : objects(root)) {
            const ACObject_t* o = p.object;
            for (int s = 0; s < o->num_surf; s++) {
                const ACSurface_t& sf = o->surfaces[s];
                ASSERT_GE(sf.num_vertref, 3) << name;
                ASSERT_EQ(sf.flags & AC_SURF_KIND_MASK, AC_SURF_POLYGON) << name;
                triangles += sf.num_vertref - 2;
                smooth += (sf.flags & AC_SURF_SMOOTH) != 0;
                twoSided += (sf.flags & AC_SURF_TWO_SIDED) != 0;
                const float* n = sf.normal;
                if (std::fabs(std::sqrt(n[0] * n[0] + n[1] * n[1] + n[2] * n[2]) - 1) > 1e-3f) {
                    bad++;
                    continue;
                }
                const ACVertex_t* v = o->vertices;
                const int* r = sf.vertref;
                const int k = sf.num_vertref;
                for (int i = 0; i < k; i++) {
                    const ACVertex_t &a = v[r[i]], &b = v[r[(i + 1) % k]], &c = v[r[(i + 2) % k]];
                    float off = (b.x - v[r[0]].x) * n[0] + (b.y - v[r[0]].y) * n[1] +
                                (b.z - v[r[0]].z) * n[2];
                    float e1[3] = {b.x - a.x, b.y - a.y, b.z - a.z};
                    float e2[3] = {c.x - b.x, c.y - b.y, c.z - b.z};
                    float turn = (e1[1] * e2[2] - e1[2] * e2[1]) * n[0] +
                                 (e1[2] * e2[0] - e1[0] * e2[2]) * n[1] +
                                 (e1[0] * e2[1] - e1[1] * e2[0]) * n[2];
                    if (std::fabs(off) > 2e-3f || turn < -1e-5f)
                        bad++;
                }
            }
        }
        EXPECT_EQ(bad, 0) << name << ": polygons bent, concave or degenerate";
        EXPECT_LE(triangles, 2000) << name;
        EXPECT_GT(smooth, 0) << name << " has no smooth surface";
        EXPECT_EQ(twoSided, 0) << name << ": closed models need no two-sided surfaces";
        ac_object_free(root);
    }
    for (int i = 0; i < ac_palette_count(); i++) {
        const ACMaterial_t* m = ac_palette_get_material(i);
        EXPECT_GE(m->shininess, 0.0f);
        EXPECT_LE(m->shininess, 128.0f) << m->name;
        EXPECT_EQ(m->transparency, 0.0f) << m->name;
        for (int c = 0; c < 3; c++)
            for (const float* col : {m->rgb, m->ambient, m->specular, m->emissive})
                EXPECT_TRUE(col[c] >= 0 && col[c] <= 1) << m->name;
    }
    ac_set_texture_loader(ac_load_texture);
}

// Faces wound the wrong way, or gaps between parts, show as holes once back
// faces are culled. Seen from all round, the depth covered with back faces
// culled must match the depth covered with front faces culled.
TEST_F(GlTest, ArtgenModelsHaveNoHolesWhenBackFacesAreCulled)
{
    REQUIRE_ART(here);
    ac_reset_for_tests();
    const float dirs[][2] = {{0, 0},    {90, 0},   {180, 0}, {270, 0}, {0, 90},   {0, -90},
                             {45, 35},  {135, 35}, {225, 35}, {315, 35}, {45, -35}, {135, -35},
                             {225, -35}, {315, -35}};
    for (const char* name : kModels) {
        ACObject_t* root = load(name);
        ASSERT_NE(root, nullptr) << name;
        Box b = boundsOf(root);
        float half = 0;
        for (int a = 0; a < 3; a++)
            half = std::max({half, std::fabs(b.lo[a]), std::fabs(b.hi[a])});
        GLuint list = (GLuint)ac_display_list_render_object(root);
        for (const auto& d : dirs) {
            int covered[2] = {0, 0}, onlyBack = 0;
            std::vector<float> depth[2];
            for (int pass = 0; pass < 2; pass++) {
                glMatrixMode(GL_PROJECTION);
                glLoadIdentity();
                glOrtho(-half * 1.05, half * 1.05, -half * 1.05, half * 1.05, -half * 4, half * 4);
                glMatrixMode(GL_MODELVIEW);
                glLoadIdentity();
                glRotatef(d[1], 1, 0, 0);
                glRotatef(d[0], 0, 1, 0);
                glClearDepth(1.0);
                glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
                glEnable(GL_DEPTH_TEST);
                glDepthFunc(GL_LESS);
                glCullFace(pass == 0 ? GL_BACK : GL_FRONT);
                glCallList(list);
                depth[pass].resize(640 * 640);
                glReadPixels(0, 0, 640, 640, GL_DEPTH_COMPONENT, GL_FLOAT, depth[pass].data());
            }
            glCullFace(GL_BACK);
            for (size_t i = 0; i < depth[0].size(); i++) {
                bool front = depth[0][i] < 1.0f, back = depth[1][i] < 1.0f;
                covered[0] += front;
                covered[1] += back;
                onlyBack += back && !front;
            }
            EXPECT_GT(covered[0], 1500) << name;
            // a few pixels along the outline may fall either way
            EXPECT_LE(onlyBack, covered[1] / 200 + 20)
                << name << " seen from (" << d[0] << ", " << d[1] << "): " << onlyBack
                << " pixels show through holes";
        }
        glDeleteLists(list, 1);
        ac_object_free(root);
    }
    glDisable(GL_DEPTH_TEST);
}

// The images read the same through the game's readers as through ImageMagick,
// an independent reader, so they are sound files and not just ours.
TEST(Artgen, ImagesReadTheSameByTheGameAndByImageMagick)
{
    REQUIRE_ART(here);
    ac_texture_reset();
    for (const char* name : {"hull.rgb", "zarkon.rgb"}) {
        std::string path = std::string("data/") + name;
        int index = ac_load_rgb_image(&path[0]);
        ASSERT_GE(index, 0) << name;
        const ACTexture_t* t = ac_get_texture(index);
        zk::Image im;
        ASSERT_TRUE(zk::loadImage("SGI:" + path, im)) << name;
        ASSERT_EQ(im.width, t->width);
        ASSERT_EQ(im.height, t->height);
        ASSERT_EQ(t->components, 3);
        int differ = 0;
        for (int y = 0; y < im.height; y++)
            for (int x = 0; x < im.width; x++)
                // the table keeps rows bottom-up, the screenshot top-down
                differ += memcmp(im.at(x, im.height - 1 - y),
                                 t->pixels + ((size_t)y * t->width + x) * 3, 3) != 0;
        EXPECT_EQ(differ, 0) << name;
    }
    for (const char* name : {"Stars.tga", "spark.tga"}) {
        std::string path = std::string("data/") + name;
        TgaImage* t = tga_load_image(path.c_str());
        ASSERT_NE(t, nullptr) << name;
        zk::Image im;
        ASSERT_TRUE(zk::loadImage(path, im)) << name;
        ASSERT_EQ(im.width, t->width);
        ASSERT_EQ(im.height, t->height);
        int differ = 0;
        for (int y = 0; y < im.height; y++)
            for (int x = 0; x < im.width; x++)
                // ImageMagick notes the origin but keeps the file's row order
                differ += memcmp(im.at(x, y),
                                 t->pixels + ((size_t)y * t->width + x) * t->channels, 3) != 0;
        EXPECT_EQ(differ, 0) << name;
        tga_free_image(t);
    }
}

// What the skybox and the sparks need of their images.
TEST(Artgen, StarFieldHasNoSeamsAndTheSparkFadesToNothing)
{
    REQUIRE_ART(here);
    TgaImage* stars = tga_load_image("data/Stars.tga");
    ASSERT_NE(stars, nullptr);
    EXPECT_EQ(stars->channels, 3);
    EXPECT_GE(stars->width, 1024);
    EXPECT_EQ(stars->width, stars->height);
    // the six faces meet edge to edge in every turn: all four borders alike
    const int w = stars->width, strip = 16;
    double edge[4] = {0, 0, 0, 0};
    int bright = 0;
    for (int y = 0; y < w; y++)
        for (int x = 0; x < w; x++) {
            const unsigned char* p = stars->pixels + ((size_t)y * w + x) * 3;
            double lum = (p[0] + p[1] + p[2]) / 3.0;
            bright += lum > 200;
            if (x < strip)
                edge[0] += lum;
            if (x >= w - strip)
                edge[1] += lum;
            if (y < strip)
                edge[2] += lum;
            if (y >= w - strip)
                edge[3] += lum;
        }
    double lo = *std::min_element(edge, edge + 4), hi = *std::max_element(edge, edge + 4);
    EXPECT_LT(hi / (w * strip), 25.0) << "the borders must be dark sky";
    EXPECT_LT(hi - lo, 0.3 * hi) << "one border is brighter than another";
    EXPECT_GT(bright, 300) << "too few bright stars";
    tga_free_image(stars);

    TgaImage* spark = tga_load_image("data/spark.tga");
    ASSERT_NE(spark, nullptr);
    ASSERT_EQ(spark->channels, 4);
    const int s = spark->width;
    auto alpha = [&](int x, int y) { return spark->pixels[((size_t)y * s + x) * 4 + 3]; };
    int border = 0;
    for (int i = 0; i < s; i++)
        border = std::max({border, (int)alpha(i, 0), (int)alpha(i, s - 1), (int)alpha(0, i),
                           (int)alpha(s - 1, i)});
    EXPECT_EQ(border, 0) << "the particle squares would show their edges";
    EXPECT_GT(alpha(s / 2, s / 2), 200);
    // soft all the way: alpha falls steadily from the centre outward
    for (int x = s / 2 + 1; x < s; x++)
        EXPECT_LE(alpha(x, s / 2), alpha(x - 1, s / 2)) << x;
    EXPECT_GT(alpha(s * 3 / 4, s / 2), 10) << "a halo, not a hard dot";
    tga_free_image(spark);
}

// The RAW ship as the ship class reads it: a closed surface whose shared
// corners are written identically, so every vertex normal is a real one.
TEST(Artgen, RawShipIsClosedAndItsNormalsAreReal)
{
    REQUIRE_ART(here);
    zk::StdoutCapture quiet;
    Nave nave(0, 0, 0, 0, 0, 0);
    const std::vector<Triangulo*>& tris = nave.getTriangulos();
    const std::vector<Vector*>& normals = nave.getNormales();
    ASSERT_GE(tris.size(), 50u);
    ASSERT_EQ(normals.size(), tris.size() * 3);
    for (size_t i = 0; i < normals.size(); i++) {
        const Vector& n = *normals[i];
        float len = std::sqrt(n.productoEscalar(n));
        ASSERT_NEAR(len, 1.0f, 1e-4f) << "corner " << i << " shares no vertex";
    }
    // closed and consistently wound: each edge is walked once each way
    typedef std::tuple<float, float, float> P;
    std::map<std::pair<P, P>, int> edges;
    auto key = [](const Punto& p) { return P(p.getX(), p.getY(), p.getZ()); };
    double volume = 0;
    for (const Triangulo* t : tris) {
        const Punto* c[3] = {&t->getA(), &t->getB(), &t->getC()};
        for (int k = 0; k < 3; k++)
            edges[{key(*c[k]), key(*c[(k + 1) % 3])}]++;
        Vector a = c[0]->aVector(), b = c[1]->aVector(), d = c[2]->aVector();
        volume += a.productoEscalar(b.productoVectorial(d)) / 6.0;
    }
    for (const auto& e : edges) {
        EXPECT_EQ(e.second, 1);
        auto back = edges.find({e.first.second, e.first.first});
        EXPECT_TRUE(back != edges.end() && back->second == 1) << "an open or doubled edge";
    }
    EXPECT_GT(volume, 10.0) << "the faces turn inward";
}
