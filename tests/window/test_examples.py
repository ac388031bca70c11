"""The framework as an installed package: the examples built against the
install alone, a pkg-config build with global objects, and the public headers
alone installed, <tank/tank.hpp> compiling with them. (The installed
game's launcher is started from another folder by test_package.py, from the
Debian package, which the same install rules fill.)

The build is installed once into a scratch prefix, and each example folder is
copied out of the repository and built there, so that nothing can reach the
source tree except through what was installed.
"""

import json
import os
import re
import shutil
import subprocess
import sys
import tempfile

from harness import REPO, WindowTestCase, clean_env, main, run

BUILD_DIR = os.path.abspath(sys.argv[3]) if len(sys.argv) > 3 else os.path.join(REPO, "build")
EXAMPLES = ("bunnymark", "easings", "explorer", "rocks")
BUDGET_LINE = re.compile(r"^largest count within 16\.67 ms: (\d+)( \(the cap\))?$", re.M)
COUNT_LINE = re.compile(r"^\s*(\d+) sprites:\s+([\d.]+) ms a frame$", re.M)
# Headers only the framework's own sources include.
INTERNAL_HEADERS = ("input/input_catch_up.hpp", "core/drawing_hold.hpp", "resources/wave_header.hpp",
                    "shell/display_loss.hpp")


def dot_centre_x(image, region):
    """The mean x of the dots' orange pixels in region, every other pixel looked at."""
    x0, y0, x1, y1 = region
    total = count = 0
    for y in range(y0, y1, 2):
        row = y * image.width * 3
        for x in range(x0, x1, 2):
            i = row + x * 3
            if image.pixels[i] > 180 and image.pixels[i + 2] < 110:
                total += x
                count += 1
    return total / count if count > 40 else None


def beetle_on_map(image, region):
    """The mean x of the explorer's map mark for its beetle, a bright teal, in region; None when absent."""
    xs = [x for y in range(region[1], region[3]) for x in range(region[0], region[2])
          if (lambda r, g, b: r < 150 and g > 200 and b > 170)(*image.pixel(x, y))]
    return sum(xs) / len(xs) if len(xs) > 10 else None


def gold_text(rgb):
    """The explorer's count, drawn in gold over its dark panel."""
    r, g, b = rgb
    return r > 200 and g > 150 and b < 150


def ship_pixels(image, region):
    """How many pixels of region are the rocks ship's blue, far bluer than the grey background."""
    return image.count(region, lambda rgb: rgb[2] - rgb[0] > 60)


class InstalledPackage(WindowTestCase):
    @classmethod
    def setUpClass(cls):
        cls.scratch = tempfile.mkdtemp(prefix="tank-package-")
        cls.addClassCleanup(shutil.rmtree, cls.scratch, True)
        cls.prefix = os.path.join(cls.scratch, "prefix")
        run(["cmake", "--install", BUILD_DIR, "--prefix", cls.prefix], env=clean_env())
        cls.builds = {}
        for name in EXAMPLES:
            source = os.path.join(cls.scratch, "source", name)
            build = os.path.join(cls.scratch, "build", name)
            shutil.copytree(os.path.join(REPO, "examples", name), source)
            run(["cmake", "-S", source, "-B", build, f"-DCMAKE_PREFIX_PATH={cls.prefix}",
                 "-DCMAKE_EXPORT_COMPILE_COMMANDS=ON"], env=clean_env())
            run(["cmake", "--build", build, "-j2"], env=clean_env())
            cls.builds[name] = build

    def assert_no_repository_path(self, text, what):
        for path in {REPO, os.path.realpath(REPO), BUILD_DIR}:
            self.assertNotIn(path, text, f"{what} names {path}")

    def test_examples_build_against_the_install_alone(self):
        include = os.path.join(self.prefix, "include")
        library = os.path.join(self.prefix, "lib", "libtank_framework.a")
        for name, build in self.builds.items():
            with self.subTest(example=name):
                with open(os.path.join(build, "compile_commands.json")) as file:
                    commands = json.load(file)
                self.assertTrue(commands)
                for entry in commands:
                    self.assert_no_repository_path(json.dumps(entry), "a compile command")
                    self.assertIn(include, entry["command"], "the headers come from the install")
                with open(os.path.join(build, "CMakeFiles", f"{name}.dir", "link.txt")) as file:
                    link = file.read()
                self.assert_no_repository_path(link, "the link line")
                self.assertIn(library, link)
                with open(os.path.join(build, "CMakeCache.txt")) as file:
                    cache = file.read()
                self.assertIn(f"tank_framework_DIR:PATH={self.prefix}/lib/cmake/tank_framework", cache)
                # The placeholders from the install and the example's own images.
                data = os.path.join(build, "data")
                for placeholder in ("missing_image.png", "missing_sample.wav", "lacuna.ttf"):
                    self.assertTrue(os.path.isfile(os.path.join(data, placeholder)), placeholder)
                self.assertTrue(os.listdir(os.path.join(data, "images")))

    def test_pkg_config_build_with_global_objects_runs_in_either_link_order(self):
        folder = os.path.join(self.scratch, "pkg-config")
        os.makedirs(folder, exist_ok=True)
        env = clean_env()
        env["PKG_CONFIG_PATH"] = os.path.join(self.prefix, "lib", "pkgconfig")
        flags = run(["pkg-config", "--cflags", "--libs", "tank-framework"], env=env).split()
        self.assert_no_repository_path(" ".join(flags), "pkg-config")
        sources = [os.path.join(REPO, "tests", "package", name) for name in ("globals.cpp", "main.cpp")]
        # The order of the files decides which globals the language builds first.
        for order in (sources, sources[::-1]):
            with self.subTest(first=os.path.basename(order[0])):
                program = os.path.join(folder, "program")
                run(["g++", "-Wall", "-Wextra", "-Werror", *order, *flags, "-o", program], env=env)
                result = subprocess.run([program], cwd=folder, capture_output=True, text=True, timeout=30)
                self.assertEqual(result.returncode, 0, result.stdout + result.stderr)
                self.assertIn("2 global objects registered", result.stdout)

    def test_internal_headers_stay_out_and_the_umbrella_compiles_against_the_install_alone(self):
        for header in INTERNAL_HEADERS:
            self.assertFalse(os.path.exists(os.path.join(self.prefix, "include", "tank", header)), header)
        # An installed header that includes one left out of the install fails here.
        env = clean_env()
        env["PKG_CONFIG_PATH"] = os.path.join(self.prefix, "lib", "pkgconfig")
        flags = run(["pkg-config", "--cflags", "tank-framework"], env=env).split()
        source = os.path.join(self.scratch, "umbrella.cpp")
        with open(source, "w") as file:
            file.write("#include <tank/tank.hpp>\n\nint main() { return tank::failure_exit_status - 1; }\n")
        run(["g++", "-fsyntax-only", "-Wall", "-Wextra", "-Werror", *flags, source], env=env)

    def test_bunnymark_measures_up_to_its_cap_and_ends(self):
        bunnymark = self.start_game(self.builds["bunnymark"], window_name="bunnymark", command=[
            os.path.join(self.builds["bunnymark"], "bunnymark"), "--measure", "--cap", "1000"])
        status = bunnymark.wait_for_exit(120)
        output = bunnymark.output()
        self.assertEqual(status, 0, output)
        self.assertIsNone(bunnymark.report(), "start-up found its data in the build folder")

        # The result follows from the figures printed: the last count within
        # the budget, ending at the cap when it never ran over.
        counts = [(int(n), float(ms)) for n, ms in COUNT_LINE.findall(output)]
        result = BUDGET_LINE.search(output)
        self.assertTrue(counts and result, output)
        within = [n for n, ms in counts if ms <= 1000 / 60]
        self.assertEqual(int(result.group(1)), within[-1] if within else 0, output)

    def test_easings_moves_its_dots_and_ends_after_its_frames(self):
        build = self.builds["easings"]
        easings = self.start_game(build, window_name="easings",
                                  command=[os.path.join(build, "easings"), "--frames", "360"])
        window = easings.wait_for_window()
        x, y, _, _ = self.screen.window_geometry(window)
        tracks = (x + 150, y + 20, x + 800, y + 540)

        first = self.wait_for_frame(lambda image: dot_centre_x(image, tracks) is not None, timeout=10)
        start = dot_centre_x(first, tracks)

        def moved(image):
            now = dot_centre_x(image, tracks)
            return now is not None and abs(now - start) > 10

        self.wait_for_frame(moved, timeout=10)
        self.assertEqual(easings.wait_for_exit(60), 0, "ends with 0 after its frames")
        self.assertIsNone(easings.report())

    def test_rocks_steers_its_ship_with_the_mouse_and_ends_after_its_frames(self):
        build = self.builds["rocks"]
        rocks = self.start_game(build, window_name="rocks", command=[os.path.join(build, "rocks"), "--frames", "240"])
        window = rocks.wait_for_window()
        x, y, _, _ = self.screen.window_geometry(window)
        # No rock reaches the ship's row within its first two seconds.
        for across in (200, 600):
            self.screen.xdotool("mousemove", x + across, y + 300)
            below = (x + across - 16, y + 530, x + across + 16, y + 570)
            self.wait_for_frame(lambda image: ship_pixels(image, below) > 100, region=below, timeout=10,
                                message=f"the ship never came to x = {across}")
        self.assertEqual(rocks.wait_for_exit(60), 0, "ends with 0 after its frames")
        self.assertIsNone(rocks.report())


    def test_explorer_walks_its_beetle_across_the_world_under_the_camera(self):
        build = self.builds["explorer"]
        self.assertTrue(os.path.isfile(os.path.join(build, "data", "sounds", "chime.wav")), "the build made it")
        self.screen.no_key_repeat()
        explorer = self.start_game(build, window_name="EXPLORER",
                                   command=[os.path.join(build, "explorer"), "--frames", "3600"])
        window = explorer.wait_for_window()
        x, y, _, _ = self.screen.window_geometry(window)
        panel = (x + 20, y + 14, x + 200, y + 42)
        world_map = (x + 630, y + 10, x + 790, y + 130)

        first = self.wait_for_frame(lambda image: beetle_on_map(image, world_map) is not None, region=world_map,
                                    message="no beetle on the map")
        start = beetle_on_map(first, world_map)
        self.wait_for_frame(lambda image: image.count(panel, gold_text) > 30, region=panel, message="no count in gold")

        # P pauses under a dimmed screen and P again goes on: the beetle then walks.
        self.screen.press_key("p")
        self.wait_for_frame(lambda image: image.count(panel, gold_text) == 0, region=panel, message="no pause screen")
        self.screen.press_key("p")
        self.wait_for_frame(lambda image: image.count(panel, gold_text) > 30, region=panel, message="the pause stayed")

        # Walking right for a while takes the beetle well across the map: at a
        # fifteenth of the world's size, 16 pixels a second.
        self.screen.xdotool("keydown", "Right")
        try:
            def walked(image):
                now = beetle_on_map(image, world_map)
                return now is not None and now - start > 8
            self.wait_for_frame(walked, region=world_map, message="the beetle never walked right")
        finally:
            self.screen.xdotool("keyup", "Right")
        self.screen.press_key("Escape")
        self.assertEqual(explorer.wait_for_exit(), 0, "ends with 0 at ESC")
        self.assertIsNone(explorer.report())


if __name__ == "__main__":
    main()
