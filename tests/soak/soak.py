#!/usr/bin/env python3
"""Soak player: plays one game, built with AddressSanitizer and
UndefinedBehaviorSanitizer, on a private Xvfb for a given time as a restless
player would, then reports what it saw.

  soak.py GAME [--seconds N] [--seed S] [--build DIR] [--no-build]

GAME is space-zarkons-3d or tie-zarkons. Every key of the game (tapped or
held), left-button drags, the right-button menu and its entries, resizes down
to a few pixels, iconify and restore (which pauses a game in play until the
pause key), Intro to play again after a lost game; a game that ends is
started again; finally Escape. The seed is printed first: the same seed replays the same
inputs. Fails (status 1) on any sanitizer report, crash, hang (no frame within
a second of an input), exit status other than 0, growth of the game's own heap
of 1 MB or more per ten minutes after the first two, GL lists or textures made
in play, a heap profile asked for and not given, or a records file that is not
intact.

Memory is the heap the game's own code holds: after the warm-up the probe has
the game print the sanitizer's heap profile every minute and a half, and the
live bytes are summed by where they were allocated. What the GL driver
allocates (its compiled shaders and the buffers of the last frames, tens of MB
that rise and fall with what was drawn) is printed but not judged; the GL lists
and textures the game makes live there, so they are counted apart and must not
grow. The resident size and the allocator's whole live heap are printed too.
Growth is judged only over at least three minutes of one run after the
warm-up; a shorter soak prints "not judged", and no figure.
"""
import argparse
import os
import random
import re
import select
import shutil
import signal
import struct
import subprocess
import sys
import tempfile
import time

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))

# keysyms of each game's whole key set (Escape only at the end)
KEYS = {
    "space-zarkons-3d": ["Up", "Down", "Left", "Right", "space", "d", "p", "s", "plus", "minus",
                         "o", "w", "i", "f", "c", "r", "x", "Return"],
    "tie-zarkons": ["Left", "Right", "m", "a", "h", "p", "r", "plus", "minus", "f", "Home",
                    "s", "n", "x", "Return"],
}
# what a player presses most: moving and firing
FAVOURITES = {
    "space-zarkons-3d": ["Left", "Right", "Up", "Down", "space", "d"],
    "tie-zarkons": ["Left", "Right", "m", "s"],
}
PAUSE_KEY = {"space-zarkons-3d": "p", "tie-zarkons": "a"}
DEFAULT_SIZE = {"space-zarkons-3d": (640, 640), "tie-zarkons": (640, 480)}
MENU_ENTRY = 25      # height of a menu entry, pixels
MENU_WIDTH = 200     # a little less than the menu's width: the submenus open past it
SUBMENUS = {4: 2, 5: 3, 6: 6}   # Proyeccion, Velocidad (its third is Pausa), Luces
FRAME_WAIT = 1.0     # a frame should follow any input within this many seconds
HANG = 10.0          # and a game that shows none for this long hangs
RSS_EVERY = 5.0
WARM_UP = 120.0      # memory growth counts after this many seconds of a run
JUDGED = 3.0         # minutes of samples after the warm-up that a verdict needs
GROWTH_LIMIT = 1024  # kB per ten minutes
PROFILE_EVERY = 90.0 # seconds between heap profiles after the warm-up
# the probe's fields (frame_probe.c)
SWAPS, LAST_SWAP, LIVE_BYTES, PROFILE_ASKED, PROFILE_DONE, GL_OBJECTS = range(6)
# an allocation is the driver's when its first caller past the allocator is
# in one of these libraries (they have no line information, so the profile
# names the library)
DRIVER = re.compile(r"_dri\.so|libLLVM|libGLX_mesa|libglapi|libGLdispatch|libgallium")
PROFILE_ENTRY = re.compile(r"^(\d+) byte\(s\) \(\d+%\) in \d+ allocation")
SANITIZER = re.compile(r"ERROR: (Address|Leak)Sanitizer|runtime error:|UndefinedBehaviorSanitizer|"
                       r"AddressSanitizer:DEADLYSIGNAL")
SEEDED = ["5 2020-01-0%dT10:00:00 perdida\n" % d for d in (1, 2, 3)]
RECORD = re.compile(r"^-?\d{1,10} \d{4}-\d\d-\d\dT\d\d:\d\d:\d\d [a-z0-9-]{1,24}$")


def sh(env, *args):
    return subprocess.run(args, stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, text=True,
                          env=env).stdout


def cpu_seconds(pid):
    try:
        with open("/proc/%d/stat" % pid) as f:
            fields = f.read().rsplit(")", 1)[1].split()
        return (int(fields[11]) + int(fields[12])) / os.sysconf("SC_CLK_TCK")
    except (OSError, IndexError, ValueError):
        return 0.0


def start_xvfb():
    """A private Xvfb on a display the server finds free itself and names
    once it is ready. Two soaks start at once under ctest -j2: chosen by a
    look at the lock files, both took the same number, one used the other's
    server, and there one game's window covered the other's, which then (as
    it should) drew nothing, and died with that server at the other's end."""
    r, w = os.pipe()
    p = subprocess.Popen(["Xvfb", "-displayfd", str(w), "-screen", "0", "1920x1200x24", "-nolisten", "tcp",
                          "-noreset"], pass_fds=(w,), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    os.close(w)
    data = b""
    deadline = time.monotonic() + 30
    while not data.endswith(b"\n") and time.monotonic() < deadline:
        if select.select([r], [], [], 1.0)[0]:
            chunk = os.read(r, 16)
            if not chunk:
                break
            data += chunk
    os.close(r)
    if not data.endswith(b"\n"):
        p.kill()
        p.wait()
        sys.exit("soak: could not start Xvfb")
    return p, ":" + data.decode().strip()


def build_games(build):
    """Builds both games with the sanitizers unless the build already has them."""
    cache = os.path.join(build, "CMakeCache.txt")
    if not (os.path.exists(cache) and "ZK_SANITIZE:BOOL=ON" in open(cache).read()):
        env = dict(os.environ, CC="clang", CXX="clang++")
        subprocess.run(["cmake", "-S", ROOT, "-B", build, "-DCMAKE_BUILD_TYPE=RelWithDebInfo",
                        "-DZK_SANITIZE=ON", "-DBUILD_TESTING=OFF"], env=env, check=True,
                       stdout=subprocess.DEVNULL)
    subprocess.run(["cmake", "--build", build, "-j2", "--target", "space-zarkons-3d", "tie-zarkons"],
                   check=True, stdout=subprocess.DEVNULL)


class Game:
    """One run of the game under the probe, its window and its output."""

    def __init__(self, soak, n):
        self.soak = soak
        self.probe = os.path.join(soak.tmp, "frames-%d" % n)
        self.err = os.path.join(soak.tmp, "stderr-%d" % n)
        self.out = os.path.join(soak.tmp, "stdout-%d" % n)
        env = dict(soak.env, ZK_FRAME_PROBE=self.probe)
        cwd = os.path.join(ROOT, "space-zarkons-3d")
        with open(self.out, "w") as o, open(self.err, "w") as e:
            self.proc = subprocess.Popen([soak.exe], cwd=cwd, env=env, stdout=o, stderr=e,
                                         stdin=subprocess.DEVNULL)
        self.started = time.monotonic()
        self.rss = []          # (seconds into the run, kB)
        self.heap = []         # (seconds into the run, kB live on the heap)
        self.profiles = []     # (seconds, the game's own kB, the driver's kB, GL objects)
        self.window = None
        self.mapped = True
        self.size = None
        deadline = time.monotonic() + 60
        while self.window is None and time.monotonic() < deadline and self.proc.poll() is None:
            ids = sh(soak.env, "xdotool", "search", "--onlyvisible", "--pid", str(self.proc.pid), "--name",
                     "^%s$" % soak.title).split()
            if ids:
                self.window = ids[0]
            else:
                time.sleep(0.2)
        # the set-up before the first frame is not an answer to any input
        while self.window and self.frames() == 0 and time.monotonic() < deadline \
                and self.proc.poll() is None:
            time.sleep(0.05)

    def counters(self):
        """The probe's fields: swaps, time of the last swap, live heap bytes,
        heap profiles asked for and printed, GL objects held."""
        try:
            with open(self.probe, "rb") as f:
                data = f.read(48)
            return struct.unpack("<6Q", data) if len(data) == 48 else (0,) * 6
        except OSError:
            return (0,) * 6

    def ask_profile(self):
        n = self.counters()[PROFILE_ASKED] + 1
        with open(self.probe, "r+b") as f:
            f.seek(8 * PROFILE_ASKED)
            f.write(struct.pack("<Q", n))
        return n

    def read_profile(self, n):
        """The game's own and the driver's live kB in profile n, or None."""
        text = open(self.err, errors="replace").read()
        begin = text.find("zk-probe: heap profile %d\n" % n)
        end = text.find("zk-probe: end of heap profile %d\n" % n, begin)
        if begin < 0 or end < 0:
            return None
        own = driver = 0
        size = None
        for line in text[begin:end].splitlines():
            m = PROFILE_ENTRY.match(line)
            if m:
                if size is not None:    # a site with no caller past the allocator
                    own += size
                size = int(m.group(1))
            elif size is not None and line.lstrip().startswith("#1 "):
                if DRIVER.search(line):
                    driver += size
                else:
                    own += size
                size = None
        if size is not None:
            own += size
        return own // 1024, driver // 1024

    def frames(self):
        return self.counters()[0]

    def sample_rss(self):
        live = self.counters()[2]
        if live > 0:
            self.heap.append((time.monotonic() - self.started, live // 1024))
        try:
            with open("/proc/%d/status" % self.proc.pid) as f:
                for line in f:
                    if line.startswith("VmRSS:"):
                        self.rss.append((time.monotonic() - self.started, int(line.split()[1])))
        except OSError:
            pass


class Soak:
    def __init__(self, args):
        self.game = args.game
        self.rng = random.Random(args.seed)
        self.seconds = args.seconds
        self.exe = os.path.join(os.path.abspath(args.build), "bin", args.game)
        self.title = "Space Zarkons 3D" if args.game == "space-zarkons-3d" else "Tie Zarkons"
        self.tmp = tempfile.mkdtemp(prefix="zk-soak-")
        self.data = os.path.join(self.tmp, "datos")
        os.makedirs(os.path.join(self.data, "zarkons"))
        # a table to keep: these old games must all be there at the end
        # unless ten better ones pushed them out
        with open(self.records_path(), "w") as f:
            f.write("zarkons-records 1\n" + "".join(SEEDED))
        probe = os.path.join(self.tmp, "frame_probe.so")
        subprocess.run(["cc", "-shared", "-fPIC", "-O2", "-o", probe,
                        os.path.join(ROOT, "tests", "soak", "frame_probe.c"), "-ldl"], check=True)
        self.xvfb, display = start_xvfb()
        self.env = dict(os.environ, DISPLAY=display, XDG_DATA_HOME=self.data, XDG_CONFIG_HOME=self.data,
                        LD_PRELOAD=probe,
                        LIBGL_ALWAYS_SOFTWARE="1", MESA_SHADER_CACHE_DISABLE="true",
                        LP_NUM_THREADS="0",
                        # a small quarantine, full within the warm-up, so that
                        # the memory figure shows the game and not the checker
                        ASAN_OPTIONS="detect_leaks=1:quarantine_size_mb=16:abort_on_error=0",
                        UBSAN_OPTIONS="print_stacktrace=1")
        self.runs = []
        self.failures = []
        self.actions = 0
        self.latencies = []
        self.nudges = 0
        self.late = []
        self.history = []
        self.paused = False

    # --- input ---
    def xdo(self, *args):
        subprocess.run(("xdotool",) + args, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                       env=self.env)

    def geometry(self, g):
        """The window's width and height as X has them, or None."""
        m = re.search(r"Width: (\d+)\s+Height: (\d+)", sh(self.env, "xwininfo", "-id", g.window))
        return (int(m.group(1)), int(m.group(2))) if m else None

    def focus(self, g):
        if g.mapped:
            self.xdo("windowfocus", g.window)

    def key_tap(self, g, k):
        self.focus(g)
        self.xdo("keydown", k)
        time.sleep(self.rng.uniform(0.02, 0.12))
        self.xdo("keyup", k)

    def key_hold(self, g, k):
        self.focus(g)
        self.xdo("keydown", k)
        time.sleep(self.rng.uniform(0.2, 1.5))
        self.xdo("keyup", k)

    def spot(self, g):
        w, h = g.size or (640, 640)
        return self.rng.randrange(max(1, w)), self.rng.randrange(max(1, h))

    def drag(self, g):
        x, y = self.spot(g)
        self.xdo("mousemove", "--window", g.window, str(x), str(y))
        self.xdo("mousedown", "1")
        for _ in range(self.rng.randrange(2, 8)):
            x += self.rng.randrange(-80, 81)
            y += self.rng.randrange(-80, 81)
            self.xdo("mousemove", "--window", g.window, str(x), str(y))
            time.sleep(0.05)
        self.xdo("mouseup", "1")

    def menu_entry(self, g, i, j=0):
        """Entry i of the right-button menu, or entry j of its submenu."""
        w, h = g.size or (640, 640)
        x, y = self.rng.randrange(max(1, min(w, 200))), self.rng.randrange(max(1, min(h, 200)))
        self.xdo("mousemove", "--window", g.window, str(x), str(y))
        self.xdo("click", "3")
        time.sleep(0.3)
        ey = y + MENU_ENTRY * i + MENU_ENTRY // 2
        self.xdo("mousemove", "--window", g.window, str(x + 20), str(ey))
        time.sleep(0.4)
        if i in SUBMENUS:
            # the submenu opens beside the entry, its first entry level with it
            self.xdo("mousemove", "--window", g.window, str(x + MENU_WIDTH + 20), str(ey))
            time.sleep(0.3)
            self.xdo("mousemove", "--window", g.window, str(x + MENU_WIDTH + 20), str(ey + MENU_ENTRY * j))
            time.sleep(0.4)
        self.xdo("click", "1")
        if i == 5 and j == 2:
            self.paused = not self.paused

    def menu(self, g):
        i = self.rng.randrange(8 if self.quitting_allowed() else 7)   # the eighth is "Salir"
        self.menu_entry(g, i, self.rng.randrange(SUBMENUS.get(i, 1)))

    def warm_up(self, g):
        """Every drawing mode once, early: the game makes the lists of a ship
        model the first time it is shown, and the GL driver builds and keeps
        code for each mode it meets; neither is growth."""
        if self.game == "space-zarkons-3d":
            for luces in range(8):
                for k in range(3):
                    self.menu_entry(g, 6, k if luces & (1 << k) else k + 3)
                for modo in ("w", "i", "w", "i", "o", "c", "s", "o", "r", "s"):
                    self.key_tap(g, modo)
                    time.sleep(0.2)
        else:
            for modo in ("x", "x", "r", "p", "r", "p", "h", "r", "p", "r", "p", "h"):
                self.key_tap(g, modo)
                time.sleep(0.3)

    def weigh(self, g):
        """Samples the memory at the game's own window size: the driver's
        buffers follow the size, tens of MB apart between a tiny window and
        a large one, and would swamp any growth of the game's own."""
        if g.mapped:
            w, h = DEFAULT_SIZE[self.game]
            if (self.geometry(g) or g.size) not in (None, (w, h)):
                self.xdo("windowsize", g.window, str(w), str(h))
                g.size = (w, h)
                # two frames at the new size (the first may have begun before)
                for _ in range(2):
                    self.wait_frame(g, g.frames(), time.monotonic(), FRAME_WAIT)
        g.sample_rss()

    def profile(self, g):
        """The game prints its heap profile at its next frame: a window one
        pixel wider brings one, paused or not; then back to its own size."""
        if not g.mapped or g.proc.poll() is not None:
            return
        n = g.ask_profile()
        w, h = DEFAULT_SIZE[self.game]
        self.xdo("windowsize", g.window, str(w + 1), str(h))
        deadline = time.monotonic() + 60
        while g.counters()[PROFILE_DONE] != n and time.monotonic() < deadline and g.proc.poll() is None:
            time.sleep(0.05)
        if g.proc.poll() is not None:
            return
        self.xdo("windowsize", g.window, str(w), str(h))
        g.size = (w, h)
        self.wait_frame(g, g.frames(), time.monotonic(), FRAME_WAIT)
        split = g.read_profile(n)
        if split is not None:
            g.profiles.append((time.monotonic() - g.started,) + split + (g.counters()[GL_OBJECTS],))
        elif g.heap:
            # the allocator counts, so it can profile: the probe or the reading failed
            self.failures.append("run %d: no heap profile within 60 s of asking" % (len(self.runs) - 1))

    def resize(self, g):
        if self.rng.random() < 0.4:
            w, h = self.rng.randrange(1, 24), self.rng.randrange(1, 24)
        else:
            w, h = self.rng.randrange(24, 1000), self.rng.randrange(24, 900)
        self.xdo("windowsize", g.window, str(w), str(h))
        # a player keeps at least a corner of the window on the screen
        self.xdo("windowmove", g.window, str(self.rng.randrange(0, 400)), str(self.rng.randrange(0, 300)))
        g.size = (w, h)

    def iconify(self, g):
        # without a window manager, iconify is an unmap and restore a map
        self.xdo("windowunmap", g.window)
        g.mapped = False
        time.sleep(self.rng.uniform(0.2, 2.0))
        self.xdo("windowmap", g.window)
        g.mapped = True
        self.focus(g)
        # a game in play waits for the pause key after it was hidden
        self.paused = True

    def quitting_allowed(self):
        # leaving is part of play, but rarely: a long run shows the memory
        return self.rng.random() < 0.05

    def act(self, g):
        r = self.rng.random()
        keys = KEYS[self.game]
        if self.paused and self.rng.random() < 0.3:
            self.key_tap(g, PAUSE_KEY[self.game])
            self.paused = False
            return "unpause"
        if r < 0.40:
            k = self.rng.choice(FAVOURITES[self.game])
            (self.key_hold if self.rng.random() < 0.5 else self.key_tap)(g, k)
            return "play " + k
        if r < 0.75:
            k = self.rng.choice(keys)
            if k == "n" and not self.quitting_allowed():
                k = "x"
            if k == PAUSE_KEY[self.game]:
                self.paused = not self.paused
            (self.key_hold if self.rng.random() < 0.2 else self.key_tap)(g, k)
            return "key " + k
        if r < 0.85:
            self.drag(g)
            return "drag"
        if r < 0.92:
            if self.game == "space-zarkons-3d":
                self.menu(g)
                return "menu"
            self.key_tap(g, self.rng.choice(keys))
            return "key"
        if r < 0.97:
            self.resize(g)
            return "resize"
        self.iconify(g)
        return "iconify"

    # --- watching ---
    def wait_frame(self, g, before, since, limit):
        """Seconds from the input to the next frame, or None."""
        while time.monotonic() - since <= limit:
            if g.frames() != before:
                return time.monotonic() - since
            if g.proc.poll() is not None:
                return 0.0
            time.sleep(0.01)
        return None

    def check_frame(self, g, before, since, what):
        lat = self.wait_frame(g, before, since, FRAME_WAIT)
        if lat is None:
            # a paused or hidden game may have nothing new to draw: a resize
            # of one pixel is an input that must always bring a frame
            self.nudges += 1
            # from the size the window really has: the game changes it itself
            # (F and F again), and a request for the size it already has
            # brings no reshape and so no frame
            w, h = self.geometry(g) or g.size or (640, 640)
            g.size = (w + 1 if w < 1000 else w - 1, h)
            before = g.frames()
            since = time.monotonic()
            cpu = cpu_seconds(g.proc.pid)
            # full screen without a window manager can leave the window off
            # the screen, where nothing is drawn: bring it back first
            self.xdo("windowmove", g.window, "0", "0")
            self.xdo("windowsize", g.window, str(g.size[0]), str(g.size[1]))
            lat = self.wait_frame(g, before, since, HANG)
            if lat is not None and lat > FRAME_WAIT:
                self.late.append("%.1f s after %s (run %d, %.1f s of CPU meanwhile)"
                                 % (lat, what, len(self.runs) - 1, cpu_seconds(g.proc.pid) - cpu))
        if lat is None:
            self.failures.append("hang: no frame within %.0f s after %s (run %d); last inputs: %s; %s"
                                 % (HANG, what, len(self.runs) - 1, ", ".join(self.history),
                                    sh(self.env, "xwininfo", "-id", g.window).replace("\n", " ")))
            self.stacks(g, "hang-%d.txt" % (len(self.runs) - 1))
            g.proc.send_signal(signal.SIGABRT)
            g.proc.wait(30)
        else:
            self.latencies.append(lat)

    def stacks(self, g, name):
        """Where the game's threads are, for whoever replays the seed."""
        if shutil.which("gdb"):
            with open(os.path.join(self.tmp, name), "w") as f:
                subprocess.run(["gdb", "-p", str(g.proc.pid), "-batch", "-ex", "thread apply all bt"],
                               stdout=f, stderr=subprocess.STDOUT)

    def finish_run(self, g, how):
        try:
            st = g.proc.wait(60)
        except subprocess.TimeoutExpired:
            # a game that does not end is a failure to report, with its stacks
            self.failures.append("run %d did not end within 60 s (%s); last inputs: %s"
                                 % (len(self.runs) - 1, how, ", ".join(self.history)))
            self.stacks(g, "no-end-%d.txt" % (len(self.runs) - 1))
            g.proc.send_signal(signal.SIGABRT)
            st = g.proc.wait(30)
        g.sample_rss()
        g.status = st
        if st != 0:
            self.failures.append("run %d ended with status %s (%s)" % (len(self.runs), st, how))

    def play(self):
        print("soak: %s, %d s, seed %d (replay: --seed %d)" % (self.game, self.seconds, args.seed,
                                                               args.seed), flush=True)
        end = time.monotonic() + self.seconds
        while time.monotonic() < end:
            g = Game(self, len(self.runs))
            self.runs.append(g)
            if g.window is None:
                self.failures.append("run %d: no window (status %s)" % (len(self.runs), g.proc.poll()))
                g.proc.kill()
                g.status = g.proc.wait()
                break
            self.paused = False
            # only where the memory is judged: a short soak is all play. Every
            # run: the other ship model is loaded (its lists made) the first
            # time it is chosen, which is no leak
            if self.seconds >= 300:
                self.warm_up(g)
            next_rss = 0.0
            next_profile = g.started + WARM_UP
            while time.monotonic() < end and g.proc.poll() is None:
                if time.monotonic() >= next_rss:
                    self.weigh(g)
                    next_rss = time.monotonic() + RSS_EVERY
                    if self.seconds >= 300 and time.monotonic() >= next_profile:
                        self.profile(g)
                        next_profile = time.monotonic() + PROFILE_EVERY
                before = g.frames()
                what = self.act(g)
                self.history = (self.history + [what])[-8:]
                self.actions += 1
                if g.proc.poll() is None and g.mapped:
                    # timed from the action's last event
                    self.check_frame(g, before, time.monotonic(), what)
            if g.proc.poll() is not None:
                self.finish_run(g, "ended in play")
                continue
            # a profile at the end of every soak, judged or not, so that the
            # suite's short soak keeps the profiling working
            self.weigh(g)
            self.profile(g)
            self.focus(g)
            self.xdo("key", "Escape")
            self.finish_run(g, "Escape")
        self.xvfb.terminate()
        self.xvfb.wait()

    # --- the report ---
    def memory(self, series):
        """Growth after the warm-up of the longest run: (minutes, kB per ten
        minutes, first and last minute's medians). The rate is the median of
        the slopes between every two samples: a leak tilts them all alike,
        while what the game holds only in some states (a text screen's saved
        pixels, the shots in flight) tilts just the pairs with one sample in
        that state, in either direction, and leaves the median where it was;
        a line through the samples let one such sample at the end decide."""
        best = None
        for g in self.runs:
            late = [s for s in series(g) if s[0] >= WARM_UP]
            if len(late) < 3 or (best is not None and late[-1][0] - late[0][0] <= best[0] * 60):
                continue
            slopes = sorted((r2 - r1) / (t2 - t1) for i, (t1, r1) in enumerate(late)
                            for t2, r2 in late[i + 1:] if t2 > t1)
            if not slopes:
                continue
            k = len(slopes)
            slope = (slopes[(k - 1) // 2] + slopes[k // 2]) / 2
            first = sorted(r for t, r in late if t < late[0][0] + 60)
            last = sorted(r for t, r in late if t > late[-1][0] - 60)
            best = ((late[-1][0] - late[0][0]) / 60, slope * 600, first[len(first) // 2],
                    last[len(last) // 2])
        return best

    def records_path(self):
        return os.path.join(self.data, "zarkons", self.game + ".records")

    def records(self):
        path = self.records_path()
        problems = []
        if os.path.exists(path + ".damaged"):
            problems.append("a .damaged copy exists")
        if not os.path.exists(path):
            return 0, problems + ["no records file"]
        lines = open(path, "rb").read().decode("ascii", "replace").split("\n")
        if lines[0] != "zarkons-records 1" or lines[-1] != "":
            problems.append("bad header or last line")
        body = lines[1:-1]
        scores = []
        for line in body:
            if not RECORD.match(line):
                problems.append("bad line %r" % line)
            else:
                scores.append(int(line.split()[0]))
        if len(body) > 10 or scores != sorted(scores, reverse=True):
            problems.append("more than ten or out of order")
        kept = [line for line in SEEDED if line[:-1] in body]
        if len(kept) != len(SEEDED) and len(body) < 10:
            problems.append("old records lost")
        return len(body), problems

    def report(self):
        reports = 0
        for i, g in enumerate(self.runs):
            text = open(g.err, errors="replace").read()
            hits = SANITIZER.findall(text)
            if hits:
                reports += len(hits)
                self.failures.append("run %d: sanitizer report:\n%s" % (i, text[-4000:]))
        n, problems = self.records()
        self.failures += ["records: " + p for p in problems]
        # the game's own heap where the profiles say it, else the allocator's
        # whole live heap, else the RSS
        if any(len(g.profiles) >= 3 for g in self.runs):
            mem = self.memory(lambda g: [(p[0], p[1]) for p in g.profiles])
            what = "the game's own heap"
        elif any(g.heap for g in self.runs):
            mem, what = self.memory(lambda g: g.heap), "live heap"
        else:
            mem, what = self.memory(lambda g: g.rss), "RSS"
        lat = sorted(self.latencies)
        statuses = [str(getattr(g, "status", "?")) for g in self.runs]
        print("soak: %s" % self.game)
        print("  played          %d s, %d actions, %d runs (game restarted %d times)"
              % (self.seconds, self.actions, len(self.runs), len(self.runs) - 1))
        print("  exit statuses   %s" % " ".join(statuses))
        print("  sanitizer       %d reports" % reports)
        if lat:
            print("  input to frame  median %.0f ms, 99th %.0f ms, max %.0f ms (%d one-pixel nudges)"
                  % (1000 * lat[len(lat) // 2], 1000 * lat[int(len(lat) * 0.99)], 1000 * lat[-1],
                     self.nudges))
        print("  late frames     %d over %.0f s (a busy machine; none of them a hang)%s"
              % (len(self.late), FRAME_WAIT, "".join("\n    " + x for x in self.late[:10])))
        for i, g in enumerate(self.runs):
            for name, series in (("RSS", g.rss), ("live heap", g.heap)):
                if series:
                    print("  memory run %d    %d samples, %s %d kB at start of sampling, %d kB max, %d kB last"
                          % (i, len(series), name, series[0][1], max(r for _, r in series), series[-1][1]))
            if g.profiles:
                p = g.profiles
                print("  heap profiles   run %d: %d from %.0f s to %.0f s; the game's own %d to %d kB, the GL "
                      "driver's %d to %d kB (not judged), GL lists and textures %d at first, %d at last"
                      % (i, len(p), p[0][0], p[-1][0], min(x[1] for x in p), max(x[1] for x in p),
                         min(x[2] for x in p), max(x[2] for x in p), p[0][3], p[-1][3]))
                if p[-1][3] > p[0][3]:
                    self.failures.append("run %d made %d GL lists or textures in play"
                                         % (i, p[-1][3] - p[0][3]))
        if mem and mem[0] >= JUDGED:
            grows = mem[1] >= GROWTH_LIMIT
            print("  growth          %s %+.0f kB per 10 min over %.1f min after the first two "
                  "(first minute's median %d kB, last minute's %d kB): %s, the limit is %d kB"
                  % (what, mem[1], mem[0], mem[2], mem[3], "FAIL" if grows else "pass", GROWTH_LIMIT))
            if grows:
                self.failures.append("%s grows %.0f kB per ten minutes" % (what, mem[1]))
        else:
            print("  growth          not judged: no run had %.0f minutes past the first two" % JUDGED)
        print("  records         %d lines (%d games recorded), %s"
              % (n, n - len(SEEDED), "intact" if not problems else "; ".join(problems)))
        for f in self.failures:
            print("FAIL: " + f)
        print("soak: %s" % ("PASS" if not self.failures else "FAIL"), flush=True)
        for i, g in enumerate(self.runs):
            with open(os.path.join(self.tmp, "rss-%d.txt" % i), "w") as f:
                f.writelines("%.0f %d\n" % s for s in g.rss)
            with open(os.path.join(self.tmp, "heap-%d.txt" % i), "w") as f:
                f.writelines("%.0f %d\n" % s for s in g.heap)
        if not self.failures:
            shutil.rmtree(self.tmp, ignore_errors=True)
        else:
            print("soak: outputs kept in %s" % self.tmp)
        return not self.failures


if __name__ == "__main__":
    ap = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    ap.add_argument("game", choices=sorted(KEYS))
    ap.add_argument("--seconds", type=int, default=600)
    ap.add_argument("--seed", type=int, default=None)
    ap.add_argument("--build", default=os.path.join(ROOT, "build-soak"),
                    help="build folder (made with the sanitizers when it has none)")
    ap.add_argument("--no-build", action="store_true", help="play what the build folder holds")
    args = ap.parse_args()
    if args.seed is None:
        args.seed = random.SystemRandom().randrange(1, 2**31)
    if not args.no_build:
        build_games(args.build)
    s = Soak(args)
    try:
        s.play()
    finally:
        for g in s.runs:
            if g.proc.poll() is None:
                g.proc.kill()
                g.proc.wait()
        if s.xvfb.poll() is None:
            s.xvfb.terminate()
            s.xvfb.wait()
    sys.exit(0 if s.report() else 1)
