// End-to-end harness: runs a real game executable on the X display, finds its
// window, drives it with xdotool, takes screenshots and collects its output.
#pragma once

#include <functional>
#include <string>
#include <sys/types.h>
#include <vector>

namespace zk {

// Absolute path of a built executable of the project ("space-zarkons-3d", ...).
std::string binaryPath(const std::string& name);
// The source tree's root and the folder with the game's data.
std::string sourceDir();
std::string gameDataParent(); // the folder holding space-zarkons-3d's data/
// A fresh empty temporary directory (removed by the caller when wanted).
std::string makeTempDir();
// The whole text of a file ("" when it cannot be read).
std::string readFile(const std::string& path);

// An RGB screenshot read back into memory; (0, 0) is the top-left pixel.
struct Image {
    int width = 0, height = 0;
    std::vector<unsigned char> rgb;
    const unsigned char* at(int x, int y) const { return &rgb[((size_t)y * width + x) * 3]; }
    // Pixels in the rectangle whose brightest channel exceeds `threshold`.
    int countBright(int x0, int y0, int x1, int y1, int threshold = 40) const;
};
bool loadImage(const std::string& path, Image& out); // any format ImageMagick reads

class GameProcess {
public:
    GameProcess(const std::string& exe, const std::vector<std::string>& args, const std::string& cwd);
    ~GameProcess(); // kills the process if it still runs

    bool start();
    // The id of the first visible window with this exact title; "" on timeout.
    std::string findWindow(const std::string& title, double timeoutSec = 30);
    std::string window() const { return windowId; }

    // Keys are X keysym names: "space", "Escape", "Left", "a", "plus", ...
    void key(const std::string& keysym);
    void keyDown(const std::string& keysym);
    void keyUp(const std::string& keysym);
    // Mouse positions are relative to the game window.
    void mouseMove(int x, int y);
    void mouseDown(int button);
    void mouseUp(int button);
    void click(int button, int x, int y);
    // Pointer position in screen coordinates, for menus that open outside.
    void mouseMoveScreen(int x, int y);

    bool screenshot(const std::string& pngPath); // the game window only
    // Polls screenshots of the game window until `seen` holds; false on timeout.
    bool waitForImage(const std::function<bool(const Image&)>& seen, double timeoutSec);
    bool screenshotScreen(const std::string& pngPath); // the whole X screen
    // Polls until two screenshots in a row are the same: a still picture,
    // as a paused game shows. False on timeout.
    bool waitForStill(double timeoutSec = 20);

    // The frames the game has drawn (buffer swaps of all its windows, counted
    // by a probe preloaded into it); -1 when they are not counted.
    long frames();
    // Waits until the game has drawn `count` frames in all; true at once when
    // frames are not counted. findWindow already waits for the first one.
    bool waitForFrames(long count, double timeoutSec = 30);
    // Waits for `n` frames drawn from now on: with n >= 2 at least one whole
    // frame began after the input the test just sent, so it shows that input.
    bool waitNewFrames(int n = 2, double timeoutSec = 30);
    // The heap bytes the game holds, as the sanitizer's allocator counts them
    // at its last frame; -1 when unknown (no sanitizer, no frame yet).
    long long liveHeapBytes();
    // Waits until standard output holds `text` at or after byte `from`.
    bool waitForOutput(const std::string& text, double timeoutSec = 30, size_t from = 0);

    bool running();
    // Waits for the end: the exit status, 128 + signal, or -1 on timeout
    // (the process is then killed).
    int waitExit(double timeoutSec = 30);
    std::string output() const; // standard output so far
    std::string errors() const; // standard error so far
    pid_t pid() const { return childPid; }
    // The game's own XDG_DATA_HOME: a fresh empty folder, made with this
    // object and removed with it, so records never reach the real home.
    const std::string& dataHome() const { return dataDir; }
    // Its XDG_CONFIG_HOME: the same folder, unless a test that starts the
    // game again gives the settings of an earlier run (before start()).
    void setConfigHome(const std::string& dir) { configDir = dir; }

private:
    void xdo(const std::string& args);
    std::string exe, cwd;
    std::vector<std::string> args;
    std::string dataDir, configDir;
    std::string outPath, errPath, windowId;
    std::string probePath; // the frame probe's counters, "" when not preloaded
    pid_t childPid = -1;
    int status = -1;
    bool finished = false;
};

// Opens a connection to the X display that the process keeps to its end
// (tried for a few seconds): the server does not reset under the test.
// False when there is no display to connect to.
bool holdDisplay();

// Runs a shell command, returns its exit status and (optionally) its stdout.
int runCommand(const std::string& cmd, std::string* out = nullptr);
void sleepMs(int ms);

} // namespace zk
