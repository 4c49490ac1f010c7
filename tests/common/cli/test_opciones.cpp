// --help and --version: answered by every program before anything opens, and
// every other argument left alone for GLUT.
#include "e2e.h"
#include "opciones.h"

#include <gtest/gtest.h>

// With no X display at all, a program that tried to open a window would fail.
TEST(Opciones, EachProgramAnswersWithoutADisplayAndOthersGoToGlut)
{
    std::string out;
    auto correr = [&](const std::string& p, const std::string& args) {
        return zk::runCommand("env -u DISPLAY '" + zk::binaryPath(p) + "' " + args + " 2>&1", &out);
    };
    for (const char* p : {"space-zarkons-3d", "tie-zarkons", "ac3d-info"}) {
        EXPECT_EQ(correr(p, "--version"), 0) << p << ": " << out;
        EXPECT_EQ(out, std::string(p) + " " + zkVersion() + "\n"); // nothing else, not even instructions
        EXPECT_EQ(correr(p, "-gldebug --help"), 0) << p << ": " << out;
        EXPECT_EQ(out.rfind(std::string("Usage: ") + p + " ", 0), 0u) << out;
        EXPECT_EQ(correr(p, "--help >/dev/full"), 1) << p << ": a text not written is no answer";
    }
    for (const char* p : {"space-zarkons-3d", "tie-zarkons"})
        EXPECT_NE(correr(p, "-display :nada") == 0 ? std::string::npos : out.find("nada"), std::string::npos) << p;
}
