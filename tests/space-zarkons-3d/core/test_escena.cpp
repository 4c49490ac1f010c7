// The scene: what init creates, and the order a frame really draws it in,
// told apart by where each primitive lands.
#include "juego_prueba.h"

#include "Disparo.h"
#include "DisparoE.h"
#include "Invasor.h"
#include "Nave1.h"
#include "ParticleRegistry.h"
#include "Skybox.h"

#include <GL/freeglut.h>

#include <cmath>
#include <string>

using zk::Juego;

namespace
{

struct Ancla {
    std::string nombre;
    float x, y, z;
};

// Labels each drawn primitive with the nearest object, or "cielo" for the
// star-field box (its corners are 60 units and more from its centre).
std::vector<std::string> ordenDibujado(const std::vector<zk::FbPrimitive>& todo,
                                       const std::vector<Ancla>& anclas)
{
    std::vector<std::string> orden;
    for (const zk::FbPrimitive& p : todo) {
        if (p.v.empty())
            continue;
        bool cielo = false;
        double cx = 0, cy = 0, cz = 0;
        for (const zk::FbVertex& v : p.v) {
            if (std::hypot(v.ox, v.oy, v.oz - 50.0) > 58.0)
                cielo = true;
            cx += v.ox / p.v.size();
            cy += v.oy / p.v.size();
            cz += v.oz / p.v.size();
        }
        std::string nombre = "cielo";
        if (!cielo) {
            double mejor = 1e9;
            for (const Ancla& a : anclas) {
                double d = std::hypot(cx - a.x, cy - a.y, cz - a.z);
                if (d < mejor) {
                    mejor = d;
                    nombre = a.nombre;
                }
            }
        }
        if (orden.empty() || orden.back() != nombre)
            orden.push_back(nombre);
    }
    return orden;
}

std::string unir(const std::vector<std::string>& v)
{
    std::string s;
    for (const std::string& e : v)
        s += e + " ";
    return s;
}

} // namespace

TEST_F(Juego, InitPlacesTheShipTheStarFieldAndTheFormationInTableOrder)
{
    ASSERT_NE(nave, nullptr);
    EXPECT_FLOAT_EQ(nave->getX(), 0.0f);
    EXPECT_FLOAT_EQ(nave->getY(), -10.0f);
    EXPECT_FLOAT_EQ(nave->getZ(), 55.0f);
    EXPECT_FLOAT_EQ(nave->getRotacionY(), 180.0f);
    EXPECT_FLOAT_EQ(nave->getRotacionX() + nave->getRotacionZ(), 0.0f);
    ASSERT_NE(skybox, nullptr);
    EXPECT_FLOAT_EQ(skybox->getHalfSize(), 60.0f);
    EXPECT_FLOAT_EQ(skybox->getZ(), 50.0f);

    const float xs[] = {-20.0f, -14.0f, -7.0f, 0.0f, 7.0f, 14.0f, 20.0f};
    ASSERT_EQ(invasores.size(), 14u);
    for (int i = 0; i < 14; i++) {
        SCOPED_TRACE(i);
        EXPECT_FLOAT_EQ(invasores[i]->getX(), xs[i % 7]);
        EXPECT_FLOAT_EQ(invasores[i]->getY(), i < 7 ? 5.0f : -10.0f);
        EXPECT_FLOAT_EQ(invasores[i]->getZ(), i < 7 ? 20.0f : 25.0f);
        EXPECT_FLOAT_EQ(invasores[i]->getRotacionY(), 0.0f);
    }
    EXPECT_TRUE(disparos.empty());
    EXPECT_TRUE(disparosEnemigos.empty());
}

TEST_F(Juego, AFrameDrawsSkyShotsEnemiesShipThenExplosions)
{
    disparos.push_back(new Disparo(-40.0f, 30.0f, 50.0f, 0, 0, 0));
    disparosEnemigos.push_back(new DisparoE(40.0f, 30.0f, 50.0f, 0, 0, 0));
    // the first enemy ship is hit: it draws nothing, its burst draws last
    invasores[0]->explotar();

    std::vector<Ancla> anclas = {{"disparo", -40, 30, 50}, {"enemigo", 40, 30, 50}, {"nave", 0, -10, 55}};
    for (int i = 0; i < 14; i++)
        anclas.push_back({"invasor" + std::to_string(i), posicionesInvasores[i][0], posicionesInvasores[i][1],
                          posicionesInvasores[i][2]});
    zk::useOrthoBox(150);
    auto todo = zk::captureFeedback(drawObjects);

    std::vector<std::string> esperado = {"cielo", "disparo", "enemigo"};
    for (int i = 1; i < 14; i++)
        esperado.push_back("invasor" + std::to_string(i));
    esperado.push_back("nave");
    esperado.push_back("invasor0"); // the explosion, at the first enemy ship's place
    EXPECT_EQ(unir(ordenDibujado(todo, anclas)), unir(esperado));
    EXPECT_EQ(zk::stackDepth(GL_MODELVIEW_STACK_DEPTH), 1);

    // the ship's own burst comes after every other object, in place of the ship
    nave->explotar();
    todo = zk::captureFeedback(drawObjects);
    auto orden = ordenDibujado(todo, anclas);
    ASSERT_GE(orden.size(), 2u);
    EXPECT_EQ(orden.back(), "nave");
    EXPECT_EQ(orden[orden.size() - 2], "invasor0");
}

TEST_F(Juego, WireframeAndFlatShadingAreSetEveryFrame)
{
    zk::useOrthoBox(150);
    drawObjects();
    GLint modo[2];
    glGetIntegerv(GL_POLYGON_MODE, modo);
    EXPECT_EQ(modo[0], GL_FILL);
    EXPECT_EQ(modo[1], GL_FILL);
    EXPECT_EQ(zk::getInt(GL_SHADE_MODEL), GL_SMOOTH);

    wireframe = true;
    facetado = true;
    auto todo = zk::captureFeedback(drawObjects);
    glGetIntegerv(GL_POLYGON_MODE, modo);
    EXPECT_EQ(modo[0], GL_LINE);
    EXPECT_EQ(modo[1], GL_LINE);
    EXPECT_EQ(zk::getInt(GL_SHADE_MODEL), GL_FLAT);
    EXPECT_TRUE(zk::polygons(todo).empty()); // every face comes out as outlines

    wireframe = false;
    facetado = false;
    drawObjects();
    glGetIntegerv(GL_POLYGON_MODE, modo);
    EXPECT_EQ(modo[0], GL_FILL);
    EXPECT_EQ(zk::getInt(GL_SHADE_MODEL), GL_SMOOTH);
}
