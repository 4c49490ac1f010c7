// The images: hull panels, enemy plates, the star field and the spark.
#include "art.h"
#include "prng.h"

#include <algorithm>
#include <cassert>
#include <cmath>

namespace artgen {

static double clamp01(double v) { return v < 0 ? 0 : (v > 1 ? 1 : v); }

static double smoothstep(double e0, double e1, double x)
{
    double t = clamp01((x - e0) / (e1 - e0));
    return t * t * (3 - 2 * t);
}

static uint8_t byte(double v) { return (uint8_t)std::lround(clamp01(v) * 255.0); }

struct Rgb {
    double r, g, b;
};

static Rgb mix(Rgb a, Rgb b, double t)
{
    return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}

static Rgb rgb255(int r, int g, int b) { return {r / 255.0, g / 255.0, b / 255.0}; }

// A lattice value in [0, 1) for integer coordinates, the same on every run.
static double lattice(uint64_t seed, int64_t ix, int64_t iy)
{
    Prng p(seed ^ ((uint64_t)ix * 0x9E3779B1ull) ^ ((uint64_t)iy * 0x85EBCA77C2B2AE63ull));
    p.next();
    return p.uniform();
}

static double fade(double t) { return t * t * t * (t * (t * 6 - 15) + 10); }

// Smooth value noise in [0, 1); `period` > 0 makes it repeat every period cells.
static double valueNoise(uint64_t seed, double x, double y, int period = 0)
{
    double fx = std::floor(x), fy = std::floor(y);
    int64_t ix = (int64_t)fx, iy = (int64_t)fy;
    double tx = fade(x - fx), ty = fade(y - fy);
    auto at = [&](int64_t a, int64_t b) {
        if (period > 0) {
            a = ((a % period) + period) % period;
            b = ((b % period) + period) % period;
        }
        return lattice(seed, a, b);
    };
    double a = at(ix, iy), b = at(ix + 1, iy), c = at(ix, iy + 1), d = at(ix + 1, iy + 1);
    return (a + (b - a) * tx) + ((c + (d - c) * tx) - (a + (b - a) * tx)) * ty;
}

// Octaves of value noise, each twice as fine and half as strong; about [0, 1).
static double fbm(uint64_t seed, double x, double y, int octaves, int period = 0)
{
    double sum = 0, amp = 0.5, norm = 0;
    for (int o = 0; o < octaves; o++) {
        sum += amp * valueNoise(seed + (uint64_t)o * 7919, x, y, period);
        norm += amp;
        x *= 2;
        y *= 2;
        amp *= 0.5;
        if (period > 0)
            period *= 2;
    }
    return sum / norm;
}

static void put(Image& img, int x, int y, Rgb c)
{
    uint8_t* p = img.at(x, y);
    p[0] = byte(c.r);
    p[1] = byte(c.g);
    p[2] = byte(c.b);
}

// Distance (in texels) from u to the nearest of the given lines, wrapping at 1.
static double lineDistance(double u, const std::vector<double>& lines, int size, bool wrap)
{
    double best = 1e9;
    for (double l : lines) {
        double d = std::fabs(u - l);
        if (wrap)
            d = std::min(d, 1 - d);
        best = std::min(best, d * size);
    }
    return best;
}

// How much of a one-texel panel line covers a texel at this distance.
static double lineCover(double texels) { return 1 - smoothstep(0.3, 1.0, texels); }

Image hullImage()
{
    // Left half: the fuselage, wrapped around it (u from the spine over the
    // left side, the belly and the right side), v from tail to nose.
    // Right half: the wings seen from above, u from root (|x| = 1) to tip
    // (|x| = 6), v from tail to nose. A gutter keeps the halves from bleeding.
    const int size = 256;
    Image img(size, size, 3);
    const Rgb white = rgb255(238, 240, 244), belly = rgb255(196, 200, 208);
    const Rgb panel = rgb255(120, 126, 138), blue = rgb255(28, 78, 200);
    const Rgb red = rgb255(196, 36, 40), dark = rgb255(52, 56, 66);
    for (int py = 0; py < size; py++) {
        for (int px = 0; px < size; px++) {
            double u = (px + 0.5) / size, v = (py + 0.5) / size;
            // weathering in a few flat steps: invisible banding, long runs for RLE
            double grime = 1 - 0.025 * std::floor(fbm(11, u * 10, v * 10, 4) * 4);
            Rgb c;
            if (u < 0.5) {
                double a = std::clamp((u - 0.008) / 0.484, 0.0, 1.0);
                double side = std::min(a, 1 - a); // 0 on the spine, 0.5 on the belly
                c = mix(white, belly, smoothstep(0.3, 0.42, side));
                double rings = lineDistance(v, {(-5.2 + 7) / 14, (-3.6 + 7) / 14, (-1.8 + 7) / 14,
                                         (1.5 + 7) / 14, (4.3 + 7) / 14},
                                     size, false);
                double seams = lineDistance(a, {0.125, 0.375, 0.625, 0.875}, 121, true);
                c = mix(c, panel, 0.7 * std::max(lineCover(rings), lineCover(seams)));
                // twin racing stripes down the spine
                if (side > 0.028 && side < 0.052 && v > 0.06 && v < 0.8)
                    c = blue;
                // the squadron band behind the nose, and the dark nose cone
                if (v > 0.855 && v < 0.885)
                    c = red;
                if (v > 0.935)
                    c = mix(c, dark, 0.8);
                // cooling grilles on the flanks by the engines
                double flank = std::fabs(side - 0.25);
                if (flank < 0.06 && v > 0.08 && v < 0.22 && (py / 2) % 2 == 0)
                    c = dark;
            } else {
                double s = std::clamp((u - 0.508) / 0.484, 0.0, 1.0);
                c = white;
                double spans = lineDistance(s, {0.28, 0.56}, 121, false);
                double chords = lineDistance(v, {3.0 / 14, 5.5 / 14}, size, false);
                c = mix(c, panel, 0.7 * std::max(lineCover(spans), lineCover(chords)));
                if (s > 0.76 && s < 0.88)
                    c = blue;
                if (s > 0.9 && s < 0.93)
                    c = red;
                // a dark walkway by the root
                if (s < 0.12)
                    c = mix(c, dark, 0.35);
            }
            c = {c.r * grime, c.g * grime, c.b * grime};
            put(img, px, py, c);
        }
    }
    return img;
}

// Plates of an alien hull: cells round jittered points, the seams between them
// glowing; repeats in both directions so it wraps round the body seamlessly.
Image zarkonImage()
{
    const int size = 128, cells = 6;
    Image img(size, size, 3);
    const Rgb seam = rgb255(255, 150, 60);
    for (int py = 0; py < size; py++) {
        for (int px = 0; px < size; px++) {
            double x = (px + 0.5) / size * cells, y = (py + 0.5) / size * cells;
            int cx = (int)std::floor(x), cy = (int)std::floor(y);
            double f1 = 1e9, f2 = 1e9;
            int owner = 0;
            for (int dy = -1; dy <= 1; dy++)
                for (int dx = -1; dx <= 1; dx++) {
                    int gx = cx + dx, gy = cy + dy;
                    int wx = ((gx % cells) + cells) % cells, wy = ((gy % cells) + cells) % cells;
                    double fx = gx + 0.15 + 0.7 * lattice(21, wx, wy);
                    double fy = gy + 0.15 + 0.7 * lattice(22, wx, wy);
                    double d = std::hypot(x - fx, y - fy);
                    if (d < f1) {
                        f2 = f1;
                        f1 = d;
                        owner = wy * cells + wx;
                    } else if (d < f2) {
                        f2 = d;
                    }
                }
            double shade = 0.62 + 0.3 * lattice(23, owner, 0);
            double grain = 0.9 + 0.1 * fbm(24, x * 3, y * 3, 3, cells * 3);
            Rgb plate = {shade * grain, shade * grain * 0.93, shade * grain * 0.95};
            double edge = (f2 - f1) * size / cells; // texels from the seam, roughly
            double glow = 1 - smoothstep(0.6, 2.2, edge);
            put(img, px, py, mix(plate, seam, glow));
        }
    }
    return img;
}

// Star colours from hot to cool; most stars are near white.
static Rgb starColour(double t)
{
    static const Rgb table[] = {rgb255(170, 190, 255), rgb255(210, 222, 255),
                                rgb255(255, 255, 255), rgb255(255, 244, 218),
                                rgb255(255, 222, 170), rgb255(255, 184, 130)};
    double f = t * 5;
    int i = std::min(4, (int)f);
    return mix(table[i], table[i + 1], f - i);
}

Image starsImage()
{
    // Every face of the skybox shows this one image in a different turn, so
    // toward every edge the nebula settles to its own average glow: the faces
    // then meet without a seam, and without a dark frame round each face.
    const int size = 1024;
    std::vector<Rgb> sky((size_t)size * size);
    const Rgb base = rgb255(2, 3, 9);
    const Rgb violet = rgb255(70, 38, 140), rose = rgb255(150, 40, 105), teal = rgb255(24, 96, 128);
    Rgb mean = {0, 0, 0};
    for (int py = 0; py < size; py++)
        for (int px = 0; px < size; px++) {
            double u = (px + 0.5) / size, v = (py + 0.5) / size;
            double cloud = smoothstep(0.5, 0.8, fbm(31, u * 3, v * 3, 6));
            double lanes = smoothstep(0.5, 0.8, fbm(32, u * 7 + 3, v * 7, 5));
            double hue = fbm(33, u * 2.5, v * 2.5, 3);
            Rgb neb = mix(violet, hue > 0.5 ? rose : teal, smoothstep(0.3, 0.7, std::fabs(hue - 0.5) * 2 + 0.3));
            double d = 0.7 * cloud * (1 - 0.75 * lanes);
            Rgb c = {neb.r * d, neb.g * d, neb.b * d};
            sky[(size_t)py * size + px] = c;
            mean = {mean.r + c.r, mean.g + c.g, mean.b + c.b};
        }
    const double n = (double)size * size;
    mean = {mean.r / n, mean.g / n, mean.b / n};
    auto window = [](double t) { return smoothstep(0.0, 0.25, t) * smoothstep(0.0, 0.25, 1 - t); };
    for (int py = 0; py < size; py++)
        for (int px = 0; px < size; px++) {
            double w = window((px + 0.5) / size) * window((py + 0.5) / size);
            Rgb& c = sky[(size_t)py * size + px];
            Rgb neb = mix(mean, c, w);
            c = {base.r + neb.r, base.g + neb.g, base.b + neb.b};
        }

    Prng rng(0x5EED57A25ull);
    auto splat = [&](double cx, double cy, double sigma, double peak, Rgb col) {
        int r = (int)std::ceil(sigma * 3.5);
        for (int y = (int)std::floor(cy) - r; y <= (int)std::floor(cy) + r; y++)
            for (int x = (int)std::floor(cx) - r; x <= (int)std::floor(cx) + r; x++) {
                if (x < 0 || y < 0 || x >= size || y >= size)
                    continue;
                double dx = x + 0.5 - cx, dy = y + 0.5 - cy;
                double a = peak * std::exp(-(dx * dx + dy * dy) / (2 * sigma * sigma));
                Rgb& p = sky[(size_t)y * size + x];
                p = {p.r + col.r * a, p.g + col.g * a, p.b + col.b * a};
            }
    };
    auto spike = [&](double cx, double cy, double len, double peak, Rgb col) {
        // thin cross-shaped glints on the brightest stars
        for (int i = -(int)len; i <= (int)len; i++) {
            double a = peak * std::pow(1 - std::fabs((double)i) / (len + 1), 2.2);
            for (int k = -1; k <= 1; k++) {
                double f = k == 0 ? 1.0 : 0.25;
                int hx = (int)std::floor(cx) + i, hy = (int)std::floor(cy) + k;
                int vx = (int)std::floor(cx) + k, vy = (int)std::floor(cy) + i;
                Rgb& h = sky[(size_t)hy * size + hx];
                h = {h.r + col.r * a * f, h.g + col.g * a * f, h.b + col.b * a * f};
                Rgb& vv = sky[(size_t)vy * size + vx];
                vv = {vv.r + col.r * a * f, vv.g + col.g * a * f, vv.b + col.b * a * f};
            }
        }
    };
    // a dust of faint stars, then brighter ones, then a few with halos and glints
    for (int i = 0; i < 5200; i++) {
        double x = rng.range(3, size - 3), y = rng.range(3, size - 3);
        // one draw a statement: the order of arguments is up to the compiler
        double b = std::pow(rng.uniform(), 2.6);
        double sigma = 0.6 + 0.15 * rng.uniform();
        Rgb col = starColour(rng.uniform());
        splat(x, y, sigma, 0.25 + 0.75 * b, col);
    }
    for (int i = 0; i < 420; i++) {
        double x = rng.range(6, size - 6), y = rng.range(6, size - 6);
        double sigma = 0.85 + 0.3 * rng.uniform();
        double peak = 0.8 + 0.6 * rng.uniform();
        Rgb col = starColour(rng.uniform());
        splat(x, y, sigma, peak, col);
    }
    for (int i = 0; i < 36; i++) {
        double x = rng.range(40, size - 40), y = rng.range(40, size - 40);
        Rgb col = starColour(rng.uniform());
        double len = rng.range(7, 18);
        splat(x, y, 4.5, 0.12, col);
        splat(x, y, 1.4, 1.4, col);
        if (i % 3 == 0)
            spike(x, y, len, 0.55, col);
    }

    Image img(size, size, 3);
    for (int py = 0; py < size; py++)
        for (int px = 0; px < size; px++)
            put(img, px, py, sky[(size_t)py * size + px]);
    return img;
}

Image sparkImage()
{
    // White, so the particle's own colour shows; the alpha does the glowing: a
    // full core over much of the square, so a small far spark still reads as a
    // light, a soft halo, and nothing at all at the square's edge.
    const int size = 64;
    Image img(size, size, 4);
    for (int py = 0; py < size; py++)
        for (int px = 0; px < size; px++) {
            double dx = (px + 0.5) / size * 2 - 1, dy = (py + 0.5) / size * 2 - 1;
            double r = std::sqrt(dx * dx + dy * dy);
            double a = 0;
            if (r < 1) {
                double edge = (1 - r * r) * (1 - r * r);
                a = std::min(1.0, 1.5 * std::exp(-std::pow(r / 0.4, 2.2)) + 0.25 * (1 - r)) * edge;
            }
            uint8_t* p = img.at(px, py);
            p[0] = p[1] = p[2] = 255;
            p[3] = byte(a);
        }
    return img;
}

} // namespace artgen
