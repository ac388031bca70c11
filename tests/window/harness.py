"""Drives the real program in a window on a virtual X server.

A test starts a private Xvfb, runs the game in it, sends keys and clicks with
xdotool, reads screenshots pixel by pixel and watches the process end. Every
process and the X server are cleaned up on every path out of a test.
"""

import ctypes
import ctypes.util
import os
import shutil
import signal
import subprocess
import sys
import tempfile
import time
import unittest

REPO = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
GAME = os.path.abspath(sys.argv[1]) if len(sys.argv) > 1 else os.path.join(REPO, "build", "tank")
REPORT_SPY = os.path.abspath(sys.argv[2]) if len(sys.argv) > 2 else os.path.join(REPO, "build", "libreport_spy.so")

BACKGROUND = (119, 136, 153)  # "lightslategray"
REPORT_TITLE = "Errors During Program Start"


class VirtualScreen:
    """A private X server; `env` runs programs on it."""

    def __init__(self, width=1024, height=768):
        read_end, write_end = os.pipe()
        self.process = subprocess.Popen(
            ["Xvfb", "-displayfd", str(write_end), "-screen", "0", f"{width}x{height}x24", "-nolisten", "tcp"],
            pass_fds=(write_end,), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        os.close(write_end)
        with os.fdopen(read_end) as pipe:
            number = pipe.readline().strip()
        if not number:
            self.process.kill()
            raise RuntimeError("Xvfb did not start")
        self.display = ":" + number
        self.env = dict(os.environ, DISPLAY=self.display)

    def close(self):
        self.process.terminate()
        try:
            self.process.wait(5)
        except subprocess.TimeoutExpired:
            self.process.kill()
            self.process.wait()

    def xdotool(self, *args, check=True):
        result = subprocess.run(["xdotool", *map(str, args)], env=self.env, capture_output=True, text=True)
        if check and result.returncode != 0:
            raise RuntimeError(f"xdotool {' '.join(map(str, args))}: {result.stderr.strip()}")
        return result.stdout.strip()

    def press_key(self, key):
        """To the focused window, held for a few ticks: a press and release that
        both fall between two of the game's input samples is never seen."""
        self.xdotool("keydown", key, "sleep", "0.1", "keyup", key)

    def click(self, button=1):
        """At the pointer, held for a few ticks, like press_key."""
        self.xdotool("mousedown", button, "sleep", "0.1", "mouseup", button)

    def find_window(self, name, timeout=10.0):
        """The id of the first visible window whose name matches, waiting for it."""
        deadline = time.monotonic() + timeout
        while time.monotonic() < deadline:
            found = self.xdotool("search", "--onlyvisible", "--name", name, check=False)
            if found:
                return found.split()[0]
            time.sleep(0.05)
        raise AssertionError(f"no window named {name!r} within {timeout} s")

    def window_geometry(self, window):
        """(x, y, width, height) of a window."""
        out = self.xdotool("getwindowgeometry", "--shell", window)
        values = dict(line.split("=", 1) for line in out.splitlines() if "=" in line)
        return int(values["X"]), int(values["Y"]), int(values["WIDTH"]), int(values["HEIGHT"])

    def screenshot(self):
        """The whole screen as an Image."""
        data = subprocess.run(["import", "-window", "root", "-depth", "8", "ppm:-"], env=self.env,
                              capture_output=True, check=True).stdout
        return Image.from_ppm(data)

    def save_screenshot(self, path):
        subprocess.run(["import", "-window", "root", path], env=self.env, check=True)

    def send_close_request(self, window):
        """What a window manager sends when the user clicks the close button."""
        xlib = ctypes.CDLL(ctypes.util.find_library("X11"))
        xlib.XOpenDisplay.restype = ctypes.c_void_p
        xlib.XOpenDisplay.argtypes = [ctypes.c_char_p]
        xlib.XInternAtom.restype = ctypes.c_ulong
        xlib.XInternAtom.argtypes = [ctypes.c_void_p, ctypes.c_char_p, ctypes.c_int]
        xlib.XSendEvent.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_long,
                                    ctypes.c_void_p]
        xlib.XFlush.argtypes = [ctypes.c_void_p]
        xlib.XCloseDisplay.argtypes = [ctypes.c_void_p]

        class ClientMessage(ctypes.Structure):
            _fields_ = [("type", ctypes.c_int), ("serial", ctypes.c_ulong), ("send_event", ctypes.c_int),
                        ("display", ctypes.c_void_p), ("window", ctypes.c_ulong),
                        ("message_type", ctypes.c_ulong), ("format", ctypes.c_int),
                        ("data", ctypes.c_long * 5), ("pad", ctypes.c_long * 12)]

        connection = xlib.XOpenDisplay(self.display.encode())
        try:
            event = ClientMessage()
            event.type = 33  # ClientMessage
            event.window = int(window)
            event.message_type = xlib.XInternAtom(connection, b"WM_PROTOCOLS", 0)
            event.format = 32
            event.data[0] = xlib.XInternAtom(connection, b"WM_DELETE_WINDOW", 0)
            event.data[1] = 0  # CurrentTime
            xlib.XSendEvent(connection, int(window), 0, 0, ctypes.byref(event))
            xlib.XFlush(connection)
        finally:
            xlib.XCloseDisplay(connection)


class Image:
    """An RGB screenshot."""

    def __init__(self, width, height, pixels):
        self.width, self.height, self.pixels = width, height, pixels

    @classmethod
    def from_ppm(cls, data):
        fields = []
        position = 0
        while len(fields) < 4:  # magic, width, height, maximum
            while data[position:position + 1].isspace():
                position += 1
            if data[position:position + 1] == b"#":
                position = data.index(b"\n", position)
                continue
            end = position
            while not data[end:end + 1].isspace():
                end += 1
            fields.append(data[position:end])
            position = end
        assert fields[0] == b"P6" and fields[3] == b"255", fields
        return cls(int(fields[1]), int(fields[2]), data[position + 1:])

    def pixel(self, x, y):
        i = (y * self.width + x) * 3
        return tuple(self.pixels[i:i + 3])

    def count(self, region, predicate):
        """How many pixels of (x0, y0, x1, y1) satisfy predicate(rgb)."""
        x0, y0, x1, y1 = region
        return sum(1 for y in range(y0, y1) for x in range(x0, x1) if predicate(self.pixel(x, y)))


def near(a, b, tolerance=12):
    return all(abs(p - q) <= tolerance for p, q in zip(a, b))


class Game:
    """The program running on a virtual screen, from a working directory."""

    def __init__(self, screen, cwd=REPO, extra_env=None):
        self.screen = screen
        self.report_path = tempfile.mktemp(prefix="tank-report-")
        env = dict(screen.env)
        env["ALSOFT_DRIVERS"] = "null"  # audio available, silent, on any machine
        env["LD_PRELOAD"] = REPORT_SPY
        env["TANK_REPORT_SPY"] = self.report_path
        env.update(extra_env or {})
        self.process = subprocess.Popen([GAME], cwd=cwd, env=env, stdout=subprocess.PIPE,
                                        stderr=subprocess.PIPE, start_new_session=True)

    def wait_for_window(self):
        window = self.screen.find_window("^tank$")
        # No window manager: give the game the keyboard focus by hand.
        self.screen.xdotool("windowfocus", "--sync", window, check=False)
        return window

    def wait_for_exit(self, timeout):
        try:
            return self.process.wait(timeout)
        except subprocess.TimeoutExpired:
            return None

    def report(self):
        """(title, heading, text) of the start-up report, or None if none was shown."""
        if not os.path.exists(self.report_path):
            return None
        with open(self.report_path) as file:
            title, heading, text = file.read().split("\n", 2)
        return title, heading, text

    def running(self):
        return self.process.poll() is None

    def output(self):
        out, err = self.process.communicate(timeout=5)
        return out.decode(errors="replace") + err.decode(errors="replace")

    def close(self):
        if self.process.poll() is None:
            os.killpg(self.process.pid, signal.SIGKILL)
            self.process.wait()
        for pipe in (self.process.stdout, self.process.stderr):
            if pipe and not pipe.closed:
                pipe.close()
        if os.path.exists(self.report_path):
            os.remove(self.report_path)


class WindowTestCase(unittest.TestCase):
    """Gives each test a fresh X server and cleans up whatever it started."""

    def setUp(self):
        self.screen = VirtualScreen()
        self.addCleanup(self.screen.close)

    def start_game(self, cwd=REPO, extra_env=None):
        game = Game(self.screen, cwd=cwd, extra_env=extra_env)
        self.addCleanup(game.close)
        return game

    def without_audio(self):
        """Environment under which the audio system cannot start, sound device or not."""
        home = tempfile.mkdtemp(prefix="tank-home-")
        self.addCleanup(shutil.rmtree, home, True)
        with open(os.path.join(home, ".allegro5rc"), "w") as config:
            config.write("[audio]\ndriver=openal\n")
        return {"HOME": home, "ALSOFT_DRIVERS": "no-such-backend"}

    def scratch_tree(self):
        """A copy of the data the game reads, in a folder removed after the test."""
        folder = tempfile.mkdtemp(prefix="tank-window-test-")
        self.addCleanup(shutil.rmtree, folder, True)
        shutil.copytree(os.path.join(REPO, "data"), os.path.join(folder, "data"))
        return folder

    def wait_for_frame(self, predicate, timeout=5.0):
        """The first screenshot that satisfies predicate(image), or a failure."""
        deadline = time.monotonic() + timeout
        image = None
        while time.monotonic() < deadline:
            image = self.screen.screenshot()
            if predicate(image):
                return image
            time.sleep(0.1)
        self.fail("the expected frame never appeared")


def main():
    unittest.main(argv=[sys.argv[0]], verbosity=2)


class Program(Game):
    """Any program built on the framework (an example, the installed launcher),
    run like the game: on a virtual screen, with a silent audio device and the
    report spy, from a working directory. Its window is found by name."""

    def __init__(self, screen, command, cwd, window_name, extra_env=None):
        self.screen = screen
        self.window_name = window_name
        self.report_path = tempfile.mktemp(prefix="tank-report-")
        env = dict(screen.env, ALSOFT_DRIVERS="null", LD_PRELOAD=REPORT_SPY, TANK_REPORT_SPY=self.report_path)
        env.update(extra_env or {})
        self.process = subprocess.Popen(command, cwd=cwd, env=env, stdout=subprocess.PIPE,
                                        stderr=subprocess.PIPE, start_new_session=True)

    def wait_for_window(self, timeout=30.0):
        """Its window, focused; a program that ended instead shows its output."""
        try:
            window = self.screen.find_window(f"^{self.window_name}$", timeout)
        except AssertionError as missing:
            if not self.running():
                raise AssertionError(f"{missing}; it ended with {self.process.returncode}:\n{self.output()}")
            raise
        self.screen.xdotool("windowfocus", "--sync", window, check=False)
        return window
