// The star-field box: its faces and texture coordinates, the turning, the
// state it leaves, the uploaded picture and the exit without an image.
#include "Skybox.h"

#include "../datos_escena.h"
#include "gl_test.h"

#include <cstdlib>
#include <memory>
#include <unistd.h>

using zk::GlTest;

// Four distinct pixels, bottom row first; 2 x 3 bytes a row, so not a
// multiple of OpenGL's default row alignment.
static const std::vector<uint8_t> kRgb = {255, 0, 0, 0, 255, 0, 0, 0, 255, 255, 255, 0};

class SkyboxTest : public GlTest {
protected:
    void SetUp() override
    {
        GlTest::SetUp();
        if (IsSkipped())
            return;
        datos.escribir("Stars.tga", zk::imagenTga(2, 2, 3, kRgb));
    }

    // The level-0 texture image as RGB bytes, rows bottom-up, packed.
    static std::vector<uint8_t> textura(unsigned int nombre)
    {
        glBindTexture(GL_TEXTURE_2D, nombre);
        GLint w = 0, h = 0;
        glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &w);
        glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &h);
        std::vector<uint8_t> px((size_t)(w * h * 3));
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glGetTexImage(GL_TEXTURE_2D, 0, GL_RGB, GL_UNSIGNED_BYTE, px.data());
        return px;
    }

    zk::CarpetaDatos datos;
};

TEST_F(SkyboxTest, SixTexturedFacesAtHalfSizeAroundItsCentre)
{
    std::unique_ptr<Skybox> s(new Skybox(60.0f, 0.0f, 0.0f, 50.0f, 0.0f, 0.0f, 0.0f));
    zk::useOrthoBox(200.0f);
    glDisable(GL_CULL_FACE);
    auto caras = zk::polygons(zk::captureFeedback([&] { s->render(); }));
    auto v = zk::allVertices(caras);
    ASSERT_TRUE(caras.size() == 6 || caras.size() == 12) << caras.size();

    // (texture s, t) then corner signs, for each face in drawing order
    struct Esquina { float s, t; int x, y, z; };
    const Esquina esperadas[24] = {
        {0, 0, -1, -1, 1}, {0, 1, -1, 1, 1},  {1, 1, 1, 1, 1},    {1, 0, 1, -1, 1},
        {1, 0, -1, -1, -1}, {0, 0, 1, -1, -1}, {0, 1, 1, 1, -1},  {1, 1, -1, 1, -1},
        {0, 1, -1, 1, -1}, {1, 1, 1, 1, -1},  {1, 0, 1, 1, 1},    {0, 0, -1, 1, 1},
        {1, 1, -1, -1, -1}, {1, 0, -1, -1, 1}, {0, 0, 1, -1, 1},  {0, 1, 1, -1, -1},
        {1, 0, 1, -1, -1}, {0, 0, 1, -1, 1},  {0, 1, 1, 1, 1},    {1, 1, 1, 1, -1},
        {0, 0, -1, -1, -1}, {0, 1, -1, 1, -1}, {1, 1, -1, 1, 1},  {1, 0, -1, -1, 1},
    };
    for (int i = 0; i < 24; i++) {
        const Esquina& e = esperadas[i];
        // x = +-60, y = +-60, z = -10 or 110
        const double x = 60.0 * e.x, y = 60.0 * e.y, z = 50.0 + 60.0 * e.z;
        bool hallada = false;
        // a face is captured alone or as two triangles, in its own order
        const size_t cara = i / 4;
        const size_t por = caras.size() / 6;
        for (size_t k = cara * por; k < (cara + 1) * por && !hallada; k++)
            for (const zk::FbVertex& p : caras[k].v)
                if (std::fabs(p.ox - x) < 1e-3 && std::fabs(p.oy - y) < 1e-3 &&
                    std::fabs(p.oz - z) < 1e-3 && p.s == e.s && p.t == e.t)
                    hallada = true;
        EXPECT_TRUE(hallada) << "corner " << i % 4 << " of face " << cara;
    }
    for (const zk::FbVertex& p : v) {
        EXPECT_NEAR(p.r, 1.0f, 1e-6);
        EXPECT_NEAR(p.b, 1.0f, 1e-6);
    }
}

TEST_F(SkyboxTest, TurnsOneDegreeAboutXAndYPerDrawing)
{
    std::unique_ptr<Skybox> s(new Skybox(60.0f, 0.0f, 0.0f, 50.0f, 10.0f, 20.0f, 30.0f));
    for (int i = 0; i < 360; i++)
        s->render();
    EXPECT_EQ(s->getRotacionX(), 370.0f);
    EXPECT_EQ(s->getRotacionY(), 380.0f);
    EXPECT_EQ(s->getRotacionZ(), 30.0f);
}

TEST_F(SkyboxTest, LeavesLightingBlendingAndItsTextureOn)
{
    std::unique_ptr<Skybox> s(new Skybox(60.0f, 0.0f, 0.0f, 50.0f, 0.0f, 0.0f, 0.0f));
    glDisable(GL_LIGHTING);
    glDisable(GL_BLEND);
    glDisable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, 0);
    glColor3f(0.2f, 0.3f, 0.4f);
    const int profundidad = zk::stackDepth(GL_MODELVIEW_STACK_DEPTH);
    s->render();
    EXPECT_TRUE(zk::enabled(GL_LIGHTING));
    EXPECT_TRUE(zk::enabled(GL_BLEND));
    EXPECT_TRUE(zk::enabled(GL_TEXTURE_2D));
    EXPECT_NE(s->getTexture(), 0u);
    EXPECT_EQ((unsigned)zk::getInt(GL_TEXTURE_BINDING_2D), s->getTexture());
    EXPECT_EQ(zk::getFloat4(GL_CURRENT_COLOR), (std::array<float, 4>{1, 1, 1, 1}));
    EXPECT_EQ(zk::stackDepth(GL_MODELVIEW_STACK_DEPTH), profundidad);

    GLint wrap = 0;
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, &wrap);
    EXPECT_EQ(wrap, GL_CLAMP_TO_EDGE);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, &wrap);
    EXPECT_EQ(wrap, GL_CLAMP_TO_EDGE);
}

TEST_F(SkyboxTest, UploadsThePictureAsItIsWhateverItsRowWidth)
{
    std::unique_ptr<Skybox> s(new Skybox(60.0f, 0.0f, 0.0f, 50.0f, 0.0f, 0.0f, 0.0f));
    EXPECT_EQ(textura(s->getTexture()), kRgb);
    EXPECT_EQ(zk::getInt(GL_UNPACK_ALIGNMENT), 4); // put back as it was

    // a 32-bit picture keeps its colours and drops its alpha
    datos.escribir("Stars.tga", zk::imagenTga(2, 2, 4, {255, 0, 0, 9, 0, 255, 0, 9,
                                                        0, 0, 255, 9, 255, 255, 0, 9}));
    std::unique_ptr<Skybox> t(new Skybox(60.0f, 0.0f, 0.0f, 50.0f, 0.0f, 0.0f, 0.0f));
    EXPECT_EQ(textura(t->getTexture()), kRgb);
}

// The folder of the death test's own process, removed when it exits.
static zk::CarpetaDatos* carpetaDelHijo = nullptr;
static void limpiarHijo()
{
    carpetaDelHijo->limpiar();
}

// The failure happens before any OpenGL call, so no window is needed.
TEST(SkyboxSinImagen, EndsTheProgramWithStatus1AndSaysWhy)
{
    // a fresh process: a fork would share an X connection of earlier tests
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    zk::CarpetaDatos datos;
    EXPECT_EXIT(
        {
            carpetaDelHijo = &datos;
            atexit(limpiarHijo);
            dup2(2, 1); // the messages go to standard output; let the check read them
            Skybox s(60.0f, 0.0f, 0.0f, 50.0f, 0.0f, 0.0f, 0.0f);
        },
        ::testing::ExitedWithCode(1), "Unable to load TGA File!\nNo se pudo cargar la textura del skybox\n$");

    // an unsupported depth takes the same way out
    std::string ocho = zk::imagenTga(2, 2, 3, kRgb);
    ocho[16] = 8;
    datos.escribir("Stars.tga", ocho.substr(0, 18) + "abcd");
    EXPECT_EXIT(
        {
            carpetaDelHijo = &datos;
            atexit(limpiarHijo);
            dup2(2, 1);
            Skybox s(60.0f, 0.0f, 0.0f, 50.0f, 0.0f, 0.0f, 0.0f);
        },
        ::testing::ExitedWithCode(1), "\nNo se pudo cargar la textura del skybox\n$");
}
