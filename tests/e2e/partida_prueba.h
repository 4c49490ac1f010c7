// A fixture for the end-to-end tests of Space Zarkons 3D: the real program
// started in a folder with the test's own small data files, its window up.
#pragma once

#include "../space-zarkons-3d/core/datos_prueba.h"
#include "e2e.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

namespace zk
{

class PartidaPrueba : public ::testing::Test
{
  protected:
    // Starts the game and waits for its window; with `entorno` (VAR=value
    // items) the game starts through env with them. Skips without a display.
    void arrancar(const std::vector<std::string>& entorno = {})
    {
        if (getenv("DISPLAY") == nullptr)
            GTEST_SKIP() << "no X display: run the suite through ./test.sh";
        dir = crearDatosPrueba();
        if (entorno.empty()) {
            juego = std::make_unique<GameProcess>(binaryPath("space-zarkons-3d"), std::vector<std::string>{}, dir);
        } else {
            std::vector<std::string> args = entorno;
            args.push_back(binaryPath("space-zarkons-3d"));
            juego = std::make_unique<GameProcess>("/usr/bin/env", args, dir);
        }
        ASSERT_TRUE(juego->start());
        ASSERT_FALSE(juego->findWindow("Space Zarkons 3D").empty()) << juego->output() << juego->errors();
    }
    void TearDown() override
    {
        juego.reset();
        if (!dir.empty())
            borrarDatosPrueba(dir);
    }

    std::string dir;
    std::unique_ptr<GameProcess> juego;
};

} // namespace zk
