// Mesh building: parts, surfaces, lofts and rings.
#include "mesh.h"

#include <algorithm>
#include <cassert>

namespace artgen {

static const double kPi = 3.141592653589793;

int Part::addVertex(Vec3 p)
{
    vertices.push_back(p);
    return (int)vertices.size() - 1;
}

void Part::addPolygon(int flags, int material, const std::vector<int>& vs)
{
    std::vector<Vec2> uvs;
    for (int v : vs)
        uvs.push_back(uv ? uv(vertices[v]) : Vec2{0, 0});
    addPolygonUv(flags, material, vs, uvs);
}

void Part::addPolygonUv(int flags, int material, const std::vector<int>& vs,
                        const std::vector<Vec2>& uvs)
{
    assert(vs.size() >= 3 && vs.size() == uvs.size());
    Surface s{flags, material, {}};
    for (size_t i = 0; i < vs.size(); i++) {
        assert(vs[i] >= 0 && vs[i] < (int)vertices.size());
        s.refs.push_back({vs[i], uvs[i]});
    }
    surfaces.push_back(s);
}

int Model::addMaterial(const Material& m)
{
    materials.push_back(m);
    return (int)materials.size() - 1;
}

Part& Model::addPart(const std::string& name)
{
    parts.push_back(Part());
    parts.back().name = name;
    return parts.back();
}

static Vec3 centroid(const Ring& r)
{
    Vec3 c;
    for (const Vec3& p : r)
        c = c + p;
    return c * (1.0 / (double)r.size());
}

// Rings given clockwise would turn every band inward; the loft checks which
// way its bands face and flips them all if needed, so callers can't get it wrong.
static bool bandsFaceInward(const std::vector<Ring>& rings)
{
    double sum = 0;
    for (size_t i = 0; i + 1 < rings.size(); i++) {
        const Ring& a = rings[i];
        const Ring& b = rings[i + 1];
        Vec3 axisPoint = (centroid(a) + centroid(b)) * 0.5;
        size_t n = a.size();
        for (size_t j = 0; j < n; j++) {
            size_t k = (j + 1) % n;
            Vec3 normal = cross(a[k] - a[j], b[k] - a[j]) + cross(b[k] - a[j], b[j] - a[j]);
            Vec3 mid = (a[j] + a[k] + b[j] + b[k]) * 0.25;
            sum += dot(normal, mid - axisPoint);
        }
    }
    return sum < 0;
}

static Vec2 wrapUv(const LoftOptions& o, double u, double v)
{
    return {o.uvOrigin.u + u * o.uvSize.u, o.uvOrigin.v + v * o.uvSize.v};
}

static bool isTip(const Ring& r)
{
    for (const Vec3& p : r)
        if (p.x != r[0].x || p.y != r[0].y || p.z != r[0].z)
            return false;
    return true;
}

// True when the quad's fourth corner lies in the plane of the first three and
// the outline turns the same way at every corner.
static bool isFlat(const Part& part, const std::vector<int>& q)
{
    Vec3 p[4];
    for (int i = 0; i < 4; i++)
        p[i] = part.vertices[(size_t)q[(size_t)i]];
    Vec3 n = normalized(cross(p[1] - p[0], p[2] - p[0]));
    if (std::fabs(dot(p[3] - p[0], n)) > 2e-4)
        return false;
    for (int i = 0; i < 4; i++) {
        Vec3 turn = cross(p[(i + 1) % 4] - p[i], p[(i + 2) % 4] - p[(i + 1) % 4]);
        if (dot(turn, n) <= 0)
            return false;
    }
    return true;
}

static void addCap(Part& part, const Ring& ring, bool atEnd, bool inward, const LoftOptions& o)
{
    std::vector<int> ids;
    for (const Vec3& p : ring)
        ids.push_back(part.addVertex(p));
    // the cap runs along its ring opposite to the band next to it, so the
    // closed surface stays consistently wound
    if (atEnd == inward)
        std::reverse(ids.begin(), ids.end());
    int mat = o.capMaterial >= 0 ? o.capMaterial : o.material;
    part.addPolygon(o.capFlags, mat, ids);
}

void loft(Part& part, const std::vector<Ring>& rings, const LoftOptions& o)
{
    assert(rings.size() >= 2);
    const size_t n = rings[0].size();
    for ([[maybe_unused]] const Ring& r : rings)
        assert(r.size() == n && n >= 3);
    assert(!o.wrapUv || o.vOf);
    bool inward = bandsFaceInward(rings);

    std::vector<std::vector<int>> ids(rings.size());
    for (size_t i = 0; i < rings.size(); i++) {
        if (isTip(rings[i])) {
            ids[i].assign(n, part.addVertex(rings[i][0]));
            continue;
        }
        for (const Vec3& p : rings[i])
            ids[i].push_back(part.addVertex(p));
    }

    for (size_t i = 0; i + 1 < rings.size(); i++) {
        bool tipA = isTip(rings[i]), tipB = isTip(rings[i + 1]);
        assert(!(tipA && tipB));
        for (size_t j = 0; j < n; j++) {
            size_t k = (j + 1) % n;
            double u0 = (double)j / (double)n, u1 = (double)(j + 1) / (double)n;
            double um = (u0 + u1) * 0.5;
            double v0 = o.wrapUv ? o.vOf((int)i) : 0, v1 = o.wrapUv ? o.vOf((int)i + 1) : 0;
            std::vector<int> poly;
            std::vector<Vec2> uvs;
            if (tipA) {
                poly = std::vector<int>{ids[i][j], ids[i + 1][k], ids[i + 1][j]};
                uvs = {wrapUv(o, um, v0), wrapUv(o, u1, v1), wrapUv(o, u0, v1)};
            } else if (tipB) {
                poly = std::vector<int>{ids[i][j], ids[i][k], ids[i + 1][k]};
                uvs = {wrapUv(o, u0, v0), wrapUv(o, u1, v0), wrapUv(o, um, v1)};
            } else {
                poly = std::vector<int>{ids[i][j], ids[i][k], ids[i + 1][k], ids[i + 1][j]};
                uvs = {wrapUv(o, u0, v0), wrapUv(o, u1, v0), wrapUv(o, u1, v1),
                       wrapUv(o, u0, v1)};
            }
            if (inward) {
                std::reverse(poly.begin(), poly.end());
                std::reverse(uvs.begin(), uvs.end());
            }
            // GL_POLYGON wants flat polygons: a twisted quad goes as two triangles
            std::vector<std::vector<size_t>> pieces = {{0, 1, 2, 3}};
            if (poly.size() == 4 && !isFlat(part, poly))
                pieces = {{0, 1, 2}, {0, 2, 3}};
            else if (poly.size() == 3)
                pieces = {{0, 1, 2}};
            for (const auto& piece : pieces) {
                std::vector<int> ids;
                std::vector<Vec2> uv;
                for (size_t q : piece) {
                    ids.push_back(poly[q]);
                    uv.push_back(uvs[q]);
                }
                if (o.wrapUv)
                    part.addPolygonUv(o.flags, o.material, ids, uv);
                else
                    part.addPolygon(o.flags, o.material, ids);
            }
        }
    }
    if (o.closeStart && !isTip(rings.front()))
        addCap(part, rings.front(), false, inward, o);
    if (o.closeEnd && !isTip(rings.back()))
        addCap(part, rings.back(), true, inward, o);
}

Ring ellipseRing(Vec3 centre, Vec3 tangent, Vec3 up, double rx, double ry, int n, double power)
{
    assert(n >= 3);
    Vec3 t = normalized(tangent);
    Vec3 side = normalized(cross(up, t));
    Vec3 u = cross(t, side);
    Ring r;
    for (int j = 0; j < n; j++) {
        double a = kPi / 2 + 2 * kPi * j / n;
        double c = std::cos(a), s = std::sin(a);
        double e = 2.0 / power;
        double x = rx * (c < 0 ? -1 : 1) * std::pow(std::fabs(c), e);
        double y = ry * (s < 0 ? -1 : 1) * std::pow(std::fabs(s), e);
        r.push_back(centre + side * x + u * y);
    }
    return r;
}

Ring ellipseRingZ(Vec3 centre, double rx, double ry, int n, double power)
{
    return ellipseRing(centre, {0, 0, 1}, {0, 1, 0}, rx, ry, n, power);
}

} // namespace artgen
