// Screens, ticks, view and input: the callbacks called directly on a real
// window, checked through the game's state and what OpenGL holds.
#include "juego_tie.h"
#include "lineas_tie.h"
#include "records.h"

#include <GL/freeglut.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

// A freshly set-up game, as main leaves it before the loop.
class Pantallas : public zk::JuegoTie {
};

void teclas(const char* s)
{
    for (; *s != '\0'; s++)
        keyboard((unsigned char)*s, 0, 0);
}

} // namespace

TEST_F(Pantallas, TheTitleLastsExactlyTwoHundredTicksWhileTheFormationMarches)
{
    keyboard(' ', 0, 0);
    ASSERT_EQ(state, 1);
    for (int i = 0; i < 199; i++)
        timer(1);
    EXPECT_EQ(state, 1);
    EXPECT_EQ(tamName, 1);
    // two reversals: 48 steps to -80, 96 to 16 and back 54 to -39
    EXPECT_FLOAT_EQ(pos_tie.x, -39);
    EXPECT_FLOAT_EQ(pos_tie.y, 48);
    timer(1);
    EXPECT_EQ(tamName, 0);
    EXPECT_EQ(state, 2);
    EXPECT_EQ(tiempoDisparo, 0); // counted before the title ended
    timer(1);
    EXPECT_EQ(tiempoDisparo, 1);
    EXPECT_EQ(tamName, 0);
}

TEST_F(Pantallas, KeysWalkTheScreensInTheirOrder)
{
    keyboard(0, 0, 0);
    EXPECT_EQ(state, 0);
    keyboard('p', 0, 0); // any key leaves the opening line, and does nothing else
    EXPECT_EQ(state, 1);
    EXPECT_TRUE(ortho);
    keyboard('h', 0, 0);
    EXPECT_EQ(state, 2);
    EXPECT_EQ(tamName, 200);

    keyboard('H', 0, 0);
    EXPECT_EQ(state, 5);
    keyboard('A', 0, 0); // pauses, but the help stays
    EXPECT_EQ(state, 5);
    EXPECT_FALSE(animating);
    keyboard('a', 0, 0);
    EXPECT_TRUE(animating);
    keyboard('r', 0, 0); // back to play, without its own action
    EXPECT_EQ(state, 2);
    EXPECT_TRUE(relleno);
    keyboard('h', 0, 0);
    keyboard('x', 0, 0);
    EXPECT_EQ(state, 2);

    // 'H' elsewhere falls through to the other keys and does nothing
    state = 3;
    keyboard('h', 0, 0);
    EXPECT_EQ(state, 3);
}

TEST_F(Pantallas, RestartKeepsScoreAndShotTimerAndRebuildsTheField)
{
    state = 3;
    puntos = 2600;
    tiempoDisparo = 40;
    enemys[4] = false;
    bloques[50].vivo = false;
    xWingStat = {30, -70, 0};
    sTie[2] = {1, 2, true};
    scale = 0.6f;
    ortho = false;
    keyboard('m', 0, 0); // nothing to fire at the end screen
    EXPECT_EQ(tiempoDisparo, 40);
    keyboard('S', 0, 0);
    EXPECT_EQ(state, 2);
    EXPECT_EQ(puntos, 2600);
    EXPECT_EQ(tiempoDisparo, 40);
    for (int i = 0; i < kTies; i++)
        EXPECT_TRUE(enemys[i]);
    for (const cubito& c : bloques)
        EXPECT_TRUE(c.vivo);
    EXPECT_EQ(xWingStat.energia, 10);
    EXPECT_FLOAT_EQ(xWingStat.x, 0);
    EXPECT_FALSE(sTie[2].activo);
    EXPECT_FLOAT_EQ(scale, 0.6f);
    EXPECT_FALSE(ortho);

    state = 4;
    keyboard('s', 0, 0);
    EXPECT_EQ(state, 2);
}

TEST_F(Pantallas, TheXWingFiresAtMostOnceEverySixTicksAndNeverWithFiveInFlight)
{
    state = 2;
    tiempoDisparo = 6;
    keyboard('m', 0, 0);
    EXPECT_TRUE(sXWing[0].activo);
    EXPECT_EQ(tiempoDisparo, 0);
    for (int i = 0; i < 5; i++) {
        timer(1);
        keyboard('M', 0, 0);
    }
    EXPECT_FALSE(sXWing[1].activo);
    timer(1); // the sixth tick
    keyboard('M', 0, 0);
    EXPECT_TRUE(sXWing[1].activo);

    // all five flying: the timer restarts but the shot is lost
    for (shoot& s : sXWing)
        s = {0, 0, true};
    tiempoDisparo = 20;
    keyboard('m', 0, 0);
    EXPECT_EQ(tiempoDisparo, 0);
    for (const shoot& s : sXWing)
        EXPECT_FLOAT_EQ(s.y, 0);
}

TEST_F(Pantallas, ScaleStaysWithinItsBoundsAndRSwitchesToLines)
{
    state = 2;
    keyboard('-', 0, 0);
    EXPECT_FLOAT_EQ(scale, 0.2f);
    for (int i = 0; i < 10; i++)
        keyboard('+', 0, 0);
    EXPECT_FLOAT_EQ(scale, 1.6f);
    // going all the way down again must not leave a sliver above zero
    for (int i = 0; i < 10; i++)
        keyboard('-', 0, 0);
    EXPECT_FLOAT_EQ(scale, 0.2f);
    // in plain float steps this walk ends a hair above zero, not at 0.2
    scale = 0.2f;
    teclas("++---");
    EXPECT_FLOAT_EQ(scale, 0.2f);
    teclas("+-+-+");
    EXPECT_FLOAT_EQ(scale, 0.4f);

    // 'R' draws every polygon as lines, and back
    GLint modo[2];
    keyboard('R', 0, 0);
    glGetIntegerv(GL_POLYGON_MODE, modo);
    EXPECT_EQ(modo[0], GL_LINE);
    EXPECT_EQ(modo[1], GL_LINE);
    keyboard('r', 0, 0);
    glGetIntegerv(GL_POLYGON_MODE, modo);
    EXPECT_EQ(modo[0], GL_FILL);
}

TEST_F(Pantallas, ProjectionScalesTheLongerSideAndASquareWindowIsTall)
{
    struct Caso { int w, h; double ancho, alto; };
    // the half-width and half-height of the orthographic box
    const Caso casos[3] = {{640, 640, 16, 16}, {640, 480, 16 / 0.75, 16}, {480, 640, 16, 16 / 0.75}};
    state = 2;
    for (const Caso& c : casos) {
        reshape(c.w, c.h);
        initTransformation();
        const auto m = zk::matrix(GL_PROJECTION_MATRIX);
        EXPECT_NEAR(m[0], 1 / c.ancho, 1e-5) << c.w << "x" << c.h;
        EXPECT_NEAR(m[5], 1 / c.alto, 1e-5) << c.w << "x" << c.h;
        EXPECT_NEAR(m[10], -2.0 / 40, 1e-6);
        EXPECT_EQ(width, c.w);
        EXPECT_EQ(height, c.h);
    }
    // the camera stands at z 50 looking at the origin
    const auto mv = zk::matrix(GL_MODELVIEW_MATRIX);
    EXPECT_NEAR(mv[14], -50, 1e-4);

    // 'P': a frustum from 30 to 70, 10 either side at the near plane
    keyboard('p', 0, 0);
    initTransformation();
    const auto f = zk::matrix(GL_PROJECTION_MATRIX);
    EXPECT_NEAR(f[0], 2 * 30.0 / 20, 1e-5);
    EXPECT_NEAR(f[11], -1, 1e-6);
    keyboard('P', 0, 0);
    EXPECT_TRUE(ortho);

    // a window with no area yet gives a usable matrix, not NaNs
    reshape(0, 0);
    initTransformation();
    for (float v : zk::matrix(GL_PROJECTION_MATRIX))
        EXPECT_TRUE(std::isfinite(v));
    reshape(640, 640);
}

TEST_F(Pantallas, ArrowsMoveTheXWingInPlayWithinItsBoundsAndNotWhilePaused)
{
    state = 2;
    special(GLUT_KEY_LEFT, 0, 0);
    EXPECT_FLOAT_EQ(xWingStat.x, -1);
    xWingStat.x = -100;
    special(GLUT_KEY_LEFT, 0, 0);
    EXPECT_FLOAT_EQ(xWingStat.x, -100);
    xWingStat.x = 99.5f;
    special(GLUT_KEY_RIGHT, 0, 0);
    EXPECT_FLOAT_EQ(xWingStat.x, 100.5f);
    special(GLUT_KEY_RIGHT, 0, 0);
    EXPECT_FLOAT_EQ(xWingStat.x, 100.5f);
    special(GLUT_KEY_UP, 0, 0);
    special(GLUT_KEY_DOWN, 0, 0);
    EXPECT_FLOAT_EQ(xWingStat.y, -70);

    state = 5;
    xWingStat.x = 0;
    special(GLUT_KEY_LEFT, 0, 0);
    EXPECT_FLOAT_EQ(xWingStat.x, 0);

    xrot = 30;
    yrot = 40;
    animating = false;
    state = 2;
    special(GLUT_KEY_LEFT, 0, 0);
    special(GLUT_KEY_HOME, 0, 0);
    EXPECT_FLOAT_EQ(xWingStat.x, 0);
    EXPECT_FLOAT_EQ(xrot, 30);
    animating = true;
    state = 0; // Home works on every screen, and brings back the scale too
    scale = 1.4f;
    special(GLUT_KEY_HOME, 0, 0);
    EXPECT_FLOAT_EQ(xrot, 0);
    EXPECT_FLOAT_EQ(yrot, 0);
    EXPECT_FLOAT_EQ(scale, kEscalaInicial);
}

TEST_F(Pantallas, DraggingWithTheLeftButtonTurnsTheViewOneDegreeAPixel)
{
    xrot = 10;
    yrot = 20;
    mouse(GLUT_LEFT_BUTTON, GLUT_DOWN, 100, 50);
    EXPECT_TRUE(mouseDown);
    motion(130, 70);
    EXPECT_FLOAT_EQ(yrot, 50);
    EXPECT_FLOAT_EQ(xrot, 30);
    mouse(GLUT_LEFT_BUTTON, GLUT_UP, 130, 70);
    EXPECT_FALSE(mouseDown);
    motion(300, 300);
    EXPECT_FLOAT_EQ(yrot, 50);

    // a drag picks up where the last one left the view
    mouse(GLUT_LEFT_BUTTON, GLUT_DOWN, 0, 0);
    motion(-5, 5);
    EXPECT_FLOAT_EQ(yrot, 45);
    EXPECT_FLOAT_EQ(xrot, 35);
    mouse(GLUT_RIGHT_BUTTON, GLUT_DOWN, 0, 0);
    EXPECT_FALSE(mouseDown);
}

// Paused, the frames drawn still score hits, but no tick is armed, so
// nothing moves; running, the frame arms the next tick.
TEST_F(Pantallas, WhilePausedFramesStillHitButNothingMoves)
{
    state = 2;
    animating = false;
    sXWing[0] = {pos_tie.x, pos_tie.y, true};
    const posicionTie antes = pos_tie;
    display();
    zk::pumpEvents(40);
    EXPECT_FALSE(enemys[0]);
    EXPECT_EQ(puntos, 200);
    EXPECT_FLOAT_EQ(pos_tie.x, antes.x);

    animating = true;
    display();
    zk::pumpEvents(40); // 80 ms: at least one tick has run
    animating = false;
    EXPECT_NE(pos_tie.x, antes.x);
}

// Hidden or iconified, the game in play pauses and stays paused when it shows
// again; the title ends into a paused game while the player is away.
TEST_F(Pantallas, AHiddenWindowPausesPlayUntilThePlayerResumes)
{
    state = 2;
    estadoVentana(GLUT_HIDDEN);
    EXPECT_FALSE(animating);
    estadoVentana(GLUT_FULLY_RETAINED);
    EXPECT_FALSE(animating);
    const float x = xWingStat.x;
    special(GLUT_KEY_LEFT, 0, 0);
    EXPECT_EQ(xWingStat.x, x);
    keyboard('a', 0, 0);
    EXPECT_TRUE(animating);

    // other screens go on; a title that ends meanwhile starts play paused
    state = 1;
    tamName = 1;
    estadoVentana(GLUT_HIDDEN);
    EXPECT_TRUE(animating);
    timer(1);
    EXPECT_EQ(state, 2);
    EXPECT_FALSE(animating);
    estadoVentana(GLUT_FULLY_RETAINED);
}

TEST_F(Pantallas, EachScreenDrawsItsTextsWherePlaced)
{
    // opening: one line across the middle
    auto ls = lineas();
    EXPECT_GT(lineasEn(ls, -84, 90, -2, 7), 100);
    EXPECT_EQ(lineasEn(ls, -110, 110, 10, 110), 0);

    // the title on its way down, then all but gone
    state = 1;
    tamName = 60;
    ls = lineas();
    EXPECT_GT(lineasEn(ls, -31, 40, 12, 70), 20);   // "Tie" from (-30, 20)
    EXPECT_GT(lineasEn(ls, -91, 110, -35, 12), 60); // "Zarkons" from (-90, -20)
    tamName = 3;
    for (const zk::FbPrimitive& p : lineas())
        for (const zk::FbVertex& v : p.v)
            EXPECT_TRUE(std::fabs(v.ox) < 8 && std::fabs(v.oy) < 4) << v.ox << " " << v.oy;

    // play: "Pausa" only while paused, over the field's own texts
    state = 2;
    animating = true;
    const int enJuego = lineasEn(lineas(), -24, 30, -5, 20);
    animating = false;
    const int enPausa = lineasEn(lineas(), -24, 30, -5, 20);
    EXPECT_GT(enPausa, enJuego + 20);

    // help: a heading, the eleven key lines down to y -21, the sound key's at
    // -28 and the pad's at -35
    state = 5;
    ls = lineas();
    EXPECT_GT(lineasEn(ls, -66, 80, 69, 85), 50);
    for (int i = 0; i < 13; i++)
        EXPECT_GT(lineasEn(ls, -98, 110, 48.5 - 7 * i, 49.5 - 7 * i + 5), 10) << "help line " << i;
    EXPECT_EQ(lineasEn(ls, -110, 110, -110, -38), 0);

    // the end screens differ only in their first line, from y 40 (a
    // descender reaches 35.6) while the second line tops out below 34
    state = 3;
    const auto perdida = lineas();
    state = 4;
    const auto ganada = lineas();
    auto trazo = [](const std::vector<zk::FbPrimitive>& ls, double y0, double y1) {
        std::vector<long> v;
        for (const zk::FbPrimitive& p : ls)
            if (p.v[0].oy >= y0 && p.v[0].oy < y1)
                v.push_back(std::lround(p.v[0].ox * 100) * 100000 + std::lround(p.v[0].oy * 100));
        return v;
    };
    EXPECT_FALSE(trazo(ganada, 34.5, 60).empty());
    EXPECT_NE(trazo(perdida, 34.5, 60), trazo(ganada, 34.5, 60));
    EXPECT_EQ(trazo(perdida, -50, 34.5), trazo(ganada, -50, 34.5));
    EXPECT_GT(lineasEn(ganada, -50, 40, -45, -35), 10); // "Si/No"
}

// Escape ends the program from every screen, and 'N' from the end screens.
TEST_F(Pantallas, EscapeAndNExitWithStatusZero)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    for (int s = 0; s <= 5; s++) {
        state = s;
        EXPECT_EXIT(keyboard(27, 0, 0), ::testing::ExitedWithCode(0), "") << "state " << s;
    }
    for (int s : {3, 4}) {
        state = s;
        EXPECT_EXIT(keyboard('N', 0, 0), ::testing::ExitedWithCode(0), "");
        EXPECT_EXIT(keyboard('n', 0, 0), ::testing::ExitedWithCode(0), "");
    }
    state = 2;
    keyboard('n', 0, 0); // in play 'N' is nothing
    EXPECT_EQ(state, 2);
}

// The won and lost screens record their game once, with the points won in
// it (the score on screen carries over), and a restart with 'S' starts a new
// one; under the question, the best score and this game's, which says when
// it did not make the table.
TEST_F(Pantallas, EachEndScreenRecordsItsGamesPointsOnceAndShowsThemWithTheBest)
{
    std::string path, why;
    ASSERT_TRUE(rec_path("tie-zarkons", &path, &why));
    auto tabla = [&] {
        rec_table_t t;
        EXPECT_TRUE(rec_load(path, &t, &why));
        return t;
    };
    const double x0 = -70, x1 = 120; // the line, in field units, below "Si/No"
    state = 3;
    puntos = 700;
    lineas();
    const std::vector<zk::FbPrimitive> ls = lineas();
    rec_table_t t = tabla();
    ASSERT_EQ(t.entries.size(), 1u);
    EXPECT_EQ(t.entries[0].score, 700);
    EXPECT_EQ(t.entries[0].how, "perdida");
    EXPECT_GT(lineasEn(ls, x0, x1, -66, -50), 20);
    EXPECT_EQ(lineasEn(ls, x0, x1, -49, -46), 0) << "the question's lines moved";
    const int hecha = lineasEn(ls, x0, x1, -76, -67); // "Esta partida: 700"
    EXPECT_GT(hecha, 20);

    keyboard('s', 0, 0);
    EXPECT_EQ(puntos, 700) << "the score on screen carries over";
    state = 4;
    puntos = 900;
    lineas();
    t = tabla();
    ASSERT_EQ(t.entries.size(), 2u);
    EXPECT_EQ(t.entries[1].score, 200) << "what this game won";
    EXPECT_EQ(t.entries[1].how, "ganada");
    EXPECT_EQ(mejorPuntaje, 700);

    // a game that won nothing is not a record, and its line says so
    keyboard('s', 0, 0);
    state = 3;
    const int nada = lineasEn(lineas(), x0, x1, -76, -67);
    EXPECT_EQ(tabla().entries.size(), 2u);
    EXPECT_EQ(mejorPuntaje, 700);
    EXPECT_GT(nada, hecha + 100) << "no word that the game did not make the table";
}

TEST_F(Pantallas, WithoutAPlaceForRecordsTheEndScreenIsAsBefore)
{
    unsetenv("HOME");
    setenv("XDG_DATA_HOME", "/proc/sin-datos", 1);
    state = 3;
    EXPECT_EQ(lineasEn(lineas(), -70, 120, -66, -50), 0);
    EXPECT_EQ(state, 3);
    keyboard('s', 0, 0);
    EXPECT_EQ(state, 2);
}

// The screens of text alone are drawn once and shown from their pixels after:
// a shown frame must be the drawn one, and anything that moves the picture
// must draw it afresh.
TEST_F(Pantallas, ATextScreenShowsTheSamePixelsUntilTheViewChanges)
{
    auto cuadro = [] {
        display();
        glFinish();
        return zk::readPixels(0, 0, 640, 640);
    };
    auto distintos = [](const std::vector<unsigned char>& a, const std::vector<unsigned char>& b) {
        size_t n = 0;
        for (size_t i = 0; i < a.size() && i < b.size(); i++)
            n += a[i] != b[i] ? 1 : 0;
        return n;
    };
    state = 5;
    const std::vector<unsigned char> ayuda = cuadro();
    ASSERT_NE(std::count(ayuda.begin(), ayuda.end(), 0), (long)ayuda.size()) << "nothing drawn";
    EXPECT_EQ(distintos(cuadro(), ayuda), 0u);
    EXPECT_EQ(distintos(cuadro(), ayuda), 0u);

    ortho = !ortho;
    EXPECT_GT(distintos(cuadro(), ayuda), 0u);
    ortho = !ortho;
    reshape(640, 400);
    EXPECT_GT(distintos(cuadro(), ayuda), 0u);
    reshape(640, 640);
    EXPECT_EQ(distintos(cuadro(), ayuda), 0u);

    // another screen of text, and back
    state = 3;
    const std::vector<unsigned char> perdida = cuadro();
    EXPECT_GT(distintos(perdida, ayuda), 0u);
    state = 4;
    EXPECT_GT(distintos(cuadro(), perdida), 0u);
    state = 5;
    EXPECT_EQ(distintos(cuadro(), ayuda), 0u);

    // play is never held: the formation marches between frames
    state = 2;
    const std::vector<unsigned char> juego = cuadro();
    timer(1);
    timer(1);
    EXPECT_GT(distintos(cuadro(), juego), 0u);
    // nor is the shrinking title
    state = 1;
    tamName = 40;
    const std::vector<unsigned char> titulo = cuadro();
    timer(1);
    EXPECT_GT(distintos(cuadro(), titulo), 0u);
}

// The saved picture of a text screen is a window's worth of pixels: play,
// which never shows it, must not keep it (a full screen's 33 MB stayed for
// the rest of the game), nor a smaller window the larger one's.
TEST_F(Pantallas, TheSavedTextScreenIsLetGoInPlayAndFollowsTheWindowDown)
{
    state = 5;
    reshape(3840, 2160);
    display();
    EXPECT_EQ(bytesPantallaGuardada(), 3840u * 2160u * 4u);
    reshape(640, 640);
    display();
    EXPECT_EQ(bytesPantallaGuardada(), 640u * 640u * 4u);
    state = 2;
    display();
    EXPECT_EQ(bytesPantallaGuardada(), 0u);
    // the help again has them, drawn afresh
    state = 5;
    display();
    EXPECT_EQ(bytesPantallaGuardada(), 640u * 640u * 4u);
}

// The screens of text are seen in the plain view whatever the player set for
// play (zoomed in, the end screen showed only "Continu..."); play keeps the
// player's view.
TEST_F(Pantallas, TextScreensIgnoreThePlayersScaleAndTurnButPlayDoesNot)
{
    auto cuadro = [] {
        display();
        glFinish();
        return zk::readPixels(0, 0, 640, 640);
    };
    auto verCon = [&](int s, float escala, float giro) {
        state = 2;
        display(); // a frame of play: no saved picture of the last screen is left
        state = s;
        scale = escala;
        xrot = giro;
        yrot = -giro;
        return cuadro();
    };
    for (int s : {0, 1, 3, 4, 5}) {
        tamName = 120;
        const std::vector<unsigned char> plana = verCon(s, kEscalaInicial, 0.0f);
        ASSERT_NE(std::count(plana.begin(), plana.end(), 0), (long)plana.size()) << "state " << s;
        for (int mas = 1; mas <= 7; mas += 3)
            EXPECT_TRUE(verCon(s, kEscalaInicial + 0.2f * mas, 35.0f) == plana)
                << "state " << s << ", +" << mas;
    }
    // the same play frame twice, but for the view: nothing moves, and with
    // every Tie shot in flight (far below) none can be added
    animating = false;
    for (shoot& d : sTie)
        d = {0.0f, -300.0f, true};
    const std::vector<unsigned char> juego = verCon(2, kEscalaInicial, 0.0f);
    EXPECT_FALSE(verCon(2, 0.8f, 0.0f) == juego);
    EXPECT_FALSE(verCon(2, kEscalaInicial, 35.0f) == juego);
    EXPECT_TRUE(verCon(2, kEscalaInicial, 0.0f) == juego);
}
