// The spine of the game: the one-time set-up, the first frame, the reshape and
// the redisplay requests, on a real window with the game's data.
#include "Camara.h"
#include "Skybox.h"
#include "gl_test.h"
#include "globales.h"

#include <cmath>
#include <sstream>

namespace {

class Programa : public zk::GlTest {
protected:
    void SetUp() override
    {
        zk::GlTest::SetUp();
        if (IsSkipped())
            return;
        ventanaPrincipal = window;
        init();
        reshape(640, 640);
    }
};

} // namespace

TEST_F(Programa, InitSetsLightsBlendingAndDepth)
{
    EXPECT_TRUE(zk::enabled(GL_LIGHTING));
    EXPECT_TRUE(zk::enabled(GL_LIGHT0));
    EXPECT_FALSE(zk::enabled(GL_LIGHT1));
    EXPECT_FALSE(zk::enabled(GL_LIGHT2));
    EXPECT_TRUE(zk::enabled(GL_DEPTH_TEST));
    EXPECT_TRUE(zk::enabled(GL_BLEND));
    EXPECT_TRUE(zk::enabled(GL_LINE_SMOOTH));
    EXPECT_EQ(zk::getInt(GL_BLEND_SRC), GL_SRC_ALPHA);
    EXPECT_EQ(zk::getInt(GL_BLEND_DST), GL_ONE_MINUS_SRC_ALPHA);

    // positions were given under the identity matrix, so they read back unchanged
    GLfloat p[4];
    glGetLightfv(GL_LIGHT0, GL_POSITION, p);
    EXPECT_EQ(std::vector<float>(p, p + 4), (std::vector<float>{0, 10, 50, 1}));
    glGetLightfv(GL_LIGHT1, GL_POSITION, p);
    EXPECT_EQ(std::vector<float>(p, p + 4), (std::vector<float>{0, -50, 50, 1}));
    glGetLightfv(GL_LIGHT2, GL_POSITION, p);
    EXPECT_EQ(std::vector<float>(p, p + 4), (std::vector<float>{0, 0, 120, 0}));
    glGetLightfv(GL_LIGHT1, GL_AMBIENT, p);
    EXPECT_EQ(std::vector<float>(p, p + 4), (std::vector<float>{0, 0, 0, 1}));
    glGetLightfv(GL_LIGHT2, GL_SPECULAR, p);
    EXPECT_EQ(std::vector<float>(p, p + 4), (std::vector<float>{1, 1, 1, 1}));
}

TEST_F(Programa, FirstFrameIsAPerspectiveFromTheStartingEye)
{
    ASSERT_NE(camara, nullptr);
    EXPECT_FALSE(camara->getOrtho());
    EXPECT_FLOAT_EQ(camara->getPasoX(), 1.25f);
    EXPECT_FLOAT_EQ(camara->getPasoZ(), -0.85f);
    display();
    auto p = zk::matrix(GL_PROJECTION_MATRIX);
    EXPECT_NEAR(p[5], 1.0 / std::tan(47.5 * M_PI / 180), 1e-5);
    EXPECT_EQ(p[11], -1.0f);
    // the eye sits at (-25, -25, 100): it maps to the origin of eye space
    auto m = zk::matrix(GL_MODELVIEW_MATRIX);
    for (int row = 0; row < 3; row++)
        EXPECT_NEAR(m[row] * -25 + m[4 + row] * -25 + m[8 + row] * 100 + m[12 + row], 0, 1e-3);
    // and (0, 0, 40) lies straight ahead
    EXPECT_NEAR(m[0] * 0 + m[4] * 0 + m[8] * 40 + m[12], 0, 1e-3);
    EXPECT_NEAR(m[1] * 0 + m[5] * 0 + m[9] * 40 + m[13], 0, 1e-3);
}

TEST_F(Programa, ReshapeWithoutScoreStripOnlySetsViewportAndSize)
{
    ASSERT_FALSE(mostrarScore);
    reshape(800, 600);
    EXPECT_EQ(width, 800);
    EXPECT_EQ(height, 600);
    GLint vp[4];
    glGetIntegerv(GL_VIEWPORT, vp);
    EXPECT_EQ(vp[2], 800);
    EXPECT_EQ(vp[3], 600);
    EXPECT_EQ(glutGetWindow(), ventanaPrincipal);
}

TEST_F(Programa, RequestsForTheAbsentScoreStripAreDropped)
{
    ventanaScore = 0;
    redibujarVentana(ventanaScore);
    EXPECT_EQ(glutGetWindow(), ventanaPrincipal);
    redibujarVentana(ventanaPrincipal);
    EXPECT_EQ(glutGetWindow(), ventanaPrincipal);
}

// The star field turns under a far plane that must always reach its farthest
// corner: from every eye of the fly-in and every far-out eye a mouse move can
// reach, and as the box turns, a frame shows the same sky as one under a far
// plane out of reach, and in perspective no pixel keeps the clear colour.
// Once the fly-in is over, the projection is the one play always had.
TEST_F(Programa, TheStarFieldFillsTheFrameFromEveryEyeTheGameCanReach)
{
    ASSERT_NE(skybox, nullptr);
    struct Ojo { float x, y, z; };
    std::vector<Ojo> ojos;
    for (int i = 0; i <= 20; i++) // the fly-in, step by step
        ojos.push_back({-25.0f + 1.25f * i, -25.0f + 1.25f * i, 100.0f - 0.85f * i});
    // the rim of the mouse's sphere around (0, 0, 40), with the sway on top
    for (float a = 0; a < 360; a += 45) {
        const float x = 42.9f * (float)std::cos(a * M_PI / 180), y = 42.9f * (float)std::sin(a * M_PI / 180);
        const float z = 40.0f + std::sqrt(43.0f * 43.0f - x * x - y * y);
        for (float balanceo : {-5.0f, 5.0f})
            ojos.push_back({x + balanceo, y, z});
    }
    const float rotX = skybox->getRotacionX(), rotY = skybox->getRotacionY();
    // pixels left in the clear colour by the sky drawn at this turn
    auto huecos = [&](float giro, bool sinFondo) {
        skybox->setRotacionX(rotX + giro);
        skybox->setRotacionY(rotY + 2 * giro);
        glClearColor(1, 0, 1, 1);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        aplicarCamara();
        if (sinFondo) {
            camara->setLejos(10000.0f);
            camara->aplicar(height, width);
        }
        skybox->render();
        glFinish();
        const auto px = zk::readPixels(0, 0, 640, 640);
        int n = 0;
        for (size_t i = 0; i < px.size(); i += 4)
            n += (px[i] == 255 && px[i + 1] == 0 && px[i + 2] == 255) ? 1 : 0;
        return n;
    };
    int cuadros = 0;
    for (bool ortho : {false, true}) {
        camara->setOrtho(ortho);
        for (const Ojo& o : ojos) {
            camara->setOjoX(o.x);
            camara->setOjoY(o.y);
            camara->setOjoZ(o.z);
            // the box's corners pass every way in turn: try a spread of turns
            for (float giro = 0; giro < 360; giro += 40) {
                std::ostringstream donde;
                donde << (ortho ? "ortho" : "perspective") << " eye (" << o.x << ", " << o.y << ", " << o.z
                      << ") turn " << giro;
                // a parallel view wider than the box can look past its edge,
                // but never because the far plane cut it short
                const int vistos = huecos(giro, false);
                EXPECT_EQ(vistos, huecos(giro, true)) << donde.str();
                if (!ortho)
                    EXPECT_EQ(vistos, 0) << donde.str();
                cuadros++;
            }
        }
    }
    EXPECT_GT(cuadros, 500);

    // at the end of the fly-in, swaying, the far plane is still 140
    camara->setOrtho(false);
    for (float x : {1.25f - 5.0f, 1.25f, 1.25f + 5.0f}) {
        camara->setOjoX(x);
        camara->setOjoY(1.25f);
        camara->setOjoZ(82.15f);
        aplicarCamara();
        auto p = zk::matrix(GL_PROJECTION_MATRIX);
        EXPECT_FLOAT_EQ(camara->getLejos(), 140.0f);
        EXPECT_NEAR(p[10], -(140.0 + 0.1) / (140.0 - 0.1), 1e-6);
    }
}
