// Test harness: a real freeglut window on the X display, and helpers that read
// back what OpenGL really did (feedback vertices, state, pixels).
#pragma once

#include <GL/freeglut.h>
#include <gtest/gtest.h>

#include <array>
#include <functional>
#include <string>
#include <vector>

namespace zk {

// Opens (once per process) a double-buffered RGB window with a depth buffer
// and makes it current. Returns its GLUT id, or 0 when there is no display.
int openWindow(int width = 640, int height = 640, const char* title = "zk-test");
// Lets freeglut handle pending window-system events (map, reshape, expose).
void pumpEvents(int rounds = 5);
// True when an X display is there to open windows on.
bool haveDisplay();

// Fixture for tests that need an OpenGL context: each test gets the window,
// current, with identity matrices and a 640 x 640 viewport. Skips (saying so)
// when there is no X display.
class GlTest : public ::testing::Test {
protected:
    void SetUp() override;
    int window = 0;
};

// One vertex as the feedback buffer reports it: window coordinates, colour and
// texture coordinate (GL_4D_COLOR_TEXTURE), plus the same position mapped back
// into the model-view space that was current when the capture started.
struct FbVertex {
    float x, y, z, w;
    float r, g, b, a;
    float s, t, p, q;
    double ox, oy, oz; // position in the capture's starting model-view space
};

struct FbPrimitive {
    GLenum token; // GL_POINT_TOKEN, GL_LINE_TOKEN, GL_LINE_RESET_TOKEN, GL_POLYGON_TOKEN,
                  // GL_BITMAP_TOKEN, GL_DRAW_PIXEL_TOKEN, GL_COPY_PIXEL_TOKEN, GL_PASS_THROUGH_TOKEN
    std::vector<FbVertex> v;
    float passThrough = 0; // the value of a GL_PASS_THROUGH_TOKEN
};

// Runs `draw` in GL_FEEDBACK render mode and returns what reached rasterisation
// (clipped primitives are gone, polygons are split into triangles or kept as
// polygons as the driver decides, culled faces are missing).
std::vector<FbPrimitive> captureFeedback(const std::function<void()>& draw,
                                         size_t bufferFloats = 1 << 22);
// Only the polygons (GL_POLYGON_TOKEN) of a capture.
std::vector<FbPrimitive> polygons(const std::vector<FbPrimitive>& all);
// Every vertex of every primitive, in order.
std::vector<FbVertex> allVertices(const std::vector<FbPrimitive>& all);

// An orthographic box of ±half on every axis around the origin, identity
// model-view, full-window viewport: object coordinates within it are captured.
void useOrthoBox(float half);

int stackDepth(GLenum which); // GL_MODELVIEW_STACK_DEPTH, GL_PROJECTION_STACK_DEPTH, ...
std::array<float, 16> matrix(GLenum which); // GL_MODELVIEW_MATRIX, GL_PROJECTION_MATRIX
std::array<float, 4> getFloat4(GLenum which);
float getFloat(GLenum which);
int getInt(GLenum which);
bool enabled(GLenum cap);

// Pixels of the current read buffer; (0, 0) is the bottom-left corner.
std::array<unsigned char, 4> readPixel(int x, int y);
std::vector<unsigned char> readPixels(int x, int y, int w, int h); // RGBA rows, bottom-up

// Collects what a callback writes to standard output (flushes C and C++ streams).
class StdoutCapture {
public:
    StdoutCapture();
    ~StdoutCapture();
    std::string finish(); // stops capturing and returns the text
private:
    int savedFd = -1;
    std::string path;
    bool done = false;
};

} // namespace zk
