// ac3d-info as a modeller runs it: the dump, one summary line per file and
// an exit status that says whether every file loaded.
#include "e2e.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace
{

struct Folder {
    std::string dir = zk::makeTempDir();
    ~Folder() { std::filesystem::remove_all(dir); }
    void write(const std::string& name, const std::string& text)
    {
        std::ofstream(dir + "/" + name, std::ios::binary) << text;
    }
    // Runs the tool in this folder; stdout into *out, stderr dropped.
    int run(const std::string& args, std::string* out)
    {
        std::string exe = zk::binaryPath("ac3d-info");
        EXPECT_TRUE(std::filesystem::exists(exe)) << exe << " is not built";
        return zk::runCommand("cd '" + dir + "' && '" + exe + "' " + args + " 2>/dev/null", out);
    }
};

const char* kShip =
    "AC3Db\n"
    "MATERIAL \"a\" rgb 1 1 1 amb 0 0 0 emis 0 0 0 spec 0 0 0 shi 0 trans 0\n"
    "MATERIAL \"b\" rgb 1 0 0 amb 0 0 0 emis 0 0 0 spec 0 0 0 shi 0 trans 0\n"
    "OBJECT world\nkids 1\nOBJECT poly\nname \"hull\"\ntexture \"hull.rgb\"\ntexture \"gone.rgb\"\n"
    "numvert 3\n0 0 0\n1 0 0\n0 1 0\nnumsurf 1\nSURF 0\nmat 1\nrefs 3\n0 0 0\n1 0 0\n2 0 0\nkids 0\n";

} // namespace

TEST(Ac3dInfo, DumpsAndSummarisesEachFile)
{
    Folder f;
    f.write("ship.ac", kShip);
    // a verbatim 1 x 1 grey SGI image
    std::string sgi(512, '\0');
    sgi[0] = 0x01, sgi[1] = (char)0xDA, sgi[3] = 1, sgi[5] = 2, sgi[7] = 1, sgi[9] = 1, sgi[11] = 1;
    f.write("hull.rgb", sgi + "\x80");
    std::string out;
    EXPECT_EQ(f.run("ship.ac", &out), 0) << out;
    EXPECT_NE(out.find("OBJECT name hull\nloc 0.000000 0.000000 0.000000\nnum_vert 3\nnum_surf 1\n"
                       "\tv 0.000000 0.000000 0.000000\n"),
              std::string::npos)
        << out;
    EXPECT_NE(out.find("surface 0, 3 refs, mat 1\n"), std::string::npos) << out;
    EXPECT_NE(out.find("ship.ac: 2 objects, 3 vertices, 1 surfaces, 2 materials added, 2 textures, "
                       "1 unreadable\n"),
              std::string::npos)
        << out;
}

TEST(Ac3dInfo, AnyFileThatFailsMakesTheStatusNonZero)
{
    Folder f;
    f.write("ship.ac", kShip);
    f.write("notes.ac", "not a model\n");
    std::string out;
    EXPECT_EQ(f.run("ship.ac missing.ac notes.ac ship.ac", &out), 1);
    EXPECT_NE(out.find("can't open missing.ac\n\nmissing.ac: not loaded\n"), std::string::npos) << out;
    EXPECT_NE(out.find("ac_load_ac 'notes.ac' is not a valid AC3D file.\nnotes.ac: not loaded\n"),
              std::string::npos)
        << out;
    // one run, one palette: the second load's materials follow the first's
    EXPECT_NE(out.find("surface 0, 3 refs, mat 3\n"), std::string::npos) << out;
    EXPECT_NE(out.find("ship.ac: 2 objects"), std::string::npos) << out;
    EXPECT_EQ(f.run("", &out), 2);
}
