// Settings kept between runs: what a file may hold, where it goes, and that
// no fault reading or writing it stops a game or says more than one line.
#include "e2e.h"
#include "settings.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace {

bool leerTexto(const std::string& texto, zk_settings_t* s, std::string* why)
{
    return zk_settings_parse(texto.data(), texto.size(), s, why);
}

void escribir(const std::string& path, const std::string& texto)
{
    std::ofstream(path) << texto;
}

// Each test's own config home (the harness already made XDG_CONFIG_HOME private).
std::string conf(const char* juego)
{
    std::string path, why;
    EXPECT_TRUE(zk_settings_path(juego, &path, &why)) << why;
    return path;
}

} // namespace

TEST(Settings, FileTextsGoodAndDamaged)
{
    zk_settings_t s;
    std::string why;
    EXPECT_TRUE(leerTexto("", &s, &why));
    EXPECT_TRUE(s.sound && !s.fullscreen) << "the defaults: sound, a window";
    EXPECT_TRUE(leerTexto("# comment\r\n\nsound=off\r\nfullscreen=on", &s, &why));
    EXPECT_TRUE(!s.sound && s.fullscreen);
    // a later version's key is passed over; the last of a repeated key counts
    EXPECT_TRUE(leerTexto("volume=7\nsound=off\nsound=on\n", &s, &why));
    EXPECT_TRUE(s.sound);
    // what we write, we read back
    for (bool sonido : {false, true})
        for (bool completa : {false, true}) {
            zk_settings_t t;
            t.sound = sonido;
            t.fullscreen = completa;
            ASSERT_TRUE(leerTexto(zk_settings_format(t), &s, &why));
            EXPECT_EQ(s.sound, sonido);
            EXPECT_EQ(s.fullscreen, completa);
        }

    const std::string rotos[] = {"sound=yes\n", "sound\n", "=on\n", "Sound=on\n", "sound = on\n",
                                   "fullscreen=on\nbasura", std::string("sound=on\0x\n", 11), "\x89PNG\r\n"};
    for (const std::string& texto : rotos) {
        s.sound = false;
        why.clear();
        EXPECT_FALSE(leerTexto(texto, &s, &why)) << texto;
        EXPECT_TRUE(s.sound && !s.fullscreen) << "a damaged file gives the defaults: " << texto;
        EXPECT_NE(why.find("line"), std::string::npos) << texto;
    }
    EXPECT_FALSE(leerTexto("fullscreen=on\n" + std::string(kSettingsMaxBytes, '#'), &s, &why));
    EXPECT_FALSE(s.fullscreen);
}

TEST(Settings, PathFollowsXdgConfigHomeThenHome)
{
    std::string path, why;
    setenv("XDG_CONFIG_HOME", "/x/conf", 1);
    ASSERT_TRUE(zk_settings_path("tie-zarkons", &path, &why));
    EXPECT_EQ(path, "/x/conf/zarkons/tie-zarkons.conf");
    // a relative one is invalid and ignored, as the desktops do
    setenv("XDG_CONFIG_HOME", "conf", 1);
    setenv("HOME", "/home/jugador", 1);
    ASSERT_TRUE(zk_settings_path("tie-zarkons", &path, &why));
    EXPECT_EQ(path, "/home/jugador/.config/zarkons/tie-zarkons.conf");
    unsetenv("XDG_CONFIG_HOME");
    unsetenv("HOME");
    EXPECT_FALSE(zk_settings_path("tie-zarkons", &path, &why));
    EXPECT_FALSE(why.empty());
}

TEST(Settings, AChangeIsWrittenAndReadOnTheNextRun)
{
    const std::string path = conf("space-zarkons-3d");
    testing::internal::CaptureStderr();
    zk_settings_t s = zk_settings_load("space-zarkons-3d");
    EXPECT_TRUE(s.sound && !s.fullscreen);
    // the folder does not exist yet; no change, no file
    zk_settings_set_sound(true);
    EXPECT_NE(access(path.c_str(), F_OK), 0);
    zk_settings_set_sound(false);
    zk_settings_set_fullscreen(true);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
    EXPECT_EQ(zk::readFile(path), "# Zarkons: settings kept between runs\nsound=off\nfullscreen=on\n");
    struct stat st;
    ASSERT_EQ(stat(path.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0644u);

    s = zk_settings_load("space-zarkons-3d");
    EXPECT_TRUE(!s.sound && s.fullscreen);
    // no temporary file left beside it
    const std::string dir = path.substr(0, path.rfind('/'));
    std::string listado;
    FILE* ls = popen(("ls -A '" + dir + "'").c_str(), "r");
    char buf[256];
    while (fgets(buf, sizeof buf, ls) != nullptr)
        listado += buf;
    pclose(ls);
    EXPECT_EQ(listado, "space-zarkons-3d.conf\n");
}

TEST(Settings, DamagedOrUnreadableFileGivesTheDefaultsAndOneLine)
{
    const std::string path = conf("tie-zarkons");
    mkdir(path.substr(0, path.rfind('/')).c_str(), 0700);
    escribir(path, "sound=off\nfullscreen=quizas\n");
    testing::internal::CaptureStderr();
    zk_settings_t s = zk_settings_load("tie-zarkons");
    std::string err = testing::internal::GetCapturedStderr();
    EXPECT_TRUE(s.sound && !s.fullscreen);
    EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 1) << err;
    EXPECT_EQ(err.rfind("tie-zarkons: ", 0), 0u) << err;
    EXPECT_NE(err.find(path), std::string::npos) << err;
    EXPECT_NE(err.find("line 2"), std::string::npos) << err;
    // the next change writes a good file over it
    zk_settings_set_sound(false);
    EXPECT_EQ(zk::readFile(path), zk_settings_format(zk_settings_load("tie-zarkons")));

    // a folder in the file's place cannot be read: the defaults again
    unlink(path.c_str());
    mkdir(path.c_str(), 0700);
    testing::internal::CaptureStderr();
    s = zk_settings_load("tie-zarkons");
    err = testing::internal::GetCapturedStderr();
    EXPECT_TRUE(s.sound && !s.fullscreen);
    EXPECT_EQ(err, "") << "one line a run, and this run has had it";
    rmdir(path.c_str());
}

TEST(Settings, AnUnwritablePlaceIsOneLineAndThePlayGoesOn)
{
    // a file where the zarkons folder should be: nothing can be created under it
    char tmpl[] = "/tmp/zk-conf-XXXXXX";
    ASSERT_NE(mkdtemp(tmpl), nullptr);
    setenv("XDG_CONFIG_HOME", tmpl, 1);
    escribir(std::string(tmpl) + "/zarkons", "no soy una carpeta");
    testing::internal::CaptureStderr();
    zk_settings_t s = zk_settings_load("space-zarkons-3d");
    EXPECT_TRUE(s.sound && !s.fullscreen);
    zk_settings_set_sound(false);
    zk_settings_set_fullscreen(true);
    zk_settings_set_sound(true);
    const std::string err = testing::internal::GetCapturedStderr();
    EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 1) << err;
    EXPECT_EQ(err.rfind("space-zarkons-3d: ", 0), 0u) << err;
    EXPECT_EQ(zk::readFile(std::string(tmpl) + "/zarkons"), "no soy una carpeta");
    system(("rm -rf '" + std::string(tmpl) + "'").c_str());
}
