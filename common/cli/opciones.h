// The command-line options every program of the project answers itself.
#pragma once

// The version of the whole project, as the package carries it.
const char* zkVersion();

// Answers `--help` (prints `ayuda`) or `--version` (prints "nombre version",
// the copyright line and the licence) on standard output, whichever comes
// first among the arguments, and returns the status to end with: 0, or 1 when
// the text could not be written (said on standard error). Returns -1,
// printing nothing, when neither is there; every other argument is left for
// the caller.
int responderOpciones(int argc, char* const* argv, const char* nombre, const char* ayuda);

// What a game's command line asked for, besides what GLUT reads itself.
struct zk_opciones_t {
    bool mudo = false;             // --mute: this run only, the stored setting stays
    bool pantallaCompleta = false; // --fullscreen
    bool tamano = false;           // -geometry gave a width and height
    bool posicion = false;         // -geometry gave a place
};

// Reads a game's command line strictly. GLUT's own options (-display NAME,
// -geometry WxH+X+Y, -gldebug, -direct, -indirect, -iconic, -sync) stay in
// argv, in their order, for glutInit; everything else is taken out. Returns
// -1 to go on; otherwise the status to end with: 0 after --help or --version,
// 1 when that text could not be written, 2 after an unknown option or an
// argument the game does not take (one line naming it and the usage, on
// standard error).
int leerOpciones(int* argc, char** argv, const char* nombre, const char* ayuda, zk_opciones_t* opciones);

// Parses an X geometry ("640x480", "+10-20", "=320x200+0+0"): true if the
// text is one, with which parts it gave.
bool leerGeometria(const char* texto, bool* tamano, bool* posicion);
