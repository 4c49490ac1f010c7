// The floor the games' figures are set against: a plain GLUT program that
// draws one full-window, lit, trilinear-textured quad of a 1024 x 1024
// texture ("quad") or only clears and swaps ("clear"), 1000 / 17 times a
// second, and prints what that costs on the same display in the same run.
//
// Usage: floor_quad WIDTH HEIGHT SECONDS quad|clear
// Prints: "<mode> <frames per second> <CPU seconds per second>" after a
// second of warm-up and SECONDS of measuring.
#include <GL/freeglut.h>
#include <GL/glu.h>

#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <time.h>

static int quad;
static double seconds;
static int frames;
static double cpu0, wall0;
static int measuring;
static int due;

static double now(clockid_t c)
{
    struct timespec t;
    clock_gettime(c, &t);
    return t.tv_sec + t.tv_nsec * 1e-9;
}

static void display(void)
{
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    if (quad) {
        glBegin(GL_QUADS);
            glNormal3f(0.0f, 0.0f, 1.0f);
            glTexCoord2f(0.0f, 0.0f); glVertex2f(-1.0f, -1.0f);
            glTexCoord2f(1.0f, 0.0f); glVertex2f(1.0f, -1.0f);
            glTexCoord2f(1.0f, 1.0f); glVertex2f(1.0f, 1.0f);
            glTexCoord2f(0.0f, 1.0f); glVertex2f(-1.0f, 1.0f);
        glEnd();
    }
    glutSwapBuffers();
    frames++;
}

// 17 ms a frame, each due 17 ms after the one before
static void tick(int value)
{
    (void)value;
    const int t = glutGet(GLUT_ELAPSED_TIME);
    if (!measuring && t >= 1000) {
        measuring = 1;
        frames = 0;
        cpu0 = now(CLOCK_PROCESS_CPUTIME_ID);
        wall0 = now(CLOCK_MONOTONIC);
    }
    if (measuring && now(CLOCK_MONOTONIC) - wall0 >= seconds) {
        const double wall = now(CLOCK_MONOTONIC) - wall0;
        printf("%s %.1f %.3f\n", quad ? "quad" : "clear", frames / wall,
               (now(CLOCK_PROCESS_CPUTIME_ID) - cpu0) / wall);
        fflush(stdout);
        exit(0);
    }
    glutPostRedisplay();
    due += 17;
    glutTimerFunc(due > t ? (unsigned)(due - t) : 0, tick, 0);
}

int main(int argc, char** argv)
{
    glutInit(&argc, argv);
    if (argc != 5) {
        fprintf(stderr, "usage: %s WIDTH HEIGHT SECONDS quad|clear\n", argv[0]);
        return 2;
    }
    seconds = atof(argv[3]);
    quad = strcmp(argv[4], "quad") == 0;
    glutInitDisplayMode(GLUT_RGB | GLUT_DOUBLE | GLUT_DEPTH);
    glutInitWindowSize(atoi(argv[1]), atoi(argv[2]));
    glutCreateWindow("floor");
    glutDisplayFunc(display);

    // a texture with detail at every level, so the sampling does real work
    enum { N = 1024 };
    static unsigned char texels[N * N * 3];
    for (int y = 0; y < N; y++)
        for (int x = 0; x < N; x++) {
            unsigned char* p = &texels[(y * N + x) * 3];
            p[0] = (unsigned char)(x ^ y);
            p[1] = (unsigned char)(x * 3 + y);
            p[2] = (unsigned char)((x * y) >> 4);
        }
    GLuint tex;
    glGenTextures(1, &tex);
    glBindTexture(GL_TEXTURE_2D, tex);
    gluBuild2DMipmaps(GL_TEXTURE_2D, GL_RGB, N, N, GL_RGB, GL_UNSIGNED_BYTE, texels);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR_MIPMAP_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glEnable(GL_TEXTURE_2D);
    glEnable(GL_LIGHTING);
    glEnable(GL_LIGHT0);
    glEnable(GL_DEPTH_TEST);
    glutTimerFunc(17, tick, 0);
    due = 17;
    glutMainLoop();
    return 0;
}
