// Small files kept between runs (the records, the settings): read whole, up to
// a limit, and written all or not at all through a temporary file beside the
// real one, so that a crash or a full disk never leaves half a file.
#pragma once

#include <cstddef>
#include <string>

// Makes every folder of `dir` that is missing (mode 0700); on a failure false
// and "cannot create <folder>: <reason>" in *why.
bool archivo_crear_carpetas(const std::string& dir, std::string* why);

// The whole file, at most `max` bytes of it (ask for one more than you accept
// to tell a too-big file apart). A missing file is an empty text. On a fault
// false, *texto empty and the reason in *why: "cannot read <path>: <reason>"
// or "<path> is not a regular file".
bool archivo_leer(const std::string& path, size_t max, std::string* texto, std::string* why);

// Where a write stopped: each caller words the failure its own way.
enum archivo_paso_t {
    ARCHIVO_ESCRITO,   // done: the new text is in place
    ARCHIVO_TEMPORAL,  // no temporary file could be made in the folder
    ARCHIVO_ESCRITURA, // the temporary file could not be written or synced
    ARCHIVO_CIERRE,    // the temporary file could not be closed
    ARCHIVO_RENOMBRE,  // the temporary file could not replace the real one
};

// Writes `texto` into "<path>.XXXXXX" (mode 0644), syncs it, renames it over
// `path` and syncs the folder. On a failure the old file is as it was, the
// temporary file is gone, errno says why and *tmp names the temporary file.
archivo_paso_t archivo_escribir(const std::string& path, const std::string& texto, std::string* tmp);

// Writes all of `s` to `fd`, across short writes and signals.
bool archivo_escribir_todo(int fd, const std::string& s);
