// Tie Zarkons' screens in English: they fit where the Spanish ones do, the
// pause word stands where the Spanish one does, and Y answers the question.
#include "idioma.h"
#include "juego_tie.h"
#include "lineas_tie.h"

#include <algorithm>
#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

namespace {

class Pantallas : public zk::JuegoTie {
};

} // namespace

// In English each screen of text reaches no further than its Spanish one,
// so it fits wherever that one does; the end screens take Y as well as S.
TEST_F(Pantallas, InEnglishTheScreensFitAsTheSpanishOnesAndYGoesOn)
{
    auto extension = [](int s) {
        state = s;
        double x0 = 1e9, x1 = -1e9, y0 = 1e9, y1 = -1e9;
        for (const zk::FbPrimitive& p : lineas())
            for (const zk::FbVertex& v : p.v) {
                x0 = std::min(x0, v.ox);
                x1 = std::max(x1, v.ox);
                y0 = std::min(y0, v.oy);
                y1 = std::max(y1, v.oy);
            }
        return std::vector<double>{x0, x1, y0, y1};
    };
    const int pantallas[] = {0, 3, 4, 5};
    setenv("LC_ALL", "C", 1);
    unsetenv("LANGUAGE");
    zk_idioma_iniciar();
    std::vector<std::vector<double>> espanol;
    for (int s : pantallas)
        espanol.push_back(extension(s));
    state = 3;
    keyboard('y', 0, 0);
    EXPECT_EQ(state, 3) << "in Spanish Y is no answer";

    setenv("LC_ALL", "en_US.UTF-8", 1);
    zk_idioma_iniciar();
    ASSERT_STREQ(zk_tr("Si/No"), "Y/N") << "en_US.UTF-8 is not generated: run the suite through ./test.sh";
    for (size_t i = 0; i < espanol.size(); i++) {
        SCOPED_TRACE("state " + std::to_string(pantallas[i]));
        const std::vector<double> e = extension(pantallas[i]);
        // (a letter's side bearing is a hair of the field: two units of 220)
        EXPECT_GE(e[0], espanol[i][0] - 2);
        EXPECT_LE(e[1], espanol[i][1] + 2);
        EXPECT_GE(e[2], espanol[i][2] - 2);
        EXPECT_LE(e[3], espanol[i][3] + 2);
    }
    state = 3;
    keyboard('y', 0, 0);
    EXPECT_EQ(state, 2);
    state = 4;
    keyboard('S', 0, 0);
    EXPECT_EQ(state, 2);
}

// "Paused" stands centred where "Pausa" does, over the field in play.
TEST_F(Pantallas, InEnglishThePauseIsCentredWhereTheSpanishOneIs)
{
    // the left and right ends of what pausing adds to the frame
    auto palabra = [] {
        state = 2;
        animating = true;
        std::vector<std::pair<double, double>> juego;
        for (const zk::FbPrimitive& p : lineas())
            juego.push_back({p.v[0].ox, p.v[0].oy});
        animating = false;
        double x0 = 1e9, x1 = -1e9;
        for (const zk::FbPrimitive& p : lineas())
            if (std::find(juego.begin(), juego.end(), std::make_pair(p.v[0].ox, p.v[0].oy)) == juego.end())
                for (const zk::FbVertex& v : p.v) {
                    x0 = std::min(x0, v.ox);
                    x1 = std::max(x1, v.ox);
                }
        return std::make_pair(x0, x1);
    };
    setenv("LC_ALL", "C", 1);
    unsetenv("LANGUAGE");
    zk_idioma_iniciar();
    const auto pausa = palabra();
    setenv("LC_ALL", "en_US.UTF-8", 1);
    zk_idioma_iniciar();
    ASSERT_STREQ(zk_tr("Pausa"), "Paused") << "en_US.UTF-8 is not generated: run the suite through ./test.sh";
    const auto paused = palabra();
    EXPECT_GT(paused.second - paused.first, pausa.second - pausa.first + 5);
    EXPECT_NEAR((paused.first + paused.second) / 2, (pausa.first + pausa.second) / 2, 0.5);
}
