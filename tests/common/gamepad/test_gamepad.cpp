// The pad through SDL: a virtual pad plugged in and out of this process,
// read through the same polls the games' timer makes.
#include "gamepad.h"
#include "gl_test.h"
#include "mando_virtual.h"

#include <GL/freeglut.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <string>
#include <unistd.h>
#include <vector>

using zk::MandoVirtual;

namespace
{

std::vector<std::string> oidos;

void anotar(zk_pad_button_t b, zk_pad_event_t e)
{
    static const char* const tipos[] = {"+", "*", "-"};
    oidos.push_back(tipos[e] + std::to_string((int)b));
}

// One poll at a time of our own choosing; the events it brought.
std::vector<std::string> sondear(long long ms)
{
    oidos.clear();
    zk_pad_poll(ms);
    return oidos;
}

using Mando = zk::GlTest;

} // namespace

TEST_F(Mando, APadPluggedInAfterTheStartIsReadAndLetsGoOfAllWhenPulledOut)
{
    ASSERT_TRUE(zk_pad_start(anotar, 0));
    EXPECT_TRUE(sondear(0).empty());
    EXPECT_FALSE(zk_pad_connected());

    MandoVirtual pad;
    ASSERT_TRUE(pad.enchufar());
    EXPECT_TRUE(sondear(16).empty());
    EXPECT_TRUE(zk_pad_connected());

    // a quarter of the stick's travel is within the dead zone; a third is past it
    pad.eje(SDL_CONTROLLER_AXIS_LEFTX, -32767 / 4);
    pad.eje(SDL_CONTROLLER_AXIS_LEFTY, 32767 / 4);
    EXPECT_TRUE(sondear(32).empty());
    pad.eje(SDL_CONTROLLER_AXIS_LEFTX, -32767 / 3);
    EXPECT_EQ(sondear(48), std::vector<std::string>{"+2"});
    pad.eje(SDL_CONTROLLER_AXIS_LEFTX, 0);
    pad.eje(SDL_CONTROLLER_AXIS_LEFTY, -32768);
    EXPECT_EQ(sondear(64), (std::vector<std::string>{"-2", "+0"}));
    pad.eje(SDL_CONTROLLER_AXIS_LEFTY, 0);
    sondear(80);

    // the d-pad is the stick's equal; the buttons by their place
    pad.boton(SDL_CONTROLLER_BUTTON_DPAD_RIGHT, true);
    pad.boton(SDL_CONTROLLER_BUTTON_A, true);
    pad.boton(SDL_CONTROLLER_BUTTON_B, true);
    pad.boton(SDL_CONTROLLER_BUTTON_START, true);
    pad.boton(SDL_CONTROLLER_BUTTON_BACK, true);
    pad.eje(SDL_CONTROLLER_AXIS_TRIGGERRIGHT, 20000);
    EXPECT_EQ(sondear(96), (std::vector<std::string>{"+3", "+4", "+5", "+6", "+7", "+8"}));
    // the left trigger and the other face buttons mean nothing
    pad.boton(SDL_CONTROLLER_BUTTON_X, true);
    pad.eje(SDL_CONTROLLER_AXIS_TRIGGERLEFT, 32767);
    EXPECT_TRUE(sondear(112).empty());
    // and nothing piles up in SDL's queue, which nobody reads
    EXPECT_FALSE(SDL_HasEvents(SDL_FIRSTEVENT, SDL_LASTEVENT));

    // pulled out with everything held: every button is let go, once
    pad.desenchufar();
    EXPECT_EQ(sondear(128), (std::vector<std::string>{"-3", "-4", "-5", "-6", "-7", "-8"}));
    EXPECT_FALSE(zk_pad_connected());
    EXPECT_TRUE(sondear(144).empty());

    // the next pad plugged in is taken
    MandoVirtual otro;
    ASSERT_TRUE(otro.enchufar());
    otro.boton(SDL_CONTROLLER_BUTTON_A, true);
    EXPECT_EQ(sondear(160), std::vector<std::string>{"+4"});
    EXPECT_TRUE(zk_pad_connected());
}

TEST_F(Mando, APadPluggedInBeforeTheStartIsFoundByTheGamesOwnTimer)
{
    MandoVirtual pad;
    ASSERT_TRUE(pad.enchufar());
    pad.boton(SDL_CONTROLLER_BUTTON_A, true);
    ASSERT_TRUE(zk_pad_start(anotar, zk_pad_bit(ZK_PAD_SOUTH)));
    // nobody polls by hand: the timer zk_pad_start armed does
    oidos.clear();
    const auto fin = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (std::count(oidos.begin(), oidos.end(), "*4") < 2 && std::chrono::steady_clock::now() < fin) {
        glutMainLoopEvent();
        usleep(1000);
    }
    ASSERT_GE(oidos.size(), 3u);
    EXPECT_EQ(oidos[0], "+4");
    EXPECT_EQ(oidos[1], "*4");
    // a second start arms no second timer and keeps the pad
    ASSERT_TRUE(zk_pad_start(anotar, 0));
    EXPECT_TRUE(zk_pad_connected());
    zk_pad_stop();
    zk_pad_stop();
    EXPECT_FALSE(zk_pad_connected());
    EXPECT_TRUE(sondear(1 << 20).empty());
}

TEST_F(Mando, APadOfUnknownLayoutIsLeftAloneUnlessTheUserMapsIt)
{
    char guid[33];
    {
        MandoVirtual raro;
        ASSERT_TRUE(raro.enchufar(false));
        SDL_JoystickGetGUIDString(raro.guid(), guid, sizeof guid);
        ASSERT_TRUE(zk_pad_start(anotar, 0));
        raro.boton((SDL_GameControllerButton)0, true);
        EXPECT_TRUE(sondear(0).empty());
        EXPECT_FALSE(zk_pad_connected());
        zk_pad_stop();
    }
    // SDL reads the user's mappings when its joysticks start: all of it again
    SDL_QuitSubSystem(SDL_INIT_JOYSTICK);
    ASSERT_EQ(SDL_WasInit(SDL_INIT_JOYSTICK), 0u);

    // the user's own mapping, as SDL documents it, makes its one button south
    const std::string mapa = std::string(guid) + ",Mando raro,a:b0,leftx:a0,";
    setenv("SDL_GAMECONTROLLERCONFIG", mapa.c_str(), 1);
    MandoVirtual mapeado;
    ASSERT_TRUE(mapeado.enchufar(false));
    mapeado.boton((SDL_GameControllerButton)0, true);
    ASSERT_TRUE(zk_pad_start(anotar, 0));
    EXPECT_EQ(sondear(16), std::vector<std::string>{"+4"});
    EXPECT_TRUE(zk_pad_connected());
}
