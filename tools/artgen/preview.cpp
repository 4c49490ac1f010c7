// zk-preview OUTDIR [GAMEDIR]: loads the models through the game's own loader
// and renderer and draws each from four sides, lit as the game lights them, to
// PNG files in OUTDIR, so the art can be judged by eye. GAMEDIR is the folder
// holding data/ (default: the current one). Needs an X display; Xvfb will do.
//
//   fighter.png, zarkon.png, missile.png   four views of each model
//   raw.png                                the RAW ship through its own class
#include "Nave.h"
#include "ac3d.h"
#include "png.h"

#include <GL/freeglut.h>
#include <GL/glu.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>
#include <unistd.h>
#include <vector>

static const int kSize = 640;

// The game's light: LIGHT0 given in eye space, behind and above the viewer.
static void setUpLights()
{
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    float pos[4] = {0, 10, 50, 1}, amb[4] = {0, 0, 0, 1}, one[4] = {1, 1, 1, 1};
    glLightfv(GL_LIGHT0, GL_POSITION, pos);
    glLightfv(GL_LIGHT0, GL_AMBIENT, amb);
    glLightfv(GL_LIGHT0, GL_DIFFUSE, one);
    glLightfv(GL_LIGHT0, GL_SPECULAR, one);
    glEnable(GL_LIGHTING);
    glEnable(GL_LIGHT0);
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
}

// Largest distance of a vertex from the model's origin.
static float radiusOf(const ACObject_t* o, float x, float y, float z)
{
    x += o->loc[0];
    y += o->loc[1];
    z += o->loc[2];
    float r = 0;
    for (int i = 0; i < o->num_vert; i++) {
        const ACVertex_t& v = o->vertices[i];
        r = std::max(r, std::sqrt((v.x + x) * (v.x + x) + (v.y + y) * (v.y + y) + (v.z + z) * (v.z + z)));
    }
    for (int k = 0; k < o->num_kids; k++)
        r = std::max(r, radiusOf(o->kids[k], x, y, z));
    return r;
}

static bool save(const std::string& path)
{
    std::vector<unsigned char> px((size_t)kSize * kSize * 3), flipped(px.size());
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, kSize, kSize, GL_RGB, GL_UNSIGNED_BYTE, px.data());
    for (int y = 0; y < kSize; y++)
        std::copy(px.begin() + (size_t)y * kSize * 3, px.begin() + (size_t)(y + 1) * kSize * 3,
                  flipped.begin() + (size_t)(kSize - 1 - y) * kSize * 3);
    bool ok = artgen::writePng(path, kSize, kSize, flipped);
    printf("%s %s\n", ok ? "wrote" : "could not write", path.c_str());
    return ok;
}

// Four views, one in each quarter of the picture, of whatever `draw` draws.
static void views(const std::string& path, float radius, const float dirs[4][3],
                  void (*draw)(unsigned int), unsigned int arg)
{
    glClearColor(0.10f, 0.11f, 0.14f, 1);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    for (int i = 0; i < 4; i++) {
        glViewport((i % 2) * kSize / 2, (1 - i / 2) * kSize / 2, kSize / 2, kSize / 2);
        const float* d = dirs[i];
        float len = std::sqrt(d[0] * d[0] + d[1] * d[1] + d[2] * d[2]);
        float k = radius * 3.2f / len;
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        gluPerspective(40, 1.0, 0.1, 200.0);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        // straight down needs another up vector
        bool down = std::fabs(d[1]) > 0.99f * len;
        gluLookAt(d[0] * k, d[1] * k, d[2] * k, 0, 0, 0, 0, down ? 0 : 1, down ? -1 : 0);
        draw(arg);
    }
    glViewport(0, 0, kSize, kSize);
    save(path);
}

static void callList(unsigned int list) { glCallList(list); }

static Nave* rawShip = nullptr;

static void drawRaw(unsigned int)
{
    float pale[4] = {0.8f, 0.8f, 0.7f, 1}, shine[4] = {0.5f, 0.5f, 0.5f, 1}, none[4] = {0, 0, 0, 1};
    glDisable(GL_TEXTURE_2D);
    glMaterialfv(GL_FRONT_AND_BACK, GL_AMBIENT_AND_DIFFUSE, pale);
    glMaterialfv(GL_FRONT_AND_BACK, GL_SPECULAR, shine);
    glMaterialfv(GL_FRONT_AND_BACK, GL_EMISSION, none);
    glMaterialf(GL_FRONT_AND_BACK, GL_SHININESS, 40);
    rawShip->render();
}

int main(int argc, char** argv)
{
    glutInit(&argc, argv);
    if (argc < 2 || argc > 3) {
        fprintf(stderr, "usage: zk-preview OUTDIR [GAMEDIR]\n");
        return 2;
    }
    std::string out = argv[1];
    if (out[0] != '/') {
        char cwd[4096];
        if (getcwd(cwd, sizeof cwd))
            out = std::string(cwd) + "/" + out;
    }
    if (argc == 3 && chdir(argv[2]) != 0) {
        perror(argv[2]);
        return 1;
    }
    glutInitDisplayMode(GLUT_RGB | GLUT_DOUBLE | GLUT_DEPTH);
    glutInitWindowSize(kSize, kSize);
    glutCreateWindow("zk-preview");
    glDrawBuffer(GL_BACK);
    glReadBuffer(GL_BACK);
    setUpLights();

    struct Shot {
        const char* file;
        const char* png;
        float dirs[4][3];
    } const shots[] = {
        // the fighter first as the game shows it: from behind and above
        {"data/nave1_chico.ac", "fighter.png", {{0, 0.45f, -1}, {-1, 0.7f, 1.2f}, {0, 1, 0}, {1, 0.05f, 0}}},
        // the Zarkon first as the player meets it: head on
        {"data/nave_open.ac", "zarkon.png", {{0.05f, 0.1f, 1}, {-1, 0.6f, 1.2f}, {0, 1, 0}, {1, 0.5f, -1.2f}}},
        {"data/Misil_chico.ac", "missile.png", {{1, 0.3f, 0.2f}, {-1, 0.6f, 1.2f}, {0, 0, -1}, {1, 0.5f, -1.2f}}},
    };
    for (const Shot& s : shots) {
        std::string file = s.file;
        ACObject_t* model = ac_load_ac3d(&file[0]);
        if (!model) {
            fprintf(stderr, "zk-preview: cannot load %s\n", s.file);
            return 1;
        }
        unsigned int list = (unsigned int)ac_display_list_render_object(model);
        views(out + "/" + s.png, radiusOf(model, 0, 0, 0), s.dirs, callList, list);
        ac_object_free(model);
    }

    rawShip = new Nave(0, 0, 0, 0, 0, 0);
    const float rawDirs[4][3] = {{0, 0.45f, -1}, {-1, 0.7f, 1.2f}, {0, 1, 0}, {1, 0.05f, 0}};
    views(out + "/raw.png", 7.5f, rawDirs, drawRaw, 0);
    delete rawShip;
    return 0;
}
