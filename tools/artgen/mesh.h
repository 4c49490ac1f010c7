// Meshes as the art generator builds them: parts (one AC3D object each) made of
// their own vertices and surfaces, and the materials the surfaces name.
#pragma once

#include <cmath>
#include <functional>
#include <string>
#include <vector>

namespace artgen {

struct Vec3 {
    double x = 0, y = 0, z = 0;
};

inline Vec3 operator+(Vec3 a, Vec3 b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }
inline Vec3 operator-(Vec3 a, Vec3 b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
inline Vec3 operator*(Vec3 a, double s) { return {a.x * s, a.y * s, a.z * s}; }
inline Vec3 operator*(double s, Vec3 a) { return a * s; }
inline double dot(Vec3 a, Vec3 b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
inline Vec3 cross(Vec3 a, Vec3 b)
{
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}
inline double length(Vec3 a) { return std::sqrt(dot(a, a)); }
inline Vec3 normalized(Vec3 a)
{
    double l = length(a);
    return l > 0 ? a * (1.0 / l) : a;
}
inline Vec3 lerp(Vec3 a, Vec3 b, double t) { return a + (b - a) * t; }

struct Vec2 {
    double u = 0, v = 0;
};

// Surface flags as the model reader takes them.
constexpr int kSmooth = 0x10;
constexpr int kTwoSided = 0x20;

struct Material {
    std::string name;
    float diffuse[3];
    float ambient[3];
    float emissive[3];
    float specular[3];
    float shininess; // 0..128, as OpenGL takes it
    float transparency;
};

struct Ref {
    int vertex;
    Vec2 uv;
};

struct Surface {
    int flags;
    int material; // index into the model's own materials
    std::vector<Ref> refs;
};

using UvMap = std::function<Vec2(Vec3)>;

// One AC3D object. The reader averages vertex normals over the surfaces of one
// object only, so a part that must keep a hard edge gets vertices of its own.
struct Part {
    std::string name;
    std::string texture; // image file as the game opens it; empty: none
    std::vector<Vec3> vertices;
    std::vector<Surface> surfaces;
    UvMap uv; // texture coordinates of a point, for textured parts

    int addVertex(Vec3 p);
    // A polygon over existing vertices, counter-clockwise seen from outside;
    // texture coordinates come from `uv` when the part has one.
    void addPolygon(int flags, int material, const std::vector<int>& vertices);
    void addPolygonUv(int flags, int material, const std::vector<int>& vertices,
                      const std::vector<Vec2>& uvs);
};

struct Model {
    std::vector<Material> materials;
    std::vector<Part> parts;

    int addMaterial(const Material& m);
    // The part stays where it is only until the next addPart.
    Part& addPart(const std::string& name);
};

// A ring of points around a loft's axis; every ring of one loft starts at the
// same side and runs the same way round.
using Ring = std::vector<Vec3>;

// Bands of quads between consecutive rings (all of one size), turned to face
// away from the axis whichever way the rings run; a twisted quad goes as two
// triangles. A ring whose points all coincide (tipRing) is a tip: its bands
// become triangles meeting in one vertex. `closeStart`/`closeEnd` cap a non-tip end with a flat convex
// polygon of its own vertices. With `wrapUv` the texture coordinates run
// u = around the ring (0..1, seam-aware) and v = vOf(ring index), scaled into
// [uvOrigin, uvOrigin + uvSize]; otherwise they come from the part's map.
struct LoftOptions {
    int flags = kSmooth;
    int material = 0;
    bool closeStart = false;
    bool closeEnd = false;
    int capMaterial = -1; // -1: same as the bands
    int capFlags = 0;
    bool wrapUv = false;
    Vec2 uvOrigin{0, 0};
    Vec2 uvSize{1, 1};
    std::function<double(int)> vOf;
};
void loft(Part& part, const std::vector<Ring>& rings, const LoftOptions& options);

// A ring of `n` copies of one point: the tip of a nose or a spike.
inline Ring tipRing(Vec3 p, int n) { return Ring((size_t)n, p); }

// An elliptical ring of `n` points around `centre` in the plane normal to
// `tangent`, starting at the `up` side, counter-clockwise seen from ahead along
// the tangent; `rx` is the half-width along up x tangent. `power` above 2
// squares the ring off toward a rounded box, below 2 pinches it to a diamond.
Ring ellipseRing(Vec3 centre, Vec3 tangent, Vec3 up, double rx, double ry, int n,
                 double power = 2.0);
// The same around the z axis with y up.
Ring ellipseRingZ(Vec3 centre, double rx, double ry, int n, double power = 2.0);

} // namespace artgen
