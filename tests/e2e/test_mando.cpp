// Space Zarkons 3D played with a pad: the real program with a preloaded
// helper that plugs a virtual pad in (or keeps SDL's controllers from
// starting), seen through its output and screenshots.
#include "partida_prueba.h"

#include <gtest/gtest.h>

#include <chrono>
#include <string>

namespace
{

// The test's yellow missiles.
bool hayMisil(const zk::Image& im)
{
    for (int y = 0; y < im.height; y++)
        for (int x = 0; x < im.width; x++) {
            const unsigned char* p = im.at(x, y);
            if (p[0] > 120 && p[1] > 120 && p[2] < p[0] / 3)
                return true;
        }
    return false;
}

// The game in a folder with the test's data, the helper in `modo`.
class ConMando : public zk::PartidaPrueba
{
  protected:
    void arrancar(const std::string& modo)
    {
        PartidaPrueba::arrancar({"ZK_MANDO=" + modo, std::string("LD_PRELOAD=") + ZK_MANDO_PRECARGADO});
    }
    // Nothing said on the way (the leak checker's summary at exit aside).
    void salirConEscape()
    {
        EXPECT_EQ(juego->errors(), "");
        juego->key("Escape");
        EXPECT_EQ(juego->waitExit(20), 0) << juego->errors();
    }
};

} // namespace

TEST_F(ConMando, HeldSouthFiresUntilEnemyShipsDie)
{
    arrancar("sur");
    if (IsSkipped() || HasFatalFailure())
        return;
    EXPECT_TRUE(juego->waitForImage(hayMisil, 60));
    const auto fin = std::chrono::steady_clock::now() + std::chrono::seconds(90);
    while (juego->output().find("Invasor destruido") == std::string::npos && juego->running() &&
           std::chrono::steady_clock::now() < fin)
        zk::sleepMs(200);
    EXPECT_NE(juego->output().find("Invasor destruido"), std::string::npos) << juego->errors();
    salirConEscape();
}

TEST_F(ConMando, WithoutSdlsControllersTheKeysPlayAndNothingIsSaid)
{
    arrancar("sin-sdl");
    if (IsSkipped() || HasFatalFailure())
        return;
    // after the fly-in, space fires as it always did
    const auto fin = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    bool misil = false;
    while (!misil && juego->running() && std::chrono::steady_clock::now() < fin) {
        juego->key("space");
        misil = juego->waitForImage(hayMisil, 0.3);
    }
    EXPECT_TRUE(misil);
    salirConEscape();
}
