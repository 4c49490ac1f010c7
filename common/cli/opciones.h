// The command-line options every program of the project answers itself.
#pragma once

// The version of the whole project, as the package carries it.
const char* zkVersion();

// Answers `--help` (prints `ayuda`) or `--version` (prints "nombre version")
// on standard output, whichever comes first among the arguments, and returns
// the status to end with: 0, or 1 when the text could not be written (said
// on standard error). Returns -1, printing nothing, when neither is there;
// every other argument is left for the caller (the games hand them to GLUT).
int responderOpciones(int argc, char* const* argv, const char* nombre, const char* ayuda);
