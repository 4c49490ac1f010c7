// --help and --version: answered by every program before anything opens, and
// every other argument left alone for GLUT.
#include "e2e.h"
#include "opciones.h"

#include <gtest/gtest.h>

// Runs a built program with no X display at all, so that opening a window
// would fail it; returns its status and what it wrote on both streams.
static int correr(const std::string& programa, const std::string& args, std::string* salida)
{
    return zk::runCommand("env -u DISPLAY '" + zk::binaryPath(programa) + "' " + args + " 2>&1", salida);
}

TEST(Opciones, EachProgramAnswersWithoutADisplayAndOthersGoToGlut)
{
    std::string out;
    for (const char* p : {"space-zarkons-3d", "tie-zarkons", "ac3d-info"}) {
        EXPECT_EQ(correr(p, "--version", &out), 0) << p << ": " << out;
        EXPECT_EQ(out, std::string(p) + " " + zkVersion() + "\n"); // nothing else, not even instructions
        EXPECT_EQ(correr(p, "-gldebug --help", &out), 0) << p << ": " << out;
        EXPECT_EQ(out.rfind(std::string("Usage: ") + p + " ", 0), 0u) << out;
        // a text that cannot be written is a failure, not an answer
        EXPECT_EQ(correr(p, "--help >/dev/full", &out), 1) << p;
    }
    for (const char* p : {"space-zarkons-3d", "tie-zarkons"}) {
        EXPECT_NE(correr(p, "-display :nada", &out), 0) << p;
        EXPECT_NE(out.find("nada"), std::string::npos) << p << ": " << out; // GLUT's own complaint
    }
}
