// The lines Tie Zarkons draws in a frame, for tests that read its texts.
#pragma once

#include "gl_test.h"
#include "globales.h"

#include <vector>

// Line segments (the texts) in a frame of the current state, in field units.
inline std::vector<zk::FbPrimitive> lineas()
{
    // play takes the player's scale, set to 1 here; the screens of text their own
    const double k = state == 2 ? 1.0 : 1.0 / kEscalaInicial;
    initTransformation();
    glLoadIdentity(); // the field's units: undo the look-at before the capture
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(-110, 110, -110, 110, -110, 110);
    glMatrixMode(GL_MODELVIEW);
    scale = 1.0f;
    std::vector<zk::FbPrimitive> out;
    for (zk::FbPrimitive p : zk::captureFeedback([] { drawObjects(); })) {
        if (p.token != GL_LINE_TOKEN && p.token != GL_LINE_RESET_TOKEN)
            continue;
        for (zk::FbVertex& v : p.v) {
            v.ox *= k;
            v.oy *= k;
        }
        out.push_back(p);
    }
    return out;
}

inline int lineasEn(const std::vector<zk::FbPrimitive>& ls, double x0, double x1, double y0, double y1)
{
    int n = 0;
    for (const zk::FbPrimitive& p : ls)
        n += (p.v[0].ox >= x0 && p.v[0].ox <= x1 && p.v[0].oy >= y0 && p.v[0].oy <= y1) ? 1 : 0;
    return n;
}
