// A fixture for Tie Zarkons' tests: a real window and the game set up as main
// leaves it before the loop.
#pragma once

#include "gl_test.h"
#include "globales.h"

namespace zk
{

class JuegoTie : public GlTest
{
  protected:
    void SetUp() override
    {
        GlTest::SetUp();
        if (IsSkipped())
            return;
        init();
        crearModelos();
        reshape(640, 640);
    }
    void TearDown() override
    {
        // no tick armed by a test may run in a later one's event pumping
        animating = false;
    }
};

} // namespace zk
