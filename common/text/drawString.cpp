// Stroke-font text shared by both games.
#include "drawString.h"

#include <GL/freeglut.h>

#include <cassert>
#include <cstring>

// The Roman font spans 119.05 units above its baseline and 33.33 below:
// dividing by 153 makes a line about `size` units tall.
static const double kFontHeight = 153.0;
static const double kLineSpacing = 1.15;

static void startLine(double x, double y, double size)
{
    glTranslatef((float)x, (float)y, 0.0f);
    glScalef((float)(size / kFontHeight), (float)(size / kFontHeight), 1.0f);
}

void drawString(const char* s, double x, double y, double size)
{
    assert(s != nullptr);
    glPushMatrix();
        startLine(x, y, size);
        int line = 0;
        const size_t n = strlen(s);
        for (size_t i = 0; i < n; i++) {
            if (s[i] == '\n') {
                // every line starts again at x, one spacing further down
                line++;
                glPopMatrix();
                glPushMatrix();
                startLine(x, y - size * kLineSpacing * line, size);
            } else {
                glutStrokeCharacter(GLUT_STROKE_ROMAN, (unsigned char)s[i]);
            }
        }
    glPopMatrix();
}
