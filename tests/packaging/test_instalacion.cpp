// Installing: a DESTDIR install and the Debian package both give launchers that
// start each game from any directory, with desktop and software-centre entries
// that validate, and a package that the distribution's checker finds clean.
#include "e2e.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <sys/stat.h>

namespace {

bool exists(const std::string& p)
{
    struct stat st;
    return stat(p.c_str(), &st) == 0;
}

// Starts an installed launcher from an unrelated directory (a fresh one, or
// the one given), sees the window, ends the game with Escape.
void launcherStartsAndEnds(const std::string& launcher, const std::string& title, const std::string& cwd = "")
{
    const std::string elsewhere = cwd.empty() ? zk::makeTempDir() : cwd;
    zk::GameProcess game(launcher, {}, elsewhere);
    ASSERT_TRUE(game.start());
    std::string id = game.findWindow(title, 60);
    ASSERT_FALSE(id.empty()) << launcher << "\n" << game.output() << game.errors();
    game.key("Escape");
    EXPECT_EQ(game.waitExit(30), 0) << launcher << "\n" << game.errors();
    if (cwd.empty())
        zk::runCommand("rm -rf '" + elsewhere + "'");
}

const char* kInstalled[] = {
    "usr/games/space-zarkons-3d",
    "usr/games/tie-zarkons",
    "usr/games/ac3d-info",
    "usr/libexec/zarkons/space-zarkons-3d",
    "usr/libexec/zarkons/tie-zarkons",
    "usr/share/zarkons/space-zarkons-3d/data/nave1_chico.ac",
    "usr/share/zarkons/space-zarkons-3d/data/nave_open.ac",
    "usr/share/zarkons/space-zarkons-3d/data/Misil_chico.ac",
    "usr/share/zarkons/space-zarkons-3d/data/Stars.tga",
    "usr/share/zarkons/space-zarkons-3d/data/spark.tga",
    "usr/share/applications/invalid.zarkons.space_zarkons_3d.desktop",
    "usr/share/applications/invalid.zarkons.tie_zarkons.desktop",
    "usr/share/icons/hicolor/scalable/apps/space-zarkons-3d.svg",
    "usr/share/icons/hicolor/scalable/apps/tie-zarkons.svg",
    "usr/share/man/man6/space-zarkons-3d.6.gz",
    "usr/share/man/man6/tie-zarkons.6.gz",
    "usr/share/man/man1/ac3d-info.1.gz",
    "usr/share/man/es/man6/space-zarkons-3d.6.gz",
    "usr/share/man/es/man6/tie-zarkons.6.gz",
    "usr/share/locale/en/LC_MESSAGES/zarkons.mo",
    "usr/share/metainfo/invalid.zarkons.space_zarkons_3d.metainfo.xml",
    "usr/share/metainfo/invalid.zarkons.tie_zarkons.metainfo.xml",
    "usr/share/doc/zarkons/copyright",
    "usr/share/doc/zarkons/changelog.gz",
};

// A checker's errors and warnings ("" when the checker is not installed).
std::string complaints(const std::string& tool, const std::string& args)
{
    std::string out;
    zk::runCommand("! command -v " + tool + " >/dev/null || " + tool + " " + args + " 2>&1 | grep -E '^ *[EW]: '", &out);
    return out;
}

class Instalacion : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (getenv("DISPLAY") == nullptr)
            GTEST_SKIP() << "no X display: run the suite through ./test.sh";
        root = zk::makeTempDir();
    }
    void TearDown() override
    {
        if (!root.empty())
            zk::runCommand("rm -rf '" + root + "'");
    }
    std::string root;
};

} // namespace

TEST_F(Instalacion, DestdirInstallStartsBothGamesFromAnywhere)
{
    std::string out;
    ASSERT_EQ(zk::runCommand("DESTDIR='" + root + "' cmake --install '" ZK_BUILD_DIR
                             "' --prefix /usr 2>&1", &out), 0) << out;
    for (const char* f : kInstalled)
        EXPECT_TRUE(exists(root + "/" + f)) << f;
    launcherStartsAndEnds(root + "/usr/games/space-zarkons-3d", "Space Zarkons 3D");
    launcherStartsAndEnds(root + "/usr/games/tie-zarkons", "Tie Zarkons");

    // the installed game reads the installed catalogue, not the build's: one
    // put in its place, with a line of its own, is the one it speaks
    const std::string po = root + "/prueba.po";
    std::ofstream(po) << "msgid \"\"\nmsgstr \"Content-Type: text/plain; charset=UTF-8\\n\"\n"
                         "msgid \"\\nInstrucciones:\\n\"\nmsgstr \"\\nInstalled:\\n\"\n";
    ASSERT_EQ(zk::runCommand("msgfmt -o '" + root + "/usr/share/locale/en/LC_MESSAGES/zarkons.mo' '" + po +
                             "' 2>&1", &out), 0) << out;
    setenv("LC_ALL", "en_US.UTF-8", 1);
    zk::GameProcess tie(root + "/usr/games/tie-zarkons", {}, root);
    ASSERT_TRUE(tie.start());
    EXPECT_TRUE(tie.waitForOutput("\nInstalled:\n", 30)) << tie.output();
    setenv("LC_ALL", "C", 1);

    // software-centre entries valid, each naming a desktop entry installed beside it
    EXPECT_EQ(complaints("appstreamcli", "validate-tree --no-net '" + root + "'"), "");
}

TEST_F(Instalacion, DesktopEntriesAndManualPagesValidate)
{
    for (const char* id : {"invalid.zarkons.space_zarkons_3d", "invalid.zarkons.tie_zarkons"}) {
        std::string out;
        EXPECT_EQ(zk::runCommand(std::string("desktop-file-validate '") + ZK_SOURCE_DIR + "/packaging/" +
                                 id + ".desktop' 2>&1", &out), 0) << out;
        EXPECT_EQ(out, "") << out;
    }
    // mandoc's warnings and errors (its style notes about long source lines aside)
    for (const char* page : {"space-zarkons-3d.6", "tie-zarkons.6", "ac3d-info.1", "es/space-zarkons-3d.6",
                             "es/tie-zarkons.6"}) {
        std::string out;
        EXPECT_EQ(zk::runCommand(std::string("! command -v mandoc >/dev/null || mandoc -T lint -W warning '") +
                                 ZK_SOURCE_DIR + "/packaging/man/" + page + "' 2>&1", &out), 0) << out;
        EXPECT_EQ(out, "") << page;
    }
}

TEST_F(Instalacion, DebianPackageHoldsTheGamesAndTheirDependencies)
{
    std::string out;
    ASSERT_EQ(zk::runCommand("cd '" ZK_BUILD_DIR "' && cpack -G DEB -B '" + root + "/pkg' 2>&1", &out), 0) << out;
    std::string deb;
    zk::runCommand("ls '" + root + "'/pkg/*.deb", &deb);
    deb = deb.substr(0, deb.find('\n'));
    ASSERT_FALSE(deb.empty()) << out;

    std::string fields;
    ASSERT_EQ(zk::runCommand("dpkg-deb -f '" + deb + "' Package Version Section Depends", &fields), 0);
    EXPECT_NE(fields.find("Package: zarkons"), std::string::npos) << fields;
    EXPECT_NE(fields.find("Section: games"), std::string::npos) << fields;
    for (const char* dep : {"libglut", "libglu1", "libglx0", "libc6", "libopenal1", "libsdl2"})
        EXPECT_NE(fields.find(dep), std::string::npos) << dep << " missing from:\n" << fields;

    std::string contents;
    ASSERT_EQ(zk::runCommand("dpkg-deb -c '" + deb + "'", &contents), 0);
    for (const char* f : kInstalled)
        EXPECT_NE(contents.find(std::string("./") + f), std::string::npos) << f;

    const std::string unpacked = root + "/unpacked";
    ASSERT_EQ(zk::runCommand("dpkg-deb -x '" + deb + "' '" + unpacked + "'"), 0);
    std::string vacias;
    zk::runCommand("find '" + unpacked + "' -type d -empty", &vacias);
    EXPECT_EQ(vacias, "") << "empty folders in the package";

    // the copyright in machine-readable form, its licence the root's LICENSE word for word
    const std::string copyright = zk::readFile(unpacked + "/usr/share/doc/zarkons/copyright");
    EXPECT_EQ(copyright.rfind("Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/\n", 0), 0u);
    EXPECT_NE(copyright.find("\nFiles: *\nCopyright: 2026 The Zarkons developers\nLicense: Expat\n"),
              std::string::npos) << copyright;
    const size_t texto = copyright.find("\nLicense: Expat\n Permission");
    ASSERT_NE(texto, std::string::npos) << copyright;
    std::string desindentado;
    std::istringstream lineas(copyright.substr(texto + 16));
    for (std::string l; std::getline(lineas, l);)
        desindentado += (l == " ." ? "" : l.substr(1)) + "\n";
    const std::string licencia = zk::readFile(std::string(ZK_SOURCE_DIR) + "/LICENSE");
    ASSERT_NE(licencia.find("Copyright (c) 2026 The Zarkons developers\n"), std::string::npos);
    EXPECT_EQ(licencia.substr(licencia.find("Permission")), desindentado);
    launcherStartsAndEnds(unpacked + "/usr/games/space-zarkons-3d", "Space Zarkons 3D");
    launcherStartsAndEnds(unpacked + "/usr/games/tie-zarkons", "Tie Zarkons");

    // the distribution's own checker: no errors and no warnings (only notes)
    EXPECT_EQ(complaints("lintian", "'" + deb + "'"), "");
}

// A packager's choice of folders: the games' data under share/games. The
// launchers must still find it, and everything the desktop reads stays where
// the desktop looks. Built once in a folder of its own beside this build (a
// later run only builds what changed).
TEST_F(Instalacion, DataUnderShareGamesStillRunsBothGamesFromRoot)
{
    const std::string build = std::string(ZK_BUILD_DIR) + "/pkg-share-games";
    std::string out;
    ASSERT_EQ(zk::runCommand("cmake -S '" ZK_SOURCE_DIR "' -B '" + build + "' -DCMAKE_BUILD_TYPE=Debug "
                             "-DBUILD_TESTING=OFF -DCMAKE_INSTALL_DATADIR=share/games "
                             "$(command -v ccache >/dev/null && echo -DCMAKE_CXX_COMPILER_LAUNCHER=ccache "
                             "-DCMAKE_C_COMPILER_LAUNCHER=ccache) 2>&1 && cmake --build '" + build + "' -j2 2>&1 && "
                             "DESTDIR='" + root + "' cmake --install '" + build + "' --prefix /usr 2>&1", &out), 0)
        << out.substr(out.size() > 4000 ? out.size() - 4000 : 0);
    for (const char* f : {"usr/share/games/zarkons/space-zarkons-3d/data/nave1_chico.ac",
                          "usr/share/applications/invalid.zarkons.space_zarkons_3d.desktop",
                          "usr/share/metainfo/invalid.zarkons.tie_zarkons.metainfo.xml",
                          "usr/share/man/man6/tie-zarkons.6.gz", "usr/share/doc/zarkons/copyright"})
        EXPECT_TRUE(exists(root + "/" + f)) << f;
    EXPECT_FALSE(exists(root + "/usr/share/zarkons"));
    launcherStartsAndEnds(root + "/usr/games/space-zarkons-3d", "Space Zarkons 3D", "/");
    launcherStartsAndEnds(root + "/usr/games/tie-zarkons", "Tie Zarkons", "/");
}
