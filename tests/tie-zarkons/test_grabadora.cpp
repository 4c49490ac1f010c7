// The recorder: what it keeps of a drawing must be what GL draws of it, the
// same triangles with the same winding, colours and lit normals, and the same
// segments in the same order; while it records, GL hears nothing.
#include "gl_test.h"
#include "grabadora.h"

#include <GL/glu.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <functional>
#include <memory>
#include <vector>

using zk::GlTest;

namespace {

// Each primitive the models use, under moves and turns on the matrix stack,
// with the colour and normal changing between them.
void primitivas()
{
    empujar();
        mover(1.0f, -0.5f, 0.25f);
        girar(30.0f, 0.0f, 0.0f, 1.0f);
        color(1.0f, 0.0f, 0.0f);
        normal3(0.0f, 0.0f, 1.0f);
        empezar(GL_POLYGON); // a convex pentagon
            for (int i = 0; i < 5; i++)
                vertice3(std::cos(1.2566f * i), std::sin(1.2566f * i), 0.0f);
        terminar();
        empujar();
            girar(70.0f, 1.0f, 1.0f, 0.0f);
            color(0.0f, 1.0f, 0.0f);
            normal3(0.6f, 0.0f, 0.8f);
            empezar(GL_TRIANGLE_STRIP); // an odd count: the last one reversed
                for (int i = 0; i < 7; i++)
                    vertice3(0.4f * i - 1.0f, (i % 2) ? 1.0f : -0.5f, 0.1f * i);
            terminar();
        soltar();
        color(0.0f, 0.0f, 1.0f);
        empezar(GL_QUAD_STRIP);
            for (int i = 0; i < 4; i++) {
                normal3(0.0f, -0.3f * i, 1.0f);
                vertice3(0.5f * i - 2.0f, 2.0f, 0.0f);
                vertice3(0.5f * i - 2.0f, 2.5f + 0.1f * i, 0.2f);
            }
        terminar();
        empezar(GL_LINE_LOOP);
            for (int i = 0; i < 5; i++)
                vertice3(std::cos(1.2566f * i), std::sin(1.2566f * i), 0.3f);
        terminar();
    soltar();
    // the matrix stack is back where it began
    color(1.0f, 1.0f, 0.0f);
    empezar(GL_TRIANGLE_FAN);
        vertice3(-2.0f, -2.0f, 0.0f);
        vertice3(-1.0f, -2.5f, 0.0f);
        vertice3(-0.5f, -1.5f, 0.0f);
        vertice3(-1.5f, -1.0f, 0.0f);
    terminar();
    empezar(GL_LINES); // the last point unpaired
        for (int i = 0; i < 5; i++)
            vertice3(-2.0f + 0.7f * i, -1.0f, 0.5f * (i % 2));
    terminar();
}

// A recording drawn back through GL, its positions already final.
void dibujarGrabacion(const Grabacion& g)
{
    auto decir = [&](GLenum modo, const std::vector<GLuint>& indices) {
        glBegin(modo);
        for (GLuint i : indices) {
            const Vertice& v = g.vertices[i];
            glColor3fv(v.c);
            glNormal3fv(v.n);
            glVertex3fv(v.p);
        }
        glEnd();
    };
    decir(GL_TRIANGLES, g.dobles);
    decir(GL_TRIANGLES, g.simples);
    decir(GL_LINES, g.lineas);
}

// Feedback of the drawing said to GL and of its recording, culled alike.
void capturar(void (*dibujo)(), std::vector<zk::FbPrimitive>& directo,
              std::vector<zk::FbPrimitive>& grabado)
{
    zk::useOrthoBox(4.0f);
    glRotatef(20.0f, 1.0f, 0.0f, 0.0f);
    directo = zk::captureFeedback(dibujo);
    std::unique_ptr<Grabacion> g(grabar(dibujo));
    grabado = zk::captureFeedback([&] { dibujarGrabacion(*g); });
}

bool mismoVertice(const zk::FbVertex& a, const zk::FbVertex& b)
{
    return std::fabs(a.x - b.x) < 1e-2 && std::fabs(a.y - b.y) < 1e-2 && std::fabs(a.z - b.z) < 1e-4 &&
           std::fabs(a.r - b.r) < 2.0 / 255 && std::fabs(a.g - b.g) < 2.0 / 255 &&
           std::fabs(a.b - b.b) < 2.0 / 255;
}

// Two triangles alike up to where their round starts: same points, same winding.
bool mismoTriangulo(const zk::FbPrimitive& a, const zk::FbPrimitive& b)
{
    if (a.v.size() != 3 || b.v.size() != 3)
        return false;
    for (int k = 0; k < 3; k++)
        if (mismoVertice(a.v[0], b.v[k]) && mismoVertice(a.v[1], b.v[(k + 1) % 3]) &&
            mismoVertice(a.v[2], b.v[(k + 2) % 3]))
            return true;
    return false;
}

std::vector<zk::FbPrimitive> segmentos(const std::vector<zk::FbPrimitive>& todo)
{
    std::vector<zk::FbPrimitive> out;
    for (const zk::FbPrimitive& p : todo)
        if (p.token == GL_LINE_TOKEN || p.token == GL_LINE_RESET_TOKEN)
            out.push_back(p);
    return out;
}

// The triangles alike one by one, and the segments alike in the same order.
void comparar(const std::vector<zk::FbPrimitive>& directo, const std::vector<zk::FbPrimitive>& grabado,
              const char* como)
{
    const auto td = zk::polygons(directo), tg = zk::polygons(grabado);
    ASSERT_EQ(td.size(), tg.size()) << como;
    for (size_t i = 0; i < td.size(); i++)
        EXPECT_TRUE(mismoTriangulo(td[i], tg[i])) << como << ", triangle " << i;
    const auto sd = segmentos(directo), sg = segmentos(grabado);
    ASSERT_EQ(sd.size(), 5u + 2u) << como;
    ASSERT_EQ(sg.size(), sd.size()) << como;
    for (size_t i = 0; i < sd.size(); i++)
        EXPECT_TRUE(mismoVertice(sd[i].v[0], sg[i].v[0]) && mismoVertice(sd[i].v[1], sg[i].v[1]))
            << como << ", segment " << i;
}

} // namespace

TEST_F(GlTest, EveryPrimitiveBecomesWhatGlMakesOfIt)
{
    std::vector<zk::FbPrimitive> directo, grabado;
    glDisable(GL_LIGHTING);
    glDisable(GL_CULL_FACE);
    capturar(primitivas, directo, grabado);
    EXPECT_EQ(zk::polygons(directo).size(), 3u + 5u + 6u + 2u);
    comparar(directo, grabado, "unculled");

    // culling keeps the same ones, so every winding carried over
    glEnable(GL_CULL_FACE);
    capturar(primitivas, directo, grabado);
    EXPECT_LT(zk::polygons(directo).size(), 16u);
    comparar(directo, grabado, "culled");

    // lit from the side, the colours show the normals turned with the matrices
    glDisable(GL_CULL_FACE);
    glEnable(GL_LIGHTING);
    glEnable(GL_LIGHT0);
    glEnable(GL_COLOR_MATERIAL);
    const float luz[4] = {0.6f, 0.3f, 0.74f, 0.0f};
    glLightfv(GL_LIGHT0, GL_POSITION, luz);
    capturar(primitivas, directo, grabado);
    comparar(directo, grabado, "lit");
    glDisable(GL_LIGHTING);
}

TEST_F(GlTest, ARecordingSaysNothingToGlAndLeavesItsMatrixAlone)
{
    zk::useOrthoBox(4.0f);
    glRotatef(20.0f, 1.0f, 0.0f, 0.0f);
    const auto antes = zk::matrix(GL_MODELVIEW_MATRIX);
    std::unique_ptr<Grabacion> g;
    const auto dicho = zk::captureFeedback([&] { g.reset(grabar(primitivas)); });
    EXPECT_TRUE(dicho.empty());
    EXPECT_EQ(zk::matrix(GL_MODELVIEW_MATRIX), antes);
    EXPECT_EQ(zk::stackDepth(GL_MODELVIEW_STACK_DEPTH), 1);
    EXPECT_EQ(g->simples.size(), 3u * 16u);
    EXPECT_EQ(g->lineas.size(), 2u * 7u);
    EXPECT_TRUE(g->dobles.empty());
    // what the drawing said last stays, as it would in GL
    EXPECT_EQ(g->rgb[0] + g->rgb[1] + g->rgb[2], 2.0f);
}

// GLU's and GLUT's shapes as the recorder re-tells them must show the pixels
// theirs do, lit alike: a wrong slice angle, a band turned inside out or a
// lost cap shows.
TEST_F(GlTest, ShapesShowThePixelsOfGluAndGlut)
{
    crearCuadricas();
    const GLuint listas = glGenLists(2);
    glNewList(listas, GL_COMPILE);
        glutSolidSphere(1.5, 12, 12);
    glEndList();
    glNewList(listas + 1, GL_COMPILE);
        glutSolidTorus(0.4, 1.2, 12, 12);
    glEndList();
    static GLuint sEsfera, sToro;
    sEsfera = listas;
    sToro = listas + 1;
    using Figura = void (*)();
    const Figura figuras[] = {
        [] { cilindro(1.0f, 0.5f, 2.0f, 12, 1); },
        [] { cilindro(1.2f, 1.2f, 1.5f, 8, 12); }, // the stacks told as one
        [] { disco(1.5f); },
        [] { esfera(sEsfera, 1.5f); },
        [] { toro(sToro, 0.4f, 1.2f); },
    };
    // lit, so that a band turned inside out shows even where its outline would not
    glEnable(GL_LIGHTING);
    glEnable(GL_LIGHT0);
    glEnable(GL_COLOR_MATERIAL);
    const float luz[4] = {0.5f, 0.6f, 0.62f, 0.0f};
    glEnable(GL_CULL_FACE);
    glEnable(GL_DEPTH_TEST);
    auto foto = [](const std::function<void()>& dibujar) {
        glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glColor3f(1.0f, 1.0f, 1.0f);
        dibujar();
        return zk::readPixels(0, 0, 640, 640);
    };
    for (size_t k = 0; k < sizeof figuras / sizeof figuras[0]; k++) {
        for (float angulo : {20.0f, 60.0f, -60.0f}) {
            zk::useOrthoBox(2.5f);
            glLightfv(GL_LIGHT0, GL_POSITION, luz);
            glRotatef(angulo, 1.0f, 0.3f, 0.0f);
            const auto gl = foto(figuras[k]);
            std::unique_ptr<Grabacion> g(grabar(figuras[k]));
            const auto grabado = foto([&] { dibujarGrabacion(*g); });
            int cubiertos = 0, distintos = 0;
            for (size_t i = 0; i < gl.size(); i += 4) {
                cubiertos += gl[i] != 0;
                distintos += std::abs(gl[i] - grabado[i]) > 8;
            }
            EXPECT_GT(cubiertos, 2000) << "shape " << k << ", view " << angulo;
            EXPECT_LE(distintos, cubiertos / 100) << "shape " << k << ", view " << angulo;
        }
    }
    glDisable(GL_LIGHTING);
    glDeleteLists(listas, 2);
    borrarCuadricas();
}
