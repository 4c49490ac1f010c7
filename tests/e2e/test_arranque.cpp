// Starting the real programs: one window of the right size and title, and
// Escape ends each with status 0.
#include "e2e.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

bool haveDisplay() { return getenv("DISPLAY") != nullptr; }

void windowSize(const std::string& id, int& w, int& h)
{
    std::string out;
    zk::runCommand("xdotool getwindowgeometry --shell " + id, &out);
    w = h = -1;
    size_t p = out.find("WIDTH=");
    if (p != std::string::npos)
        w = atoi(out.c_str() + p + 6);
    p = out.find("HEIGHT=");
    if (p != std::string::npos)
        h = atoi(out.c_str() + p + 7);
}

} // namespace

TEST(Arranque, SpaceZarkonsOpensItsWindowAndEscapeEndsIt)
{
    if (!haveDisplay())
        GTEST_SKIP() << "no X display: run the suite through ./test.sh";
    zk::GameProcess game(zk::binaryPath("space-zarkons-3d"), {}, zk::gameDataParent());
    ASSERT_TRUE(game.start());
    std::string id = game.findWindow("Space Zarkons 3D");
    ASSERT_FALSE(id.empty()) << game.output() << game.errors();
    int w, h;
    windowSize(id, w, h);
    EXPECT_EQ(w, 640);
    EXPECT_EQ(h, 640);
    // findWindow waited for the first frame: the game is set up
    game.key("Escape");
    EXPECT_EQ(game.waitExit(30), 0) << game.output() << game.errors();
}

TEST(Arranque, TieZarkonsOpensItsWindowAndEscapeEndsIt)
{
    if (!haveDisplay())
        GTEST_SKIP() << "no X display: run the suite through ./test.sh";
    const std::string dir = zk::makeTempDir(); // it reads no files
    zk::GameProcess game(zk::binaryPath("tie-zarkons"), {}, dir);
    ASSERT_TRUE(game.start());
    std::string id = game.findWindow("Tie Zarkons");
    ASSERT_FALSE(id.empty()) << game.output() << game.errors();
    int w, h;
    windowSize(id, w, h);
    EXPECT_EQ(w, 640);
    EXPECT_EQ(h, 480);
    game.key("Escape");
    EXPECT_EQ(game.waitExit(30), 0) << game.output() << game.errors();
    zk::runCommand("rm -rf '" + dir + "'");
}
