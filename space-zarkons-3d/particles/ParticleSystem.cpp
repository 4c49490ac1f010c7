// Textured particle effects: a fountain and the explosion burst.
#include "ParticleSystem.h"

#include "Camara.h"    // the eye the explosion sparks turn to
#include "Geometria.h" // Vector, for the billboard axes
#include "tga.h"

#include <GL/gl.h>

#include <cassert>
#include <cstdlib>
#include <initializer_list>
#include <vector>

static const int kColours = 12;
static const float kColourTable[kColours][3] = {
    {1.0f, 0.5f, 0.5f},  {1.0f, 0.75f, 0.5f}, {1.0f, 1.0f, 0.5f},  {0.75f, 1.0f, 0.5f},
    {0.5f, 1.0f, 0.5f},  {0.5f, 1.0f, 0.75f}, {0.5f, 1.0f, 1.0f},  {0.5f, 0.75f, 1.0f},
    {0.5f, 0.5f, 1.0f},  {0.75f, 0.5f, 1.0f}, {1.0f, 0.5f, 1.0f},  {1.0f, 0.5f, 0.75f},
};

// The fountain's sparks are smaller than the explosion's.
static const float kFountainHalfSize = 0.25f;

// Systems constructed and not yet destroyed.
static int vivos = 0;
// Spark textures of destroyed systems, image and all: a new system takes one
// instead of reading the image again, so a new game's explosions cost no
// texture memory of their own.
static std::vector<unsigned int> texturasLibres;

// Life lost per frame: 0.003 to 0.102. In floating point: an integer quotient
// would give every particle the slowest fade.
static float randomFade()
{
    return (float)((rand() % 100) / 1000.0 + 0.003);
}

static void setColour(Particle& p, int index)
{
    assert(index >= 0 && index < kColours);
    p.r = kColourTable[index][0];
    p.g = kColourTable[index][1];
    p.b = kColourTable[index][2];
}

// --- ParticleSystem ---

ParticleSystem::ParticleSystem(float x, float y, float z, float rx, float ry, float rz)
    : Dibujable(x, y, z, rx, ry, rz)
{
    if (texturasLibres.empty()) {
        tga_make_texture(&texture, "data/spark.tga", 0);
    } else {
        texture = texturasLibres.back();
        texturasLibres.pop_back();
    }
    rearm();
    vivos++;
}

void ParticleSystem::draw()
{
    glEnable(GL_TEXTURE_2D);
    glDisable(GL_LIGHTING);
    glEnable(GL_BLEND);
    glDisable(GL_CULL_FACE);
    glBindTexture(GL_TEXTURE_2D, texture);

    // one run of triangles for all the sparks: the software renderer pays per primitive
    glBegin(GL_TRIANGLES);
    for (Particle& p : particles) {
        if (!p.active)
            continue;
        drawParticle(p, kFountainHalfSize);
        moveParticle(p);
        if (p.life < 0.0f) {
            // a fountain never runs dry: the spark starts again at the origin
            p.life = 1.0f;
            p.fade = randomFade();
            p.x = p.y = p.z = 0.0f;
            p.xi = xSpeed + (float)(rand() % 60 - 32);
            p.yi = ySpeed + (float)(rand() % 60 - 30);
            p.zi = (float)(rand() % 60 - 30);
            setColour(p, colourIndex);
        }
    }
    glEnd();

    frameCounter++;
    if (frameCounter > colourPeriod)
        nextColour();
}

ParticleSystem::~ParticleSystem()
{
    texturasLibres.push_back(texture);
    vivos--;
}

int ParticleSystem::instances() { return vivos; }

void ParticleSystem::rearm()
{
    active = true;
    for (Particle& p : particles) {
        p.active = true;
        p.life = 1.0f;
        p.fade = randomFade();
        // a fresh burst starts from the first colour, whatever the cycle says
        setColour(p, 0);
        p.x = p.y = p.z = 0.0f;
        p.xi = (float)((rand() % 50 - 26) * 10);
        p.yi = (float)((rand() % 50 - 25) * 10);
        p.zi = (float)((rand() % 50 - 25) * 10);
        p.xg = 0.0f;
        p.yg = -0.8f;
        p.zg = 0.0f;
    }
}

void ParticleSystem::beginBillboard()
{
    // the camera exists by now in the game; the values only matter if it does not
    Camara* camara = Camara::getInstance(-25.0f, -25.0f, 100.0f, 0.0f, 0.0f, 40.0f,
                                         0.0f, 1.0f, 0.0f, true);
    Vector look(camara->getOjoX(), camara->getOjoY(), camara->getOjoZ());
    look.normalizar();
    Vector up(0.0f, 1.0f, 0.0f);
    Vector right = up.productoVectorial(look);
    up = look.productoVectorial(right);
    look = right.productoVectorial(up);

    const GLfloat m[16] = {
        right.getX(), right.getY(), right.getZ(), 0.0f,
        up.getX(),    up.getY(),    up.getZ(),    0.0f,
        look.getX(),  look.getY(),  look.getZ(),  0.0f,
        0.0f,         0.0f,         0.0f,         1.0f,
    };
    glPushMatrix();
        glMultMatrixf(m);
}

void ParticleSystem::endBillboard()
{
    glPopMatrix();
}

const Particle& ParticleSystem::getParticle(int i) const
{
    assert(i >= 0 && i < kParticles);
    return particles[i];
}

Particle& ParticleSystem::particle(int i)
{
    assert(i >= 0 && i < kParticles);
    return particles[i];
}

void ParticleSystem::moveParticle(Particle& p)
{
    const float divisor = slowdown * 1000;
    p.x += p.xi / divisor;
    p.y += p.yi / divisor;
    p.z += p.zi / divisor;
    p.xi += p.xg;
    p.yi += p.yg;
    p.zi += p.zg;
    p.life -= p.fade;
}

void ParticleSystem::drawParticle(const Particle& p, float s)
{
    const float z = p.z + zoom;
    // the corners of the square as a strip would give them: the two triangles
    // (0, 1, 2) and (2, 1, 3), so the square looks as one strip of its own did
    const float esquinas[4][4] = {{1.0f, 1.0f, p.x + s, p.y + s},
                                  {0.0f, 1.0f, p.x - s, p.y + s},
                                  {1.0f, 0.0f, p.x + s, p.y - s},
                                  {0.0f, 0.0f, p.x - s, p.y - s}};
    glColor4f(p.r, p.g, p.b, p.life);
    for (int i : {0, 1, 2, 2, 1, 3}) {
        glTexCoord2f(esquinas[i][0], esquinas[i][1]);
        glVertex3f(esquinas[i][2], esquinas[i][3], z);
    }
}

void ParticleSystem::nextColour()
{
    colourIndex++;
    if (colourIndex >= kColours)
        colourIndex = 0;
    frameCounter = 0;
}

// --- ParticleExplosion ---

ParticleExplosion::ParticleExplosion(float x, float y, float z, float rx, float ry, float rz)
    : ParticleSystem(x, y, z, rx, ry, rz)
{
}

void ParticleExplosion::draw()
{
    // a burst that is over shows nothing and stops counting frames
    if (!active)
        return;

    glEnable(GL_TEXTURE_2D);
    glDisable(GL_LIGHTING);
    glEnable(GL_BLEND);
    glEnable(GL_DEPTH_TEST);
    glDisable(GL_CULL_FACE);
    glBindTexture(GL_TEXTURE_2D, texture);

    // Sparks are depth-tested against the ships but write no depth of their
    // own: the see-through corners of a near square must not hide the sparks
    // behind it.
    GLboolean depthWrites = GL_TRUE;
    glGetBooleanv(GL_DEPTH_WRITEMASK, &depthWrites);
    glDepthMask(GL_FALSE);

    bool anyAlive = false;
    beginBillboard();
        glBegin(GL_TRIANGLES);
        for (Particle& p : particles) {
            if (!p.active)
                continue;
            anyAlive = true;
            drawParticle(p, particleHalfSize);
            moveParticle(p);
            // the new colour shows from the next drawing on
            setColour(p, colourIndex);
            if (p.life < 0.0f)
                p.active = false; // an explosion's spark dies for good
        }
        glEnd();
    endBillboard();
    glDepthMask(depthWrites);

    frameCounter++;
    if (colourCycling && frameCounter > colourPeriod)
        nextColour();

    // stays active through the frame of the last death, so the registry drops
    // it one drawing later
    active = anyAlive;
}

ParticleExplosion::~ParticleExplosion() {}
