// --help and --version: answered by every program before anything opens, and
// every other argument left alone for GLUT.
#include "e2e.h"
#include "gl_test.h"
#include "opciones.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

const char* const kProgramas[] = {"space-zarkons-3d", "tie-zarkons", "ac3d-info"};

// Runs a built program with no X display at all, so that a window it tried
// to open would fail it; returns its status, standard output and error.
int correr(const std::string& programa, const std::string& args, std::string* out, std::string* err)
{
    const std::string dir = zk::makeTempDir();
    const int st = zk::runCommand("cd '" + dir + "' && env -u DISPLAY '" + zk::binaryPath(programa) + "' " +
                                      args + " 2>'" + dir + "/err'",
                                  out);
    zk::runCommand("cat '" + dir + "/err'", err);
    zk::runCommand("rm -rf '" + dir + "'");
    return st;
}

int responder(std::vector<const char*> args, std::string* out)
{
    args.insert(args.begin(), "prog");
    zk::StdoutCapture captura;
    const int r = responderOpciones((int)args.size(), const_cast<char* const*>(args.data()), "prog", "AYUDA\n");
    *out = captura.finish();
    return r;
}

} // namespace

TEST(Opciones, EachProgramAnswersWithoutADisplayAndExitsZero)
{
    for (const char* p : kProgramas) {
        std::string out, err;
        EXPECT_EQ(correr(p, "--version", &out, &err), 0) << p << "\n" << err;
        EXPECT_EQ(out, std::string(p) + " " + zkVersion() + "\n");
        EXPECT_EQ(err, "") << p;

        EXPECT_EQ(correr(p, "--help", &out, &err), 0) << p << "\n" << err;
        EXPECT_EQ(out.rfind(std::string("Usage: ") + p + " ", 0), 0u) << out;
        EXPECT_NE(out.find("--version"), std::string::npos) << out;
        EXPECT_EQ(err, "") << p;

        // after a GLUT option as well; and a full disk is a failure, not an answer
        EXPECT_EQ(correr(p, "-gldebug --help", &out, &err), 0) << p << "\n" << err;
        EXPECT_EQ(correr(p, "--help >/dev/full", &out, &err), 1) << p;
        EXPECT_NE(err.find("cannot write"), std::string::npos) << err;
    }
    // Tie Zarkons answers with the text alone: its instructions come with the game
    std::string out, err;
    correr("tie-zarkons", "--version", &out, &err);
    EXPECT_EQ(out.find("Instrucciones"), std::string::npos);
}

TEST(Opciones, OtherArgumentsStillGoToGlut)
{
    // GLUT itself rejects a display that is not there, by its own message
    for (const char* p : {"space-zarkons-3d", "tie-zarkons"}) {
        std::string out, err;
        EXPECT_NE(correr(p, "-display :nada", &out, &err), 0) << p;
        EXPECT_NE(err.find("nada"), std::string::npos) << p << ": " << err;
    }
    std::string out;
    EXPECT_EQ(responder({"-display", ":0", "-gldebug"}, &out), -1);
    EXPECT_EQ(out, "");
    EXPECT_EQ(responder({}, &out), -1);
    EXPECT_EQ(responder({"--helpme", "-help", "--version=1"}, &out), -1);
    EXPECT_EQ(out, "");
    // the first of the two asked for is the one answered
    EXPECT_EQ(responder({"--version", "--help"}, &out), 0);
    EXPECT_EQ(out, std::string("prog ") + zkVersion() + "\n");
    EXPECT_EQ(responder({"x", "--help", "--version"}, &out), 0);
    EXPECT_EQ(out, "AYUDA\n");
}
