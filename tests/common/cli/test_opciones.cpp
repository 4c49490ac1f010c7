// The command line: --help and --version answered before anything opens,
// GLUT's own options passed on word for word, anything else refused.
#include "e2e.h"
#include "opciones.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// Runs leerOpciones on a command line; what is left for GLUT goes to *resto.
int leer(std::vector<std::string> args, zk_opciones_t* o, std::vector<std::string>* resto = nullptr)
{
    args.insert(args.begin(), "/usr/libexec/zarkons/juego");
    std::vector<char*> argv;
    for (std::string& a : args)
        argv.push_back(&a[0]);
    argv.push_back(nullptr);
    int argc = (int)args.size();
    const int r = leerOpciones(&argc, argv.data(), "juego", "Usage: juego [--mute]\nMore.\n", o);
    if (resto != nullptr)
        resto->assign(argv.begin(), argv.begin() + argc);
    EXPECT_EQ(argv[(size_t)argc], nullptr);
    return r;
}

} // namespace

// With no X display at all, a program that tried to open a window would fail.
TEST(Opciones, EachProgramAnswersWithoutADisplayAndOthersGoToGlut)
{
    std::string out;
    auto correr = [&](const std::string& p, const std::string& args) {
        return zk::runCommand("env -u DISPLAY '" + zk::binaryPath(p) + "' " + args + " 2>&1", &out);
    };
    for (const char* p : {"space-zarkons-3d", "tie-zarkons", "ac3d-info"}) {
        EXPECT_EQ(correr(p, "--version"), 0) << p << ": " << out;
        // the version first, then the copyright and the licence, nothing else
        EXPECT_EQ(out.rfind(std::string(p) + " " + zkVersion() + "\nCopyright (C) 2026 The Zarkons developers\n"
                            "License MIT: <https://opensource.org/licenses/MIT>\n", 0), 0u) << out;
        EXPECT_EQ(out.find("nstrucciones"), std::string::npos) << out;
        EXPECT_EQ(correr(p, "-gldebug --help"), 0) << p << ": " << out;
        EXPECT_EQ(out.rfind(std::string("Usage: ") + p + " ", 0), 0u) << out;
        EXPECT_EQ(correr(p, "--help >/dev/full"), 1) << p << ": a text not written is no answer";
    }
    for (const char* p : {"space-zarkons-3d", "tie-zarkons"})
        EXPECT_NE(correr(p, "-display :nada") == 0 ? std::string::npos : out.find("nada"), std::string::npos) << p;
}

TEST(Opciones, GlutOptionsStayInOrderAndOursGoOut)
{
    zk_opciones_t o;
    std::vector<std::string> resto;
    EXPECT_EQ(leer({"-display", ":3", "--mute", "-gldebug", "-geometry", "320x200+10-20", "--fullscreen",
                    "-iconic", "-direct", "-indirect", "-sync"}, &o, &resto), -1);
    const std::vector<std::string> glut = {"/usr/libexec/zarkons/juego", "-display", ":3", "-gldebug",
                                           "-geometry", "320x200+10-20", "-iconic", "-direct", "-indirect", "-sync"};
    EXPECT_EQ(resto, glut);
    EXPECT_TRUE(o.mudo && o.pantallaCompleta && o.tamano && o.posicion);

    // a unique abbreviation is the option, as with any GNU program
    EXPECT_EQ(leer({"--mu"}, &o, &resto), -1);
    EXPECT_TRUE(o.mudo);
    EXPECT_FALSE(o.pantallaCompleta || o.tamano || o.posicion);
    EXPECT_EQ(resto.size(), 1u);
    EXPECT_EQ(leer({"-geometry", "+5+5"}, &o), -1);
    EXPECT_TRUE(o.posicion && !o.tamano);
}

TEST(Opciones, UnknownOptionsAndArgumentsEndWithStatusTwoAndTheUsage)
{
    const std::vector<std::vector<std::string>> malas = {
        {"--bogus"}, {"-V"}, {"--mute", "--fulscreen"}, {"extra"}, {"--mute=si"},
        {"-display"}, {"-geometry", "grande"}, {"-geometry", "320x"}, {"--", "-gldebug"},
        {"-help"}, {"-mute"},
    };
    for (const auto& args : malas) {
        zk_opciones_t o;
        testing::internal::CaptureStderr();
        testing::internal::CaptureStdout();
        EXPECT_EQ(leer(args, &o), 2) << args[0];
        const std::string err = testing::internal::GetCapturedStderr();
        EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
        // getopt's line naming the option (with the program's short name), then the usage
        EXPECT_EQ(err.rfind("juego: ", 0), 0u) << err;
        EXPECT_NE(err.find("\nUsage: juego [--mute]\nTry 'juego --help' for more information.\n"), std::string::npos)
            << err;
        EXPECT_EQ(err.find("More."), std::string::npos) << err;
    }
    // the first of several problems decides, as getopt reads left to right
    zk_opciones_t o;
    testing::internal::CaptureStderr();
    EXPECT_EQ(leer({"--bogus", "--help"}, &o), 2);
    EXPECT_NE(testing::internal::GetCapturedStderr().find("'--bogus'"), std::string::npos);
}

TEST(Opciones, GeometryTextsAsXReadsThem)
{
    struct Caso {
        const char* texto;
        bool valida, tamano, posicion;
    };
    const Caso casos[] = {
        {"320x200+10+20", true, true, true}, {"=640x480", true, true, false}, {"-0-0", true, false, true},
        {"1x1+0-5", true, true, true},       {"", false, false, false},      {"x200", false, false, false},
        {"320x200+", false, false, false},   {"320x200+1", false, false, false}, {"320*200", false, false, false},
        {"320x200+1+2 ", false, false, false},
    };
    for (const Caso& c : casos) {
        bool t = false, p = false;
        EXPECT_EQ(leerGeometria(c.texto, &t, &p), c.valida) << c.texto;
        if (c.valida) {
            EXPECT_EQ(t, c.tamano) << c.texto;
            EXPECT_EQ(p, c.posicion) << c.texto;
        }
    }
}
