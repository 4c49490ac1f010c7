// zk-icons OUTDIR: draws the two games' desktop icons as SVG files.
//
// Space Zarkons 3D: a fighter seen from above climbing toward three enemy
// ships over a star field. Tie Zarkons: a Tie (sphere and two hexagonal wings)
// over a row of wall cubes.
#include <cmath>
#include <cstdio>
#include <string>

static bool writeFile(const std::string& path, const std::string& text)
{
    FILE* f = fopen(path.c_str(), "wb");
    if (!f) {
        fprintf(stderr, "zk-icons: cannot write %s\n", path.c_str());
        return false;
    }
    bool ok = fwrite(text.data(), 1, text.size(), f) == text.size();
    ok = fclose(f) == 0 && ok;
    return ok;
}

// A deterministic scatter of small stars.
static std::string stars(int count, unsigned seed)
{
    std::string s;
    unsigned v = seed;
    char buf[160];
    for (int i = 0; i < count; i++) {
        v = v * 1103515245u + 12345u;
        int x = (int)((v >> 8) % 128);
        v = v * 1103515245u + 12345u;
        int y = (int)((v >> 8) % 128);
        v = v * 1103515245u + 12345u;
        double r = 0.4 + (double)((v >> 8) % 100) / 100.0;
        snprintf(buf, sizeof buf, "  <circle cx=\"%d\" cy=\"%d\" r=\"%.2f\" fill=\"#ffffff\" opacity=\"%.2f\"/>\n",
                 x, y, r, 0.5 + r / 3);
        s += buf;
    }
    return s;
}

static std::string header(const char* title)
{
    return std::string("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                       "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"128\" height=\"128\" viewBox=\"0 0 128 128\">\n"
                       "  <title>") + title + "</title>\n"
           "  <rect x=\"0\" y=\"0\" width=\"128\" height=\"128\" rx=\"20\" fill=\"#0b1030\"/>\n";
}

static std::string spaceZarkons()
{
    std::string s = header("Space Zarkons 3D") + stars(40, 7);
    // three enemy ships: dark red arrowheads pointing down at the player
    const int ex[] = {30, 64, 98};
    char buf[400];
    for (int x : ex) {
        snprintf(buf, sizeof buf,
                 "  <path d=\"M %d 38 L %d 22 L %d 28 L %d 22 Z\" fill=\"#b3202a\" stroke=\"#ff6a60\" stroke-width=\"1.5\"/>\n",
                 x, x - 12, x, x + 12);
        s += buf;
    }
    // the middle one bursts
    s += "  <circle cx=\"64\" cy=\"30\" r=\"15\" fill=\"#ff3000\" opacity=\"0.35\"/>\n"
         "  <circle cx=\"64\" cy=\"30\" r=\"10\" fill=\"#ff9a30\" opacity=\"0.7\"/>\n"
         "  <circle cx=\"64\" cy=\"30\" r=\"5\" fill=\"#fff4c0\"/>\n";
    // two shots climbing
    s += "  <rect x=\"52\" y=\"54\" width=\"3\" height=\"10\" rx=\"1.5\" fill=\"#9fe8ff\"/>\n"
         "  <rect x=\"73\" y=\"62\" width=\"3\" height=\"10\" rx=\"1.5\" fill=\"#9fe8ff\"/>\n";
    // the player's fighter: a swept silver delta with a blue canopy
    s += "  <path d=\"M 64 72 L 70 92 L 96 108 L 70 104 L 64 112 L 58 104 L 32 108 L 58 92 Z\" "
         "fill=\"#cfd6e0\" stroke=\"#6f7d90\" stroke-width=\"1.5\" stroke-linejoin=\"round\"/>\n"
         "  <ellipse cx=\"64\" cy=\"90\" rx=\"3.5\" ry=\"7\" fill=\"#2f7bd6\"/>\n"
         "  <rect x=\"40\" y=\"98\" width=\"3\" height=\"10\" fill=\"#8a96a8\"/>\n"
         "  <rect x=\"85\" y=\"98\" width=\"3\" height=\"10\" fill=\"#8a96a8\"/>\n";
    s += "</svg>\n";
    return s;
}

static std::string hexagon(double cx, double cy, double r)
{
    std::string d = "M";
    char buf[64];
    for (int i = 0; i < 6; i++) {
        double a = (i * 60.0 + 90.0) * M_PI / 180.0;
        snprintf(buf, sizeof buf, " %.1f %.1f", cx + r * 0.45 * std::cos(a), cy + r * std::sin(a));
        d += buf;
        if (i == 0)
            d += " L";
    }
    return d + " Z";
}

static std::string tieZarkons()
{
    std::string s = header("Tie Zarkons") + stars(30, 11);
    s += "  <path d=\"" + hexagon(30, 52, 34) + "\" fill=\"#3a3f4a\" stroke=\"#9aa3b5\" stroke-width=\"3\"/>\n";
    s += "  <path d=\"" + hexagon(98, 52, 34) + "\" fill=\"#3a3f4a\" stroke=\"#9aa3b5\" stroke-width=\"3\"/>\n";
    s += "  <rect x=\"34\" y=\"49\" width=\"60\" height=\"6\" fill=\"#7d8597\"/>\n"
         "  <circle cx=\"64\" cy=\"52\" r=\"16\" fill=\"#8f98ab\" stroke=\"#d7dde8\" stroke-width=\"2\"/>\n"
         "  <circle cx=\"64\" cy=\"52\" r=\"7\" fill=\"#1d2230\" stroke=\"#5a6275\" stroke-width=\"1.5\"/>\n";
    // the wall below: a row of small green cubes
    char buf[200];
    for (int i = 0; i < 8; i++) {
        snprintf(buf, sizeof buf,
                 "  <rect x=\"%d\" y=\"100\" width=\"11\" height=\"11\" fill=\"#3bbf6a\" stroke=\"#1e7a40\"/>\n",
                 18 + i * 12);
        s += buf;
    }
    s += "  <rect x=\"62\" y=\"78\" width=\"4\" height=\"14\" rx=\"2\" fill=\"#ff4040\"/>\n";
    s += "</svg>\n";
    return s;
}

int main(int argc, char** argv)
{
    if (argc != 2) {
        fprintf(stderr, "usage: zk-icons OUTDIR\n");
        return 2;
    }
    const std::string dir = argv[1];
    bool ok = writeFile(dir + "/space-zarkons-3d.svg", spaceZarkons());
    ok = writeFile(dir + "/tie-zarkons.svg", tieZarkons()) && ok;
    return ok ? 0 : 1;
}
