// End-to-end harness: real executables on the X display, driven by xdotool.
#include "e2e.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <cstdint>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

#include <X11/Xlib.h>

namespace zk {

std::string binaryPath(const std::string& name) { return std::string(ZK_BINARY_DIR) + "/" + name; }
std::string sourceDir() { return ZK_SOURCE_DIR; }
std::string gameDataParent() { return std::string(ZK_SOURCE_DIR) + "/space-zarkons-3d"; }

std::string makeTempDir()
{
    char tmpl[] = "/tmp/zk-e2e-XXXXXX";
    const char* d = mkdtemp(tmpl);
    return d ? std::string(d) : std::string("/tmp");
}

bool holdDisplay()
{
    // A busy X server can refuse a connection now and then, and one that
    // resets when its last client leaves (as xvfb-run's does) refuses them
    // while it resets: the connection is tried until it holds, and then kept
    // for the life of the process, so that the server never resets under a
    // test that has other windows to open or games to start.
    static Display* kept = nullptr;
    for (int attempt = 0; kept == nullptr && attempt < 50; attempt++) {
        kept = XOpenDisplay(nullptr);
        if (kept == nullptr)
            sleepMs(100);
    }
    return kept != nullptr;
}

void sleepMs(int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

int runCommand(const std::string& cmd, std::string* out)
{
    FILE* p = popen(cmd.c_str(), "r");
    if (!p)
        return -1;
    std::string text;
    char b[4096];
    size_t r;
    while ((r = fread(b, 1, sizeof b, p)) > 0)
        text.append(b, r);
    int st = pclose(p);
    if (out)
        *out = text;
    return WIFEXITED(st) ? WEXITSTATUS(st) : -1;
}

std::string readFile(const std::string& path)
{
    std::string text;
    if (FILE* f = fopen(path.c_str(), "rb")) {
        char b[4096];
        size_t r;
        while ((r = fread(b, 1, sizeof b, f)) > 0)
            text.append(b, r);
        fclose(f);
    }
    return text;
}

int Image::countBright(int x0, int y0, int x1, int y1, int threshold) const
{
    int n = 0;
    for (int y = std::max(0, y0); y < std::min(height, y1); y++)
        for (int x = std::max(0, x0); x < std::min(width, x1); x++) {
            const unsigned char* p = at(x, y);
            if (p[0] > threshold || p[1] > threshold || p[2] > threshold)
                n++;
        }
    return n;
}

bool loadImage(const std::string& path, Image& out)
{
    // ImageMagick turns anything into a binary PPM we can parse in a few lines
    std::string ppm;
    if (runCommand("convert '" + path + "' -depth 8 ppm:- 2>/dev/null", &ppm) != 0)
        return false;
    int w = 0, h = 0, maxv = 0, consumed = 0;
    if (sscanf(ppm.c_str(), "P6 %d %d %d%n", &w, &h, &maxv, &consumed) != 3 || maxv != 255)
        return false;
    size_t start = (size_t)consumed + 1;
    if (ppm.size() < start + (size_t)w * h * 3)
        return false;
    out.width = w;
    out.height = h;
    out.rgb.assign(ppm.begin() + start, ppm.begin() + start + (size_t)w * h * 3);
    return true;
}

GameProcess::GameProcess(const std::string& exe, const std::vector<std::string>& args,
                         const std::string& cwd)
    : exe(exe), cwd(cwd), args(args), dataDir(makeTempDir())
{
}

GameProcess::~GameProcess()
{
    if (childPid > 0 && !finished) {
        kill(childPid, SIGKILL);
        waitpid(childPid, nullptr, 0);
    }
    if (!outPath.empty())
        unlink(outPath.c_str());
    if (!errPath.empty())
        unlink(errPath.c_str());
    if (!probePath.empty())
        unlink(probePath.c_str());
    if (dataDir.rfind("/tmp/zk-e2e-", 0) == 0)
        runCommand("rm -rf '" + dataDir + "'");
}

bool GameProcess::start()
{
    holdDisplay();
    char o[] = "/tmp/zk-out-XXXXXX";
    char e[] = "/tmp/zk-err-XXXXXX";
    int ofd = mkstemp(o);
    int efd = mkstemp(e);
    outPath = o;
    errPath = e;
    // the child's environment is made here: after fork only exec is safe
    std::vector<std::string> env;
    std::string preload;
    for (char** v = environ; *v != nullptr; v++)
        if (strncmp(*v, "LD_PRELOAD=", 11) == 0)
            preload = *v + 11;
        else if (strncmp(*v, "XDG_DATA_HOME=", 14) != 0 && strncmp(*v, "XDG_CONFIG_HOME=", 16) != 0 &&
                 strncmp(*v, "ZK_FRAME_PROBE=", 15) != 0)
            env.push_back(*v);
    env.push_back("XDG_DATA_HOME=" + dataDir);
    env.push_back("XDG_CONFIG_HOME=" + (configDir.empty() ? dataDir : configDir));
    // the frame probe, so that tests can wait for a frame instead of a time
    struct stat st;
    char p[] = "/tmp/zk-frames-XXXXXX";
    int pfd = stat(ZK_FRAME_PROBE_LIB, &st) == 0 ? mkstemp(p) : -1;
    if (pfd >= 0) {
        close(pfd);
        probePath = p;
        preload = preload.empty() ? ZK_FRAME_PROBE_LIB : preload + ":" + ZK_FRAME_PROBE_LIB;
        env.push_back("ZK_FRAME_PROBE=" + probePath);
    }
    if (!preload.empty())
        env.push_back("LD_PRELOAD=" + preload);
    // no sound card on a test machine: the games mix for OpenAL's null
    // output unless a test asked for another (a file, or none at all)
    if (getenv("ALSOFT_DRIVERS") == nullptr)
        env.push_back("ALSOFT_DRIVERS=null");
    std::vector<char*> envp;
    for (std::string& v : env)
        envp.push_back(&v[0]);
    envp.push_back(nullptr);
    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(exe.c_str()));
    for (const std::string& a : args)
        argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    childPid = fork();
    if (childPid < 0)
        return false;
    if (childPid == 0) {
        dup2(ofd, 1);
        dup2(efd, 2);
        int nul = open("/dev/null", O_RDONLY);
        dup2(nul, 0);
        if (chdir(cwd.c_str()) != 0)
            _exit(126);
        execve(exe.c_str(), argv.data(), envp.data());
        _exit(127);
    }
    close(ofd);
    close(efd);
    return true;
}

std::string GameProcess::findWindow(const std::string& title, double timeoutSec)
{
    auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds((int)(timeoutSec * 1000));
    while (std::chrono::steady_clock::now() < until) {
        std::string out;
        runCommand("xdotool search --onlyvisible --pid " + std::to_string(childPid) +
                       " --name '^" + title + "$' 2>/dev/null", &out);
        if (!out.empty()) {
            windowId = out.substr(0, out.find('\n'));
            // give the game its focus so that XTEST keys reach it
            runCommand("xdotool windowfocus --sync " + windowId + " 2>/dev/null");
            // a window is mapped before the game's set-up ends: wait for
            // the first picture it draws
            const double left = std::chrono::duration<double>(until - std::chrono::steady_clock::now()).count();
            waitForFrames(1, std::max(left, 5.0));
            return windowId;
        }
        if (!running())
            return "";
        sleepMs(100);
    }
    return "";
}

void GameProcess::xdo(const std::string& a) { runCommand("xdotool " + a + " >/dev/null 2>&1"); }

void GameProcess::key(const std::string& k)
{
    keyDown(k);
    sleepMs(30);
    keyUp(k);
}

void GameProcess::keyDown(const std::string& k)
{
    if (!windowId.empty())
        xdo("windowfocus " + windowId);
    xdo("keydown " + k);
}

void GameProcess::keyUp(const std::string& k) { xdo("keyup " + k); }

void GameProcess::mouseMove(int x, int y)
{
    xdo("mousemove --window " + windowId + " " + std::to_string(x) + " " + std::to_string(y));
}

void GameProcess::mouseMoveScreen(int x, int y)
{
    xdo("mousemove " + std::to_string(x) + " " + std::to_string(y));
}

void GameProcess::mouseDown(int button) { xdo("mousedown " + std::to_string(button)); }
void GameProcess::mouseUp(int button) { xdo("mouseup " + std::to_string(button)); }

void GameProcess::click(int button, int x, int y)
{
    mouseMove(x, y);
    sleepMs(50);
    mouseDown(button);
    sleepMs(50);
    mouseUp(button);
}

bool GameProcess::screenshot(const std::string& png)
{
    return runCommand("import -window " + windowId + " '" + png + "' 2>/dev/null") == 0;
}

bool GameProcess::waitForImage(const std::function<bool(const Image&)>& seen, double timeoutSec)
{
    const std::string png = "/tmp/zk-e2e-wait-" + std::to_string(getpid()) + ".png";
    auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds((int)(timeoutSec * 1000));
    bool ok = false;
    while (!ok && running() && std::chrono::steady_clock::now() < until) {
        Image im;
        ok = screenshot(png) && loadImage(png, im) && seen(im);
        if (!ok)
            sleepMs(150);
    }
    unlink(png.c_str());
    return ok;
}

bool GameProcess::waitForStill(double timeoutSec)
{
    Image before;
    bool have = false;
    return waitForImage(
        [&](const Image& im) {
            const bool same = have && im.width == before.width && im.rgb == before.rgb;
            before = im;
            have = true;
            return same;
        },
        timeoutSec);
}

// The probe's counters: swaps, time of the last swap, live heap bytes.
static bool readProbe(const std::string& path, uint64_t (&fields)[3])
{
    if (path.empty())
        return false;
    int fd = open(path.c_str(), O_RDONLY);
    if (fd < 0)
        return false;
    const bool ok = pread(fd, fields, sizeof fields, 0) == (ssize_t)sizeof fields;
    close(fd);
    return ok;
}

long GameProcess::frames()
{
    uint64_t f[3];
    if (!readProbe(probePath, f))
        return probePath.empty() ? -1 : 0; // the file is sized when the game starts
    return (long)f[0];
}

long long GameProcess::liveHeapBytes()
{
    uint64_t f[3];
    return readProbe(probePath, f) && f[2] > 0 ? (long long)f[2] : -1;
}

bool GameProcess::waitForFrames(long count, double timeoutSec)
{
    if (probePath.empty())
        return true;
    auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds((int)(timeoutSec * 1000));
    while (frames() < count) {
        if (!running() || std::chrono::steady_clock::now() >= until)
            return false;
        sleepMs(5);
    }
    return true;
}

bool GameProcess::waitNewFrames(int n, double timeoutSec)
{
    return waitForFrames(std::max(0L, frames()) + n, timeoutSec);
}

bool GameProcess::waitForOutput(const std::string& text, double timeoutSec, size_t from)
{
    auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds((int)(timeoutSec * 1000));
    for (;;) {
        // read before the check of the end: the last words of a game that
        // has just exited count
        const bool alive = running();
        if (output().find(text, from) != std::string::npos)
            return true;
        if (!alive || std::chrono::steady_clock::now() >= until)
            return false;
        sleepMs(20);
    }
}

bool GameProcess::screenshotScreen(const std::string& png)
{
    return runCommand("import -window root '" + png + "' 2>/dev/null") == 0;
}

bool GameProcess::running()
{
    if (finished || childPid <= 0)
        return false;
    int st = 0;
    pid_t r = waitpid(childPid, &st, WNOHANG);
    if (r == childPid) {
        finished = true;
        status = WIFEXITED(st) ? WEXITSTATUS(st) : 128 + WTERMSIG(st);
        return false;
    }
    return true;
}

int GameProcess::waitExit(double timeoutSec)
{
    auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds((int)(timeoutSec * 1000));
    while (running()) {
        if (std::chrono::steady_clock::now() >= until) {
            kill(childPid, SIGKILL);
            waitpid(childPid, nullptr, 0);
            finished = true;
            status = -1;
            return -1;
        }
        sleepMs(20);
    }
    return status;
}

std::string GameProcess::output() const { return readFile(outPath); }
std::string GameProcess::errors() const { return readFile(errPath); }

} // namespace zk
