// WAV reading and OpenAL's file output for the sound tests.
#include "wav.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace zk {

static uint32_t le32(const unsigned char* p) { return p[0] | p[1] << 8 | p[2] << 16 | (uint32_t)p[3] << 24; }
static uint16_t le16(const unsigned char* p) { return (uint16_t)(p[0] | p[1] << 8); }

size_t Wav::frameAtBytes(size_t bytes) const
{
    if (bytes <= dataOffset || channels <= 0)
        return 0;
    return (bytes - dataOffset) / (2 * (size_t)channels);
}

int Wav::peak(size_t from, size_t to, int channel) const
{
    int p = 0;
    for (size_t f = from; f < to && f < frames(); f++)
        p = std::max(p, std::abs(at(f, channel)));
    return p;
}

double Wav::rms(size_t from, size_t to, int channel) const
{
    double s = 0;
    size_t n = 0;
    for (size_t f = from; f < to && f < frames(); f++, n++)
        s += (double)at(f, channel) * at(f, channel);
    return n ? std::sqrt(s / n) : 0.0;
}

long Wav::firstAbove(size_t from, int level) const
{
    for (size_t f = from; f < frames(); f++)
        for (int c = 0; c < channels; c++)
            if (std::abs(at(f, c)) > level)
                return (long)f;
    return -1;
}

long Wav::lastAbove(size_t to, int level) const
{
    for (size_t f = std::min(to, frames()); f-- > 0;)
        for (int c = 0; c < channels; c++)
            if (std::abs(at(f, c)) > level)
                return (long)f;
    return -1;
}

bool readWav(const std::string& path, Wav& out)
{
    FILE* f = fopen(path.c_str(), "rb");
    if (!f)
        return false;
    std::vector<unsigned char> b;
    unsigned char buf[65536];
    size_t r;
    while ((r = fread(buf, 1, sizeof buf, f)) > 0)
        b.insert(b.end(), buf, buf + r);
    fclose(f);
    if (b.size() < 12 || memcmp(b.data(), "RIFF", 4) != 0 || memcmp(b.data() + 8, "WAVE", 4) != 0)
        return false;
    size_t pos = 12;
    int bits = 0;
    out = Wav();
    while (pos + 8 <= b.size()) {
        const uint32_t size = le32(&b[pos + 4]);
        if (memcmp(&b[pos], "fmt ", 4) == 0 && pos + 8 + 16 <= b.size()) {
            out.channels = le16(&b[pos + 10]);
            out.rate = (int)le32(&b[pos + 12]);
            bits = le16(&b[pos + 22]);
        } else if (memcmp(&b[pos], "data", 4) == 0) {
            // the writer fills in the size only when it closes the file
            size_t n = b.size() - (pos + 8);
            if (size != 0 && size < n)
                n = size;
            if (bits != 16 || out.channels <= 0)
                return false;
            out.dataOffset = pos + 8;
            out.samples.resize(n / 2);
            for (size_t i = 0; i < out.samples.size(); i++)
                out.samples[i] = (int16_t)le16(&b[pos + 8 + 2 * i]);
            return true;
        }
        pos += 8 + (size_t)size + (size & 1);
    }
    return false;
}

WaveOutput::WaveOutput()
{
    char tmpl[] = "/tmp/zk-wav-XXXXXX";
    const char* d = mkdtemp(tmpl);
    dir = d ? d : "/tmp";
    conf = dir + "/alsoft.conf";
    file = dir + "/out.wav";
    if (FILE* f = fopen(conf.c_str(), "w")) {
        fprintf(f,
                "[general]\ndrivers = wave\nchannels = stereo\nsample-type = int16\n"
                "frequency = 44100\nhrtf = false\nstereo-mode = speakers\nstereo-encoding = panpot\n"
                "dither = false\nperiod_size = 441\nperiods = 2\n[wave]\nfile = %s\n",
                file.c_str());
        fclose(f);
    }
}

WaveOutput::~WaveOutput()
{
    remove(file.c_str());
    remove(conf.c_str());
    rmdir(dir.c_str());
}

void WaveOutput::useInThisProcess() const
{
    setenv("ALSOFT_CONF", conf.c_str(), 1);
    setenv("ALSOFT_DRIVERS", "wave", 1);
}

size_t WaveOutput::bytesWritten() const
{
    struct stat st;
    return stat(file.c_str(), &st) == 0 ? (size_t)st.st_size : 0;
}

bool WaveOutput::waitForSound(size_t from, double seconds, double timeoutSec) const
{
    const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds((int)(timeoutSec * 1000));
    for (;;) {
        Wav w;
        if (readWav(file, w) && w.frames() >= w.frameAtBytes(from) + (size_t)(seconds * w.rate))
            return true;
        if (std::chrono::steady_clock::now() >= until)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
}

} // namespace zk
