// The models: the player's fighter, the Zarkon raider, the missile and the RAW
// ship. Model units are world units; every nose points toward +z.
#include "art.h"

#include <algorithm>
#include <cassert>
#include <cmath>

namespace artgen {

const char* const kHullTexture = "data/hull.rgb";
const char* const kZarkonTexture = "data/zarkon.rgb";

static const double kPi = 3.141592653589793;

struct Colour {
    float r, g, b;
};

static Material material(const char* name, Colour diffuse, float ambient, Colour specular,
                         float shininess, Colour emissive = {0, 0, 0})
{
    Material m;
    m.name = name;
    const Colour* src[] = {&diffuse, &specular, &emissive};
    float* dst[] = {m.diffuse, m.specular, m.emissive};
    for (int i = 0; i < 3; i++) {
        dst[i][0] = src[i]->r;
        dst[i][1] = src[i]->g;
        dst[i][2] = src[i]->b;
    }
    m.ambient[0] = diffuse.r * ambient;
    m.ambient[1] = diffuse.g * ambient;
    m.ambient[2] = diffuse.b * ambient;
    m.shininess = shininess;
    m.transparency = 0;
    return m;
}

// A cross-section station of a body lofted along z.
struct Station {
    double z, rx, ry, yc;
};

static std::vector<Ring> stationRings(const std::vector<Station>& st, double x, int n, double power)
{
    std::vector<Ring> rings;
    for (const Station& s : st)
        rings.push_back(ellipseRingZ({x, s.yc, s.z}, s.rx, s.ry, n, power));
    return rings;
}

// Rings along a path, each normal to the path, with its own half-width (across)
// and half-height (along `up`); the last point of the path is the tip.
static std::vector<Ring> pathRings(const std::vector<Vec3>& path, const std::vector<double>& w,
                                   const std::vector<double>& h, Vec3 up, int n, double power)
{
    assert(path.size() == w.size() + 1 && w.size() == h.size());
    std::vector<Ring> rings;
    for (size_t i = 0; i < w.size(); i++) {
        Vec3 a = path[i == 0 ? 0 : i - 1], b = path[i + 1];
        rings.push_back(ellipseRing(path[i], b - a, up, w[i], h[i], n, power));
    }
    rings.push_back(tipRing(path.back(), n));
    return rings;
}

// A thin wing or fin lofted from root to tip through diamond sections: leading
// edge, upper ridge, trailing edge, lower ridge. `lift` is the way "upper" faces.
struct Section {
    Vec3 leading;    // leading-edge point
    double trailing; // trailing edge z (the edge runs along z)
    double thick;
};

static Ring diamond(const Section& s, Vec3 lift)
{
    Vec3 te = {s.leading.x, s.leading.y, s.trailing};
    Vec3 mid = lerp(s.leading, te, 0.4);
    return {s.leading, mid + lift * (s.thick / 2), te, mid - lift * (s.thick / 2)};
}

static void addWing(Part& part, const std::vector<Section>& sections, Vec3 lift, int material,
                    int flags = 0)
{
    std::vector<Ring> rings;
    for (const Section& s : sections)
        rings.push_back(diamond(s, lift));
    LoftOptions o;
    o.flags = flags;
    o.material = material;
    o.closeEnd = true;
    o.capFlags = flags;
    loft(part, rings, o);
}

// ---------------------------------------------------------------- player ship

// The fuselage, tail to nose; the nose tip is at z = 7.
// One width-to-height ratio throughout keeps every band a flat quad, drawn as
// one polygon rather than two triangles.
static const std::vector<Station> kFuselage = {
    {-6.3, 1.29, 0.86, 0.0},  {-4.4, 1.44, 0.96, 0.0}, {-1.5, 1.44, 0.96, 0.0},
    {1.5, 1.26, 0.84, 0.02},  {3.8, 0.96, 0.64, 0.01}, {5.6, 0.54, 0.36, -0.02},
    {6.4, 0.27, 0.18, -0.05}};
static const Vec3 kNoseTip = {0, -0.05, 7.0};

// Top of the fuselage at z, for seating the canopy on it.
static double fuselageTop(double z)
{
    for (size_t i = 0; i + 1 < kFuselage.size(); i++) {
        const Station &a = kFuselage[i], &b = kFuselage[i + 1];
        if (z >= a.z && z <= b.z) {
            double t = (z - a.z) / (b.z - a.z);
            return (a.yc + a.ry) + ((b.yc + b.ry) - (a.yc + a.ry)) * t;
        }
    }
    return kFuselage.back().yc + kFuselage.back().ry;
}

Model playerShip()
{
    Model m;
    int hull = m.addMaterial(material("hull", {0.86f, 0.87f, 0.90f}, 0.45f, {0.9f, 0.9f, 0.95f}, 48));
    int accent = m.addMaterial(material("accent", {0.16f, 0.34f, 0.86f}, 0.45f, {0.8f, 0.85f, 1.0f}, 64));
    int glass = m.addMaterial(material("canopy", {0.06f, 0.10f, 0.22f}, 1.0f, {1.0f, 1.0f, 1.0f}, 110,
                                       {0.02f, 0.05f, 0.10f}));
    int metal = m.addMaterial(material("gunmetal", {0.32f, 0.33f, 0.36f}, 0.5f, {0.9f, 0.9f, 0.9f}, 80));
    int podMetal = m.addMaterial(material("pod", {0.58f, 0.60f, 0.66f}, 0.45f, {1.0f, 1.0f, 1.0f}, 90));
    int glow = m.addMaterial(material("thruster", {0.4f, 0.75f, 1.0f}, 0.0f, {0, 0, 0}, 0,
                                      {0.55f, 0.85f, 1.0f}));

    // Fuselage and wings share one object, so the game reads the texture once.
    // The fuselage is wrapped in the left half of the hull texture; the wings
    // take the right half, seen from above.
    Part& body = m.addPart("hull");
    body.texture = kHullTexture;
    body.uv = [](Vec3 p) {
        double s = std::clamp((std::fabs(p.x) - 1) / 5, 0.0, 1.0);
        return Vec2{0.508 + 0.484 * s, (p.z + 7) / 14};
    };
    {
        std::vector<Ring> rings = stationRings(kFuselage, 0, 12, 2.5);
        rings.push_back(tipRing(kNoseTip, 12));
        std::vector<double> v;
        for (const Station& s : kFuselage)
            v.push_back((s.z + 7) / 14);
        v.push_back(1.0);
        LoftOptions o;
        o.material = hull;
        o.closeStart = true; // the engine plate
        o.capMaterial = metal;
        o.wrapUv = true;
        o.uvOrigin = {0.008, 0};
        o.uvSize = {0.484, 1};
        o.vOf = [v](int i) { return v[(size_t)i]; };
        loft(body, rings, o);
    }

    // Wings: swept, thin, with a little dihedral.
    for (int side : {1, -1}) {
        addWing(body,
                {{{side * 1.0, -0.30, 2.4}, -5.6, 0.34}, {{side * 6.0, -0.05, -2.6}, -5.0, 0.10}},
                {0, 1, 0}, hull);
    }

    Part& canopy = m.addPart("canopy");
    {
        std::vector<Station> st = {{1.4, 0.36, 0.28125, 0}, {2.6, 0.60, 0.46875, 0},
                                   {3.8, 0.44, 0.34375, 0}};
        for (Station& s : st)
            s.yc = fuselageTop(s.z) - 0.15;
        std::vector<Ring> rings = stationRings(st, 0, 10, 2.0);
        rings.insert(rings.begin(), tipRing({0, fuselageTop(0.9) - 0.2, 0.9}, 10));
        rings.push_back(tipRing({0, fuselageTop(4.7) - 0.15, 4.7}, 10));
        LoftOptions o;
        o.material = glass;
        loft(canopy, rings, o);
    }

    // Gun pods on the wings at x = +-4, where the shots leave, and the fins.
    Part& guns = m.addPart("guns");
    for (int side : {1, -1}) {
        double x = side * 4.0, y = -0.15;
        std::vector<Station> pod = {{-3.6, 0.2, 0.2, y}, {-3.0, 0.3, 0.3, y}, {0.8, 0.3, 0.3, y},
                                    {1.75, 0.14, 0.14, y}};
        std::vector<Ring> rings = stationRings(pod, x, 8, 2.0);
        rings.insert(rings.begin(), tipRing({x, y, -3.9}, 8));
        LoftOptions o;
        o.material = podMetal;
        o.closeEnd = true;
        loft(guns, rings, o);

        std::vector<Station> barrel = {{1.6, 0.08, 0.08, y}, {3.6, 0.08, 0.08, y},
                                       {3.62, 0.12, 0.12, y}, {3.95, 0.12, 0.12, y}};
        LoftOptions b;
        b.material = metal;
        b.closeEnd = true;
        loft(guns, stationRings(barrel, x, 6, 2.0), b);
    }
    for (int side : {1, -1}) {
        // tail fins canted outward above, smaller ones below: an X seen from
        // behind, filling the collision box's height
        addWing(guns,
                {{{side * 0.85, 0.55, -2.4}, -6.1, 0.16}, {{side * 1.5, 2.9, -5.3}, -6.5, 0.06}},
                {(double)side, 0, 0}, accent);
        addWing(guns,
                {{{side * 0.8, -0.5, -3.4}, -6.0, 0.14}, {{side * 1.45, -2.75, -5.4}, -6.4, 0.05}},
                {(double)side, 0, 0}, accent);
    }

    // Twin thrusters: a nozzle ring round a glowing core.
    Part& engines = m.addPart("engines");
    for (int side : {1, -1}) {
        double x = side * 0.68, y = -0.08;
        std::vector<Ring> rings = {ellipseRingZ({x, y, -5.9}, 0.48, 0.48, 10),
                                   ellipseRingZ({x, y, -6.95}, 0.54, 0.54, 10),
                                   ellipseRingZ({x, y, -6.95}, 0.38, 0.38, 10),
                                   ellipseRingZ({x, y, -6.7}, 0.38, 0.38, 10)};
        LoftOptions o;
        o.material = metal;
        o.closeEnd = true;
        o.capMaterial = glow;
        loft(engines, rings, o);
    }
    return m;
}

// ------------------------------------------------------------------ the enemy

Model enemyShip()
{
    Model m;
    int carapace = m.addMaterial(material("carapace", {0.78f, 0.20f, 0.22f}, 0.45f, {1.0f, 0.75f, 0.65f},
                                          40, {0.10f, 0.02f, 0.02f}));
    int talon = m.addMaterial(material("talon", {0.62f, 0.46f, 0.74f}, 0.6f, {1.0f, 0.9f, 1.0f}, 96));
    int eye = m.addMaterial(material("eye", {1.0f, 0.45f, 0.10f}, 0.3f, {1.0f, 1.0f, 0.8f}, 100,
                                     {1.0f, 0.30f, 0.05f}));
    int metal = m.addMaterial(material("gunmetal", {0.30f, 0.28f, 0.32f}, 0.5f, {0.9f, 0.9f, 0.9f}, 80));

    Part& body = m.addPart("body");
    body.texture = kZarkonTexture;
    {
        // one width-to-height ratio (1.16), so the bands stay flat quads
        std::vector<Station> st = {{-2.6, 0.58, 0.50, 0.05}, {-1.6, 1.334, 1.15, 0.01},
                                   {-0.1, 1.566, 1.35, 0.0}, {1.5, 1.276, 1.10, 0.0},
                                   {2.35, 0.638, 0.55, 0.0}};
        std::vector<Ring> rings = stationRings(st, 0, 12, 2.1);
        rings.insert(rings.begin(), tipRing({0, 0.05, -2.95}, 12));
        rings.push_back(tipRing({0, 0, 2.62}, 12));
        std::vector<double> v = {-2.95};
        for (const Station& s : st)
            v.push_back(s.z);
        v.push_back(2.62);
        LoftOptions o;
        o.material = carapace;
        o.wrapUv = true;
        o.uvSize = {2, 1.5};
        o.vOf = [v](int i) { return (v[(size_t)i] + 3.0) / 6.0; };
        loft(body, rings, o);
    }

    // The glowing eye, set in the front of the body.
    Part& glow = m.addPart("eye");
    {
        const Vec3 c = {0, 0.12, 2.0};
        const double len = 0.62;
        std::vector<Ring> rings;
        rings.push_back(tipRing(c + Vec3{0, 0, -len}, 10));
        for (int i = 1; i < 4; i++) {
            double a = kPi - kPi * i / 4;
            rings.push_back(ellipseRingZ(c + Vec3{0, 0, len * std::cos(a)}, 0.92 * std::sin(a),
                                         0.36 * std::sin(a), 10));
        }
        rings.push_back(tipRing(c + Vec3{0, 0, len}, 10));
        LoftOptions o;
        o.material = eye;
        loft(glow, rings, o);
    }

    // Four talons in an X round the eye, curving forward at the player. They
    // stay a little inside the collision box (x 4, y 2): a shot that visibly
    // touches a talon must count as a hit.
    Part& talons = m.addPart("talons");
    LoftOptions sharp;
    sharp.flags = 0;
    sharp.material = talon;
    const double angle = std::atan2(1.75, 3.5);
    for (int k = 0; k < 4; k++) {
        double sx = (k & 1) ? -1 : 1, sy = (k & 2) ? -1 : 1;
        Vec3 d = {sx * std::cos(angle), sy * std::sin(angle), 0};
        auto at = [&](double r, double z) { return d * r + Vec3{0, 0, z}; };
        Vec3 across = cross(d, {0, 0, 1}); // normal of the talon's plane
        loft(talons,
             pathRings({at(0.9, -1.2), at(2.7, 0.0), at(3.6, 2.0), at(3.15, 3.8)},
                       {0.34, 0.26, 0.16}, {0.7, 0.52, 0.28}, across, 4, 1.3),
             sharp);
    }

    // Twin guns along the flanks.
    for (int side : {1, -1}) {
        const double x = side * 1.42, y = -0.15;
        std::vector<Station> gun = {{-0.6, 0.26, 0.26, y}, {1.6, 0.26, 0.26, y}, {2.05, 0.10, 0.10, y},
                                    {3.5, 0.10, 0.10, y}};
        LoftOptions o;
        o.material = metal;
        o.closeStart = true; // the breech stands out of the body's flank
        o.closeEnd = true;
        loft(talons, stationRings(gun, x, 6, 2.0), o);
    }

    // A thruster at the tail.
    {
        std::vector<Ring> rings = {ellipseRingZ({0, 0.05, -2.4}, 0.5, 0.45, 8),
                                   ellipseRingZ({0, 0.05, -3.3}, 0.62, 0.558, 8),
                                   ellipseRingZ({0, 0.05, -3.3}, 0.45, 0.405, 8)};
        LoftOptions o;
        o.material = metal;
        o.closeEnd = true;
        o.capMaterial = eye;
        loft(talons, rings, o);
    }
    return m;
}

// ---------------------------------------------------------------- the missile

Model missile()
{
    Model m;
    int body = m.addMaterial(material("casing", {0.80f, 0.82f, 0.86f}, 0.45f, {1.0f, 1.0f, 1.0f}, 80));
    int head = m.addMaterial(material("warhead", {1.0f, 0.35f, 0.10f}, 0.3f, {1.0f, 0.9f, 0.7f}, 60,
                                      {0.85f, 0.25f, 0.05f}));
    int fin = m.addMaterial(material("fins", {0.72f, 0.15f, 0.12f}, 0.45f, {0.9f, 0.7f, 0.7f}, 50));
    int flame = m.addMaterial(material("exhaust", {1.0f, 0.9f, 0.55f}, 0.0f, {0, 0, 0}, 0,
                                       {1.0f, 0.85f, 0.45f}));

    Part& p = m.addPart("missile");
    std::vector<Station> casing = {{-1.72, 0.17, 0.17, 0}, {-1.5, 0.2, 0.2, 0}, {0.8, 0.2, 0.2, 0}};
    LoftOptions o;
    o.material = body;
    o.closeStart = true; // round the exhaust, which is narrower
    loft(p, stationRings(casing, 0, 10, 2.0), o);
    o.closeStart = false;

    std::vector<Station> nose = {{0.8, 0.2, 0.2, 0}, {1.25, 0.185, 0.185, 0}, {1.6, 0.14, 0.14, 0},
                                 {1.85, 0.075, 0.075, 0}};
    std::vector<Ring> rings = stationRings(nose, 0, 10, 2.0);
    rings.push_back(tipRing({0, 0, 2.0}, 10));
    o.material = head;
    loft(p, rings, o);

    std::vector<Ring> tail = {tipRing({0, 0, -2.0}, 10), ellipseRingZ({0, 0, -1.72}, 0.15, 0.15, 10)};
    o.material = flame;
    loft(p, tail, o);

    for (int k = 0; k < 4; k++) {
        double a = kPi / 2 * k;
        Vec3 d = {std::cos(a), std::sin(a), 0};
        Vec3 lift = {-d.y, d.x, 0};
        std::vector<Section> s = {{d * 0.16 + Vec3{0, 0, -0.85}, -1.9, 0.06},
                                  {d * 0.5 + Vec3{0, 0, -1.45}, -1.95, 0.03}};
        addWing(p, s, lift, fin);
    }
    return m;
}

// --------------------------------------------------------------- the RAW ship

std::vector<Vec3> rawShip()
{
    // One closed loft whose sections grow wings toward the tail: eight points a
    // section, from the spine round the left wing tip, the keel and the right.
    struct Rib {
        double z, w, h, span, wingY;
    };
    const Rib ribs[] = {{-6.2, 1.0, 0.7, 6.0, -0.1}, {-4.5, 1.3, 0.9, 5.6, -0.15},
                        {-2.5, 1.4, 0.95, 3.6, -0.2}, {-0.5, 1.3, 0.9, 1.9, -0.2},
                        {2.0, 1.0, 0.75, 1.15, -0.15}, {4.5, 0.6, 0.45, 0.65, -0.1},
                        {6.2, 0.25, 0.2, 0.3, -0.05}};
    std::vector<Ring> rings = {tipRing({0, 0, -6.8}, 8)};
    for (const Rib& r : ribs)
        rings.push_back({{0, r.h, r.z},
                         {-r.w * 0.8, r.h * 0.55, r.z},
                         {-r.span, r.wingY, r.z},
                         {-r.w * 0.8, -r.h * 0.6, r.z},
                         {0, -r.h * 0.85, r.z},
                         {r.w * 0.8, -r.h * 0.6, r.z},
                         {r.span, r.wingY, r.z},
                         {r.w * 0.8, r.h * 0.55, r.z}});
    rings.push_back(tipRing({0, -0.05, 7.0}, 8));
    Part part;
    LoftOptions o;
    o.flags = 0;
    loft(part, rings, o);

    std::vector<Vec3> corners;
    for (const Surface& s : part.surfaces)
        for (size_t i = 1; i + 1 < s.refs.size(); i++)
            for (size_t k : {(size_t)0, i, i + 1})
                corners.push_back(part.vertices[(size_t)s.refs[k].vertex]);
    return corners;
}

// ------------------------------------------------------------- the data files

std::vector<ArtFile> allArt()
{
    auto text = [](const std::string& s) { return std::vector<uint8_t>(s.begin(), s.end()); };
    return {
        {"nave1_chico.ac", text(ac3dText(playerShip(), "fighter"))},
        {"nave_open.ac", text(ac3dText(enemyShip(), "zarkon"))},
        {"Misil_chico.ac", text(ac3dText(missile(), "missile"))},
        // the fighter's hull is run-length encoded, the raider's stored plain,
        // so both ways of the SGI reader run in every game
        {"hull.rgb", sgiBytes(hullImage(), true, "fighter hull")},
        {"zarkon.rgb", sgiBytes(zarkonImage(), false, "zarkon plates")},
        {"Stars.tga", tgaBytes(starsImage(), true)},
        {"spark.tga", tgaBytes(sparkImage(), false)},
        {"nave.raw", text(rawText(rawShip()))},
    };
}

} // namespace artgen
