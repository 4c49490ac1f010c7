// Hearing the games in tests: OpenAL Soft set up to write its mix to a WAV
// file instead of a device, and a reader for what it wrote.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace zk {

// 16-bit samples, channels interleaved.
struct Wav {
    int rate = 0, channels = 0;
    size_t dataOffset = 0;        // byte offset of the first sample in the file
    std::vector<int16_t> samples;
    size_t frames() const { return channels > 0 ? samples.size() / (size_t)channels : 0; }
    int at(size_t frame, int channel) const { return samples[frame * (size_t)channels + (size_t)channel]; }
    // Frame that a byte count of the file reaches (for "where was it then").
    size_t frameAtBytes(size_t bytes) const;
    // Largest |sample| of a channel over frames [from, to).
    int peak(size_t from, size_t to, int channel) const;
    double rms(size_t from, size_t to, int channel) const;
    // First frame at or after `from` where any channel goes beyond `level`; -1 if none.
    long firstAbove(size_t from, int level) const;
    // Last such frame before `to`; -1 if none.
    long lastAbove(size_t to, int level) const;
};

// Reads a 16-bit PCM WAV; a file still being written (sizes not yet in its
// header) is read up to its current end.
bool readWav(const std::string& path, Wav& out);

// A temporary folder with an OpenAL config that sends the mix to out.wav as
// 44.1 kHz 16-bit stereo, panned for speakers, no dither, short periods.
struct WaveOutput {
    std::string dir, conf, file;
    WaveOutput();
    ~WaveOutput(); // removes the folder
    // Points OpenAL at this config through ALSOFT_CONF and ALSOFT_DRIVERS,
    // for this process and every game it starts.
    void useInThisProcess() const;
    // Bytes in the file so far (0 when it does not exist).
    size_t bytesWritten() const;
    // Waits until the file holds `seconds` of sound past the byte count
    // `from`: the mix is written as it plays, late on a busy machine.
    // False on timeout (or when no file is written).
    bool waitForSound(size_t from, double seconds, double timeoutSec = 30) const;
};

} // namespace zk
