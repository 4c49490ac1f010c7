// What the file-reader fuzzers share: the readers take file names, so every
// input is written to one temporary file, and the readers' messages are kept
// out of the fuzzer's log.
#pragma once

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <unistd.h>

static char fuzzPath[] = "/tmp/zk-fuzz-XXXXXX";
static volatile unsigned fuzzSink; // keeps the reads of fuzzTouch

static void fuzzRemoveFile()
{
    unlink(fuzzPath);
}

// Call from LLVMFuzzerInitialize. Adds -close_fd_mask=3 in front of the
// arguments: the readers report every refusal, and at thousands of inputs a
// second that would drown the log. libFuzzer's own lines and the sanitizers'
// reports still show; assert messages do not, so rerun a saved crash with
// -close_fd_mask=0 (a mask given on the command line comes later and wins).
static void fuzzSetUp(int* argc, char*** argv)
{
    static char quiet[] = "-close_fd_mask=3";
    char** args = (char**)calloc(*argc + 2, sizeof(char*));
    args[0] = (*argv)[0];
    args[1] = quiet;
    for (int i = 1; i < *argc; i++)
        args[i + 1] = (*argv)[i];
    *argv = args; // kept for the whole run, as libFuzzer expects
    *argc += 1;
    int fd = mkstemp(fuzzPath);
    if (fd < 0)
        abort();
    close(fd);
    atexit(fuzzRemoveFile);
}

// Reads every byte of a decoded image, so that a buffer shorter than its
// sizes claim shows under the address sanitizer.
static void fuzzTouch(const unsigned char* pixels, size_t n)
{
    unsigned sum = 0;
    for (size_t i = 0; i < n; i++)
        sum += pixels[i];
    fuzzSink = sum;
}

// Writes the input to the temporary file and returns its name.
static char* fuzzWriteFile(const uint8_t* data, size_t size)
{
    FILE* file = fopen(fuzzPath, "wb");
    if (!file || fwrite(data, 1, size, file) != size)
        abort();
    fclose(file);
    return fuzzPath;
}
