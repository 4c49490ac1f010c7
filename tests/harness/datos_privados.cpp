// Linked into every test program: the process (and every game it starts)
// keeps its records and settings in a fresh empty folder of its own, never in
// the real home and never where another test could see them. The folder goes
// at exit.
#include <cstdlib>
#include <filesystem>
#include <string>

namespace {

struct DatosPrivados {
    std::string carpeta;
    DatosPrivados()
    {
        char tmpl[] = "/tmp/zk-datos-XXXXXX";
        if (mkdtemp(tmpl) != nullptr) {
            carpeta = tmpl;
            setenv("XDG_DATA_HOME", tmpl, 1);
            setenv("XDG_CONFIG_HOME", tmpl, 1);
        } else {
            // nowhere to write: records are off rather than in the real home
            setenv("XDG_DATA_HOME", "/proc/zk-sin-datos", 1);
            setenv("XDG_CONFIG_HOME", "/proc/zk-sin-datos", 1);
        }
    }
    ~DatosPrivados()
    {
        std::error_code ignorado;
        if (!carpeta.empty())
            std::filesystem::remove_all(carpeta, ignorado);
    }
};

DatosPrivados datosPrivados;

} // namespace
