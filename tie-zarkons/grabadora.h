// Drawing said once for two listeners: GL, or a recorder that keeps what is
// said as arrays of triangles. Each call below goes straight to GL (immediate
// mode, GLU, a display list) unless a recording is running; then it goes into
// the recording instead, with the matrices applied by hand, every primitive
// turned into the triangles GL makes of it, and GLU's and GLUT's shapes
// re-told as the same surfaces.
#pragma once

#include <GL/gl.h>

#include <vector>

// One recorded vertex, already moved by the matrices said before it.
struct Vertice {
    float p[3]; // position
    float n[3]; // normal
    float c[3]; // colour
};

// What one drawing said, as indexed arrays over its vertices.
struct Grabacion {
    std::vector<Vertice> vertices;
    std::vector<GLuint> simples;  // triangles culled as usual
    std::vector<GLuint> dobles;   // triangles seen from both sides
    std::vector<GLuint> lineas;   // segments, in the order said
    float rgb[3] = {1.0f, 1.0f, 1.0f}; // the colour said last
    float n[3] = {0.0f, 0.0f, 1.0f};   // the normal said last
};

// Runs `dibujar` with every call below recorded; the caller owns the result.
Grabacion* grabar(void (*dibujar)());

// glPushMatrix, glPopMatrix, glTranslatef, glRotatef.
void empujar();
void soltar();
void mover(float x, float y, float z);
void girar(float grados, float x, float y, float z);
// glColor3f and glNormal3f.
void color(float r, float g, float b);
void normal3(float x, float y, float z);
// Culling off (true) or on for what follows; recorded, it picks the array.
void dobleCara(bool doble);
// glBegin, glVertex3f, glEnd. Recorded: GL_POLYGON (convex),
// GL_TRIANGLE_FAN, GL_TRIANGLE_STRIP, GL_QUAD_STRIP, GL_LINE_LOOP, GL_LINES.
void empezar(GLenum modo);
void vertice3(float x, float y, float z);
void terminar();

// The quadrics the GL side of the shapes below draws with: made before the
// models are compiled and freed after, since the lists keep the geometry.
void crearCuadricas();
void borrarCuadricas();

// GLU's cylinder along +z, filled; to the recorder, one stack end to end.
void cilindro(float base, float tope, float alto, int cortes, int pilas);
// GLU's cylinder in lines: a ring at each end of each stack, and the slices.
void cilindroLineas(float base, float tope, float alto, int cortes, int pilas);
// GLU's disc of 12 slices in the z = 0 plane, one ring of facets.
void disco(float radio);
// `lista`, which holds GLUT's sphere of 12 slices and stacks of this radius.
void esfera(GLuint lista, float radio);
// `lista`, which holds GLUT's torus of 12 sides and rings round z.
void toro(GLuint lista, float tubo, float radio);
// `lista`, which holds `dibujar`; to the recorder, `dibujar` itself.
void parte(GLuint lista, void (*dibujar)());
