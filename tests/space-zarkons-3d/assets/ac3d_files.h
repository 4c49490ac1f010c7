// Small AC3D files made on the spot, for the loader, renderer and factory tests.
#pragma once

#include "ac3d.h"

#include "e2e.h"
#include "gl_test.h"

#include <filesystem>
#include <fstream>
#include <string>

namespace ac3dtest
{

// A scratch folder that is also the working directory while it lives, so
// that data/... paths resolve there and never into the source tree.
struct Scratch {
    std::string dir = zk::makeTempDir();
    std::filesystem::path previous = std::filesystem::current_path();
    Scratch() { std::filesystem::current_path(dir); }
    ~Scratch()
    {
        std::filesystem::current_path(previous);
        std::filesystem::remove_all(dir);
    }
    std::string write(const std::string& name, const std::string& text)
    {
        std::filesystem::path p = std::filesystem::path(dir) / name;
        std::filesystem::create_directories(p.parent_path());
        std::ofstream(p, std::ios::binary) << text;
        return p.string();
    }
};

// Loads `text` as a file and collects what the loader printed.
inline ACObject_t* load(Scratch& s, const std::string& text, std::string* out = nullptr,
                        const std::string& name = "m.ac")
{
    std::string path = s.write(name, text);
    zk::StdoutCapture capture;
    ACObject_t* ob = ac_load_ac3d(const_cast<char*>(path.c_str()));
    std::string printed = capture.finish();
    if (out)
        *out = printed;
    return ob;
}

// Two materials: 0 white and opaque, 1 red and half transparent.
inline const char* kMaterials =
    "MATERIAL \"white\" rgb 1 1 1  amb 0.2 0.2 0.2  emis 0 0 0  spec 0.5 0.5 0.5  shi 10  trans 0\n"
    "MATERIAL \"red glass\" rgb 1 0 0  amb 0.1 0 0  emis 0 0 0  spec 0 0 0  shi 0  trans 0.5\n";

} // namespace ac3dtest
