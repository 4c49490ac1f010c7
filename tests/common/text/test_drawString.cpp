// drawString: lines, spacing, scale and the caller's matrix, seen through the
// vertices that really reach OpenGL.
#include "drawString.h"
#include "gl_test.h"

#include <cctype>
#include <cmath>

using zk::GlTest;

namespace {

std::vector<zk::FbVertex> strokes(const char* s, double x, double y, double size)
{
    return zk::allVertices(zk::captureFeedback([&] { drawString(s, x, y, size); }));
}

void expectSameVertices(const std::vector<zk::FbVertex>& a, const std::vector<zk::FbVertex>& b)
{
    ASSERT_EQ(a.size(), b.size());
    for (size_t i = 0; i < a.size(); i++) {
        EXPECT_NEAR(a[i].ox, b[i].ox, 1e-3) << "vertex " << i;
        EXPECT_NEAR(a[i].oy, b[i].oy, 1e-3) << "vertex " << i;
    }
}

} // namespace

TEST_F(GlTest, LineFeedStartsNextLineAtXBelowBySpacing)
{
    zk::useOrthoBox(100);
    const double x = -30, y = 20, s = 10;
    auto all = strokes("ab\nc", x, y, s);
    auto firstLine = strokes("ab", x, y, s);
    auto secondLine = strokes("c", x, y - 1.15 * s, s);
    ASSERT_FALSE(firstLine.empty());
    ASSERT_FALSE(secondLine.empty());
    ASSERT_EQ(all.size(), firstLine.size() + secondLine.size());
    expectSameVertices(std::vector<zk::FbVertex>(all.begin(), all.begin() + firstLine.size()), firstLine);
    expectSameVertices(std::vector<zk::FbVertex>(all.begin() + firstLine.size(), all.end()), secondLine);

    // two line feeds leave an empty line between
    auto gap = strokes("a\n\nc", x, y, s);
    auto c = strokes("c", x, y - 2.3 * s, s);
    expectSameVertices(std::vector<zk::FbVertex>(gap.end() - c.size(), gap.end()), c);
}

TEST_F(GlTest, TextIsAboutSizeUnitsTallAndScalesWithSize)
{
    zk::useOrthoBox(200);
    auto small = strokes("H", 0, 0, 20);
    auto big = strokes("H", 0, 0, 40);
    ASSERT_EQ(small.size(), big.size());
    double minY = 1e9, maxY = -1e9;
    for (size_t i = 0; i < small.size(); i++) {
        EXPECT_NEAR(big[i].ox, 2 * small[i].ox, 1e-2);
        EXPECT_NEAR(big[i].oy, 2 * small[i].oy, 1e-2);
        minY = std::min(minY, small[i].oy);
        maxY = std::max(maxY, small[i].oy);
    }
    // a capital H stands on the baseline and reaches most of the line height
    EXPECT_NEAR(minY, 0.0, 1e-3);
    EXPECT_GT(maxY, 0.6 * 20);
    EXPECT_LT(maxY, 20);
}

TEST_F(GlTest, LeavesTheCallersMatrixAndDrawsInItsZPlane)
{
    zk::useOrthoBox(100);
    glTranslatef(5, 6, 7);
    auto before = zk::matrix(GL_MODELVIEW_MATRIX);
    int depth = zk::stackDepth(GL_MODELVIEW_STACK_DEPTH);
    auto v = strokes("Zarkons\n\xBF" "Continuar?", 0, 0, 10);
    EXPECT_EQ(zk::stackDepth(GL_MODELVIEW_STACK_DEPTH), depth);
    EXPECT_EQ(zk::matrix(GL_MODELVIEW_MATRIX), before);
    ASSERT_FALSE(v.empty());
    for (const zk::FbVertex& p : v)
        EXPECT_NEAR(p.oz, 0.0, 1e-3);
}

TEST_F(GlTest, EmptyStringDrawsNothingAndKeepsTheMatrix)
{
    zk::useOrthoBox(100);
    auto before = zk::matrix(GL_MODELVIEW_MATRIX);
    auto prims = zk::captureFeedback([] { drawString("", 3, 4, 5); });
    EXPECT_TRUE(prims.empty());
    EXPECT_EQ(zk::matrix(GL_MODELVIEW_MATRIX), before);
    EXPECT_EQ(zk::stackDepth(GL_MODELVIEW_STACK_DEPTH), 1);
}

// ASCII reaches OpenGL exactly as the font draws it. Each Spanish letter is
// its base letter with a mark above (over a dotless i), the opening marks are
// turned to hang below the baseline, and all keep the base letter's advance.
TEST_F(GlTest, AsciiIsTheFontsOwnAndSpanishLettersAddAMark)
{
    zk::useOrthoBox(200);
    std::string ascii;
    for (int c = 1; c < 128; c++)
        ascii += c == '\n' ? ' ' : (char)c;
    auto font = zk::allVertices(zk::captureFeedback([&] {
        glPushMatrix();
            glScalef(2.0f / 153, 2.0f / 153, 1);
            for (char c : ascii)
                glutStrokeCharacter(GLUT_STROKE_ROMAN, c);
        glPopMatrix();
    }));
    expectSameVertices(strokes(ascii.c_str(), 0, 0, 2), font);

    for (const char* l : {"\xE1" "a", "\xE9" "e", "\xED" "i", "\xF3" "o", "\xFA" "u", "\xFC" "u", "\xF1" "n",
                          "\xC1" "A", "\xC9" "E", "\xCD" "I", "\xD3" "O", "\xDA" "U", "\xDC" "U", "\xD1" "N",
                          "\xBF" "?", "\xA1" "!"}) {
        const std::string letra(1, l[0]), base(1, l[1]);
        const bool abre = !isalpha(l[1]);
        const double techo = abre ? 66.7 : isupper(l[1]) ? 100 : 66.7, ancho = glutStrokeWidthf(GLUT_STROKE_ROMAN, l[1]);
        auto v = strokes(letra.c_str(), 0, 0, 153), b = strokes(base.c_str(), 0, 0, 153);
        double minY = 0, maxY = 0;
        for (const zk::FbVertex& p : v) {
            minY = std::min(minY, p.oy);
            maxY = std::max(maxY, p.oy);
            EXPECT_FALSE(l[1] == 'i' && p.oy > 90 && std::fabs(p.ox - 14.8) < 6) << "the i kept its dot";
        }
        EXPECT_NEAR(minY, abre ? -33.3 : 0, 0.5) << base;
        EXPECT_GT(maxY, techo + (abre ? -0.5 : 10)) << base;
        EXPECT_LT(maxY, techo + (abre ? 0.5 : 32)) << base;
        if (!abre && l[1] != 'i') // the base letter's own strokes follow the mark, untouched
            expectSameVertices(std::vector<zk::FbVertex>(v.end() - b.size(), v.end()), b);
        auto x = strokes("x", ancho, 0, 153), tras = strokes((letra + "x").c_str(), 0, 0, 153);
        expectSameVertices(std::vector<zk::FbVertex>(tras.end() - x.size(), tras.end()), x);
    }
}

// stringWidth is where drawString's next letter would start, accented
// letters included; of several lines, the longest counts.
TEST_F(GlTest, StringWidthIsWhereTheNextLetterStarts)
{
    zk::useOrthoBox(200);
    for (const char* s : {"Pausa", "Paused", "\xBF" "Continuar?", "Configuraci\xF3n"}) {
        const double w = stringWidth(s, 7);
        auto x = strokes("x", 3 + w, 1, 7), tras = strokes((std::string(s) + "x").c_str(), 3, 1, 7);
        expectSameVertices(std::vector<zk::FbVertex>(tras.end() - x.size(), tras.end()), x);
    }
    EXPECT_DOUBLE_EQ(stringWidth("ab\nPaused\nc", 20), stringWidth("Paused", 20));
    EXPECT_EQ(stringWidth("", 20), 0.0);
}
