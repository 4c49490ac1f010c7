// Which held button repeats, fed polls at chosen times (the pace itself is
// checked in the games' own tests).
#include "repeticion.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace
{

std::vector<std::string> oidos;

void anotar(zk_pad_button_t b, zk_pad_event_t e)
{
    static const char* const tipos[] = {"+", "*", "-"};
    oidos.push_back(tipos[e] + std::to_string((int)b));
}

const unsigned kFlechas = zk_pad_bit(ZK_PAD_LEFT) | zk_pad_bit(ZK_PAD_RIGHT) | zk_pad_bit(ZK_PAD_UP);

struct Botones {
    bool held[ZK_PAD_BUTTONS] = {};
};

// Polls every 16 ms from `desde` to `hasta`, holding `b`; returns the events.
std::vector<std::string> sondear(zk_pad_repeat_t& r, const Botones& b, long long desde, long long hasta)
{
    oidos.clear();
    for (long long t = desde; t <= hasta; t += 16)
        zk_pad_feed(&r, b.held, t, kFlechas, anotar);
    return oidos;
}

} // namespace

TEST(Repeticion, OnlyTheLastPressedRepeatsAndTheOneBeforeTakesOverAtItsRelease)
{
    zk_pad_repeat_t r;
    Botones b;
    b.held[ZK_PAD_LEFT] = true;
    sondear(r, b, 0, 400);
    b.held[ZK_PAD_UP] = true;
    // up's press, then up alone repeats, after its own delay
    std::vector<std::string> ev = sondear(r, b, 416, 700);
    ASSERT_FALSE(ev.empty());
    EXPECT_EQ(ev[0], "+0");
    EXPECT_EQ(std::count(ev.begin(), ev.end(), "*2"), 0);
    EXPECT_GT(std::count(ev.begin(), ev.end(), "*0"), 0);
    // up let go: left, held all along, goes on within the repeat's pace
    b.held[ZK_PAD_UP] = false;
    ev = sondear(r, b, 716, 780);
    ASSERT_GE(ev.size(), 2u);
    EXPECT_EQ(ev[0], "-0");
    EXPECT_EQ(ev[1], "*2");

    // a button outside the mask neither repeats nor takes the repeat away
    b.held[ZK_PAD_START] = true;
    ev = sondear(r, b, 776, 1100);
    EXPECT_EQ(ev[0], "+6");
    EXPECT_EQ(std::count(ev.begin(), ev.end(), "*6"), 0);
    EXPECT_GT(std::count(ev.begin(), ev.end(), "*2"), 8);

    // all let go at once: releases, and nothing repeats after
    b = Botones();
    ev = sondear(r, b, 1116, 1500);
    EXPECT_EQ(ev, (std::vector<std::string>{"-2", "-6"}));

    // a stall of the polls gives one repeat, not a burst of them
    b.held[ZK_PAD_RIGHT] = true;
    sondear(r, b, 3000, 3000);
    oidos.clear();
    zk_pad_feed(&r, b.held, 5000, kFlechas, anotar);
    zk_pad_feed(&r, b.held, 5016, kFlechas, anotar);
    EXPECT_EQ(oidos, std::vector<std::string>{"*3"});
}
