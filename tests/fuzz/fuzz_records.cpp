// libFuzzer target: the records reader on any bytes. What it keeps must
// write out and read back as the same clean table.
#include "records.h"

#include <cassert>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const rec_table_t t = rec_parse(reinterpret_cast<const char*>(data), size);
    assert(t.entries.size() <= (size_t)kRecMax);
    // a newer format's lines are not ours to read
    assert(t.newerVersion == 0 || (t.entries.empty() && !t.damaged()));
    const std::string texto = rec_format(t);
    const rec_table_t otra = rec_parse(texto.data(), texto.size());
    assert(!otra.damaged() && otra.entries.size() == t.entries.size());
    for (size_t i = 0; i < t.entries.size(); i++) {
        assert(otra.entries[i].score == t.entries[i].score);
        assert(otra.entries[i].when == t.entries[i].when && otra.entries[i].how == t.entries[i].how);
    }
    return 0;
}
