"""Input in a real window: quick taps and clicks are never lost, also beside busy
processes, and several within one tick all count; a key released while the window
had no focus is up when it is back, and one held all the while is no new press."""

from harness import WindowTestCase, game_drawn, main, overlay_region, overlay_shown

TAPS = 20


class Input(WindowTestCase):
    def start(self):
        """The running game, having drawn a frame; its window's top-left corner."""
        game = self.start_game()
        window = game.wait_for_window()
        x, y, _, _ = self.screen.window_geometry(window)
        self.wait_for_frame(lambda image: game_drawn(image, x, y))
        return game, window, x, y

    def count_f1_taps_seen(self, x, y):
        """Taps F1 quickly TAPS times; each seen one shows or hides the overlay."""
        region = overlay_region(x, y)
        shown = overlay_shown(self.screen.screenshot(region), x, y)
        for tap in range(TAPS):
            self.screen.tap_key("F1")
            shown = not shown
            self.wait_for_frame(lambda image: overlay_shown(image, x, y) == shown, region=region,
                                message=f"tap {tap + 1} of {TAPS} on F1 was not seen")
        return TAPS

    def count_shots_fired(self, watched, empty):
        """Clicks quickly TAPS times, each once the last shot is gone; every
        click must send a shot across the watched part of the screen, which
        shows `empty` when no shot is there."""
        for click in range(TAPS):
            self.wait_for_frame(lambda image: image.pixels == empty, region=watched,
                                message="the last shot never left")
            self.screen.quick_click(1)
            self.wait_for_frame(lambda image: image.pixels != empty, timeout=10.0, region=watched,
                                message=f"click {click + 1} of {TAPS} fired no shot")
        return TAPS

    def test_quick_f1_taps_are_all_seen_idle_and_beside_two_busy_processes(self):
        _, _, x, y = self.start()
        # On a loaded machine xdotool itself may stall between a tap's press and
        # release long enough for the server to repeat the key.
        self.screen.no_key_repeat()
        self.screen.xdotool("mousemove", x + 650, y + 300)
        self.assertEqual(self.count_f1_taps_seen(x, y), TAPS)
        self.busy_beside(2)
        self.assertEqual(self.count_f1_taps_seen(x, y), TAPS)

    def test_quick_clicks_all_fire_idle_and_beside_two_busy_processes(self):
        _, _, x, y = self.start()
        # Up and a little to the left: the shots fly where no enemy ever falls
        # (their centres keep 100 pixels from the sides), clear of the shield,
        # the crosshair and the HUD. Nothing else moves there, so any change
        # is a shot, at any opacity, from the whole of its flight.
        self.screen.xdotool("mousemove", x + 5, y + 20)
        watched = (x + 10, y + 95, x + 85, y + 355)
        empty = self.screen.screenshot(watched).pixels  # no shot fired yet
        self.assertEqual(self.count_shots_fired(watched, empty), TAPS)
        self.busy_beside(2)
        self.assertEqual(self.count_shots_fired(watched, empty), TAPS)

    def test_a_key_released_in_another_window_is_up_when_the_focus_is_back(self):
        _, window, x, y = self.start()
        region = overlay_region(x, y)
        self.screen.xdotool("mousemove", x + 650, y + 300)
        self.screen.no_key_repeat()  # F1 is held for a while
        self.screen.xdotool("keydown", "F1")
        self.wait_for_frame(lambda image: overlay_shown(image, x, y), region=region)

        # F1 is let go while another window has the keyboard.
        elsewhere = self.screen.other_window()
        self.screen.xdotool("windowfocus", "--sync", elsewhere)
        self.screen.xdotool("keyup", "F1")
        self.screen.xdotool("windowfocus", "--sync", window)

        # So the first press after coming back is a press: the overlay goes.
        self.screen.press_key("F1")
        self.wait_for_frame(lambda image: not overlay_shown(image, x, y), region=region,
                            message="the first F1 after the focus came back was not seen")


    def test_every_f1_press_toggles_the_overlay_even_several_in_one_tick(self):
        game, _, x, y = self.start()
        self.screen.no_key_repeat()
        shown = overlay_shown(self.wait_for_input(x, y), x, y)
        for burst in (2, 3, 4, 5, 2, 6, 3, 2):
            # All in the tick after a stall; 10 ms apart, or the library takes them for one key repeating.
            game.stall()
            self.screen.xdotool("key", "--delay", "20", *["F1"] * burst)
            game.resume()
            shown = shown != (burst % 2 == 1)
            self.assertEqual(overlay_shown(self.wait_for_input(x, y), x, y), shown, f"after {burst} presses")

    def test_a_key_held_while_the_focus_is_away_and_back_is_no_new_press(self):
        _, window, x, y = self.start()
        elsewhere = self.screen.other_window()
        self.screen.quick_key_repeat()  # a key held over repeats into the window
        shown = overlay_shown(self.wait_for_input(x, y), x, y)
        for round in range(6):
            self.screen.xdotool("keydown", "F1")
            shown = not shown
            self.wait_for_input(x, y)
            self.screen.xdotool("windowfocus", "--sync", elsewhere)
            let_go = round % 2 == 1  # and pressed again once back: a press
            self.screen.xdotool(*(["keyup", "F1"] if let_go else []), "windowfocus", "--sync", window,
                                *(["keydown", "F1"] if let_go else []), "sleep", "0.3", "keyup", "F1")
            shown = shown != let_go
            self.assertEqual(overlay_shown(self.wait_for_input(x, y), x, y), shown, f"round {round}")


if __name__ == "__main__":
    main()
