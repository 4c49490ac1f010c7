// libFuzzer target: the AC3D tokenizer on any line, with checks that every
// token lies inside the line and ends before its terminator.
#include "ac3d.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // exactly size + 1 bytes, so that reading past the terminator is caught
    std::unique_ptr<char[]> line(new char[size + 1]);
    memcpy(line.get(), data, size);
    line[size] = '\0';
    char* tokens[AC_MAX_TOKENS];
    int count = -1;
    int returned = get_tokens(line.get(), &count, tokens);
    if (returned != count || count < 0 || count > AC_MAX_TOKENS)
        abort();
    const char* begin = line.get();
    const char* end = begin + size + 1;
    for (int i = 0; i < count; i++) {
        if (tokens[i] < begin || tokens[i] >= end)
            abort();
        if (memchr(tokens[i], '\0', (size_t)(end - tokens[i])) == nullptr)
            abort();
    }
    return 0;
}
