// The AC3D tokenizer: splits one line of a model file into its words, a
// quoted word with its spaces and escaped characters as one.
#include "ac3d.h"

#include "ac3d_tokens.h"

#include <cassert>

// --- public functions ---

int get_tokens(char* line, int* count, char** tokens)
{
    assert(line != nullptr && count != nullptr && tokens != nullptr);
    int n = 0;
    char* p = line;
    while (*p != '\0' && n < AC_MAX_TOKENS) {
        if (ac_is_separator(*p)) {
            p++;
        } else if (*p == '"') {
            char* start = ++p;
            char* out = start;
            while (*p != '\0' && *p != '"' && *p != '\n' && *p != '\r') {
                // a backslash takes the next character as it is, but never the terminator
                if (*p == '\\' && *++p == '\0')
                    break;
                *out++ = *p++;
            }
            bool more = *p != '\0';
            *out = '\0';
            tokens[n++] = start;
            if (!more)
                break;
            p++; // past the closing character: what follows starts a new token
        } else {
            tokens[n++] = p;
            while (*p != '\0' && !ac_is_separator(*p))
                p++;
            if (*p == '\0')
                break;
            *p++ = '\0';
        }
    }
    *count = n;
    return n;
}
