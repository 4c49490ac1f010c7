// The turning star-field box around the scene.
#include "Skybox.h"
#include "idioma.h"

#include "texture.h"
#include "tga.h"

#include <GL/gl.h>

#include <cstdlib>
#include <iostream>

// One face: four texture coordinates and four corners, as signs of the half-size.
struct Cara {
    float st[4][2];
    float v[4][3];
};

static const Cara kCaras[6] = {
    // z = +s
    {{{0, 0}, {0, 1}, {1, 1}, {1, 0}}, {{-1, -1, 1}, {-1, 1, 1}, {1, 1, 1}, {1, -1, 1}}},
    // z = -s
    {{{1, 0}, {0, 0}, {0, 1}, {1, 1}}, {{-1, -1, -1}, {1, -1, -1}, {1, 1, -1}, {-1, 1, -1}}},
    // y = +s
    {{{0, 1}, {1, 1}, {1, 0}, {0, 0}}, {{-1, 1, -1}, {1, 1, -1}, {1, 1, 1}, {-1, 1, 1}}},
    // y = -s
    {{{1, 1}, {1, 0}, {0, 0}, {0, 1}}, {{-1, -1, -1}, {-1, -1, 1}, {1, -1, 1}, {1, -1, -1}}},
    // x = +s
    {{{1, 0}, {0, 0}, {0, 1}, {1, 1}}, {{1, -1, -1}, {1, -1, 1}, {1, 1, 1}, {1, 1, -1}}},
    // x = -s
    {{{0, 0}, {0, 1}, {1, 1}, {1, 0}}, {{-1, -1, -1}, {-1, 1, -1}, {-1, 1, 1}, {-1, -1, 1}}},
};

Skybox::Skybox(float halfSize, float x, float y, float z, float rx, float ry, float rz)
    : Dibujable(x, y, z, rx, ry, rz), halfSize(halfSize)
{
    TgaImage* imagen = tga_load_image("data/Stars.tga");
    if (imagen == nullptr) {
        std::cout << zk_impreso(zk_tr("No se pudo cargar la textura del skybox")) << std::endl;
        exit(1);
    }

    glGenTextures(1, &texture);
    glBindTexture(GL_TEXTURE_2D, texture);
    // Three components whatever the image; a 32-bit image is read as RGBA so
    // its rows are walked at their real width and only the alpha is dropped.
    // The shared upload packs rows at 1 byte and keeps odd sizes exact.
    const GLenum formato = imagen->channels == 4 ? GL_RGBA : GL_RGB;
    ac_upload_mipmaps(3, imagen->width, imagen->height, formato, imagen->pixels);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    tga_free_image(imagen);
}

void Skybox::draw()
{
    const float s = halfSize;
    glColor3f(1.0f, 1.0f, 1.0f);
    glBindTexture(GL_TEXTURE_2D, texture);
    glDisable(GL_LIGHTING);
    glEnable(GL_TEXTURE_2D);
    glDisable(GL_BLEND);

    for (const Cara& cara : kCaras) {
        glBegin(GL_QUADS);
            for (int i = 0; i < 4; i++) {
                glTexCoord2f(cara.st[i][0], cara.st[i][1]);
                glVertex3f(cara.v[i][0] * s, cara.v[i][1] * s, cara.v[i][2] * s);
            }
        glEnd();
    }

    // the next frame shows the box one degree further round
    rotacionX += 1.0f;
    rotacionY += 1.0f;

    glEnable(GL_LIGHTING);
    glEnable(GL_BLEND);
}

// The texture stays: the skybox lasts as long as the program.
Skybox::~Skybox() {}
