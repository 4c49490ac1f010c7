// The game's six effects: each under a second, loud without clipping, with
// no DC offset, and each one unlike the others.
#include "globales.h"

#include "../common/sound/efectos_prueba.h"

TEST(Sonidos, SixEffectsShortCleanAndDistinct)
{
    zk::revisarEfectos(efectosSonidoTie(), SONIDOS_TIE);
}
