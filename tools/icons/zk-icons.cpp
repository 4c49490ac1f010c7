// zk-icons OUTDIR: draws the two games' icons, as SVG files for the desktop
// and as pixels at 16, 32, 48 and 64 for the games' windows (a C++ header per
// game that the game builds in). Both come from the same list of shapes.
//
// Space Zarkons 3D: a fighter seen from above climbing toward three enemy
// ships over a star field. Tie Zarkons: a Tie (sphere and two hexagonal wings)
// over a row of wall cubes.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

// One shape of an icon, in the 128-unit square of the SVG.
struct Forma {
    enum Tipo { RECT, CIRCULO, ELIPSE, POLIGONO } tipo;
    explicit Forma(Tipo t) : tipo(t) {}
    double x = 0, y = 0, w = 0, h = 0, r = 0; // rect: corner, size, rx; circle/ellipse: centre, r / w,h radii
    std::vector<double> puntos;               // polygon: x0 y0 x1 y1 ...
    uint32_t relleno = 0;                     // 0xRRGGBB
    uint32_t trazo = 0;
    double anchoTrazo = 0;                    // 0: no stroke
    double opacidad = 1;
};

struct Icono {
    std::string titulo;
    std::vector<Forma> formas;
};

static Forma rect(double x, double y, double w, double h, double rx, uint32_t relleno)
{
    Forma f(Forma::RECT);
    f.x = x, f.y = y, f.w = w, f.h = h, f.r = rx, f.relleno = relleno;
    return f;
}

static Forma circulo(double cx, double cy, double r, uint32_t relleno, double opacidad = 1)
{
    Forma f(Forma::CIRCULO);
    f.x = cx, f.y = cy, f.r = r, f.relleno = relleno, f.opacidad = opacidad;
    return f;
}

static Forma poligono(std::vector<double> puntos, uint32_t relleno)
{
    Forma f(Forma::POLIGONO);
    f.puntos = std::move(puntos);
    f.relleno = relleno;
    return f;
}

static Forma conTrazo(Forma f, uint32_t color, double ancho)
{
    f.trazo = color;
    f.anchoTrazo = ancho;
    return f;
}

// ---- the two icons ----

// The rounded dark square every icon starts from, and a deterministic
// scatter of small stars.
static Icono fondo(const char* titulo, int estrellas, unsigned semilla)
{
    Icono ic{titulo, {rect(0, 0, 128, 128, 20, 0x0b1030)}};
    unsigned v = semilla;
    for (int i = 0; i < estrellas; i++) {
        v = v * 1103515245u + 12345u;
        const int x = (int)((v >> 8) % 128);
        v = v * 1103515245u + 12345u;
        const int y = (int)((v >> 8) % 128);
        v = v * 1103515245u + 12345u;
        const double r = 0.4 + (double)((v >> 8) % 100) / 100.0;
        ic.formas.push_back(circulo(x, y, r, 0xffffff, 0.5 + r / 3));
    }
    return ic;
}

static Icono spaceZarkons()
{
    Icono ic = fondo("Space Zarkons 3D", 40, 7);
    std::vector<Forma>& s = ic.formas;
    // three enemy ships: dark red arrowheads pointing down at the player
    for (double x : {30.0, 64.0, 98.0})
        s.push_back(conTrazo(poligono({x, 38, x - 12, 22, x, 28, x + 12, 22}, 0xb3202a), 0xff6a60, 1.5));
    // the middle one bursts
    s.push_back(circulo(64, 30, 15, 0xff3000, 0.35));
    s.push_back(circulo(64, 30, 10, 0xff9a30, 0.7));
    s.push_back(circulo(64, 30, 5, 0xfff4c0));
    // two shots climbing
    s.push_back(rect(52, 54, 3, 10, 1.5, 0x9fe8ff));
    s.push_back(rect(73, 62, 3, 10, 1.5, 0x9fe8ff));
    // the player's fighter: a swept silver delta with a blue canopy
    s.push_back(conTrazo(poligono({64, 72, 70, 92, 96, 108, 70, 104, 64, 112, 58, 104, 32, 108, 58, 92}, 0xcfd6e0),
                         0x6f7d90, 1.5));
    Forma cabina(Forma::ELIPSE);
    cabina.x = 64, cabina.y = 90, cabina.w = 3.5, cabina.h = 7, cabina.relleno = 0x2f7bd6;
    s.push_back(cabina);
    s.push_back(rect(40, 98, 3, 10, 0, 0x8a96a8));
    s.push_back(rect(85, 98, 3, 10, 0, 0x8a96a8));
    return ic;
}

static Forma hexagono(double cx, double cy, double r)
{
    std::vector<double> p;
    for (int i = 0; i < 6; i++) {
        const double a = (i * 60.0 + 90.0) * M_PI / 180.0;
        // one decimal, as the SVG gives it, so both pictures agree
        p.push_back(std::round((cx + r * 0.45 * std::cos(a)) * 10) / 10);
        p.push_back(std::round((cy + r * std::sin(a)) * 10) / 10);
    }
    return conTrazo(poligono(p, 0x3a3f4a), 0x9aa3b5, 3);
}

static Icono tieZarkons()
{
    Icono ic = fondo("Tie Zarkons", 30, 11);
    std::vector<Forma>& s = ic.formas;
    s.push_back(hexagono(30, 52, 34));
    s.push_back(hexagono(98, 52, 34));
    s.push_back(rect(34, 49, 60, 6, 0, 0x7d8597));
    s.push_back(conTrazo(circulo(64, 52, 16, 0x8f98ab), 0xd7dde8, 2));
    s.push_back(conTrazo(circulo(64, 52, 7, 0x1d2230), 0x5a6275, 1.5));
    // the wall below: a row of small green cubes
    for (int i = 0; i < 8; i++)
        s.push_back(conTrazo(rect(18 + i * 12, 100, 11, 11, 0, 0x3bbf6a), 0x1e7a40, 1));
    s.push_back(rect(62, 78, 4, 14, 2, 0xff4040));
    return ic;
}

// ---- SVG ----

static std::string svg(const Icono& ic)
{
    std::string s = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                    "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"128\" height=\"128\" viewBox=\"0 0 128 128\">\n"
                    "  <title>" + ic.titulo + "</title>\n";
    char buf[512];
    for (const Forma& f : ic.formas) {
        switch (f.tipo) {
        case Forma::RECT:
            snprintf(buf, sizeof buf, "  <rect x=\"%g\" y=\"%g\" width=\"%g\" height=\"%g\" rx=\"%g\"", f.x, f.y,
                     f.w, f.h, f.r);
            break;
        case Forma::CIRCULO:
            snprintf(buf, sizeof buf, "  <circle cx=\"%g\" cy=\"%g\" r=\"%.2f\"", f.x, f.y, f.r);
            break;
        case Forma::ELIPSE:
            snprintf(buf, sizeof buf, "  <ellipse cx=\"%g\" cy=\"%g\" rx=\"%g\" ry=\"%g\"", f.x, f.y, f.w, f.h);
            break;
        case Forma::POLIGONO: {
            std::string d;
            for (size_t i = 0; i + 1 < f.puntos.size(); i += 2) {
                snprintf(buf, sizeof buf, "%s%g %g", i == 0 ? "M " : " L ", f.puntos[i], f.puntos[i + 1]);
                d += buf;
            }
            snprintf(buf, sizeof buf, "  <path d=\"%s Z\" stroke-linejoin=\"round\"", d.c_str());
            break;
        }
        }
        s += buf;
        snprintf(buf, sizeof buf, " fill=\"#%06x\"", f.relleno);
        s += buf;
        if (f.anchoTrazo > 0) {
            snprintf(buf, sizeof buf, " stroke=\"#%06x\" stroke-width=\"%g\"", f.trazo, f.anchoTrazo);
            s += buf;
        }
        if (f.opacidad < 1) {
            snprintf(buf, sizeof buf, " opacity=\"%.2f\"", f.opacidad);
            s += buf;
        }
        s += "/>\n";
    }
    return s + "</svg>\n";
}

// ---- pixels ----

static double distanciaASegmento(double px, double py, double ax, double ay, double bx, double by)
{
    const double dx = bx - ax, dy = by - ay;
    const double l2 = dx * dx + dy * dy;
    const double t = l2 > 0 ? std::clamp(((px - ax) * dx + (py - ay) * dy) / l2, 0.0, 1.0) : 0.0;
    return std::hypot(px - ax - t * dx, py - ay - t * dy);
}

// Signed distance from a point to the shape's outline: negative inside.
static double distancia(const Forma& f, double px, double py)
{
    switch (f.tipo) {
    case Forma::RECT: {
        const double qx = std::fabs(px - f.x - f.w / 2) - f.w / 2 + f.r;
        const double qy = std::fabs(py - f.y - f.h / 2) - f.h / 2 + f.r;
        return std::hypot(std::max(qx, 0.0), std::max(qy, 0.0)) + std::min(std::max(qx, qy), 0.0) - f.r;
    }
    case Forma::CIRCULO:
        return std::hypot(px - f.x, py - f.y) - f.r;
    case Forma::ELIPSE:
        // close enough for shapes a few pixels across
        return (std::hypot((px - f.x) / f.w, (py - f.y) / f.h) - 1) * std::min(f.w, f.h);
    case Forma::POLIGONO:
        break;
    }
    const std::vector<double>& p = f.puntos;
    const size_t n = p.size() / 2;
    double d = 1e9;
    bool dentro = false;
    for (size_t i = 0, j = n - 1; i < n; j = i++) {
        const double xi = p[2 * i], yi = p[2 * i + 1], xj = p[2 * j], yj = p[2 * j + 1];
        d = std::min(d, distanciaASegmento(px, py, xi, yi, xj, yj));
        if ((yi > py) != (yj > py) && px < (xj - xi) * (py - yi) / (yj - yi) + xi)
            dentro = !dentro;
    }
    return dentro ? -d : d;
}

// Paints a colour over a premultiplied sample.
static void sobre(double c[4], uint32_t color, double a)
{
    for (int k = 0; k < 3; k++)
        c[k] = ((color >> (16 - 8 * k)) & 0xff) / 255.0 * a + c[k] * (1 - a);
    c[3] = a + c[3] * (1 - a);
}

// The icon at lado x lado pixels, 0xAARRGGBB, from 4 x 4 samples a pixel.
static std::vector<uint32_t> pixeles(const Icono& ic, int lado)
{
    const int kMuestras = 4;
    std::vector<uint32_t> out;
    for (int y = 0; y < lado; y++)
        for (int x = 0; x < lado; x++) {
            double suma[4] = {0, 0, 0, 0};
            for (int sy = 0; sy < kMuestras; sy++)
                for (int sx = 0; sx < kMuestras; sx++) {
                    const double px = (x + (sx + 0.5) / kMuestras) * 128.0 / lado;
                    const double py = (y + (sy + 0.5) / kMuestras) * 128.0 / lado;
                    double c[4] = {0, 0, 0, 0};
                    for (const Forma& f : ic.formas) {
                        const double d = distancia(f, px, py);
                        if (d < 0)
                            sobre(c, f.relleno, f.opacidad);
                        if (f.anchoTrazo > 0 && std::fabs(d) <= f.anchoTrazo / 2)
                            sobre(c, f.trazo, f.opacidad);
                    }
                    for (int k = 0; k < 4; k++)
                        suma[k] += c[k] / (kMuestras * kMuestras);
                }
            // _NET_WM_ICON's colours are not premultiplied
            uint32_t v = (uint32_t)std::lround(suma[3] * 255) << 24;
            for (int k = 0; k < 3; k++)
                v |= (uint32_t)std::lround(suma[3] > 0 ? std::min(1.0, suma[k] / suma[3]) * 255 : 0) << (16 - 8 * k);
            out.push_back(v);
        }
    return out;
}

static std::string cabecera(const Icono& ic)
{
    std::string s = "// Written by zk-icons: " + ic.titulo +
                    "'s window icon at 16, 32, 48 and 64 pixels, laid out as\n"
                    "// _NET_WM_ICON holds it (width, height, then 0xAARRGGBB pixels row by row).\n"
                    "#pragma once\n\n#include <cstdint>\n\nstatic const uint32_t kIconoVentana[] = {\n";
    char buf[32];
    for (int lado : {16, 32, 48, 64}) {
        snprintf(buf, sizeof buf, "    %d, %d,", lado, lado);
        s += buf;
        const std::vector<uint32_t> px = pixeles(ic, lado);
        for (size_t i = 0; i < px.size(); i++) {
            snprintf(buf, sizeof buf, "%s0x%08x,", i % 8 == 0 ? "\n    " : " ", px[i]);
            s += buf;
        }
        s += "\n";
    }
    return s + "};\n";
}

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

int main(int argc, char** argv)
{
    if (argc != 2) {
        fprintf(stderr, "usage: zk-icons OUTDIR\n");
        return 2;
    }
    const std::string dir = argv[1];
    bool ok = true;
    for (const auto& [nombre, icono] : {std::make_pair("space-zarkons-3d", spaceZarkons()),
                                        std::make_pair("tie-zarkons", tieZarkons())}) {
        ok = writeFile(dir + "/" + nombre + ".svg", svg(icono)) && ok;
        ok = writeFile(dir + "/" + nombre + "-icon.h", cabecera(icono)) && ok;
    }
    return ok ? 0 : 1;
}
