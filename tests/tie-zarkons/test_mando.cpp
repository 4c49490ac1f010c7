// The gamepad on every screen: a virtual pad plugged into this process, its
// polls made at chosen times, the game's own key handlers doing the rest.
#include "../common/gamepad/mando_virtual.h"
#include "juego_tie.h"

#include <GL/freeglut.h>

using zk::MandoVirtual;

namespace
{

class Mando : public zk::JuegoTie
{
  protected:
    void SetUp() override
    {
        JuegoTie::SetUp();
        if (IsSkipped())
            return;
        iniciarMando();
        ASSERT_TRUE(pad.enchufar());
    }

    void sondearHasta(long long hasta) { zk::sondearHasta(reloj, hasta); }
    void pulsar(SDL_GameControllerButton b)
    {
        pad.boton(b, true);
        sondearHasta(reloj);
        pad.boton(b, false);
        sondearHasta(reloj);
    }

    MandoVirtual pad;
    long long reloj = 0;
};

} // namespace

TEST_F(Mando, TheStickMovesTheXWingAsHeldArrowsWithinItsBounds)
{
    state = 2;
    pad.eje(SDL_CONTROLLER_AXIS_LEFTX, 20000);
    sondearHasta(0);
    EXPECT_FLOAT_EQ(xWingStat.x, 1.0f);
    sondearHasta(240);
    EXPECT_FLOAT_EQ(xWingStat.x, 1.0f);
    sondearHasta(250 + 1000);
    EXPECT_NEAR(xWingStat.x, 31.0f, 1.0f);
    sondearHasta(5000);
    EXPECT_FLOAT_EQ(xWingStat.x, 100.0f);
    // up and down are nothing in this game
    pad.eje(SDL_CONTROLLER_AXIS_LEFTX, 0);
    pad.boton(SDL_CONTROLLER_BUTTON_DPAD_UP, true);
    pad.boton(SDL_CONTROLLER_BUTTON_DPAD_LEFT, true);
    sondearHasta(5016);
    EXPECT_FLOAT_EQ(xWingStat.x, 99.0f);
    EXPECT_FLOAT_EQ(xWingStat.y, -70.0f);
    pad.boton(SDL_CONTROLLER_BUTTON_DPAD_LEFT, false);

    // Start pauses as A does, and then the ship stays
    pulsar(SDL_CONTROLLER_BUTTON_START);
    EXPECT_FALSE(animating);
    pad.boton(SDL_CONTROLLER_BUTTON_DPAD_LEFT, true);
    sondearHasta(reloj + 1000);
    EXPECT_FLOAT_EQ(xWingStat.x, 99.0f);
    pad.boton(SDL_CONTROLLER_BUTTON_DPAD_LEFT, false);
    pulsar(SDL_CONTROLLER_BUTTON_START);
    EXPECT_TRUE(animating);

    // pulled out while held: the ship stops at once
    pad.boton(SDL_CONTROLLER_BUTTON_DPAD_LEFT, true);
    sondearHasta(reloj + 500);
    const float x = xWingStat.x;
    pad.desenchufar();
    sondearHasta(reloj + 1000);
    EXPECT_FLOAT_EQ(xWingStat.x, x);
}

TEST_F(Mando, HeldSouthFiresAsOftenAsTheShotsTimerAllows)
{
    state = 2;
    tiempoDisparo = 6;
    pad.boton(SDL_CONTROLLER_BUTTON_A, true);
    sondearHasta(0);
    EXPECT_TRUE(sXWing[0].activo);
    // no tick, no second shot
    sondearHasta(1000);
    EXPECT_FALSE(sXWing[1].activo);
    // six ticks later, the next repeat fires
    for (int i = 0; i < 6; i++)
        contarTiempoDisparo();
    sondearHasta(1040);
    EXPECT_TRUE(sXWing[1].activo);
    pad.boton(SDL_CONTROLLER_BUTTON_A, false);
    sondearHasta(1056);
    for (int i = 0; i < 6; i++)
        contarTiempoDisparo();
    sondearHasta(2000);
    EXPECT_FALSE(sXWing[2].activo);
}

TEST_F(Mando, OnTheWaitingScreensSouthOrStartGoOnAndEastQuits)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    for (int s : {0, 1, 3, 4}) {
        state = s;
        EXPECT_EXIT(
            {
                pad.boton(SDL_CONTROLLER_BUTTON_B, true);
                sondearHasta(reloj);
            },
            ::testing::ExitedWithCode(0), "")
            << "state " << s;
    }
    state = 0;
    pulsar(SDL_CONTROLLER_BUTTON_A);
    EXPECT_EQ(state, 1);
    pulsar(SDL_CONTROLLER_BUTTON_START);
    EXPECT_EQ(state, 2);
    // held, south does not skip on through the screens
    state = 0;
    pad.boton(SDL_CONTROLLER_BUTTON_A, true);
    sondearHasta(reloj + 1000);
    EXPECT_EQ(state, 1);
    pad.boton(SDL_CONTROLLER_BUTTON_A, false);
    sondearHasta(reloj);

    // at the end, south plays again; east in play is nothing
    state = 3;
    puntos = 70;
    pulsar(SDL_CONTROLLER_BUTTON_A);
    EXPECT_EQ(state, 2);
    pulsar(SDL_CONTROLLER_BUTTON_B);
    EXPECT_EQ(state, 2);
    state = 4;
    pulsar(SDL_CONTROLLER_BUTTON_START);
    EXPECT_EQ(state, 2);
}
