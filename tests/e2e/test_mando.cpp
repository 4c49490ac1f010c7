// Space Zarkons 3D played with a pad: the real program, a virtual pad with
// its south button held plugged in by a preloaded helper, and no key pressed.
#include "../space-zarkons-3d/core/datos_prueba.h"
#include "e2e.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <string>

TEST(PartidaConMando, HeldSouthFiresUntilEnemyShipsDie)
{
    if (getenv("DISPLAY") == nullptr)
        GTEST_SKIP() << "no X display: run the suite through ./test.sh";
    const std::string dir = zk::crearDatosPrueba();
    {
        zk::GameProcess juego("/usr/bin/env",
                              {std::string("LD_PRELOAD=") + ZK_MANDO_PRECARGADO, zk::binaryPath("space-zarkons-3d")},
                              dir);
        ASSERT_TRUE(juego.start());
        ASSERT_FALSE(juego.findWindow("Space Zarkons 3D").empty()) << juego.output() << juego.errors();
        // the test's yellow missiles on screen
        EXPECT_TRUE(juego.waitForImage(
            [](const zk::Image& im) {
                for (int y = 0; y < im.height; y++)
                    for (int x = 0; x < im.width; x++) {
                        const unsigned char* p = im.at(x, y);
                        if (p[0] > 120 && p[1] > 120 && p[2] < p[0] / 3)
                            return true;
                    }
                return false;
            },
            60));
        const auto fin = std::chrono::steady_clock::now() + std::chrono::seconds(90);
        while (juego.output().find("Invasor destruido") == std::string::npos && juego.running() &&
               std::chrono::steady_clock::now() < fin)
            zk::sleepMs(200);
        EXPECT_NE(juego.output().find("Invasor destruido"), std::string::npos) << juego.errors();
        EXPECT_EQ(juego.errors(), "");
        juego.key("Escape");
        EXPECT_EQ(juego.waitExit(20), 0) << juego.errors();
    }
    zk::borrarDatosPrueba(dir);
}
