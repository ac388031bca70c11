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
BUILD = os.path.abspath(sys.argv[3]) if len(sys.argv) > 3 else os.path.join(REPO, "build")
# A program on the framework that counts its updates and frames (tests/window/loop_probe.cpp), and a
# module that, preloaded, makes buffer swaps wait for a display of TANK_SWAP_HZ hertz.
LOOP_PROBE = os.path.join(BUILD, "loop_probe")
SWAP_PACER = os.path.join(BUILD, "libswap_pacer.so")

BACKGROUND = (119, 136, 153)  # "lightslategray"
REPORT_TITLE = "Errors During Program Start"

# Generous: a test waits on what it needs (a window, a frame, the process
# ending) for as long as a busy machine may take, and no longer than that.
PATIENCE = 60.0


def _xlib():
    """The X client library, with the signatures the harness calls it by."""
    xlib = ctypes.CDLL(ctypes.util.find_library("X11"))
    xlib.XOpenDisplay.restype = ctypes.c_void_p
    xlib.XOpenDisplay.argtypes = [ctypes.c_char_p]
    xlib.XCloseDisplay.argtypes = [ctypes.c_void_p]
    xlib.XDefaultRootWindow.restype = ctypes.c_ulong
    xlib.XDefaultRootWindow.argtypes = [ctypes.c_void_p]
    xlib.XInternAtom.restype = ctypes.c_ulong
    xlib.XInternAtom.argtypes = [ctypes.c_void_p, ctypes.c_char_p, ctypes.c_int]
    xlib.XSendEvent.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_long, ctypes.c_void_p]
    xlib.XFlush.argtypes = [ctypes.c_void_p]
    xlib.XSync.argtypes = [ctypes.c_void_p, ctypes.c_int]
    xlib.XCreateSimpleWindow.restype = ctypes.c_ulong
    xlib.XCreateSimpleWindow.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_int,
                                         ctypes.c_uint, ctypes.c_uint, ctypes.c_uint, ctypes.c_ulong,
                                         ctypes.c_ulong]
    xlib.XStoreName.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_char_p]
    xlib.XMapWindow.argtypes = [ctypes.c_void_p, ctypes.c_ulong]
    xlib.XAutoRepeatOff.argtypes = [ctypes.c_void_p]
    xlib.XAutoRepeatOn.argtypes = [ctypes.c_void_p]
    xlib.XkbSetAutoRepeatRate.argtypes = [ctypes.c_void_p, ctypes.c_uint, ctypes.c_uint, ctypes.c_uint]
    xlib.XGetImage.restype = ctypes.POINTER(_XImage)
    xlib.XGetImage.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_int, ctypes.c_uint,
                               ctypes.c_uint, ctypes.c_ulong, ctypes.c_int]
    return xlib


class _XImage(ctypes.Structure):
    _fields_ = [("width", ctypes.c_int), ("height", ctypes.c_int), ("xoffset", ctypes.c_int),
                ("format", ctypes.c_int), ("data", ctypes.POINTER(ctypes.c_char)), ("byte_order", ctypes.c_int),
                ("bitmap_unit", ctypes.c_int), ("bitmap_bit_order", ctypes.c_int), ("bitmap_pad", ctypes.c_int),
                ("depth", ctypes.c_int), ("bytes_per_line", ctypes.c_int), ("bits_per_pixel", ctypes.c_int),
                ("red_mask", ctypes.c_ulong), ("green_mask", ctypes.c_ulong), ("blue_mask", ctypes.c_ulong),
                ("obdata", ctypes.c_void_p),
                ("create_image", ctypes.c_void_p), ("destroy_image", ctypes.CFUNCTYPE(ctypes.c_int, ctypes.c_void_p)),
                ("get_pixel", ctypes.c_void_p), ("put_pixel", ctypes.c_void_p), ("sub_image", ctypes.c_void_p),
                ("add_pixel", ctypes.c_void_p)]


class VirtualScreen:
    """A private X server; `env` runs programs on it."""

    def __init__(self, width=1024, height=768):
        read_end, write_end = os.pipe()
        # -noreset: by default the server starts afresh whenever its last client
        # leaves, and drops a client that connects meanwhile. While a test polls
        # for the game's window with xdotool, one that comes and goes, the game
        # connecting at that moment failed to open its display.
        self.process = subprocess.Popen(
            ["Xvfb", "-displayfd", str(write_end), "-screen", "0", f"{width}x{height}x24", "-nolisten", "tcp",
             "-noreset"],
            pass_fds=(write_end,), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        os.close(write_end)
        with os.fdopen(read_end) as pipe:
            number = pipe.readline().strip()
        if not number:
            self.process.kill()
            raise RuntimeError("Xvfb did not start")
        self.display = ":" + number
        self.env = dict(os.environ, DISPLAY=self.display)
        self.width, self.height = width, height
        self.xlib = None
        self.connection = None  # the harness's own, opened on first use

    def connect(self):
        """The harness's own connection to the server, for reading pixels and making windows."""
        if self.connection is None:
            self.xlib = _xlib()
            self.connection = self.xlib.XOpenDisplay(self.display.encode())
            if not self.connection:
                self.connection = None
                raise RuntimeError(f"cannot connect to {self.display}")
        return self.connection

    def disconnect(self):
        """Closes the harness's connection: the X library ends a client whose server goes away."""
        if self.connection is not None:
            self.xlib.XCloseDisplay(self.connection)
            self.connection = None

    def close(self):
        self.disconnect()
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
        """To the focused window, held for a few ticks, as a player presses a key."""
        self.xdotool("keydown", key, "sleep", "0.1", "keyup", key)

    def tap_key(self, key):
        """To the focused window, press and release back to back: both usually
        fall between two of the game's input samples."""
        self.xdotool("key", key)

    def click(self, button=1):
        """At the pointer, held for a few ticks, like press_key."""
        self.xdotool("mousedown", button, "sleep", "0.1", "mouseup", button)

    def quick_click(self, button=1):
        """At the pointer, press and release back to back, as a touchpad's tap does."""
        self.xdotool("click", button)

    def find_window(self, name, timeout=PATIENCE):
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

    def screenshot(self, region=None):
        """The screen, or the part (x0, y0, x1, y1) of it, as an Image in screen coordinates.
        Read straight from the server: quick enough to poll for a frame that shows for a moment."""
        x0, y0, x1, y1 = region or (0, 0, self.width, self.height)
        connection = self.connect()
        root = self.xlib.XDefaultRootWindow(connection)
        all_planes, z_pixmap = ~0 & 0xFFFFFFFFFFFFFFFF, 2
        image = self.xlib.XGetImage(connection, root, x0, y0, x1 - x0, y1 - y0, all_planes, z_pixmap)
        if not image:
            raise RuntimeError(f"cannot read the screen at {(x0, y0, x1, y1)}")
        try:
            xi = image.contents
            # Xvfb's 24-bit screen: 32 bits a pixel, blue first in memory.
            assert xi.bits_per_pixel == 32 and xi.byte_order == 0 and xi.red_mask == 0xFF0000, "unexpected visual"
            raw = ctypes.string_at(xi.data, xi.bytes_per_line * xi.height)
            width, height, stride = xi.width, xi.height, xi.bytes_per_line
        finally:
            image.contents.destroy_image(ctypes.cast(image, ctypes.c_void_p))
        pixels = bytearray(width * height * 3)
        for row in range(height):
            line = raw[row * stride:row * stride + width * 4]
            out = row * width * 3
            pixels[out:out + width * 3:3] = line[2::4]
            pixels[out + 1:out + width * 3:3] = line[1::4]
            pixels[out + 2:out + width * 3:3] = line[0::4]
        return Image(width, height, bytes(pixels), origin=(x0, y0))

    def save_screenshot(self, path):
        subprocess.run(["import", "-window", "root", path], env=self.env, check=True)

    def send_close_request(self, window):
        """What a window manager sends when the user clicks the close button."""

        class ClientMessage(ctypes.Structure):
            _fields_ = [("type", ctypes.c_int), ("serial", ctypes.c_ulong), ("send_event", ctypes.c_int),
                        ("display", ctypes.c_void_p), ("window", ctypes.c_ulong),
                        ("message_type", ctypes.c_ulong), ("format", ctypes.c_int),
                        ("data", ctypes.c_long * 5), ("pad", ctypes.c_long * 12)]

        connection = self.connect()
        event = ClientMessage()
        event.type = 33  # ClientMessage
        event.window = int(window)
        event.message_type = self.xlib.XInternAtom(connection, b"WM_PROTOCOLS", 0)
        event.format = 32
        event.data[0] = self.xlib.XInternAtom(connection, b"WM_DELETE_WINDOW", 0)
        event.data[1] = 0  # CurrentTime
        self.xlib.XSendEvent(connection, int(window), 0, 0, ctypes.byref(event))
        self.xlib.XFlush(connection)

    def no_key_repeat(self):
        """Turns the server's key repeat off. A key held longer than the repeat
        delay repeats, and on a busy machine the library can take a repeat for a
        release and a new press, so a test that holds a key may see it toggle."""
        connection = self.connect()
        self.xlib.XAutoRepeatOff(connection)
        self.xlib.XSync(connection, 0)

    def quick_key_repeat(self):
        """Turns the server's key repeat on, from 0.1 s after a key goes down."""
        connection = self.connect()
        self.xlib.XAutoRepeatOn(connection)
        self.xlib.XkbSetAutoRepeatRate(connection, 0x100, 100, 20)  # the core keyboard; delay, interval in ms
        self.xlib.XSync(connection, 0)

    def other_window(self, name="elsewhere"):
        """A small window of the harness's own at the bottom right, mapped; its id."""
        connection = self.connect()
        root = self.xlib.XDefaultRootWindow(connection)
        window = self.xlib.XCreateSimpleWindow(connection, root, self.width - 110, self.height - 110, 100, 100,
                                               0, 0, 0xFFFFFF)
        self.xlib.XStoreName(connection, window, name.encode())
        self.xlib.XMapWindow(connection, window)
        self.xlib.XSync(connection, 0)
        return str(window)


class Image:
    """An RGB screenshot."""

    def __init__(self, width, height, pixels, origin=(0, 0)):
        self.width, self.height, self.pixels = width, height, pixels
        self.origin = origin  # where the image's top-left pixel is on the screen

    def pixel(self, x, y):
        """The pixel at screen position (x, y)."""
        x, y = x - self.origin[0], y - self.origin[1]
        i = (y * self.width + x) * 3
        return tuple(self.pixels[i:i + 3])

    def count(self, region, predicate):
        """How many pixels of (x0, y0, x1, y1) satisfy predicate(rgb)."""
        x0, y0, x1, y1 = region
        return sum(1 for y in range(y0, y1) for x in range(x0, x1) if predicate(self.pixel(x, y)))


def near(a, b, tolerance=12):
    return all(abs(p - q) <= tolerance for p, q in zip(a, b))


def differs(a, b, by=60):
    return any(abs(p - q) > by for p, q in zip(a, b))


def hud_text(rgb):
    """The HUD's texts are white, greyed by the vignette; the background is bluish."""
    r, g, b = rgb
    return abs(r - b) < 8 and g > 100


def game_drawn(image, x, y):
    """Whether the game at (x, y) has drawn a frame yet: the background shows above the title."""
    return near(image.pixel(x + 400, y + 120), BACKGROUND, 20)


def overlay_region(x, y):
    """The debug overlay's second and third lines, under the count of enemies left, in the game at (x, y)."""
    return x + 30, y + 55, x + 330, y + 100


def overlay_shown(image, x, y):
    return image.count(overlay_region(x, y), hud_text) > 200


def crosshair_near(image, x, y):
    """Whether the crosshair's white and black rings are drawn at (x, y), in the frame's dim margin."""
    return image.count((x - 20, y - 20, x + 20, y + 20), lambda rgb: min(rgb) > 160 or max(rgb) < 70) > 20


class Game:
    """The game, or another program built on the framework (an example, an installed launcher),
    running on a virtual screen from a working directory; its window is found by name."""

    def __init__(self, screen, cwd=REPO, extra_env=None, command=None, window_name="tank"):
        """extra_env's entries are added to the environment; one whose value is None is removed."""
        self.screen = screen
        self.window_name = window_name
        self.report_path = tempfile.mktemp(prefix="tank-report-")
        env = dict(screen.env)
        env["ALSOFT_DRIVERS"] = "null"  # audio available, silent, on any machine
        env["LD_PRELOAD"] = REPORT_SPY
        env["TANK_REPORT_SPY"] = self.report_path
        env.update(extra_env or {})
        env = {name: value for name, value in env.items() if value is not None}
        self.process = subprocess.Popen(command or [GAME], cwd=cwd, env=env, stdout=subprocess.PIPE,
                                        stderr=subprocess.PIPE, start_new_session=True)

    def wait_for_window(self):
        try:
            window = self.screen.find_window(f"^{self.window_name}$")
        except AssertionError as failure:
            ended = self.process.poll()
            raise AssertionError(f"{failure}; report shown: {self.report()}; "
                                 + ("still running" if ended is None else
                                    f"ended with status {ended}:\n{self.output()}")) from None
        # No window manager: give the game the keyboard focus by hand.
        self.screen.xdotool("windowfocus", "--sync", window, check=False)
        return window

    def wait_for_exit(self, timeout=PATIENCE):
        """The exit status (negative: the signal that ended it), or None if still running after timeout."""
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

    def stall(self):
        """Stops the game as a long tick would: what is sent meanwhile waits for resume()."""
        os.kill(self.process.pid, signal.SIGSTOP)
        os.waitpid(self.process.pid, os.WUNTRACED)  # returns once it has stopped

    def resume(self):
        os.kill(self.process.pid, signal.SIGCONT)

    def output(self):
        out, err = self.process.communicate(timeout=PATIENCE)
        return out.decode(errors="replace") + err.decode(errors="replace")

    def standard_error(self):
        """All the program wrote to standard error; waits for it to end."""
        _, err = self.process.communicate(timeout=PATIENCE)
        return err.decode(errors="replace")

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

    def start_game(self, cwd=REPO, extra_env=None, command=None, window_name="tank"):
        game = Game(self.screen, cwd=cwd, extra_env=extra_env, command=command, window_name=window_name)
        self.addCleanup(game.close)
        return game

    def busy_beside(self, count=2):
        """`count` processes that each keep a core busy until the test ends, as
        other builds do on a shared machine."""
        for _ in range(count):
            burner = subprocess.Popen([sys.executable, "-c", "while True: pass"])
            self.addCleanup(_stop, burner)

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

    def wait_for_frame(self, predicate, timeout=PATIENCE, region=None, message="the expected frame never appeared",
                       screen=None):
        """The first screenshot of the test's screen, or of `screen`, and of `region`
        only if given, that satisfies predicate(image); or a failure."""
        deadline = time.monotonic() + timeout
        while time.monotonic() < deadline:
            image = (screen or self.screen).screenshot(region)
            if predicate(image):
                return image
            time.sleep(0.01)
        self.fail(message)

    def wait_for_input(self, x, y):
        """The first frame of the game at (x, y) to have taken in all input sent so far: the
        pointer moves between two spots of the empty left margin, and the events reach the
        game in order, so a frame with the crosshair at the new spot saw all sent before."""
        spots = [(x + 40, y + 150), (x + 40, y + 250)]
        self._pointer_spot = 1 - getattr(self, "_pointer_spot", 1)
        new, old = spots[self._pointer_spot], spots[1 - self._pointer_spot]
        self.screen.xdotool("mousemove", *new)
        return self.wait_for_frame(lambda image: crosshair_near(image, *new) and not crosshair_near(image, *old),
                                   message="the game never drew the pointer where it was moved")


def run(command, cwd=None, env=None):
    """Runs a build step; a failure shows its output."""
    result = subprocess.run(command, cwd=cwd, env=env, capture_output=True, text=True)
    if result.returncode != 0:
        raise AssertionError(f"{' '.join(command)} ended with {result.returncode}:\n"
                             f"{result.stdout[-3000:]}\n{result.stderr[-3000:]}")
    return result.stdout


def clean_env():
    """The environment without anything that could point a build at other packages."""
    env = dict(os.environ)
    for name in ("CMAKE_PREFIX_PATH", "PKG_CONFIG_PATH", "CPATH", "CPLUS_INCLUDE_PATH", "LIBRARY_PATH"):
        env.pop(name, None)
    return env


def _stop(process):
    if process.poll() is None:
        process.kill()
    process.wait()


def main():
    unittest.main(argv=[sys.argv[0]], verbosity=2)
