// The harness's waits: the frame counter it preloads into the games it
// starts, and what the tests build on it.
#include "e2e.h"
#include "gl_test.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#if defined(__has_feature)
#if __has_feature(address_sanitizer)
#define ZK_CON_ASAN 1
#endif
#endif

TEST(Espera, TheGameSFramesAreCountedFromTheFirstAndFollowTheInput)
{
    if (!zk::haveDisplay())
        GTEST_SKIP() << "no X display (DISPLAY is unset): run the suite through ./test.sh";
    const std::string dir = zk::makeTempDir();
    zk::GameProcess juego(zk::binaryPath("tie-zarkons"), {}, dir);
    EXPECT_EQ(juego.frames(), -1) << "counted before the game runs";
    ASSERT_TRUE(juego.start());
    ASSERT_FALSE(juego.findWindow("Tie Zarkons").empty()) << juego.errors();
    // the window is there and the set-up is over: one picture at least
    const long primeros = juego.frames();
    EXPECT_GE(primeros, 1);
    // the title after the opening line animates by itself
    juego.key("space");
    EXPECT_TRUE(juego.waitNewFrames(3, 30));
    EXPECT_GE(juego.frames(), primeros + 3);
#ifdef ZK_CON_ASAN
    // the sanitizer's allocator says what the game holds: a few MB at least
    EXPECT_GT(juego.liveHeapBytes(), 1 << 20);
#endif
    EXPECT_TRUE(juego.waitForOutput("Instrucciones:", 10));
    EXPECT_FALSE(juego.waitForOutput("nunca dicho", 0.2));
    juego.key("Escape");
    EXPECT_EQ(juego.waitExit(20), 0);
    // a game that has ended draws nothing more: no wait outlives it
    EXPECT_FALSE(juego.waitNewFrames(1, 30));
    zk::runCommand("rm -rf '" + dir + "'");
}
