// The spine of the game: the one-time set-up, the first frame, the reshape and
// the redisplay requests, on a real window with the game's data.
#include "Camara.h"
#include "Skybox.h"
#include "gl_test.h"
#include "globales.h"

#include <array>
#include <cmath>

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

// From every eye of the fly-in and of the rim of the mouse's sphere (swaying),
// as the box turns, the far plane cuts no sky: a frame has as many clear
// pixels as under a far plane out of reach, and in perspective none. After
// the fly-in the far plane is 140, as play always had it.
TEST_F(Programa, TheFarPlaneNeverCutsTheStarField)
{
    std::vector<std::array<float, 3>> ojos;
    for (int i = 0; i <= 20; i++)
        ojos.push_back({-25.0f + 1.25f * i, -25.0f + 1.25f * i, 100.0f - 0.85f * i});
    for (int a = 0; a < 720; a += 45) {
        const float x = 42.9f * (float)std::cos(a * M_PI / 180), y = 42.9f * (float)std::sin(a * M_PI / 180);
        ojos.push_back({x + (a < 360 ? 5.0f : -5.0f), y, 40.0f + std::sqrt(43.0f * 43.0f - x * x - y * y)});
    }
    auto huecos = [](int giro, float lejos) {
        skybox->setRotacionX((float)giro);
        skybox->setRotacionY(2.0f * giro);
        glClearColor(1, 0, 1, 1);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        aplicarCamara();
        if (lejos > 0) {
            camara->setLejos(lejos);
            camara->aplicar(height, width);
        }
        skybox->render();
        const auto px = zk::readPixels(0, 0, 640, 640);
        int n = 0;
        for (size_t i = 0; i < px.size(); i += 4)
            n += px[i] == 255 && px[i + 1] == 0 && px[i + 2] == 255;
        return n;
    };
    for (bool ortho : {false, true})
        for (const auto& o : ojos)
            for (int giro = 0; giro < 360; giro += 40) {
                camara->setOrtho(ortho);
                camara->setOjoX(o[0]);
                camara->setOjoY(o[1]);
                camara->setOjoZ(o[2]);
                const int vistos = huecos(giro, 0);
                EXPECT_EQ(vistos, ortho ? huecos(giro, 10000) : 0) << o[0] << " " << o[1] << " " << o[2] << " " << giro;
            }
    for (float x : {-3.75f, 6.25f}) {
        camara->setOjoX(x);
        camara->setOjoY(1.25f);
        camara->setOjoZ(82.15f);
        aplicarCamara();
        EXPECT_EQ(camara->getLejos(), 140.0f);
    }
}
