"""The game in a real window: the HUD of the first frames, the debug view, a shot."""

from harness import BACKGROUND, WindowTestCase, differs, game_drawn, hud_text, main, overlay_shown



class Game(WindowTestCase):
    def start(self):
        """The running game, its window's top-left corner on the screen."""
        game = self.start_game()
        window = game.wait_for_window()
        x, y, _, _ = self.screen.window_geometry(window)
        return game, window, x, y

    def move_pointer(self, x, y):
        self.screen.xdotool("mousemove", x, y)

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

        image = self.wait_for_frame(lambda image: game_drawn(image, x, y) and crosshair(image, around))
        self.assertGreater(image.count(dots, hud_text), 500, "five large energy dots")
        self.assertGreater(image.count(count, hud_text), 20, "the count of enemies left")
        self.assertFalse(crosshair(image, beside), "only the crosshair stands out of the background")

    def test_f1_shows_the_overlay_and_f1_again_hides_it(self):
        _, _, x, y = self.start()
        self.move_pointer(x + 650, y + 300)
        self.assertFalse(overlay_shown(self.wait_for_frame(lambda image: game_drawn(image, x, y)), x, y))
        self.screen.press_key("F1")
        self.wait_for_frame(lambda image: overlay_shown(image, x, y))
        self.screen.press_key("F1")
        self.wait_for_frame(lambda image: not overlay_shown(image, x, y))

    def test_a_left_click_sends_a_bullet_up_from_the_left_tank(self):
        _, _, x, y = self.start()
        pointer = (x + 100, y + 110)  # straight above the left tank
        self.move_pointer(*pointer)
        around = (pointer[0] - 16, pointer[1] - 16, pointer[0] + 16, pointer[1] + 16)

        def aimed(image):
            """The crosshair drawn at the pointer: the game has seen where to aim."""
            return game_drawn(image, x, y) and image.count(around, lambda rgb: differs(rgb, BACKGROUND)) > 20

        before = self.wait_for_frame(aimed)
        # Between the crosshair and the shield: the bullet's way up.
        path = (x + 88, y + 150, x + 112, y + 355)

        self.screen.click(1)

        def bullet_on_its_way(image):
            return any(
                differs(image.pixel(px, py), before.pixel(px, py))
                for py in range(path[1], path[3]) for px in range(path[0], path[2]))

        self.wait_for_frame(bullet_on_its_way, timeout=2.0, region=path)


if __name__ == "__main__":
    main()
