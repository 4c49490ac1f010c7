// drawString: lines, spacing, scale and the caller's matrix, seen through the
// vertices that really reach OpenGL.
#include "drawString.h"
#include "gl_test.h"

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

// Every ASCII character reaches OpenGL exactly as the font draws it alone.
TEST_F(GlTest, AsciiTextSendsTheFontsOwnVertices)
{
    zk::useOrthoBox(200);
    std::string ascii;
    for (int c = 1; c < 128; c++)
        if (c != '\n')
            ascii += (char)c;
    const double s = 2; // 127 letters in a row stay inside the box
    auto ours = strokes(ascii.c_str(), -190, 0, s);
    auto font = zk::allVertices(zk::captureFeedback([&] {
        glPushMatrix();
            glTranslatef(-190, 0, 0);
            glScalef((float)(s / 153), (float)(s / 153), 1);
            for (char c : ascii)
                glutStrokeCharacter(GLUT_STROKE_ROMAN, (unsigned char)c);
        glPopMatrix();
    }));
    ASSERT_GT(font.size(), 1000u);
    expectSameVertices(ours, font);
}

// Each Spanish letter is its base letter (the i without its dot), a mark
// above it within its box, and the base letter's advance; the opening marks
// hang upside down below the baseline.
TEST_F(GlTest, SpanishLettersAreTheirBaseLetterWithAMark)
{
    zk::useOrthoBox(200);
    const double s = 153; // one font unit per unit
    const struct { const char* letra; char base; } letras[] = {
        {"\xE1", 'a'}, {"\xE9", 'e'}, {"\xED", 'i'}, {"\xF3", 'o'}, {"\xFA", 'u'}, {"\xFC", 'u'},
        {"\xF1", 'n'}, {"\xC1", 'A'}, {"\xC9", 'E'}, {"\xCD", 'I'}, {"\xD3", 'O'}, {"\xDA", 'U'},
        {"\xDC", 'U'}, {"\xD1", 'N'}};
    for (const auto& l : letras) {
        const std::string base(1, l.base);
        const double ancho = glutStrokeWidthf(GLUT_STROKE_ROMAN, l.base);
        const double techo = (l.base >= 'A' && l.base <= 'Z') ? 100.0 : 66.7;
        auto sola = strokes(base.c_str(), -100, 0, s);
        auto compuesta = strokes(l.letra, -100, 0, s);
        ASSERT_GT(compuesta.size(), 0u) << l.base;
        int marca = 0;
        for (const zk::FbVertex& v : compuesta) {
            EXPECT_GE(v.ox, -100.0) << l.base;
            EXPECT_LE(v.ox, -100.0 + ancho) << l.base;
            EXPECT_GE(v.oy, 0.0) << l.base;
            EXPECT_LT(v.oy, techo + 32) << l.base;
            marca += v.oy > techo + 5 ? 1 : 0;
        }
        EXPECT_GE(marca, 2) << "no mark over " << l.base;
        if (l.base != 'i') {
            // the base letter's own strokes come through untouched
            size_t encontrados = 0;
            for (const zk::FbVertex& b : sola)
                for (const zk::FbVertex& v : compuesta)
                    if (std::fabs(v.ox - b.ox) < 1e-3 && std::fabs(v.oy - b.oy) < 1e-3) {
                        encontrados++;
                        break;
                    }
            EXPECT_EQ(encontrados, sola.size()) << l.base;
        }
        // what follows starts where it would after the base letter
        auto trasBase = strokes((base + "x").c_str(), -100, 0, s);
        auto trasLetra = strokes((std::string(l.letra) + "x").c_str(), -100, 0, s);
        auto x = strokes("x", -100 + ancho, 0, s);
        expectSameVertices(std::vector<zk::FbVertex>(trasLetra.end() - x.size(), trasLetra.end()), x);
        expectSameVertices(std::vector<zk::FbVertex>(trasBase.end() - x.size(), trasBase.end()), x);
    }

    // the i under the accent has lost its dot, which sits over its stem
    for (const zk::FbVertex& v : strokes("\xED", 0, 0, s))
        EXPECT_FALSE(v.oy > 90 && std::fabs(v.ox - 14.8) < 6) << v.ox << " " << v.oy;

    for (const char* abre : {"\xBF", "\xA1"}) {
        const char base = abre[0] == '\xBF' ? '?' : '!';
        auto derecha = strokes(std::string(1, base).c_str(), 0, 0, s);
        auto invertida = strokes(abre, 0, 0, s);
        ASSERT_EQ(invertida.size(), derecha.size()) << base;
        double minY = 1e9, maxY = -1e9;
        for (const zk::FbVertex& v : invertida) {
            minY = std::min(minY, v.oy);
            maxY = std::max(maxY, v.oy);
        }
        EXPECT_NEAR(minY, -33.3, 0.5) << base;
        EXPECT_NEAR(maxY, 66.7, 0.5) << base;
        auto x = strokes("x", glutStrokeWidthf(GLUT_STROKE_ROMAN, base), 0, s);
        auto tras = strokes((std::string(abre) + "x").c_str(), 0, 0, s);
        expectSameVertices(std::vector<zk::FbVertex>(tras.end() - x.size(), tras.end()), x);
    }
}
