"""The game at any window size: the frame scaled to fit between black bars, the pointer mapped back
into the frame, and F11 between the window and the whole screen."""

import subprocess
import time

from harness import BACKGROUND, VirtualScreen, WindowTestCase, differs, game_drawn, main, near

BLACK = (0, 0, 0)


class WindowSize(WindowTestCase):
    def setUp(self):
        # Room for a window larger than the frame.
        self.screen = VirtualScreen(1920, 1200)
        self.addCleanup(self.screen.close)

    def wait_for_geometry(self, window, size, timeout=30.0):
        deadline = time.monotonic() + timeout
        while time.monotonic() < deadline:
            geometry = self.screen.window_geometry(window)
            if geometry[2:] == size:
                return geometry
            time.sleep(0.05)
        self.fail(f"the window never became {size}: {self.screen.window_geometry(window)}")

    def test_a_larger_window_shows_the_frame_scaled_between_bars_and_the_crosshair_under_the_pointer(self):
        game = self.start_game()
        window = game.wait_for_window()
        self.screen.xdotool("windowsize", window, 1600, 1000)
        x, y, _, _ = self.wait_for_geometry(window, (1600, 1000))

        # 800 x 600 fits 1600 x 1000 as 1333 x 1000, from x = 133.
        def scaled(image):
            return (near(image.pixel(x + 120, y + 500), BLACK, 4) and near(image.pixel(x + 1480, y + 500), BLACK, 4)
                    and near(image.pixel(x + 600, y + 300), BACKGROUND, 20)
                    and near(image.pixel(x + 1000, y + 650), BACKGROUND, 20))
        self.wait_for_frame(scaled)

        pointer = (x + 1200, y + 300)
        self.screen.xdotool("mousemove", *pointer)
        around = (pointer[0] - 20, pointer[1] - 20, pointer[0] + 20, pointer[1] + 20)
        beside = (around[0] - 90, around[1], around[2] - 90, around[3])

        def marked(image, box):
            return image.count(box, lambda rgb: differs(rgb, BACKGROUND)) > 30
        image = self.wait_for_frame(lambda image: scaled(image) and marked(image, around))
        self.assertFalse(marked(image, beside), "the crosshair is under the pointer, not beside it")

    def test_f11_fills_the_screen_and_brings_the_window_back(self):
        # Fullscreen is the window manager's to grant.
        manager = subprocess.Popen(["openbox", "--sm-disable"], env=self.screen.env, stdout=subprocess.DEVNULL,
                                   stderr=subprocess.DEVNULL)
        self.addCleanup(lambda: (manager.terminate(), manager.wait()))
        deadline = time.monotonic() + 30
        while "_NET_SUPPORTING_WM_CHECK(WINDOW)" not in subprocess.run(
                ["xprop", "-root", "_NET_SUPPORTING_WM_CHECK"], env=self.screen.env, capture_output=True,
                text=True).stdout:
            self.assertLess(time.monotonic(), deadline, "the window manager never started")
            time.sleep(0.05)

        game = self.start_game()
        window = game.wait_for_window()
        x, y, _, _ = self.wait_for_geometry(window, (800, 600))
        # A key that goes down before the first tick is not seen: wait for
        # a frame, and for the keyboard, which the manager may have moved.
        self.wait_for_frame(lambda image: game_drawn(image, x, y))
        self.screen.xdotool("windowfocus", "--sync", window)
        self.screen.press_key("F11")
        self.wait_for_geometry(window, (1920, 1200))
        # 800 x 600 fits 1920 x 1200 as 1600 x 1200, from x = 160.
        self.wait_for_frame(lambda image: near(image.pixel(80, 600), BLACK, 4)
                            and near(image.pixel(700, 400), BACKGROUND, 20))
        self.screen.press_key("F11")
        self.wait_for_geometry(window, (800, 600))


if __name__ == "__main__":
    main()
