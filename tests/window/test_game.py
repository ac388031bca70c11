"""The game in a real window: the HUD of the first frames, the debug view, a shot."""

import time

from harness import BACKGROUND, WindowTestCase, main, near


def hud_text(rgb):
    """The HUD's texts are white, greyed by the vignette; the background is bluish."""
    r, g, b = rgb
    return abs(r - b) < 8 and g > 100


def differs(a, b, by=60):
    return any(abs(p - q) > by for p, q in zip(a, b))


class Game(WindowTestCase):
    def start(self):
        """The running game, its window's top-left corner on the screen."""
        game = self.start_game()
        window = game.wait_for_window()
        x, y, _, _ = self.screen.window_geometry(window)
        return game, window, x, y

    def move_pointer(self, x, y):
        self.screen.xdotool("mousemove", x, y)

    @staticmethod
    def drawn(image, x, y):
        """Whether the game has drawn a frame yet: the background shows above the title."""
        return near(image.pixel(x + 400, y + 120), BACKGROUND, 20)

    def test_first_frames_show_energy_count_and_crosshair_over_the_background(self):
        _, _, x, y = self.start()
        # Clear of the title, the tanks and (for the first seconds) the enemies.
        pointer = (x + 650, y + 300)
        self.move_pointer(*pointer)

        dots = (x + 30, y + 520, x + 200, y + 600)
        count = (x + 30, y + 30, x + 60, y + 50)
        around = (pointer[0] - 16, pointer[1] - 16, pointer[0] + 16, pointer[1] + 16)
        beside = (around[0] - 60, around[1], around[2] - 60, around[3])

        def crosshair(image, box):
            return image.count(box, lambda rgb: differs(rgb, BACKGROUND)) > 20

        image = self.wait_for_frame(lambda image: self.drawn(image, x, y) and crosshair(image, around))
        self.assertGreater(image.count(dots, hud_text), 500, "five large energy dots")
        self.assertGreater(image.count(count, hud_text), 20, "the count of enemies left")
        self.assertFalse(crosshair(image, beside), "only the crosshair stands out of the background")

    def test_f1_shows_the_overlay_and_f1_again_hides_it(self):
        _, _, x, y = self.start()
        self.move_pointer(x + 650, y + 300)
        # The overlay's second and third lines, under the count of enemies left.
        lines = (x + 30, y + 55, x + 330, y + 100)

        def overlay_shown(image):
            return image.count(lines, hud_text) > 200

        self.assertFalse(overlay_shown(self.wait_for_frame(lambda image: self.drawn(image, x, y))))
        self.screen.press_key("F1")
        self.wait_for_frame(overlay_shown)
        self.screen.press_key("F1")
        self.wait_for_frame(lambda image: not overlay_shown(image))

    def test_a_left_click_sends_a_bullet_up_from_the_left_tank(self):
        _, _, x, y = self.start()
        self.move_pointer(x + 100, y + 110)  # straight above the left tank
        before = self.wait_for_frame(lambda image: self.drawn(image, x, y))
        time.sleep(0.3)
        # Between the crosshair and the shield: the bullet's way up.
        path = (x + 88, y + 150, x + 112, y + 355)

        self.screen.click(1)

        def bullet_on_its_way(image):
            return any(
                differs(image.pixel(px, py), before.pixel(px, py))
                for py in range(path[1], path[3]) for px in range(path[0], path[2]))

        self.wait_for_frame(bullet_on_its_way, timeout=2.0)


if __name__ == "__main__":
    main()
