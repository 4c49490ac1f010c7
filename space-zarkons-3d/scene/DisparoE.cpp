// An enemy shot: flies toward the player (+z).
#include "DisparoE.h"

DisparoE::DisparoE(float x, float y, float z, float rx, float ry, float rz)
    : Disparo(x, y, z, rx, ry, rz)
{
}

// The message is the one Disparo's destructor writes.
DisparoE::~DisparoE() {}

void DisparoE::mover()
{
    // only z is reversed: a tilted enemy shot climbs like a player's
    setX((float)(getX() + getDireccionX()));
    setY((float)(getY() + getDireccionY()));
    setZ((float)(getZ() - getDireccionZ()));
}

bool DisparoE::fueraDeCampo()
{
    return getZ() > 110.0f;
}
