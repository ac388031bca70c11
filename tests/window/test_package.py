"""The Debian package of the game: what it holds, and that its launcher, extracted, starts the game
from another directory."""

import os
import shutil
import subprocess
import sys
import tempfile
import unittest

from harness import WindowTestCase, game_drawn, main

BUILD = os.path.abspath(sys.argv[3]) if len(sys.argv) > 3 else None


class Package(WindowTestCase):
    @classmethod
    def setUpClass(cls):
        if BUILD is None:
            raise unittest.SkipTest("needs the build directory")
        cls.scratch = tempfile.mkdtemp(prefix="tank-package-")
        subprocess.run(["cpack", "-G", "DEB", "-B", cls.scratch, "--config",
                        os.path.join(BUILD, "CPackConfig.cmake")], check=True, capture_output=True)
        [cls.deb] = [os.path.join(cls.scratch, name) for name in os.listdir(cls.scratch) if name.endswith(".deb")]
        cls.root = os.path.join(cls.scratch, "root")
        subprocess.run(["dpkg-deb", "-x", cls.deb, cls.root], check=True)

    @classmethod
    def tearDownClass(cls):
        shutil.rmtree(cls.scratch, True)

    def field(self, name):
        return subprocess.run(["dpkg-deb", "-f", self.deb, name], check=True, capture_output=True,
                              text=True).stdout.strip()

    def test_holds_the_game_its_data_a_desktop_entry_and_an_icon(self):
        self.assertEqual(self.field("Package"), "tank")
        self.assertIn("liballegro5.2", self.field("Depends"))
        for path in ["usr/bin/tank", "usr/libexec/tank/tank", "usr/share/tank/data/lacuna.ttf",
                     "usr/share/tank/data/images/tank.png", "usr/share/tank/data/fonts/StencilStd.otf",
                     "usr/share/icons/hicolor/128x128/apps/tank.png"]:
            self.assertTrue(os.path.isfile(os.path.join(self.root, path)), path)
        self.assertFalse(os.path.exists(os.path.join(self.root, "usr/include")), "no framework headers")
        with open(os.path.join(self.root, "usr/share/applications/tank.desktop")) as entry:
            lines = entry.read().splitlines()
        self.assertIn("Exec=tank", lines)
        self.assertIn("Icon=tank", lines)
        self.assertIn("Type=Application", lines)

    def test_the_launcher_starts_the_game_from_any_directory(self):
        elsewhere = tempfile.mkdtemp(prefix="tank-cwd-")
        self.addCleanup(shutil.rmtree, elsewhere, True)
        game = self.start_game(elsewhere, command=[os.path.join(self.root, "usr/bin/tank")])
        window = game.wait_for_window()
        # ESC counts from the game's first tick on: a press before it is no press.
        x, y, _, _ = self.screen.window_geometry(window)
        self.wait_for_frame(lambda image: game_drawn(image, x, y))
        self.screen.press_key("Escape")
        self.assertEqual(game.wait_for_exit(), 0, game.standard_error())
        self.assertIsNone(game.report(), "start-up found the installed data")

if __name__ == "__main__":
    main()
