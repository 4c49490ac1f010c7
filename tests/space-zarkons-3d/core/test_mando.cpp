// The gamepad in play: a virtual pad plugged into this process, its polls
// made at chosen times, the game's own key handlers doing the rest.
#include "../../common/gamepad/mando_virtual.h"
#include "juego_prueba.h"

#include "Nave1.h"

#include <GL/freeglut.h>

using zk::Juego;
using zk::MandoVirtual;

namespace
{

class Mando : public Juego
{
  protected:
    void SetUp() override
    {
        Juego::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        empezarJuego();
        iniciarMando();
        ASSERT_TRUE(pad.enchufar());
    }

    void sondearHasta(long long hasta) { zk::sondearHasta(reloj, hasta); }

    MandoVirtual pad;
    long long reloj = 0;
};

} // namespace

TEST_F(Mando, TheStickAndTheDpadMoveTheShipAsHeldArrowsWithinTheBox)
{
    // inside the dead zone nothing moves; past it, one step at once
    pad.eje(SDL_CONTROLLER_AXIS_LEFTX, -8000);
    sondearHasta(0);
    EXPECT_FLOAT_EQ(nave->getX(), 0.0f);
    pad.eje(SDL_CONTROLLER_AXIS_LEFTX, -16000);
    sondearHasta(16);
    EXPECT_FLOAT_EQ(nave->getX(), -1.0f);
    EXPECT_TRUE(teclaIzquierda);
    // nothing more until the keyboard's delay, then thirty steps a second
    sondearHasta(16 + 240);
    EXPECT_FLOAT_EQ(nave->getX(), -1.0f);
    sondearHasta(16 + 250 + 1000);
    EXPECT_NEAR(nave->getX(), -31.0f, 1.0f);
    // and the box's edge holds, with the keys' tilt
    sondearHasta(3000);
    EXPECT_FLOAT_EQ(nave->getX(), -31.0f);
    EXPECT_FLOAT_EQ(nave->getRotacionZ(), -93.0f);
    pad.eje(SDL_CONTROLLER_AXIS_LEFTX, 0);
    sondearHasta(3016);
    EXPECT_FALSE(teclaIzquierda);

    // the d-pad: up to the top of the box
    pad.boton(SDL_CONTROLLER_BUTTON_DPAD_UP, true);
    sondearHasta(6000);
    EXPECT_FLOAT_EQ(nave->getY(), 26.0f);
    EXPECT_FLOAT_EQ(nave->getX(), -31.0f);
    pad.boton(SDL_CONTROLLER_BUTTON_DPAD_UP, false);
    sondearHasta(6016);
    EXPECT_FALSE(teclaArriba);

    // paused, as with the arrows, the ship stays
    keyboard('p', 0, 0);
    pad.boton(SDL_CONTROLLER_BUTTON_DPAD_DOWN, true);
    sondearHasta(7000);
    EXPECT_FLOAT_EQ(nave->getY(), 26.0f);
}

TEST_F(Mando, HeldFireShootsOnEveryReloadAndNoMore)
{
    nave->recargar();
    pad.boton(SDL_CONTROLLER_BUTTON_A, true);
    sondearHasta(0);
    EXPECT_EQ(disparos.size(), 1u);
    EXPECT_TRUE(teclaDisparo);
    // no reload, no shot, however long it is held
    sondearHasta(1000);
    EXPECT_EQ(disparos.size(), 1u);
    // each reload brings one shot within a repeat
    for (int i = 0; i < 5; i++) {
        nave->recargar();
        sondearHasta(reloj + 40);
    }
    EXPECT_EQ(disparos.size(), 6u);
    pad.boton(SDL_CONTROLLER_BUTTON_A, false);
    sondearHasta(reloj);
    EXPECT_FALSE(teclaDisparo);
    nave->recargar();
    sondearHasta(reloj + 500);
    EXPECT_EQ(disparos.size(), 6u);

    // the right trigger is fire too; letting go of one of two keeps it held
    pad.eje(SDL_CONTROLLER_AXIS_TRIGGERRIGHT, 30000);
    sondearHasta(reloj);
    EXPECT_EQ(disparos.size(), 7u);
    pad.boton(SDL_CONTROLLER_BUTTON_A, true);
    sondearHasta(reloj);
    // a trigger at rest stands at the bottom of the axis
    pad.eje(SDL_CONTROLLER_AXIS_TRIGGERRIGHT, -32768);
    sondearHasta(reloj);
    EXPECT_TRUE(teclaDisparo);
    pad.boton(SDL_CONTROLLER_BUTTON_A, false);
    sondearHasta(reloj);
    EXPECT_FALSE(teclaDisparo);
}

TEST_F(Mando, StartPausesAndResumesAndBackTogglesTheScoreStrip)
{
    pad.boton(SDL_CONTROLLER_BUTTON_START, true);
    sondearHasta(2000); // held, it acts once
    EXPECT_EQ(pausa, 1);
    EXPECT_TRUE(pausaVisible);
    pad.boton(SDL_CONTROLLER_BUTTON_START, false);
    sondearHasta(2016);
    pad.boton(SDL_CONTROLLER_BUTTON_START, true);
    sondearHasta(2032);
    EXPECT_EQ(pausa, 0);

    pad.boton(SDL_CONTROLLER_BUTTON_BACK, true);
    sondearHasta(2048);
    EXPECT_TRUE(mostrarScore);
    pad.boton(SDL_CONTROLLER_BUTTON_BACK, false);
    sondearHasta(2064);
    pad.boton(SDL_CONTROLLER_BUTTON_BACK, true);
    sondearHasta(2080);
    EXPECT_FALSE(mostrarScore);
    EXPECT_EQ(glutGetWindow(), ventanaPrincipal);
    // east is nothing in play (at the table it would quit)
    pad.boton(SDL_CONTROLLER_BUTTON_B, true);
    sondearHasta(2096);
    EXPECT_EQ(pausa, 0);
    EXPECT_FALSE(gameOver);
}

TEST_F(Mando, AtTheTableSouthOrStartPlayAgainAndEastQuits)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    gameOver = true;
    ASSERT_TRUE(puedeJugarDeNuevo());
    EXPECT_EXIT(
        {
            pad.boton(SDL_CONTROLLER_BUTTON_B, true);
            sondearHasta(0);
        },
        ::testing::ExitedWithCode(0), "");

    pad.boton(SDL_CONTROLLER_BUTTON_A, true);
    sondearHasta(0);
    EXPECT_EQ(partida, 1);
    EXPECT_FALSE(gameOver);
    // held on into the new game, it is fire again from its first repeat
    EXPECT_FALSE(teclaDisparo);
    sondearHasta(300);
    EXPECT_TRUE(teclaDisparo);
    pad.boton(SDL_CONTROLLER_BUTTON_A, false);
    sondearHasta(316);

    gameOver = true;
    pad.boton(SDL_CONTROLLER_BUTTON_START, true);
    sondearHasta(332);
    EXPECT_EQ(partida, 2);
    EXPECT_EQ(pausa, 1); // the new game's fly-in, not the player's pause
    EXPECT_FALSE(pausaVisible);
}

TEST_F(Mando, APadPulledOutMidGameLetsGoOfTheHeldDirectionAndANewOneIsTaken)
{
    pad.boton(SDL_CONTROLLER_BUTTON_DPAD_RIGHT, true);
    sondearHasta(500);
    const float x = nave->getX();
    EXPECT_GT(x, 1.0f);
    pad.desenchufar();
    sondearHasta(516);
    EXPECT_FALSE(teclaDerecha);
    sondearHasta(2000);
    EXPECT_FLOAT_EQ(nave->getX(), x);
    // a key event now moves nothing the pad left behind
    keyboard('w', 0, 0);
    EXPECT_FLOAT_EQ(nave->getX(), x);

    MandoVirtual otro;
    ASSERT_TRUE(otro.enchufar());
    otro.boton(SDL_CONTROLLER_BUTTON_DPAD_LEFT, true);
    sondearHasta(2016);
    EXPECT_FLOAT_EQ(nave->getX(), x - 1.0f);
}
