// What the AC3D tokenizer and the loader agree on: the characters that part
// the words of a line. The tokenizer itself, get_tokens, is declared in
// ac3d.h with the rest of the model module's public face.
#pragma once

static inline bool ac_is_separator(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}
