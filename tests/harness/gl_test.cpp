// Test harness: a real freeglut window and read-back helpers.
#include "gl_test.h"
#include "e2e.h"

#include <GL/glu.h>
#include <X11/Xlib.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <iostream>
#include <unistd.h>

namespace zk {

static int theWindow = 0;

bool haveDisplay()
{
    const char* d = getenv("DISPLAY");
    return d != nullptr && d[0] != '\0';
}

int openWindow(int width, int height, const char* title)
{
    if (theWindow != 0)
        return theWindow;
    if (!haveDisplay())
        return 0;
    holdDisplay();
    static int argc = 1;
    static char arg0[] = "zk-test";
    static char* argv[] = {arg0, nullptr};
    glutInit(&argc, argv);
    glutInitDisplayMode(GLUT_RGB | GLUT_DOUBLE | GLUT_DEPTH);
    glutInitWindowSize(width, height);
    // right of where the games open (640 pixels wide at the top-left), so a
    // test window never covers a game window that an end-to-end test is
    // looking at; on a narrower screen as far right as it still shows whole
    const int sw = glutGet(GLUT_SCREEN_WIDTH);
    glutInitWindowPosition(sw >= 1280 + width ? 1280 : std::max(0, std::min(640, sw - width)), 0);
    theWindow = glutCreateWindow(title);
    // freeglut insists on a display callback for every window
    glutDisplayFunc([] {});
    pumpEvents();
    glutSetWindow(theWindow);
    return theWindow;
}

void pumpEvents(int rounds)
{
    for (int i = 0; i < rounds; i++) {
        glutMainLoopEvent();
        usleep(2000);
    }
}

void GlTest::SetUp()
{
    if (!haveDisplay())
        GTEST_SKIP() << "no X display (DISPLAY is unset): run the suite through ./test.sh";
    window = openWindow();
    ASSERT_NE(window, 0);
    glutSetWindow(window);
    glViewport(0, 0, 640, 640);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
}

std::vector<FbPrimitive> captureFeedback(const std::function<void()>& draw, size_t bufferFloats)
{
    GLdouble mv[16], pr[16];
    GLint vp[4];
    glGetDoublev(GL_MODELVIEW_MATRIX, mv);
    glGetDoublev(GL_PROJECTION_MATRIX, pr);
    glGetIntegerv(GL_VIEWPORT, vp);

    std::vector<GLfloat> buf(bufferFloats);
    glFeedbackBuffer((GLsizei)buf.size(), GL_4D_COLOR_TEXTURE, buf.data());
    glRenderMode(GL_FEEDBACK);
    draw();
    GLint n = glRenderMode(GL_RENDER);
    if (n < 0) {
        ADD_FAILURE() << "feedback buffer overflow";
        n = 0;
    }

    std::vector<FbPrimitive> out;
    auto readVertex = [&](GLint& i) {
        FbVertex v{};
        float* f = &buf[i];
        v.x = f[0]; v.y = f[1]; v.z = f[2]; v.w = f[3];
        v.r = f[4]; v.g = f[5]; v.b = f[6]; v.a = f[7];
        v.s = f[8]; v.t = f[9]; v.p = f[10]; v.q = f[11];
        gluUnProject(v.x, v.y, v.z, mv, pr, vp, &v.ox, &v.oy, &v.oz);
        i += 12;
        return v;
    };
    GLint i = 0;
    while (i < n) {
        FbPrimitive p;
        p.token = (GLenum)buf[i++];
        switch (p.token) {
        case GL_POINT_TOKEN:
        case GL_BITMAP_TOKEN:
        case GL_DRAW_PIXEL_TOKEN:
        case GL_COPY_PIXEL_TOKEN:
            p.v.push_back(readVertex(i));
            break;
        case GL_LINE_TOKEN:
        case GL_LINE_RESET_TOKEN:
            p.v.push_back(readVertex(i));
            p.v.push_back(readVertex(i));
            break;
        case GL_POLYGON_TOKEN: {
            int count = (int)buf[i++];
            for (int k = 0; k < count; k++)
                p.v.push_back(readVertex(i));
            break;
        }
        case GL_PASS_THROUGH_TOKEN:
            p.passThrough = buf[i++];
            break;
        default:
            ADD_FAILURE() << "unknown feedback token " << p.token;
            return out;
        }
        out.push_back(p);
    }
    return out;
}

std::vector<FbPrimitive> polygons(const std::vector<FbPrimitive>& all)
{
    std::vector<FbPrimitive> out;
    for (const FbPrimitive& p : all)
        if (p.token == GL_POLYGON_TOKEN)
            out.push_back(p);
    return out;
}

std::vector<FbVertex> allVertices(const std::vector<FbPrimitive>& all)
{
    std::vector<FbVertex> out;
    for (const FbPrimitive& p : all)
        out.insert(out.end(), p.v.begin(), p.v.end());
    return out;
}

void useOrthoBox(float half)
{
    GLint vp[4];
    glGetIntegerv(GL_VIEWPORT, vp);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(-half, half, -half, half, -half, half);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
}

int stackDepth(GLenum which)
{
    GLint d = 0;
    glGetIntegerv(which, &d);
    return d;
}

std::array<float, 16> matrix(GLenum which)
{
    std::array<float, 16> m{};
    glGetFloatv(which, m.data());
    return m;
}

std::array<float, 4> getFloat4(GLenum which)
{
    std::array<float, 4> v{};
    glGetFloatv(which, v.data());
    return v;
}

float getFloat(GLenum which)
{
    GLfloat v[16] = {0};
    glGetFloatv(which, v);
    return v[0];
}

int getInt(GLenum which)
{
    GLint v[16] = {0};
    glGetIntegerv(which, v);
    return v[0];
}

bool enabled(GLenum cap) { return glIsEnabled(cap) == GL_TRUE; }

std::array<unsigned char, 4> readPixel(int x, int y)
{
    std::array<unsigned char, 4> px{};
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(x, y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, px.data());
    return px;
}

std::vector<unsigned char> readPixels(int x, int y, int w, int h)
{
    std::vector<unsigned char> px((size_t)w * h * 4);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(x, y, w, h, GL_RGBA, GL_UNSIGNED_BYTE, px.data());
    return px;
}

StdoutCapture::StdoutCapture()
{
    fflush(stdout);
    std::cout.flush();
    char tmpl[] = "/tmp/zk-stdout-XXXXXX";
    int fd = mkstemp(tmpl);
    path = tmpl;
    savedFd = dup(1);
    dup2(fd, 1);
    close(fd);
}

StdoutCapture::~StdoutCapture() { finish(); }

std::string StdoutCapture::finish()
{
    if (done)
        return "";
    done = true;
    fflush(stdout);
    std::cout.flush();
    dup2(savedFd, 1);
    close(savedFd);
    std::string text;
    if (FILE* f = fopen(path.c_str(), "rb")) {
        char b[4096];
        size_t r;
        while ((r = fread(b, 1, sizeof b, f)) > 0)
            text.append(b, r);
        fclose(f);
    }
    unlink(path.c_str());
    return text;
}

} // namespace zk
