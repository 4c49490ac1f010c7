// The games as a desktop sees them: a window it can tie to the menu entry, a
// strict command line, and settings that outlast a run.
#include "e2e.h"
#include "wav.h"

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <sstream>
#include <sys/stat.h>
#include <unistd.h>

namespace {

struct Juego {
    const char* exe;
    const char* titulo;
    const char* teclaSonido;
};
const Juego kSpace = {"space-zarkons-3d", "Space Zarkons 3D", "m"};
const Juego kTie = {"tie-zarkons", "Tie Zarkons", "v"};

bool existe(const std::string& path)
{
    struct stat st;
    return stat(path.c_str(), &st) == 0;
}

// Polls until the condition holds; false after the deadline.
bool esperar(const std::function<bool()>& cond, double segundos)
{
    const auto hasta = std::chrono::steady_clock::now() + std::chrono::milliseconds((int)(segundos * 1000));
    while (!cond()) {
        if (std::chrono::steady_clock::now() > hasta)
            return false;
        zk::sleepMs(100);
    }
    return true;
}

class Escritorio : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (getenv("DISPLAY") == nullptr)
            GTEST_SKIP() << "no X display: run the suite through ./test.sh";
        config = zk::makeTempDir();
    }
    void TearDown() override
    {
        juego.reset();
        if (!config.empty())
            zk::runCommand("rm -rf '" + config + "'");
    }

    // Starts a game with the test's settings folder and waits for its window.
    void empezar(const Juego& j, const std::vector<std::string>& args = {})
    {
        // Space Zarkons 3D reads its data from where it starts; Tie reads none
        const std::string cwd = j.exe == kSpace.exe ? zk::gameDataParent() : config;
        juego = std::make_unique<zk::GameProcess>(zk::binaryPath(j.exe), args, cwd);
        juego->setConfigHome(config);
        ASSERT_TRUE(juego->start());
        ASSERT_FALSE(juego->findWindow(j.titulo, 60).empty()) << juego->errors();
        // Tie's keys work in play: past the opening line and the title
        if (j.exe == kTie.exe) {
            juego->key("Return");
            juego->key("Return");
        }
    }
    void salir()
    {
        juego->key("Escape");
        EXPECT_EQ(juego->waitExit(30), 0) << juego->errors();
    }
    std::string ajustes(const Juego& j) const { return config + "/zarkons/" + j.exe + ".conf"; }
    void geometria(int* x, int* y, int* w, int* h)
    {
        std::string out;
        zk::runCommand("xdotool getwindowgeometry --shell " + juego->window(), &out);
        *x = *y = *w = *h = -1;
        sscanf(out.c_str() + out.find("X="), "X=%d\nY=%d\nWIDTH=%d\nHEIGHT=%d", x, y, w, h);
    }

    std::string config;
    std::unique_ptr<zk::GameProcess> juego;
};

} // namespace

TEST_F(Escritorio, EachWindowCarriesItsClassItsProcessAndItsIcon)
{
    for (const Juego& j : {kSpace, kTie}) {
        ASSERT_NO_FATAL_FAILURE(empezar(j));
        std::string out;
        zk::runCommand("xprop -id " + juego->window() + " WM_CLASS _NET_WM_PID WM_CLIENT_MACHINE _NET_WM_ICON", &out);
        const std::string clase = std::string("WM_CLASS(STRING) = \"") + j.exe + "\", \"" + j.exe + "\"\n";
        EXPECT_NE(out.find(clase), std::string::npos) << out.substr(0, 400);
        EXPECT_NE(out.find("_NET_WM_PID(CARDINAL) = " + std::to_string(juego->pid()) + "\n"), std::string::npos)
            << out.substr(0, 400);
        for (int lado : {16, 32, 48, 64})
            EXPECT_NE(out.find("Icon (" + std::to_string(lado) + " x " + std::to_string(lado) + "):"),
                      std::string::npos) << j.exe << " " << lado;
        salir();
    }
}

TEST_F(Escritorio, AnUnknownOptionEndsWithStatusTwoTheUsageAndNoWindow)
{
    for (const Juego& j : {kSpace, kTie})
        for (const char* opcion : {"--bogus", "-V", "--mutee"}) {
            // without a display: a game that went on to open its window would fail otherwise
            std::string err;
            const int r = zk::runCommand("env -u DISPLAY '" + zk::binaryPath(j.exe) + "' " + opcion +
                                         " 2>&1 >/dev/null", &err);
            EXPECT_EQ(r, 2) << j.exe << " " << opcion << ": " << err;
            EXPECT_EQ(err.rfind(std::string(j.exe) + ": ", 0), 0u) << err;
            EXPECT_NE(err.find(opcion[1] == '-' ? opcion : "'V'"), std::string::npos) << err;
            EXPECT_NE(err.find(std::string("\nUsage: ") + j.exe + " "), std::string::npos) << err;
            EXPECT_EQ(err.find("nstrucciones"), std::string::npos) << "nothing else is printed: " << err;
        }
}

TEST_F(Escritorio, GeometryOptionGivesThatWindow)
{
    for (const Juego& j : {kSpace, kTie}) {
        ASSERT_NO_FATAL_FAILURE(empezar(j, {"-geometry", "320x200+10+20"}));
        int x, y, w, h;
        // nothing else moves the window: no window manager on the test display
        EXPECT_TRUE(esperar([&] { geometria(&x, &y, &w, &h); return w == 320 && h == 200; }, 10))
            << j.exe << " " << w << "x" << h;
        EXPECT_EQ(x, 10) << j.exe;
        EXPECT_EQ(y, 20) << j.exe;
        salir();
    }
}

TEST_F(Escritorio, SoundOffIsRememberedButMuteOptionIsNot)
{
    zk::WaveOutput salida;
    salida.useInThisProcess();
    auto oido = [&] { return existe(salida.file); };
    for (const Juego& j : {kSpace, kTie}) {
        // a run with --mute keeps nothing
        ASSERT_NO_FATAL_FAILURE(empezar(j, {"--mute"}));
        salir();
        EXPECT_FALSE(existe(ajustes(j))) << j.exe;

        // sound on by default: the device opens, then the key silences it
        ASSERT_NO_FATAL_FAILURE(empezar(j));
        EXPECT_TRUE(esperar(oido, 20)) << j.exe << ": no sound at the start";
        juego->key(j.teclaSonido);
        EXPECT_TRUE(esperar([&] { return zk::readFile(ajustes(j)).find("sound=off\n") != std::string::npos; }, 20))
            << j.exe;
        salir();

        // the next run starts muted: no device opens until the key
        unlink(salida.file.c_str());
        ASSERT_NO_FATAL_FAILURE(empezar(j));
        zk::sleepMs(1500);
        EXPECT_FALSE(oido()) << j.exe << ": the stored silence was not kept";
        juego->key(j.teclaSonido);
        EXPECT_TRUE(esperar(oido, 20)) << j.exe << ": the key gave no sound back";
        salir();
        EXPECT_NE(zk::readFile(ajustes(j)).find("sound=on\n"), std::string::npos) << j.exe;
        unlink(salida.file.c_str());
    }
}

TEST_F(Escritorio, TieFullScreenIsRememberedUntilTheKeyAgain)
{
    ASSERT_NO_FATAL_FAILURE(empezar(kTie));
    juego->key("f");
    EXPECT_TRUE(esperar([&] { return zk::readFile(ajustes(kTie)).find("fullscreen=on\n") != std::string::npos; }, 20));
    salir();

    int x, y, w, h, sw = 0, sh = 0;
    std::string pantalla;
    zk::runCommand("xdotool getdisplaygeometry", &pantalla);
    ASSERT_EQ(sscanf(pantalla.c_str(), "%d %d", &sw, &sh), 2);
    ASSERT_NO_FATAL_FAILURE(empezar(kTie));
    EXPECT_TRUE(esperar([&] { geometria(&x, &y, &w, &h); return w == sw && h == sh; }, 20)) << w << "x" << h;
    // F goes back to the window, and that is kept too
    juego->key("f");
    EXPECT_TRUE(esperar([&] { geometria(&x, &y, &w, &h); return w == 640 && h == 480; }, 20)) << w << "x" << h;
    EXPECT_NE(zk::readFile(ajustes(kTie)).find("fullscreen=off\n"), std::string::npos);
    salir();
}

TEST_F(Escritorio, DamagedSettingsGiveTheDefaultsAndOneLine)
{
    for (const Juego& j : {kSpace, kTie}) {
        zk::runCommand("mkdir -p '" + config + "/zarkons'");
        std::ofstream(ajustes(j)) << "sound=off\nfullscreen=on\n\x01\x02 basura\n";
        ASSERT_NO_FATAL_FAILURE(empezar(j));
        int x, y, w, h;
        geometria(&x, &y, &w, &h);
        EXPECT_LT(w, 1000) << j.exe << ": the damaged file's full screen was taken";
        salir();
        // one line names the file, and it is the only thing said of the settings
        std::istringstream err(juego->errors());
        int lineas = 0;
        for (std::string l; std::getline(err, l);)
            lineas += l.find(".conf") != std::string::npos ? 1 : 0;
        EXPECT_EQ(lineas, 1) << juego->errors();
        EXPECT_NE(juego->errors().find(ajustes(j)), std::string::npos) << juego->errors();
    }
}
